// A lesson in the window: a scenario's consigne shows beside the parameters
// (and only when there is one), stays through a refused file, is saved with
// the scenario, and goes into the link « Copier le lien de ce scénario » makes.
#include "core/lab/files/scenario_link.h"
#include "labo/files/scenario_file.h"
#include "labo_window_fixture.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QStatusBar>

using namespace bocavo::labo;
using bocavo::Result;

class LaboLessonTest : public LaboWindowFixture {
    Q_OBJECT

    QPlainTextEdit* consigne() const { return window_->findChild<QPlainTextEdit*>("consigne"); }
    std::filesystem::path pathOf(const char* name) const {
        return folder_->filePath(name).toStdString();
    }

private slots:
    void init() { openWindowAndFolder(); }
    void cleanup() { closeWindowAndFolder(); }

    void aLessonShowsItsConsigneAndKeepsIt() {
        Scenario lesson;
        lesson.classes = 30;
        lesson.a.individuals = 40;
        lesson.a.urn = evenUrn(40, 4);
        lesson.consigne = "Observez l'allèle 1.\n\nclasses = 5\n# À la génération 50 ?";
        QCOMPARE(saveScenario(lesson, pathOf("lecon.scenario")).reason(), std::string());
        QCOMPARE(saveScenario(Scenario{}, pathOf("ancien.scenario")).reason(), std::string());
        QFile(folder_->filePath("abime.scenario")).open(QIODevice::WriteOnly);

        QVERIFY(consigne() && !consigne()->isVisible()); // none on a fresh start
        window_->openScenarioFrom(folder_->filePath("lecon.scenario"));
        QVERIFY(consigne()->isVisible());
        QVERIFY(consigne()->isReadOnly());
        QCOMPARE(consigne()->toPlainText(), QString::fromStdString(lesson.consigne));
        QCOMPARE(window_->parameters()->classesField()->text(), "30");

        // A refused file changes nothing, the consigne included.
        window_->openScenarioFrom(folder_->filePath("abime.scenario"));
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        window_->notice()->close();
        QCOMPARE(consigne()->toPlainText(), QString::fromStdString(lesson.consigne));

        window_->saveScenarioTo(folder_->filePath("copie.scenario"));
        QTRY_VERIFY(!controller_->busy());
        const Result<Scenario> saved = loadScenario(pathOf("copie.scenario"));
        QVERIFY2(saved, saved.reason().c_str());
        QCOMPARE(saved->consigne, lesson.consigne);
        QVERIFY(*saved == lesson);

        window_->copyScenarioLink();
        const QString link = QGuiApplication::clipboard()->text();
        QVERIFY2(link.startsWith("labo.html#scenario="), qPrintable(link));
        const Result<Scenario> linked = scenarioFromLink(link.mid(link.indexOf('#')).toStdString());
        QVERIFY2(linked, linked.reason().c_str());
        QVERIFY(*linked == lesson);
        QVERIFY(window_->statusBar()->currentMessage().startsWith("Lien copié"));

        // A scenario without one hides it, and a link made then carries none.
        window_->openScenarioFrom(folder_->filePath("ancien.scenario"));
        QVERIFY(!consigne()->isVisible());
        window_->copyScenarioLink();
        const QString plain = QGuiApplication::clipboard()->text();
        QCOMPARE(scenarioFromLink(plain.mid(plain.indexOf('#')).toStdString())->consigne, "");
    }

    // Refused parameters make no link: the reasons are shown instead.
    void noLinkForRefusedParameters() {
        QGuiApplication::clipboard()->setText("avant");
        window_->parameters()->classesField()->setText("0");
        window_->copyScenarioLink();
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        QVERIFY(window_->notice()->text().contains("classes"));
        QCOMPARE(QGuiApplication::clipboard()->text(), "avant");
    }
};

QTEST_MAIN(LaboLessonTest)
#include "labo_lesson_test.moc"
