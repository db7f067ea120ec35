#include "app/run_control.h"

#include "engine/census.h"
#include "engine/generation.h"
#include "ui/main/tableau.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

namespace bocavo {

namespace {

// The run has reached the last generation a 16-bit counter can number.
inline constexpr std::int16_t kLastGeneration = INT16_MAX;

} // namespace

// Ends the program at once: every auxiliary window goes, shown or hidden, and
// no window gets a close event.
void RunControl::endProgram(int status) {
    auxWindows_.closeAll();
    QCoreApplication::exit(status);
}

RunControl::RunControl(ui::Tableau& window, QObject* parent) : QObject(parent), window_(window) {
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
}

void RunControl::run(void (RunControl::*handler)()) {
    try {
        (this->*handler)();
    } catch (const std::exception& error) {
        endOnInternalError(error);
    }
}

void RunControl::endOnInternalError(const std::exception& error) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Bocavo"),
                    QStringLiteral("Erreur interne du programme :\n%1\n\nBocavo va se fermer.")
                        .arg(QString::fromUtf8(error.what())),
                    QMessageBox::Ok, &window_);
    box.exec();
    endProgram(kInternalErrorExit);
}

void RunControl::Simuler_Click() {
    QPushButton* simuler = window_.simuler();
    // Disabling the focused button would push the focus on to the next control.
    const bool focused = simuler->hasFocus();
    generation_ = 1;
    simuler->setEnabled(false);
    window_.setFoundingMarker();
    foundGeneration(pop_, source_);
    Ecrire_Result();
    simuler->setEnabled(true);
    window_.genSuiv()->setEnabled(true);
    if (focused)
        simuler->setFocus();
}

void RunControl::GenSuiv_Click() {
    QPushButton* genSuiv = window_.genSuiv();
    const bool focused = genSuiv->hasFocus();
    genSuiv->setEnabled(false);
    generation_ = add16(generation_, 1);
    nextGeneration(pop_, source_);
    Ecrire_Result();
    // At the last generation the button stays off: a further one could not be
    // numbered. Simulation starts a new run and turns it back on.
    if (generation_ < kLastGeneration) {
        genSuiv->setEnabled(true);
        if (focused)
            genSuiv->setFocus();
    }
}

void RunControl::Ecrire_Result() {
    window_.showGenotypes(pop_);
    Count_Allele(pop_);
    // The copy must happen before the child panel is overwritten.
    if (window_.hasFoundingMarker())
        window_.showFoundingParents();
    else
        window_.copyChildrenToParents();
    window_.showChildFrequencies(pop_);
    window_.showGenerations(sub16(generation_, 1), generation_);
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
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quitter Bocavo?"),
                    QStringLiteral("Etes-vous sur de vouloir quitter ?"),
                    QMessageBox::Yes | QMessageBox::No, &window_);
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
