// The desktop's half of the desktop-and-page comparison: the real program,
// offscreen, plays a sequence of keys and clicks and prints, after each step,
// what a user sees: which windows are open and which is in front, which
// control has the focus, and the main window's screen.
//
//   desktop_screens STEPS.json > SCREENS.json
//
// STEPS.json is an array of steps, each "key NAME" or "click TARGET" (see
// tests/web/differential.mjs, which writes them and replays them in the page).
// Keys: Alt+S Alt+G Alt+L Alt+Q Alt+? Alt+O Alt+A Alt+P Enter Space Tab
// Shift+Tab Up Down Left Right p a o n Escape. Escape is the page's Alt+F4:
// here the window manager's close of the active window.
//
// Offscreen there is no window manager, so this plays openbox's part, the
// reference of the real-window test: a new window takes the focus; a click
// on a window first focuses and raises it; when the focused window goes, the
// focus falls back to the window focused before it; Alt+F4 closes the focused
// window (the box's own answer to its close button, No, while one is open).
// A click outside an open menu first closes it (a click beside it), then
// lands as any click.
//
// The program ending (Quit then Oui, or the main window closed) is shown as
// an "ended" screen, and the next step starts a fresh program, as the page's
// « Relancer Bocavo ».
#include "program_probe.h"
#include "ui/translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <memory>

namespace {

using probe::Program;

const QStringList kWindowNames{"Tableau", "legende", "aprotocole", "apropos", "Cadeau"};

// A program window of that name, visible or not, not yet deleted.
QWidget* windowNamed(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name)
            return w;
    return nullptr;
}

QMessageBox* openBox() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

QString boxName(const QMessageBox* box) {
    return box->windowTitle() == QStringLiteral("Quitter Bocavo?") ? QStringLiteral("quitBox")
                                                                   : QStringLiteral("errorBox");
}

// The box's buttons by the page's names: yes, no, ok.
QString buttonName(QMessageBox* box, QAbstractButton* button) {
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

QJsonArray cells(const probe::Cells& grid) {
    QJsonArray rows;
    for (const auto& row : grid) {
        QJsonArray r;
        for (const QString& cell : row)
            r.append(cell.isEmpty() ? QJsonValue(0) : QJsonValue(cell.toInt()));
        rows.append(r);
    }
    return rows;
}

QJsonArray texts(const probe::Texts& list) {
    QJsonArray out;
    for (const QString& t : list)
        out.append(t);
    return out;
}

class Driver : public QObject {
public:
    explicit Driver(QJsonArray steps) : steps_(std::move(steps)) {
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* window) {
            if (window == nullptr)
                return;
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (w->windowHandle() == window && kWindowNames.contains(w->objectName())) {
                    focusOrder_.removeAll(w->objectName());
                    focusOrder_.prepend(w->objectName());
                }
            }
        });
    }

    // Every step's screen, the first being the program as it starts.
    QJsonArray run() {
        startProgram();
        screens_.append(screen(QString()));
        while (next_ < steps_.size()) {
            QTimer::singleShot(0, this, [this] { beginStep(); });
            const int status = QApplication::exec();
            if (status != kStepsDone) {
                // The program ended inside the step: record it, start afresh.
                ++epoch_; // what the ended step still had waiting is dropped
                reader_.reset();
                program_.reset();
                probe::settle();
                QJsonObject ended;
                ended[QStringLiteral("step")] = steps_[next_ - 1].toString();
                ended[QStringLiteral("ended")] = true;
                screens_.append(ended);
                restartNext_ = true;
            }
        }
        program_.reset();
        return screens_;
    }

