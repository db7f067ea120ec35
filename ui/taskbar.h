// Keeping a window out of the task bar. Qt 6.4 has no window flag for a
// window that has no task-bar entry and no owner: a Qt::Tool window is made
// transient for the application's hidden leader window, which many window
// managers then keep above every other window of the program. So the
// auxiliary windows stay ordinary windows and ask the window manager for
// this one state themselves.
#pragma once

class QWidget;

namespace bocavo::ui {

// Asks the X11 window manager to give `window` no task-bar entry. Call it
// before each show: a window manager forgets a window's state when the window
// is hidden. Does nothing on other platforms (offscreen, Wayland).
void skipTaskBar(QWidget& window);

} // namespace bocavo::ui
