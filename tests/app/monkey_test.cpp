// A class clicking everything, in every order: thousands of seeded random
// actions through the real widgets, and after each one every invariant that
// ties the window to the model, plus a model of the auxiliary windows.
//
// BOCAVO_MONKEY_SEED and BOCAVO_MONKEY_ACTIONS choose the run; a failure
// names both, so that the same run can be replayed up to the faulty action.
#include "program_probe.h"
#include "window_model.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <functional>
#include <numeric>
#include <random>
#include <utility>

using probe::Program;
using probe::View;
using probe::WindowModel;
using enum probe::AuxWindow;

namespace {

// The protocol window's client area and its invisible corner, in pixels:
// 7275 x 7305 twips, the last 435 x 345 twips of it.
inline constexpr int kProtocolWidth = 485;
inline constexpr int kProtocolHeight = 487;
inline constexpr int kCornerWidth = 29;
inline constexpr int kCornerHeight = 23;

// An access key presses its button about 100 ms later.
inline constexpr int kAnimateClickMs = 100;
inline constexpr int kKeyTimeoutMs = 2000;

enum class Effect { None, Founding, Promotion };

// AccessKey is Alt+S, Alt+G, Alt+L or Return: slow, so rare. JumpNearLimit
// is no user action: it lets a run meet the last generation.
enum Kind {
    ClickSimuler,
    ClickGenSuiv,
    ClickLegende,
    MenuProtocole,
    MenuPropos,
    QuitNo,
    Tab,
    BackTab,
    Space,
    AccessKey,
    WindowOk,
    WindowHide,
    WindowClose,
    CornerInside,
    CornerOutside,
    JumpNearLimit,
    kKinds
};

// Each kind's name and its share, out of 1000, of the actions drawn. Next
// generation leads, so that runs grow long enough to lose alleles.
struct KindInfo {
    const char* name;
    int weight;
};
inline constexpr std::array<KindInfo, kKinds> kKindInfo{{{"click Simuler", 60},
                                                         {"click GenSuiv", 385},
                                                         {"click Command1", 40},
                                                         {"menu protocole", 25},
                                                         {"menu propos", 25},
                                                         {"Quit, No", 15},
                                                         {"Tab", 60},
                                                         {"Shift+Tab", 40},
                                                         {"Space", 60},
                                                         {"access key", 8},
                                                         {"OK", 60},
                                                         {"hide", 50},
                                                         {"close button", 50},
                                                         {"corner inside", 60},
                                                         {"corner outside", 60},
                                                         {"jump near the last generation", 2}}};
static_assert(std::accumulate(kKindInfo.begin(), kKindInfo.end(), 0,
                              [](int sum, const KindInfo& k) { return sum + k.weight; }) == 1000);

class Monkey {
public:
    Monkey(Program& program, std::uint32_t seed) : p_(program), reader_(program), rng_(seed) {
        QObject::connect(&watchdog_, &QTimer::timeout, [this] { answerModal(); });
        watchdog_.start(50);
    }

    // Runs one action and returns what broke, or an empty string.
    QString step(Kind kind) {
        View before = reader_.read();
        Effect effect = Effect::None;
        switch (kind) {
        case ClickSimuler:
            QTest::mouseClick(p_.window.simuler(), Qt::LeftButton);
            effect = Effect::Founding;
            break;
        case ClickGenSuiv:
            effect = genSuivEffect();
            QTest::mouseClick(p_.window.genSuiv(), Qt::LeftButton);
            break;
        case ClickLegende:
            QTest::mouseClick(p_.window.command1(), Qt::LeftButton);
            windows_.requested(Legende);
            break;
        case MenuProtocole:
            chooseFromHelpMenu(p_.window.protocoleAction());
            windows_.requested(Protocole);
            break;
        case MenuPropos:
            chooseFromHelpMenu(p_.window.proposAction());
            windows_.requested(Propos);
            break;
        case QuitNo:
            quitAnsweredNo();
            break;
        case Tab:
        case BackTab:
            activateMain();
            if (kind == Tab)
                QTest::keyClick(focusTarget(), Qt::Key_Tab);
            else
                QTest::keyClick(focusTarget(), Qt::Key_Backtab, Qt::ShiftModifier);
            break;
        case Space:
            activateMain();
            effect = pressEffect(QApplication::focusWidget(), false);
            QTest::keyClick(focusTarget(), Qt::Key_Space);
            break;
        case AccessKey:
            effect = accessKey();
            break;
        case WindowOk:
        case WindowHide:
        case WindowClose:
            windowAction(kind);
            break;
        case CornerInside:
        case CornerOutside:
            cornerClick(kind == CornerInside);
            break;
        case JumpNearLimit:
            // Drawn only within a run that can go on: the captions catch up at once.
            p_.control.setGenerationForTest(std::int16_t(pick(32760, 32766)));
            before.generation = p_.generation();
            effect = genSuivEffect();
            QTest::mouseClick(p_.window.genSuiv(), Qt::LeftButton);
            break;
        case kKinds:
            break;
        }
        probe::settle();
        return check(before, effect);
    }