private:
    static constexpr int kStepsDone = 77;
    static constexpr int kSettleMs = 120;

    void startProgram() {
        focusOrder_.clear();
        program_ = std::make_unique<Program>();
        reader_ = std::make_unique<probe::Reader>(*program_);
        focusOrder_.prepend(QStringLiteral("Tableau"));
    }

    // Runs step next_, then waits for it to settle, records and goes on.
    // Both run from the event loop, so that a modal box's own loop runs them
    // too while it is open.
    void beginStep() {
        if (restartNext_) {
            restartNext_ = false;
            startProgram();
        }
        const QString step = steps_[next_++].toString();
        skipped_ = false;
        waited_.start();
        const int epoch = epoch_;
        QTimer::singleShot(1, this, [this, epoch, step] { finishStep(epoch, step); });
        perform(step);
    }

    void finishStep(int epoch, const QString& step) {
        if (epoch != epoch_)
            return;
        if (!settled()) {
            QTimer::singleShot(5, this, [this, epoch, step] { finishStep(epoch, step); });
            return;
        }
        fallBack();
        probe::settle();
        screens_.append(screen(step));
        if (next_ >= steps_.size()) {
            QApplication::exit(kStepsDone);
            return;
        }
        QTimer::singleShot(0, this, [this] { beginStep(); });
    }

    // No access key's delayed press still to come, no answered box still
    // on its way out, nothing left to deliver.
    bool settled() {
        probe::settle();
        for (QWidget* top : QApplication::topLevelWidgets()) {
            // A box answered but whose command has not yet gone on.
            if (qobject_cast<QMessageBox*>(top) != nullptr && !top->isVisible())
                return false;
            for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
                if (b->isDown())
                    return false;
        }
        // And past Qt's own short timers (the menu bar's 100 ms release of
        // an entry run by its key, an access key's press), as a user's pace.
        return waited_.elapsed() >= kSettleMs;
    }

    // The window manager gives the focus back to the window focused last.
    void fallBack() {
        if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget())
            return;
        QWidget* active = QApplication::activeWindow();
        if (active != nullptr && active->isVisible())
            return;
        for (const QString& name : focusOrder_) {
            QWidget* w = windowNamed(name);
            if (w != nullptr && w->isVisible()) {
                activate(w);
                return;
            }
        }
    }

    static void activate(QWidget* window) {
        window->raise();
        window->activateWindow();
        QApplication::setActiveWindow(window);
        probe::settle();
    }

    // --- the steps ------------------------------------------------------------

    void perform(const QString& step) {
        if (step.startsWith(QLatin1String("key ")))
            key(step.mid(4));
        else if (step.startsWith(QLatin1String("click ")))
            click(step.mid(6));
        else
            qFatal("unknown step: %s", qPrintable(step));
    }

    // The window that takes the keys: a menu, a box, else the focused window.
    static QWindow* keyWindow() {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup->windowHandle();
        if (QWidget* modal = QApplication::activeModalWidget())
            return modal->windowHandle();
        if (QWidget* active = QApplication::activeWindow())
            return active->windowHandle();
        return QGuiApplication::focusWindow();
    }

    void key(const QString& name) {
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

    static void sendKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers modifiers,
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
    void closeActive() {
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

    // A click on a point of a widget, through its window, as the mouse does.
    static void clickAt(QWidget* widget, QPoint at) {
        QWidget* top = widget->window();
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, widget->mapTo(top, at));
    }

    void click(const QString& target) {
        const QString where = target.section('/', 0, 0);
        const QString what = target.section('/', 1);
        QMessageBox* box = openBox();
        if (box != nullptr) {
            if (where != boxName(box)) {
                return; // the box is modal: nothing else takes a click
            }
            for (QAbstractButton* b : box->buttons()) {
                if (buttonName(box, b) == what) {
                    clickAt(b, b->rect().center());
                    return;
                }
            }
            skipped_ = true;
            return;
        }
        if (where == QLatin1String("quitBox") || where == QLatin1String("errorBox")) {
            skipped_ = true;
            return;
        }
        Program& p = *program_;
        QMenuBar* bar = p.window.menuBar();
        QMenu* help = p.window.findChild<QMenu*>(QStringLiteral("help"));
        if (where == QLatin1String("menu")) {
            if (what == QLatin1String("quit") || what == QLatin1String("help")) {
                QAction* action =
                    what == QLatin1String("quit") ? p.window.quitAction() : help->menuAction();
                if (QApplication::activePopupWidget() == nullptr)
                    wmFocus(&p.window);
                clickAt(bar, bar->actionGeometry(action).center());
                return;
            }
            QAction* entry = what == QLatin1String("protocole") ? p.window.protocoleAction()
                                                                : p.window.proposAction();
            if (!help->isVisible()) {
                skipped_ = true;
                return;
            }
            clickAt(help, help->actionGeometry(entry).center());
            return;
        }
        // Anywhere else an open menu closes first, by a click beside it.
        if (QWidget* popup = QApplication::activePopupWidget())
            QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                              QPoint(popup->width() + 40, popup->height() + 40));
        probe::settle();

        if (where == QLatin1String("caption") || where == QLatin1String("close")) {
            QWidget* w = windowNamed(what);
            if (w == nullptr || !w->isVisible()) {
                skipped_ = true;
                return;
            }
            wmFocus(w);
            if (where == QLatin1String("close"))
                w->windowHandle()->close();
            return;
        }
        QWidget* w = windowNamed(where);
        if (w == nullptr || !w->isVisible()) {
            skipped_ = true;
            return;
        }
        wmFocus(w);
        if (what == QLatin1String("corner")) {
            // Inside the protocol window's hidden corner, a few pixels in.
            clickAt(w, QPoint(w->width() - 4, w->height() - 4));
            return;
        }
        auto* control = w->findChild<QWidget*>(what);
        if (control == nullptr) {
            skipped_ = true;
            return;
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
    }

    // A click on a window the manager does not have in front: focus and raise it.
    static void wmFocus(QWidget* window) {
        if (QApplication::activeWindow() != window)
            activate(window);
    }

    // --- what the user sees -----------------------------------------------------

    QString focusName() const {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* a = menu->activeAction();
            return QStringLiteral("menu/") + (a ? a->objectName() : QString());
        }
        if (QMessageBox* box = openBox()) {
            auto* b = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            return boxName(box) + '/' + (b ? buttonName(box, b) : QString());
        }
        QWidget* active = QApplication::activeWindow();
        if (active == nullptr)
            return QStringLiteral("none");
        QWidget* focus = QApplication::focusWidget();
        QString control;
        if (focus != nullptr && focus != active && active->isAncestorOf(focus)) {
            // A text box's viewport stands for the box.
            if (qobject_cast<QPlainTextEdit*>(focus->parentWidget()))
                focus = focus->parentWidget();
            control = focus->objectName();
            if (auto* bar = qobject_cast<QMenuBar*>(focus))
                control = QStringLiteral("menubar:") +
                          (bar->activeAction() ? bar->activeAction()->objectName() : QString());
        }
        return active->objectName() + '/' + control;
    }

    QJsonObject screen(const QString& step) const {
        QJsonObject s;
        if (!step.isEmpty())
            s[QStringLiteral("step")] = step;
        if (skipped_)
            s[QStringLiteral("skipped")] = true;
        QJsonArray open;
        for (const QString& name : kWindowNames) {
            QWidget* w = windowNamed(name);
            if (w != nullptr && w->isVisible())
                open.append(name);
        }
        QMessageBox* box = openBox();
        if (box != nullptr)
            open.append(boxName(box));
        s[QStringLiteral("windows")] = open;
        QString front;
        if (box != nullptr)
            front = boxName(box);
        else if (QApplication::activeWindow() != nullptr)
            front = QApplication::activeWindow()->objectName();
        s[QStringLiteral("front")] = front;
        s[QStringLiteral("menu")] =
            qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr;
        s[QStringLiteral("focus")] = focusName();

        const probe::View v = reader_->read();
        const bocavo::ui::Tableau& w = program_->window;
        QJsonObject main;
        main[QStringLiteral("parents")] = cells(v.parents);
        main[QStringLiteral("children")] = cells(v.children);
        main[QStringLiteral("parentFrequencies")] = texts(v.parentTexts);
        main[QStringLiteral("childFrequencies")] = texts(v.childTexts);
        main[QStringLiteral("parentCaption")] = v.parentCaption;
        main[QStringLiteral("childCaption")] = v.childCaption;
        main[QStringLiteral("simulerEnabled")] = w.simuler()->isEnabled();
        main[QStringLiteral("genSuivEnabled")] = w.genSuiv()->isEnabled();
        s[QStringLiteral("screen")] = main;
        return s;
    }

    QJsonArray steps_;
    QJsonArray screens_;
    int next_ = 0;
    int epoch_ = 0; // one per program started
    bool restartNext_ = false;
    bool skipped_ = false;
    QElapsedTimer waited_;
    std::unique_ptr<Program> program_;
    std::unique_ptr<probe::Reader> reader_;
    QStringList focusOrder_; // most recently focused first
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: desktop_screens STEPS.json\n");
        return 2;
    }
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const QJsonArray steps = QJsonDocument::fromJson(file.readAll()).array();

    char name[] = "desktop_screens";
    char* qtArgv[] = {name, nullptr};
    int qtArgc = 1;
    QApplication app(qtArgc, qtArgv);
    probe::quietPlatformWarnings();
    // A French desktop, as the page's French boxes: Oui and Non.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    bocavo::ui::installQtTranslations(app, QLocale(QLocale::French, QLocale::France));

    Driver driver(steps);
    const QJsonArray screens = driver.run();
    std::fputs(QJsonDocument(screens).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
