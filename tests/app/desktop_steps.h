// The steps of the desktop-and-page comparison played in the real program,
// offscreen, with the window manager's part played here (see
// desktop_screens.cpp): keys through the window system, clicks on a point of
// a window, a window focused and raised before it is clicked.
#pragma once

#include "program_probe.h"

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableWidget>
#include <QWindow>

namespace desktop {

// The program's windows, in the order a screen lists them.
inline const QStringList kWindowNames{"Tableau", "legende", "aprotocole", "apropos", "Cadeau"};

// A program window of that name, visible or not, not yet deleted.
inline QWidget* windowNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

inline QMessageBox* openBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

inline QString boxName(const QMessageBox* box) {
    return box->windowTitle() == QStringLiteral("Quitter Bocavo?") ? QStringLiteral("quitBox")
                                                                   : QStringLiteral("errorBox");
}

// The box's buttons by the page's names: yes, no, ok.
inline QString buttonName(QMessageBox* box, QAbstractButton* button) {
    switch (box->standardButton(button)) {
    case QMessageBox::Yes:
        return QStringLiteral("yes");
    case QMessageBox::No:
        return QStringLiteral("no");
    case QMessageBox::Ok:
        return QStringLiteral("ok");
    default:
        return QStringLiteral("?");
    }
}

// What the window manager does to a window it focuses: raise and activate it.
inline void activate(QWidget* window) {
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    probe::settle();
}

// --- the steps ------------------------------------------------------------

// The window that takes the keys: a menu, a box, else the focused window.
inline QWindow* keyWindow() {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->windowHandle();
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal->windowHandle();
    if (QWidget* active = QApplication::activeWindow())
        return active->windowHandle();
    return QGuiApplication::focusWindow();
}

inline void sendKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers,
                    const QString& text) {
    // QTest sends the press and the release as the keyboard does, through
    // the window system, so shortcuts and popups see them as a user's.
    QPointer<QWindow> guard(window);
    QTest::sendKeyEvent(QTest::Press, window, key, text, modifiers);
    if (guard.isNull())
        return;
    QTest::sendKeyEvent(QTest::Release, window, key, text, modifiers);
}

// The page's Escape: in a menu (open, or the bar's keyboard mode) the
// desktop's Escape, which leaves it; elsewhere Alt+F4, with which the
// window manager closes the focused window.
inline void closeActive() {
    if (QApplication::activePopupWidget() != nullptr ||
        qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr) {
        sendKey(keyWindow(), Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
        return;
    }
    QWidget* target = QApplication::activeModalWidget();
    if (target == nullptr)
        target = QApplication::activeWindow();
    if (target != nullptr && target->windowHandle() != nullptr)
        target->windowHandle()->close();
}

inline void key(const QString& name) {
    if (name == QLatin1String("Escape")) {
        closeActive();
        return;
    }
    struct Key {
        const char* name;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
    };
    static const Key keys[] = {
        {"Alt+S", Qt::Key_S, Qt::AltModifier, "s"},
        {"Alt+G", Qt::Key_G, Qt::AltModifier, "g"},
        {"Alt+L", Qt::Key_L, Qt::AltModifier, "l"},
        {"Alt+Q", Qt::Key_Q, Qt::AltModifier, "q"},
        {"Alt+O", Qt::Key_O, Qt::AltModifier, "o"},
        {"Alt+A", Qt::Key_A, Qt::AltModifier, "a"},
        {"Alt+P", Qt::Key_P, Qt::AltModifier, "p"},
        {"Alt+?", Qt::Key_Question, Qt::AltModifier, "?"}, // X11 drops the Shift that "?" needs
        {"Enter", Qt::Key_Return, Qt::NoModifier, "\r"},
        {"Space", Qt::Key_Space, Qt::NoModifier, " "},
        {"Tab", Qt::Key_Tab, Qt::NoModifier, "\t"},
        {"Shift+Tab", Qt::Key_Backtab, Qt::ShiftModifier, ""},
        {"Up", Qt::Key_Up, Qt::NoModifier, ""},
        {"Down", Qt::Key_Down, Qt::NoModifier, ""},
        {"Left", Qt::Key_Left, Qt::NoModifier, ""},
        {"Right", Qt::Key_Right, Qt::NoModifier, ""},
        {"p", Qt::Key_P, Qt::NoModifier, "p"},
        {"a", Qt::Key_A, Qt::NoModifier, "a"},
        {"o", Qt::Key_O, Qt::NoModifier, "o"},
        {"n", Qt::Key_N, Qt::NoModifier, "n"},
    };
    for (const Key& k : keys) {
        if (name == QLatin1String(k.name)) {
            QWindow* target = keyWindow();
            if (target == nullptr)
                return;
            const QString text = QString::fromLatin1(k.text);
            sendKey(target, k.key, k.modifiers, text);
            return;
        }
    }
    qFatal("unknown key: %s", qPrintable(name));
}

// A click on a point of a widget, through its window, as the mouse does.
inline void clickAt(QWidget* widget, QPoint at) {
    QWidget* top = widget->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, at));
}

