// Bocavo: genetic drift in a class of 20 diploid individuals, generation after
// generation. No files, no settings: one window and its commands, and on the
// command line only the group whose draw it shows.
#include "app/run_control.h"
#include "core/run/group_options.h"
#include "core/run/messages.h"
#include "ui/display_check.h"
#include "ui/icon.h"
#include "ui/main/tableau.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

namespace {

inline constexpr std::string_view kNoDisplay =
    "bocavo : la fenêtre de Bocavo a besoin d'un écran graphique, et aucun n'est "
    "accessible ici.\n"
    "Lancez Bocavo depuis une session de bureau, sur l'écran de cet ordinateur.\n";

// Qt reads none of the program's arguments: its own options (-reverse,
// -stylesheet FILE, ...) would mirror the window or read files. The
// environment still chooses the platform.
struct QtArguments {
    explicit QtArguments(char* name) : argv{name ? name : fallbackName, nullptr} {}
    char fallbackName[7] = "bocavo";
    char* argv[2];
    int argc = 1;
};

// Refused arguments: said on the standard error, and in a message box where
// a display is there to show one.
int refuseArguments(const std::string& reason, char* name) {
    std::cerr << "bocavo : " << reason << '\n';
    if (!bocavo::ui::displayProblem(kNoDisplay).empty())
        return bocavo::kBadArgumentsExit;
    // A display named but out of reach: the reason is already said.
    bocavo::ui::guardPlatformStart({}, bocavo::kBadArgumentsExit);
    QtArguments qt(name);
    QApplication app(qt.argc, qt.argv);
    bocavo::ui::platformStarted();
    bocavo::ui::installQtTranslations(app, QLocale::system());
    QMessageBox::critical(nullptr, QString::fromUtf8(bocavo::messages::kErrorTitle),
                          QString::fromStdString(reason));
    return bocavo::kBadArgumentsExit;
}

} // namespace

int main(int argc, char* argv[]) {
    // The command line is the program's own and is read first, before Qt or a
    // display is needed: only --groupe and --graine mean anything.
    char* name = argc > 0 ? argv[0] : nullptr;
    const std::vector<std::string_view> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const bocavo::GroupChoice choice = bocavo::readGroupOptions(arguments);
    if (!choice)
        return refuseArguments(choice.reason(), name);
    if (const std::string problem = bocavo::ui::displayProblem(kNoDisplay); !problem.empty()) {
        std::cerr << problem;
        return bocavo::ui::kNoDisplayExit;
    }
    bocavo::ui::guardPlatformStart(kNoDisplay);
    QtArguments qt(name);
    QApplication app(qt.argc, qt.argv);
    bocavo::ui::platformStarted();
    QApplication::setApplicationName(QStringLiteral("Bocavo"));
    bocavo::ui::installQtTranslations(app, QLocale::system());
    QApplication::setWindowIcon(bocavo::ui::bocavoIcon());

    bocavo::ui::Tableau window;
    bocavo::RunControl control(window, *choice);
    window.show();
    return QApplication::exec();
}