    // A kind drawn by weight, among those that have something to act on.
    Kind draw() {
        for (;;) {
            int roll = pick(0, 999);
            int k = 0;
            while (roll >= kKindInfo[std::size_t(k)].weight)
                roll -= kKindInfo[std::size_t(k++)].weight;
            if (applicable(Kind(k)))
                return Kind(k);
        }
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    // The Quit box is answered No; any other modal box (an internal error
    // report) would wait for ever: it is noted and dismissed, so that the
    // check after the action fails.
    void answerModal() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        if (expectingQuitBox_ && box->windowTitle() == QStringLiteral("Quitter Bocavo?")) {
            expectingQuitBox_ = false;
            box->button(QMessageBox::No)->click();
            return;
        }
        unexpectedBox_ = box->windowTitle() + ": " + box->text();
        box->done(0);
    }

    QList<probe::AuxWindow> shownWindows(bool withOk) const {
        QList<probe::AuxWindow> shown;
        for (const auto i : {Legende, Protocole, Propos, Cadeau})
            if (windows_.isShown(i) && (!withOk || i != Legende))
                shown << i;
        return shown;
    }

    bool applicable(Kind kind) const {
        switch (kind) {
        case WindowOk:
            return !shownWindows(true).isEmpty();
        case WindowHide:
        case WindowClose:
            return !shownWindows(false).isEmpty();
        case CornerInside:
        case CornerOutside:
            return windows_.isShown(Protocole);
        case JumpNearLimit:
            return p_.window.genSuiv()->isEnabled();
        default:
            return true;
        }
    }

    Effect genSuivEffect() const {
        return p_.window.genSuiv()->isEnabled() ? Effect::Promotion : Effect::None;
    }

    // What pressing `widget` by key must do; Return on anything but a main
    // window button presses Simulation, the window's default.
    Effect pressEffect(QWidget* widget, bool isReturn) {
        bocavo::ui::Tableau& w = p_.window;
        if (widget == w.simuler())
            return Effect::Founding;
        if (widget == w.genSuiv())
            return genSuivEffect();
        if (widget == w.command1()) {
            windows_.requested(Legende);
            return Effect::None;
        }
        return isReturn ? Effect::Founding : Effect::None;
    }

    // The user clicks the main window first, as keys go to the active window.
    void activateMain() {
        if (QApplication::activeWindow() != &p_.window)
            QApplication::setActiveWindow(&p_.window);
    }
    QWidget* focusTarget() {
        QWidget* focus = QApplication::focusWidget();
        return focus != nullptr ? focus : &p_.window;
    }

    Effect accessKey() {
        activateMain();
        bocavo::ui::Tableau& w = p_.window;
        QSignalSpy simuler(w.simuler(), &QPushButton::clicked);
        QSignalSpy genSuiv(w.genSuiv(), &QPushButton::clicked);
        QSignalSpy legende(w.command1(), &QPushButton::clicked);
        Effect effect = Effect::None;
        bool pressed = true;
        switch (pick(0, 3)) {
        case 0:
            QTest::keyClick(focusTarget(), Qt::Key_S, Qt::AltModifier);
            effect = Effect::Founding;
            break;
        case 1:
            pressed = w.genSuiv()->isEnabled();
            effect = genSuivEffect();
            QTest::keyClick(focusTarget(), Qt::Key_G, Qt::AltModifier);
            break;
        case 2:
            QTest::keyClick(focusTarget(), Qt::Key_L, Qt::AltModifier);
            windows_.requested(Legende);
            break;
        default: {
            QWidget* focus = QApplication::focusWidget();
            effect = pressEffect(focus, true);
            pressed = focus != w.genSuiv() || w.genSuiv()->isEnabled();
            QTest::keyClick(focusTarget(), Qt::Key_Return);
            break;
        }
        }
        // Wait for the delayed press, or long enough to be sure none comes.
        const auto clicks = [&] { return simuler.count() + genSuiv.count() + legende.count(); };
        QElapsedTimer waited;
        waited.start();
        const int limit = pressed ? kKeyTimeoutMs : 3 * kAnimateClickMs / 2;
        while (clicks() == 0 && waited.elapsed() < limit)
            QTest::qWait(5);
        if (clicks() != (pressed ? 1 : 0))
            failure_ = QStringLiteral("the key pressed %1 buttons").arg(clicks());
        return effect;
    }

    void chooseFromHelpMenu(QAction* entry) {
        QMenuBar* bar = p_.window.menuBar();
        QMenu* help = p_.window.findChild<QMenu*>(QStringLiteral("help"));
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(help->menuAction()).center());
        if (!help->isVisible()) {
            failure_ = QStringLiteral("the ? menu did not open");
            return;
        }
        QTest::mouseClick(help, Qt::LeftButton, {}, help->actionGeometry(entry).center());
    }