// A click on a window the manager does not have in front: focus and raise it.
inline void wmFocus(QWidget* window) {
    if (QApplication::activeWindow() != window)
        activate(window);
}

// Clicks a target; false when it is not there to click.
inline bool click(probe::Program& p, const QString& target) {
    const QString where = target.section('/', 0, 0);
    const QString what = target.section('/', 1);
    QMessageBox* box = openBox();
    if (box != nullptr) {
        if (where != boxName(box)) {
            return true; // the box is modal: nothing else takes a click
        }
        for (QAbstractButton* b : box->buttons()) {
            if (buttonName(box, b) == what) {
                clickAt(b, b->rect().center());
                return true;
            }
        }
        return false;
    }
    if (where == QLatin1String("quitBox") || where == QLatin1String("errorBox")) {
        return false;
    }
    QMenuBar* bar = p.window.menuBar();
    QMenu* help = p.window.findChild<QMenu*>(QStringLiteral("help"));
    if (where == QLatin1String("menu")) {
        if (what == QLatin1String("quit") || what == QLatin1String("help")) {
            QAction* action =
                what == QLatin1String("quit") ? p.window.quitAction() : help->menuAction();
            if (QApplication::activePopupWidget() == nullptr)
                wmFocus(&p.window);
            clickAt(bar, bar->actionGeometry(action).center());
            return true;
        }
        QAction* entry = what == QLatin1String("protocole") ? p.window.protocoleAction()
                                                            : p.window.proposAction();
        if (!help->isVisible()) {
            return false;
        }
        clickAt(help, help->actionGeometry(entry).center());
        return true;
    }
    // Anywhere else an open menu closes first, by a click beside it.
    if (QWidget* popup = QApplication::activePopupWidget())
        QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                          QPoint(popup->width() + 40, popup->height() + 40));
    probe::settle();

    if (where == QLatin1String("caption") || where == QLatin1String("close")) {
        QWidget* w = windowNamed(what);
        if (w == nullptr || !w->isVisible()) {
            return false;
        }
        wmFocus(w);
        if (where == QLatin1String("close"))
            w->windowHandle()->close();
        return true;
    }
    QWidget* w = windowNamed(where);
    if (w == nullptr || !w->isVisible()) {
        return false;
    }
    wmFocus(w);
    if (what == QLatin1String("corner")) {
        // Inside the protocol window's hidden corner, a few pixels in.
        clickAt(w, QPoint(w->width() - 4, w->height() - 4));
        return true;
    }
    auto* control = w->findChild<QWidget*>(what);
    if (control == nullptr) {
        return false;
    }
    QPoint at = control->rect().center();
    if (auto* grid = qobject_cast<QTableWidget*>(control)) {
        control = grid->viewport();
        at = grid->visualRect(grid->model()->index(3, 1)).center();
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        control = edit->viewport();
        at = control->rect().center();
    }
    clickAt(control, at);
    return true;
}

// Plays one step, "key NAME" or "click TARGET"; false when its target was not there.
inline bool perform(probe::Program& p, const QString& step) {
    if (step.startsWith(QLatin1String("key "))) {
        key(step.mid(4));
        return true;
    }
    if (step.startsWith(QLatin1String("click ")))
        return click(p, step.mid(6));
    qFatal("unknown step: %s", qPrintable(step));
}

} // namespace desktop
