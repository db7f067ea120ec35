// Scenarios as files: read from a disk, written safely, and named beside the
// CSV file they reproduce.
#pragma once

#include "core/lab/files/scenario.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace bocavo::labo {

// Reads and parses a file; a file that cannot be read gets its French reason.
// `text`, when given, gets the bytes read.
Result<Scenario> loadScenario(const std::filesystem::path& path, std::string* text = nullptr);

// Writes through FileOutput, like every export, or says why not in French.
Result<void> saveScenario(const Scenario& scenario, const std::filesystem::path& path,
                          const std::vector<std::string>& note = {});

// Where the scenario that reproduces a CSV file goes: the same name with the
// scenario extension; nullopt for the standard output ("-") or a CSV already
// named so. Whether the CSV is a regular file is FileOutput's to say.
std::optional<std::filesystem::path> scenarioBeside(const std::filesystem::path& csv);

} // namespace bocavo::labo
