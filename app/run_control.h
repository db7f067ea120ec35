// Run control: the program's one population, its one random source and the
// generation counter, and the handler of every command of the main window.
// It sequences; the engine computes and the window shows.
#pragma once

#include "engine/population.h"
#include "engine/random_source.h"
#include "ui/windows/aux_windows.h"

#include <QObject>
#include <cstdint>
#include <exception>

namespace bocavo::ui {
class Tableau;
}

namespace bocavo {

// Exit status after an internal error has been reported to the user.
inline constexpr int kInternalErrorExit = 1;

class RunControl : public QObject {
    Q_OBJECT

public:
    // Connects to the window's commands; the window must outlive this object.
    explicit RunControl(ui::Tableau& window, QObject* parent = nullptr);

    // The number of the child generation on display; 0 before the first Simulation.
    std::int16_t generation() const { return generation_; }

    // Test-only seams: jump close to the generation limit, or corrupt the model
    // to provoke an internal error. The program itself never calls them.
    void setGenerationForTest(std::int16_t generation) { generation_ = generation; }
    Population& populationForTest() { return pop_; }

private:
    void Simuler_Click();
    void GenSuiv_Click();
    void Command1_Click();
    void protocole_Click();
    void propos_Click();
    void quit_Click();
    void Form_Unload();

    void Ecrire_Result();

    // Runs one command; an internal error is reported, then ends the program,
    // and never travels on through the event loop.
    void run(void (RunControl::*handler)());
    void endOnInternalError(const std::exception& error);
    void endProgram(int status);

    ui::Tableau& window_;
    Population pop_;
    Source_Aleatoire source_; // started once from its fixed state, never reseeded
    std::int16_t generation_ = 0;
    ui::AuxWindows auxWindows_; // the legend, protocol, About and gift windows
};

} // namespace bocavo
