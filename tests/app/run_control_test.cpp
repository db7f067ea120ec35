// The run cycle driven through the real window: clicks, access keys, the
// Quit box, closing, the generation limit and an internal error.
#include "app/run_control.h"
#include "program_probe.h"
#include "ui/main/genotype_grid.h"
#include "ui/main/tableau.h"
#include "ui/translations.h"
#include "ui/windows/tool_window.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <algorithm>
#include <functional>

using bocavo::RunControl;
using bocavo::ui::GenotypeGrid;
using bocavo::ui::Tableau;

namespace {

using probe::kCaption;
const QStringList kChildLabels{"Label1", "Label2", "Label3", "Label4"};
const QStringList kParentLabels{"Label15", "Label16", "Label17", "Label18"};

// The shared fresh program, read through its controls by name.
struct Program : probe::Program {
    GenotypeGrid* grid(const char* name) const {
        return window.findChild<GenotypeGrid*>(QLatin1String(name));
    }
    QString text(const QString& label) const { return window.findChild<QLabel*>(label)->text(); }
    QStringList texts(const QStringList& labels) const {
        QStringList result;
        for (const QString& label : labels)
            result << text(label);
        return result;
    }
    QString frame(const char* name) const {
        return window.findChild<QGroupBox*>(QLatin1String(name))->title();
    }
    // Rows 1..20 of a grid, each as "a b".
    QStringList rows(const char* name) const {
        QStringList result;
        for (int i = 1; i <= 20; ++i)
            result << grid(name)->item(i, 1)->text() + ' ' + grid(name)->item(i, 2)->text();
        return result;
    }
    // Everything the window shows, to compare whole states.
    QStringList snapshot() const {
        return rows("Tableau_Parent") + rows("Tableau_Enfant") + texts(kParentLabels) +
               texts(kChildLabels) + QStringList{frame("Frame2"), frame("Frame1")};
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};

// What the window should show of `screen`, in the order of Program::snapshot.
QStringList snapshotOf(const bocavo::Screen& screen) {
    QStringList result;
    for (const auto* cells : {&screen.parents, &screen.children}) {
        for (const auto& row : *cells)
            result << QString::number(row[0]) + ' ' + QString::number(row[1]);
    }
    for (const auto* texts : {&screen.parentFrequencies, &screen.childFrequencies}) {
        for (const std::string& text : *texts)
            result << QString::fromStdString(text);
    }
    return result << QString::fromStdString(screen.parentCaption)
                  << QString::fromStdString(screen.childCaption);
}

// Answers the next modal box once it shows, after `inspect` has looked at it.
void answerBox(QMessageBox::StandardButton answer, std::function<void(QMessageBox*)> inspect = {}) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr)
            return;
        poll->deleteLater();
        if (inspect)
            inspect(box);
        box->button(answer)->click();
    });
    poll->start(10);
}

// Top-level windows of that name, shown or hidden, not yet deleted.
int windowsNamed(const QString& name) {
    const QWidgetList all = QApplication::topLevelWidgets();
    return int(
        std::count_if(all.begin(), all.end(), [&](QWidget* w) { return w->objectName() == name; }));
}

QWidget* visibleWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

// Opens the protocol window from the menu and the gift window from its hidden
// bottom-right corner, as a curious pupil would.
void openProtocolAndGift(Program& p) {
    p.window.protocoleAction()->trigger();
    QWidget* protocol = visibleWindow(QStringLiteral("aprotocole"));
    QVERIFY(protocol != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(protocol));
    const QPoint corner(protocol->width() - 5, protocol->height() - 5);
    QTest::mouseClick(protocol->windowHandle(), Qt::LeftButton, {}, corner);
    QTRY_VERIFY(visibleWindow(QStringLiteral("Cadeau")) != nullptr);
}

// Runs the event loop until the program ends; 99 if it never does.
int runUntilEnd(std::function<void()> action) {
    QTimer::singleShot(0, action);
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    return QCoreApplication::exec();
}

} // namespace

class RunControlTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void startStateOffersNoNextGeneration() {
        Program p;
        const QStringList before = p.snapshot();
        p.click(p.window.genSuiv());
        QTest::keyClick(&p.window, Qt::Key_G, Qt::AltModifier);
        QTest::qWait(300); // access keys land about 100 ms later
        QCOMPARE(p.control.generation(), 0);
        QCOMPARE(p.snapshot(), before);
        QCOMPARE(p.texts(kChildLabels + kParentLabels), QStringList(8, QStringLiteral("%")));
        QCOMPARE(p.frame("Frame1"), QStringLiteral("Fréquence Allèliques :"));
        // Alt+S does reach Simulation.
        QTest::keyClick(&p.window, Qt::Key_S, Qt::AltModifier);
        QTRY_COMPARE(p.control.generation(), 1);
        QVERIFY(p.window.genSuiv()->isEnabled());
    }

    // The run itself is the core's (tested on its own); here the window must
    // show every part of the core's screen after every click, and a fresh
    // program must play the same run as a fresh core.
    void windowShowsWhatTheCoreDescribes() {
        Program p;
        bocavo::RunCore core(QLocale().decimalPoint().toStdString());
        const auto clicks = {"Simuler", "GenSuiv", "GenSuiv", "GenSuiv", "Simuler", "GenSuiv"};
        for (const char* name : clicks) {
            if (QLatin1String(name) == QLatin1String("Simuler")) {
                p.click(p.window.simuler());
                core.simulation();
            } else {
                p.click(p.window.genSuiv());
                core.nextGeneration();
            }
            QCOMPARE(p.snapshot(), snapshotOf(core.screen()));
            QCOMPARE(p.control.generation(), core.screen().generation);
            QCOMPARE(p.window.simuler()->isEnabled(), core.screen().simulerEnabled);
            QCOMPARE(p.window.genSuiv()->isEnabled(), core.screen().genSuivEnabled);
        }
        QCOMPARE(p.control.generation(), 2);
    }

    // A chosen group is named in the caption and plays its own draw; without
    // one the caption is the title alone.
    void groupIsNamedAndPlaysItsDraw() {
        const QString title = QStringLiteral("Variation de Frequences d'Allèles");
        QCOMPARE(Program().window.windowTitle(), title);
        const bocavo::Group group{7, 1993};
        Tableau window;
        RunControl control(window, group);
        QCOMPARE(window.windowTitle(), title + QStringLiteral(" — groupe 7"));
        bocavo::RunCore core(QLocale().decimalPoint().toStdString(), group);
        window.simuler()->click();
        core.simulation();
        QStringList shown;
        for (const char* name : {"Tableau_Parent", "Tableau_Enfant"}) {
            const auto* grid = window.findChild<GenotypeGrid*>(QLatin1String(name));
            for (int i = 1; i <= 20; ++i)
                shown << grid->item(i, 1)->text() + ' ' + grid->item(i, 2)->text();
        }
        QCOMPARE(shown, snapshotOf(core.screen()).mid(0, 40));
    }

    // One scale for every window of the program: the keys work from the main
    // window or from an auxiliary one, and a window opened later opens at the
    // others' scale.
    void zoomKeysReachEveryWindow() {
        Program p;
        using bocavo::ui::ToolWindow;
        const auto press = [](QWidget* window, Qt::Key key) {
            QApplication::setActiveWindow(window);
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window, key, Qt::ControlModifier);
        };
        p.click(p.window.command1());
        auto* legend = qobject_cast<ToolWindow*>(visibleWindow(QStringLiteral("legende")));
        QVERIFY(legend != nullptr);
        const QSize legendAtOne = legend->size();
        press(legend, Qt::Key_Plus);
        QCOMPARE(p.window.scale(), 5);
        QCOMPARE(legend->scale(), 5);
        press(&p.window, Qt::Key_Plus);
        QCOMPARE(legend->scale(), 6);
        QCOMPARE(legend->size(), legendAtOne * 1.5);
        p.window.proposAction()->trigger();
        auto* about = qobject_cast<ToolWindow*>(visibleWindow(QStringLiteral("apropos")));
        QVERIFY(about != nullptr);
        QCOMPARE(about->scale(), 6);
        press(about, Qt::Key_0);
        QCOMPARE(p.window.scale(), 4);
        QCOMPARE(legend->scale(), 4);
        QCOMPARE(legend->size(), legendAtOne);
    }

    void keyboardFollowsTheFocusedButton() {
        Program p;
        // Return runs Simulation from a grid, like a default button.
        p.window.findChild<GenotypeGrid*>("Tableau_Enfant")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(p.control.generation(), 1);
        // Space on Next generation, again and again: the focus stays put.
        p.window.genSuiv()->setFocus();
        QTest::keyClick(p.window.genSuiv(), Qt::Key_Space);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(p.control.generation(), 3);
        QCOMPARE(QApplication::focusWidget(), p.window.genSuiv());
        // Return on a focused button presses that button, not Simulation.
        QTest::keyClick(p.window.genSuiv(), Qt::Key_Return);
        QTRY_COMPARE(p.control.generation(), 4);
    }

    void quitAnsweredNoChangesNothing() {
        Program p;
        p.click(p.window.simuler());
        p.click(p.window.genSuiv());
        p.click(p.window.command1());
        QTRY_VERIFY(visibleWindow(QStringLiteral("legende")) != nullptr);
        const QStringList before = p.snapshot();
        QString title, prompt;
        answerBox(QMessageBox::No, [&](QMessageBox* box) {
            title = box->windowTitle();
            prompt = box->text();
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
        });
        QMenuBar* bar = p.window.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {},
                          bar->actionGeometry(p.window.quitAction()).center());
        QTRY_COMPARE(title, QStringLiteral("Quitter Bocavo?"));
        QCOMPARE(prompt, QStringLiteral("Etes-vous sur de vouloir quitter ?"));
        QCOMPARE(p.snapshot(), before);
        QCOMPARE(p.control.generation(), 2);
        QVERIFY(p.window.isVisible());
        QVERIFY(visibleWindow(QStringLiteral("legende")) != nullptr);
        QVERIFY(p.window.genSuiv()->isEnabled());
    }

    // Yes ends the program, and the auxiliary windows go with it, hidden ones too.
    void quitAnsweredYesEndsTheProgram() {
        Program p;
        p.window.proposAction()->trigger();
        visibleWindow(QStringLiteral("apropos"))->findChild<QPushButton*>("Command1")->click();
        QCOMPARE(windowsNamed(QStringLiteral("apropos")), 1); // hidden, not discarded
        answerBox(QMessageBox::Yes);
        QCOMPARE(runUntilEnd([&] { p.window.quitAction()->trigger(); }), 0);
        QCOMPARE(windowsNamed(QStringLiteral("apropos")), 0);
    }

    // The open protocol and gift windows must neither keep the program alive
    // nor outlive it.
    void closingTheWindowEndsTheProgram() {
        Program p;
        openProtocolAndGift(p);
        QCOMPARE(runUntilEnd([&] { p.window.close(); }), 0);
        QVERIFY(QApplication::activeModalWidget() == nullptr); // nothing asked
        QCOMPARE(windowsNamed(QStringLiteral("aprotocole")), 0);
        QCOMPARE(windowsNamed(QStringLiteral("Cadeau")), 0);
    }

    // Each command shows its one window; asking again shows the same one.
    void commandsShowOneWindowEach() {
        Program p;
        p.click(p.window.command1());
        p.click(p.window.command1());
        QCOMPARE(windowsNamed(QStringLiteral("legende")), 1);
        p.window.proposAction()->trigger();
        QWidget* about = visibleWindow(QStringLiteral("apropos"));
        QVERIFY(about != nullptr);
        about->findChild<QPushButton*>("Command1")->click();
        QVERIFY(!about->isVisible());
        p.window.proposAction()->trigger();
        QCOMPARE(visibleWindow(QStringLiteral("apropos")), about);
        openProtocolAndGift(p);
        QCOMPARE(windowsNamed(QStringLiteral("Cadeau")), 1);
        QCOMPARE(p.control.generation(), 0); // no simulation state touched
    }

    void lastGenerationStopsTheRun() {
        Program p;
        p.click(p.window.simuler());
        p.control.setGenerationForTest(32765);
        p.click(p.window.genSuiv());
        QVERIFY(p.window.genSuiv()->isEnabled()); // 32766: one more to go
        p.click(p.window.genSuiv());
        QCOMPARE(p.control.generation(), 32767);
        QCOMPARE(p.frame("Frame2"), kCaption + "32766");
        QCOMPARE(p.frame("Frame1"), kCaption + "32767");
        QVERIFY(!p.window.genSuiv()->isEnabled());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        const QStringList last = p.snapshot();
        QTest::keyClick(&p.window, Qt::Key_G, Qt::AltModifier);
        QTest::qWait(300);
        QCOMPARE(p.control.generation(), 32767);
        QCOMPARE(p.snapshot(), last);
        // A new run brings the command back.
        p.click(p.window.simuler());
        QCOMPARE(p.control.generation(), 1);
        QVERIFY(p.window.genSuiv()->isEnabled());
    }

    void internalErrorIsReportedAndEndsTheProgram() {
        Program p;
        p.click(p.window.simuler());
        // Children of allele 0 breed children of allele 0, which no census can count.
        for (int i = 1; i <= 20; ++i)
            p.control.populationForTest().Geno_Enfant(i, 1) =
                p.control.populationForTest().Geno_Enfant(i, 2) = 0;
        QString report;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answerBox(QMessageBox::Ok, [&](QMessageBox* box) {
            report = box->text();
            icon = box->icon();
        });
        QCOMPARE(runUntilEnd([&] { p.click(p.window.genSuiv()); }), bocavo::kInternalErrorExit);
        QCOMPARE(icon, QMessageBox::Critical);
        QVERIFY2(report.startsWith(QStringLiteral("Erreur interne")), qPrintable(report));
        QVERIFY2(report.contains(QStringLiteral("Indice hors limites : 0 dans Nb_Allele")),
                 qPrintable(report));
    }

    void separatorsFollowTheLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France);
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates);
    }

    void separatorsFollowTheLocale() {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        checkSeparator(locale.decimalPoint());
    }

    // Run under LANG=fr_FR.UTF-8 and LANG=en_US.UTF-8 by ctest, which names
    // the separator and the Yes button the user's desktop calls for.
    void systemLocaleIsFollowed() {
        const QString separator = qEnvironmentVariable("BOCAVO_TEST_SEPARATOR");
        if (separator.isEmpty())
            QSKIP("needs BOCAVO_TEST_SEPARATOR and BOCAVO_TEST_YES");
        checkSeparator(separator);
        // As the program starts: English needs no catalogue, French finds one.
        bocavo::ui::installQtTranslations(*qApp, QLocale::system());
        QMessageBox box(QMessageBox::NoIcon, {}, {}, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text(), qEnvironmentVariable("BOCAVO_TEST_YES"));
    }

private:
    // Runs generations until a half percent shows, then checks every text.
    void checkSeparator(const QString& separator) {
        Program p;
        p.click(p.window.simuler());
        const QRegularExpression form(QStringLiteral("^\\d+(") +
                                      QRegularExpression::escape(separator) +
                                      QStringLiteral("5)?%$"));
        bool sawHalf = false;
        for (int n = 0; n < 20 && !sawHalf; ++n) {
            for (const QString& text : p.texts(kChildLabels)) {
                QVERIFY2(form.match(text).hasMatch(), qPrintable(text));
                sawHalf = sawHalf || text.contains(separator);
            }
            p.click(p.window.genSuiv());
        }
        QVERIFY(sawHalf);
    }
};

QTEST_MAIN(RunControlTest)
#include "run_control_test.moc"
