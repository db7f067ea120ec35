#include "app/run_control.h"

#include "core/run/messages.h"
#include "ui/main/tableau.h"

#include <QCoreApplication>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

namespace bocavo {

// Ends the program at once: every auxiliary window goes, shown or hidden, and
// no window gets a close event.
void RunControl::endProgram(int status) {
    auxWindows_.closeAll();
    QCoreApplication::exit(status);
}

// QLocale() is the system's unless a test sets another default first.
RunControl::RunControl(ui::Tableau& window, std::optional<Group> group, QObject* parent)
    : QObject(parent), window_(window),
      core_(QLocale().decimalPoint().toStdString(), group.value_or(Group{})) {
    if (group)
        window.showGroup(group->number);
    window.showScreen(core_.screen());
    connect(window.simuler(), &QPushButton::clicked, this,
            [this] { run(&RunControl::Simuler_Click); });
    connect(window.genSuiv(), &QPushButton::clicked, this,
            [this] { run(&RunControl::GenSuiv_Click); });
    connect(window.command1(), &QPushButton::clicked, this,
            [this] { run(&RunControl::Command1_Click); });
    connect(window.protocoleAction(), &QAction::triggered, this,
            [this] { run(&RunControl::protocole_Click); });
    connect(window.proposAction(), &QAction::triggered, this,
            [this] { run(&RunControl::propos_Click); });
    connect(window.quitAction(), &QAction::triggered, this,
            [this] { run(&RunControl::quit_Click); });
    connect(&window, &ui::Tableau::closing, this, [this] { run(&RunControl::Form_Unload); });
    // One scale for every window of the program, whichever had the keys.
    connect(&window, &ui::Tableau::scaleChanged, &auxWindows_, &ui::AuxWindows::setScale);
    connect(&auxWindows_, &ui::AuxWindows::zoomRequested, &window, &ui::Tableau::zoom);
}

void RunControl::run(void (RunControl::*handler)()) {
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        endOnInternalError(error);
    }
}

void RunControl::endOnInternalError(const std::exception& error) {
    QMessageBox box(
        QMessageBox::Critical, QString::fromUtf8(messages::kErrorTitle),
        QString::fromUtf8(messages::kInternalError).arg(QString::fromUtf8(error.what())),
        QMessageBox::Ok, &window_);
    box.exec();
    endProgram(kInternalErrorExit);
}

void RunControl::Simuler_Click() {
    runOnCore(window_.simuler(), &RunCore::simulation);
}

void RunControl::GenSuiv_Click() {
    runOnCore(window_.genSuiv(), &RunCore::nextGeneration);
}

void RunControl::runOnCore(QPushButton* button, void (RunCore::*command)()) {
    // Disabling the focused button pushes the focus on to the next control;
    // it comes back if the button is offered again.
    const bool focused = button->hasFocus();
    button->setEnabled(false);
    (core_.*command)();
    window_.showScreen(core_.screen());
    if (focused && button->isEnabled())
        button->setFocus();
}

void RunControl::Command1_Click() {
    auxWindows_.showLegende();
}

void RunControl::protocole_Click() {
    auxWindows_.showProtocole();
}

void RunControl::propos_Click() {
    auxWindows_.showPropos();
}

void RunControl::quit_Click() {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(messages::kQuitTitle),
                    QString::fromUtf8(messages::kQuitQuestion), QMessageBox::Yes | QMessageBox::No,
                    &window_);
    box.setDefaultButton(QMessageBox::Yes);
    // No, Escape or the box's close button: the run goes on untouched.
    if (box.exec() == QMessageBox::Yes)
        endProgram(0);
}

void RunControl::Form_Unload() {
    // Never refused, never asks.
    endProgram(0);
}

} // namespace bocavo
