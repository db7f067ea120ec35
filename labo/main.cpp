// bocavo-labo: the window, or with any argument the command-line mode, which
// creates no QApplication and so needs no display.
#include "labo/model/cli_process.h"
#include "labo/model/command_line.h"
#include "labo/model/pending_files.h"
#include "labo/window/display_check.h"
#include "labo/window/labo_window.h"
#include "labo/window/run_controller.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (bocavo::labo::wantsCommandLine(args))
        return bocavo::labo::runCommandLineProcess(args);
    if (const std::string problem = bocavo::labo::displayProblem(); !problem.empty()) {
        std::cerr << problem;
        return 1;
    }

    // Qt gets the program's name only: every argument belongs to the command line.
    int qtArgc = 1;
    bocavo::labo::guardPlatformStart();
    QApplication app(qtArgc, argv);
    bocavo::labo::platformStarted();
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
