// The page is laid out from the desktop's own constants: this hands them to
// JavaScript as one plain table, boxes already in CSS pixels.
#pragma once

#include <emscripten/val.h>

namespace bocavo::web {

// Every window's title, client size, controls (box, text, colour) and the
// message boxes' texts. Built afresh on each call; the page asks once.
emscripten::val layoutTable();

} // namespace bocavo::web
