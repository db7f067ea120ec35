// Run control on the desktop: the handler of every command of the main
// window. The run itself (population, random source, counter, founding
// marker) is the shared core's; this glue forwards the two simulation
// commands to it and shows the window what the core describes, keeping the
// desktop's own focus rules, message boxes and ending.
#pragma once

#include "core/run/run_core.h"
#include "ui/windows/aux_windows.h"

#include <QObject>
#include <cstdint>
#include <exception>
#include <optional>

class QPushButton;

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
    // A chosen group starts the run on its own draw and is named in the
    // window's caption; without one the run is group 1 of the fixed seed.
    explicit RunControl(ui::Tableau& window, std::optional<Group> group = std::nullopt,
                        QObject* parent = nullptr);

    // The number of the child generation on display; 0 before the first Simulation.
    std::int16_t generation() const { return core_.screen().generation; }

    // Test-only seams, the core's: jump close to the generation limit, or
    // corrupt the model to provoke an internal error. The program itself
    // never calls them.
    void setGenerationForTest(std::int16_t generation) { core_.setGenerationForTest(generation); }
    Population& populationForTest() { return core_.populationForTest(); }

private:
    void Simuler_Click();
    void GenSuiv_Click();
    void Command1_Click();
    void protocole_Click();
    void propos_Click();
    void quit_Click();
    void Form_Unload();

    // Runs one simulation command of the core with `button` disabled, as the
    // button of a running command is, then shows the result.
    void runOnCore(QPushButton* button, void (RunCore::*command)());

    // Runs one command; an internal error is reported, then ends the program,
    // and never travels on through the event loop.
    void run(void (RunControl::*handler)());
    void endOnInternalError(const std::exception& error);
    void endProgram(int status);

    ui::Tableau& window_;
    RunCore core_;
    ui::AuxWindows auxWindows_; // the legend, protocol, About and gift windows
};

} // namespace bocavo
