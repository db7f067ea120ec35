// Bocavo: genetic drift in a class of 20 diploid individuals, generation after
// generation. No arguments, no files, no settings: one window and its commands.
#include "app/run_control.h"
#include "ui/icon.h"
#include "ui/main/tableau.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    // The program takes no arguments, so Qt gets none either: its own options
    // (-reverse, -stylesheet FILE, ...) would mirror the window or read files.
    // The environment still chooses the platform.
    char fallbackName[] = "bocavo";
    char* qtArgv[] = {argc > 0 ? argv[0] : fallbackName, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Bocavo"));
    bocavo::ui::installQtTranslations(app, QLocale::system());
    QApplication::setWindowIcon(bocavo::ui::bocavoIcon());

    bocavo::ui::Tableau window;
    bocavo::RunControl control(window);
    window.show();
    return QApplication::exec();
}
