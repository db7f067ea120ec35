// The run's message boxes, in the words both front ends use: the desktop's
// message boxes and the browser page's in-page boxes. Free of Qt; UTF-8.
#pragma once

namespace bocavo::messages {

inline constexpr const char* kQuitTitle = "Quitter Bocavo?";
inline constexpr const char* kQuitQuestion = "Etes-vous sur de vouloir quitter ?";

inline constexpr const char* kErrorTitle = "Bocavo";
// %1: the error's own description, already French.
inline constexpr const char* kInternalError =
    "Erreur interne du programme :\n%1\n\nBocavo va se fermer.";

} // namespace bocavo::messages
