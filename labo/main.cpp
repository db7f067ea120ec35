// bocavo-labo: the window, or with any argument the command-line mode, which
// creates no QApplication and so needs no display.
#include "labo/cli/cli_process.h"
#include "labo/cli/command_line.h"
#include "labo/files/pending_files.h"
#include "labo/window/labo_window.h"
#include "labo/window/run_controller.h"
#include "ui/display_check.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kNoDisplay =
    "bocavo-labo : la fenêtre du laboratoire a besoin d'un écran graphique, et aucun "
    "n'est accessible ici.\n"
    "Sans fenêtre, le laboratoire se lance en ligne de commande, par exemple :\n"
    "  bocavo-labo --classes 100 --generations 500 --seed 1993 --csv derive.csv\n"
    "Toutes les options : bocavo-labo --help\n";

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (bocavo::labo::wantsCommandLine(args))
        return bocavo::labo::runCommandLineProcess(args);
    if (const std::string problem = bocavo::ui::displayProblem(kNoDisplay); !problem.empty()) {
        std::cerr << problem;
        return bocavo::ui::kNoDisplayExit;
    }

    // Qt gets the program's name only: every argument belongs to the command line.
    int qtArgc = 1;
    bocavo::ui::guardPlatformStart(kNoDisplay);
    QApplication app(qtArgc, argv);
    bocavo::ui::platformStarted();
    // Closed or killed while a file is being written: its temporary file goes too.
    bocavo::labo::removePendingFilesOnSignals();
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Qt's own dialogs (files, printing) in French too.
    bocavo::ui::installQtTranslations(app, QLocale(QLocale::French));
    bocavo::labo::RunController controller;
    bocavo::labo::LaboWindow window(&controller);
    window.show();
    return app.exec();
}
