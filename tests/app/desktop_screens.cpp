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
#include "desktop_steps.h"
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
                if (w->windowHandle() == window &&
                    desktop::kWindowNames.contains(w->objectName())) {
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
        skipped_ = !desktop::perform(*program_, step);
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
            QWidget* w = desktop::windowNamed(name);
            if (w != nullptr && w->isVisible()) {
                desktop::activate(w);
                return;
            }
        }
    }

    // --- what the user sees -----------------------------------------------------

    QString focusName() const {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            QAction* a = menu->activeAction();
            return QStringLiteral("menu/") + (a ? a->objectName() : QString());
        }
        if (QMessageBox* box = desktop::openBox()) {
            auto* b = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            return desktop::boxName(box) + '/' + (b ? desktop::buttonName(box, b) : QString());
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
        for (const QString& name : desktop::kWindowNames) {
            QWidget* w = desktop::windowNamed(name);
            if (w != nullptr && w->isVisible())
                open.append(name);
        }
        QMessageBox* box = desktop::openBox();
        if (box != nullptr)
            open.append(desktop::boxName(box));
        s[QStringLiteral("windows")] = open;
        QString front;
        if (box != nullptr)
            front = desktop::boxName(box);
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
