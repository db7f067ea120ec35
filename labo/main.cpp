// bocavo-labo: the window, or with options the command-line mode, which
// creates no QApplication and so needs no display.
#include "model/command_line.h"
#include "ui/translations.h"
#include "window/labo_window.h"
#include "window/run_controller.h"

#include <QApplication>
#include <QLocale>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[]) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (bocavo::labo::wantsCommandLine(args))
        return bocavo::labo::runCommandLine(args, std::cout, std::cerr);

    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    // Qt's own dialogs (files, printing) in French too.
    bocavo::ui::installQtTranslations(app, QLocale(QLocale::French));
    bocavo::labo::RunController controller;
    bocavo::labo::LaboWindow window(&controller);
    window.show();
    return app.exec();
}
