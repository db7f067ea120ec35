// Bocavo: genetic drift in a class of 20 diploid individuals, generation after
// generation. No arguments, no files, no settings: one window and its commands.
#include "app/run_control.h"
#include "ui/display_check.h"
#include "ui/icon.h"
#include "ui/main/tableau.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>
#include <iostream>
#include <string>
#include <string_view>

namespace {

inline constexpr std::string_view kNoDisplay =
    "bocavo : la fenêtre de Bocavo a besoin d'un écran graphique, et aucun n'est "
    "accessible ici.\n"
    "Lancez Bocavo depuis une session de bureau, sur l'écran de cet ordinateur.\n";

} // namespace

int main(int argc, char* argv[]) {
    // The command line is the program's own and is read first, before Qt or a
    // display is needed; today no argument means anything, so none is read.
    // Qt gets none either: its own options (-reverse, -stylesheet FILE, ...)
    // would mirror the window or read files. The environment still chooses
    // the platform.
    if (const std::string problem = bocavo::ui::displayProblem(kNoDisplay); !problem.empty()) {
        std::cerr << problem;
        return bocavo::ui::kNoDisplayExit;
    }
    char fallbackName[] = "bocavo";
    char* qtArgv[] = {argc > 0 ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;
    bocavo::ui::guardPlatformStart(kNoDisplay);
    QApplication app(qtArgc, qtArgv);
    bocavo::ui::platformStarted();
    QApplication::setApplicationName(QStringLiteral("Bocavo"));
    bocavo::ui::installQtTranslations(app, QLocale::system());
    QApplication::setWindowIcon(bocavo::ui::bocavoIcon());

    bocavo::ui::Tableau window;
    bocavo::RunControl control(window);
    window.show();
    return QApplication::exec();
}