    void quitAnsweredNo() {
        expectingQuitBox_ = true;
        QTimer::singleShot(0, &watchdog_, [this] { answerModal(); });
        QMenuBar* bar = p_.window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(p_.window.quitAction()).center());
        if (expectingQuitBox_) {
            expectingQuitBox_ = false;
            failure_ = QStringLiteral("Quit asked nothing");
        }
    }

    void windowAction(Kind kind) {
        const auto shown = shownWindows(kind == WindowOk);
        const auto i = shown[pick(0, int(shown.size()) - 1)];
        QWidget* window = windows_.instance(i);
        if (kind == WindowOk) {
            QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
            windows_.hidden(i);
        } else if (kind == WindowHide) {
            window->hide();
            windows_.hidden(i);
        } else {
            window->windowHandle()->close(); // as the caption bar's close button does
            windows_.discarded(i);
        }
    }

    void cornerClick(bool inside) {
        QPoint at(pick(kProtocolWidth - kCornerWidth, kProtocolWidth - 1),
                  pick(kProtocolHeight - kCornerHeight, kProtocolHeight - 1));
        if (!inside) {
            // One to three pixels left of or above the corner, still on the window.
            if (pick(0, 1) == 0)
                at.setX(kProtocolWidth - kCornerWidth - pick(1, 3));
            else
                at.setY(kProtocolHeight - kCornerHeight - pick(1, 3));
        }
        QTest::mouseClick(windows_.instance(Protocole)->windowHandle(), Qt::LeftButton, {}, at);
        if (inside)
            windows_.requested(Cadeau);
    }

    QString check(const View& before, Effect effect) {
        if (!failure_.isEmpty())
            return std::exchange(failure_, {});
        if (!unexpectedBox_.isEmpty())
            return QStringLiteral("unexpected box: ") + std::exchange(unexpectedBox_, {});
        if (QApplication::activeModalWidget() != nullptr)
            return QStringLiteral("a modal window is left open");
        const View after = reader_.read();
        QString problem = probe::checkAlways(p_, after);
        if (problem.isEmpty()) {
            switch (effect) {
            case Effect::None:
                if (!(after == before))
                    problem = QStringLiteral("the display changed without a simulation command");
                break;
            case Effect::Founding:
                problem = probe::checkFounding(after);
                // A fresh draw of 40 copies repeating the last one: never in practice.
                if (problem.isEmpty() && after.parents == before.parents)
                    problem = QStringLiteral("Simulation drew nothing new");
                break;
            case Effect::Promotion:
                problem = probe::checkPromotion(before, after, p_.population());
                break;
            }
        }
        if (problem.isEmpty())
            problem = windows_.check();
        if (problem.isEmpty())
            problem = checkFocus();
        return problem;
    }

    // Only the grids and the three buttons take the focus in the main window.
    QString checkFocus() {
        if (QApplication::activeWindow() != &p_.window)
            return {};
        QWidget* focus = QApplication::focusWidget();
        const bocavo::ui::Tableau& w = p_.window;
        const QStringList allowed{"Tableau_Parent", "Tableau_Enfant", "Simuler", "GenSuiv",
                                  "Command1"};
        if (focus != nullptr && !allowed.contains(focus->objectName()))
            return QStringLiteral("the focus went to \"%1\"").arg(focus->objectName());
        if (focus == w.genSuiv() && !w.genSuiv()->isEnabled())
            return QStringLiteral("the focus rests on a disabled GenSuiv");
        return {};
    }

    Program& p_;
    probe::Reader reader_;
    std::mt19937 rng_;
    WindowModel windows_;
    bool expectingQuitBox_ = false;
    QString failure_;
    QString unexpectedBox_;
    QTimer watchdog_;
};

int settingFromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { probe::quietPlatformWarnings(); }

    void survivesRandomActions() {
        const auto seed = std::uint32_t(settingFromEnvironment("BOCAVO_MONKEY_SEED", 20260101));
        const int actions = settingFromEnvironment("BOCAVO_MONKEY_ACTIONS", 2000);
        qInfo("seed %u, %d actions", seed, actions);
        Program program;
        Monkey monkey(program, seed);
        int done[kKinds] = {};
        QStringList recent;
        QElapsedTimer clock;
        clock.start();
        for (int n = 1; n <= actions; ++n) {
            const Kind kind = monkey.draw();
            recent << QString::number(n) + ": " + kKindInfo[kind].name;
            if (recent.size() > 8)
                recent.removeFirst();
            const QString problem = monkey.step(kind);
            ++done[kind];
            if (!problem.isEmpty()) {
                QFAIL(qPrintable(QStringLiteral("seed %1, action %2 (%3): %4\n"
                                                "last actions: %5\n"
                                                "replay: BOCAVO_MONKEY_SEED=%1 "
                                                "BOCAVO_MONKEY_ACTIONS=%2")
                                     .arg(seed)
                                     .arg(n)
                                     .arg(kKindInfo[kind].name, problem, recent.join(", "))));
            }
        }
        const double seconds = double(clock.elapsed()) / 1000.0;
        qInfo("%d actions in %.1f s: %.0f actions per second; generation %d at the end", actions,
              seconds, actions / seconds, program.generation());
        QStringList mix;
        for (int k = 0; k < kKinds; ++k)
            mix << QStringLiteral("%1 %2").arg(kKindInfo[std::size_t(k)].name).arg(done[k]);
        qInfo("%s", qPrintable(mix.join(", ")));
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
