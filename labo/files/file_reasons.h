// A system error told to the user in French words, as every message of the
// lab's files says it: the same errno means different things depending on
// the step where it was met.
#pragma once

#include <string>

namespace bocavo::labo {

// Where an error was met on the way to writing a file.
enum class FileStep { Path, Folder, File, Write, Rename };

// "le dossier n'existe pas", "le disque est plein"...
std::string reasonFor(int error, FileStep step);

// Why a write failed, in French words: "le disque est plein".
std::string writeReason(int error);

// Why a file could not be read, in French words: "le fichier n'existe pas".
// `opening`: met opening the file itself, not while looking its name up.
std::string readReason(int error, bool opening);

} // namespace bocavo::labo
