// The run of the main window without the window: the one population, the one
// random source, the generation counter and the founding marker, and the two
// simulation commands. After each command it describes, as plain data, what
// the window must show; each front end (desktop, browser) only draws that.
#pragma once

#include "engine/population.h"
#include "engine/random_source.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace bocavo {

// Genotypes as the grids show them: row i-1, copy j-1, allele 1..4, 0 = empty cell.
using GenotypeCells = std::array<std::array<std::int16_t, kCopies>, kIndividus>;

// A frame's caption before the first run, and the start of it afterwards,
// followed by a generation number.
inline constexpr std::string_view kFirstCaption = "Fréquence Allèliques :";
inline constexpr std::string_view kGenerationCaption = "Fréquence Allèliques à la génération n°";
// Label1 reading exactly this means the parents on display were just drawn.
inline constexpr std::string_view kFoundingMarker = "%";
// The founders' frequencies: the urn holds ten balls of each allele.
inline constexpr std::string_view kFoundingText = "25 %";
// The last generation a 16-bit counter can number.
inline constexpr std::int16_t kLastGeneration = INT16_MAX;

// Which group of a class this run is. Group K of seed S starts the random
// source where the laboratory starts class K of seed S, so that each group
// has its own draw and the laboratory can show all of them together. Group 1
// of the fixed seed is the program as it always was.
struct Group {
    int number = 1;
    std::uint32_t seed = Source_Aleatoire::kFixedSeed;

    bool operator==(const Group&) const = default;
};
// The numbers a teacher may give a group; the run itself takes any.
inline constexpr int kFirstGroup = 1;
inline constexpr int kLastGroup = 1000;

// What the main window must show, as plain data (UTF-8 texts). Its default is
// the window as the program starts.
struct Screen {
    std::int16_t generation = 0; // child generation on display, 0 before the first Simulation
    GenotypeCells parents{}, children{};
    // Allele 1 first; childFrequencies[0] is Label1, the founding marker.
    std::array<std::string, kAlleles> parentFrequencies{"%", "%", "%", "%"};
    std::array<std::string, kAlleles> childFrequencies{"%", "%", "%", "%"};
    std::string parentCaption{kFirstCaption}, childCaption{kFirstCaption};
    bool simulerEnabled = true, genSuivEnabled = false;

    bool operator==(const Screen&) const = default;
};

class RunCore {
public:
    // `decimalSeparator` is the user's ("," or "."), as the desktop follows the
    // locale; `group` chooses where the random source starts.
    explicit RunCore(std::string decimalSeparator, Group group = {});

    // A new run at generation 1 from a new founding draw.
    void simulation();
    // The children become the parents and breed again. Refused with an
    // EngineError while genSuivEnabled is false; at the last generation the
    // counter's own overflow is what is thrown. A throw changes nothing.
    void nextGeneration();

    const Screen& screen() const { return screen_; }
    // Label1's text is exactly "%".
    bool hasFoundingMarker() const;

    // Test-only seams: jump close to the generation limit (the captions catch
    // up at the next command), or corrupt the model to provoke an internal
    // error. The program itself never calls them.
    void setGenerationForTest(std::int16_t generation) { screen_.generation = generation; }
    Population& populationForTest() { return pop_; }

private:
    // The result writing into `screen`, whose counter and marker the command
    // has set: grids, census, both panels and both captions.
    void writeResult(Population& pop, Screen& screen) const;

    std::string separator_;
    Population pop_;
    Source_Aleatoire source_; // started once from the group's state, never reseeded
    Screen screen_;
};

// A percentage as the panels show it: the fewest decimals that read back as
// the same float, `separator` before them, "%" right after (22.5 -> "22,5%").
// Throws an EngineError outside 0..100 or when more than 12 decimals would be
// needed; no census gives such a value.
std::string frequencyText(float percent, std::string_view separator);

} // namespace bocavo
