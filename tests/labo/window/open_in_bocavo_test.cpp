// « Ouvrir cette classe dans Bocavo »: which classes it opens, with which
// arguments, and a real start of a stand-in `bocavo` that records them.
#include "core/lab/files/scenario.h"
#include "core/lab/science/experiment.h"
#include "labo/window/class_tab.h"
#include "labo/window/settings_editor.h"
#include "labo_window_fixture.h"

#include <QComboBox>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>

namespace bocavo::labo {

namespace {
// A `bocavo` that writes its arguments, one a line, beside itself.
QString writeStandIn(const QString& folder) {
    const QString path = folder + "/bocavo";
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return {};
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args.part\" && "
                 "mv \"$0.args.part\" \"$0.args\"\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    return path;
}

QString readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class OpenInBocavoTest : public LaboWindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(); }
    void cleanup() {
        closeWindow();
        qputenv("PATH", path_);
    }
    void initTestCase() { path_ = qgetenv("PATH"); }

    // Only a set with the classroom's settings, and only the groups' numbers;
    // the `bocavo` beside the lab comes before the one on PATH.
    void onlyClassroomSetsWithinTheGroupsOpen() {
        QTemporaryDir beside, empty;
        const QString standIn = writeStandIn(beside.path());
        QVERIFY(!standIn.isEmpty());
        const Experiment three(Settings{}, 3, 77);
        Settings forty;
        forty.individuals = 40;
        forty.urn = evenUrn(40, 4);
        Settings ideal;
        ideal.model = Model::WrightFisher;
        const struct {
            const char* name;
            Experiment run;
            int classNumber;
            bool opens;
        } cases[] = {
            {"class 1", Experiment(Settings{}, 3, 77), 1, true},
            {"class 1 000", Experiment(Settings{}, 1000, 77), 1000, true},
            {"N = 40", Experiment(forty, 3, 77), 2, false},
            {"ideal model", Experiment(ideal, 3, 77), 2, false},
        };
        for (const auto& c : cases) {
            const auto start = bocavoStart(c.run, c.classNumber, beside.path());
            QVERIFY2(start.has_value() == c.opens, c.name);
            if (start) {
                QCOMPARE(start->program, standIn);
                QCOMPARE(start->arguments, QStringList({"--groupe", QString::number(c.classNumber),
                                                        "--graine", "77"}));
            }
        }
        // Past the run's classes, or before the first.
        QVERIFY(!bocavoStart(three, 4, beside.path()));
        QVERIFY(!bocavoStart(three, 0, beside.path()));
        QCOMPARE(bocavoStart(three, 3, empty.path())->program, "bocavo");
    }

    // Sets A and B each open the class on display with their own seed, in a
    // real process; a `bocavo` found nowhere is told, and nothing is lost.
    void theButtonStartsBocavoOnTheClassOnDisplay() {
        QTemporaryDir onPath, nowhere;
        const QString standIn = writeStandIn(onPath.path());
        QVERIFY(!standIn.isEmpty());
        // This test's program has no `bocavo` beside it, so PATH decides.
        qputenv("PATH", (onPath.path() + ":" + path_).toLocal8Bit());

        ClassTab* tab = window_->classTab();
        QVERIFY(!tab->openButton()->isEnabled());             // nothing run yet
        QTest::keyClick(window_, Qt::Key_B, Qt::AltModifier); // "Comparer avec un jeu &B"
        QTRY_VERIFY(window_->parameters()->editor(1)->isChecked());
        runTo("3", "5", "1993");
        QCOMPARE(controller_->sets(), 2);
        QCOMPARE(window_->tabs()->currentWidget(), tab);
        tab->classBox()->setValue(2);
        QVERIFY(secondSeed(1993) != 1993u);
        const std::uint32_t seeds[] = {1993, secondSeed(1993)};
        for (int set = 0; set < 2; ++set) {
            tab->setBox()->setCurrentIndex(set);
            QVERIFY(tab->openButton()->isEnabled());
            QFile::remove(standIn + ".args");
            QTest::mouseClick(tab->openButton(), Qt::LeftButton);
            QTRY_COMPARE(readAll(standIn + ".args"),
                         QString("--groupe\n2\n--graine\n%1\n").arg(seeds[set]));
        }
        QCOMPARE(noticeText(), QString());

        qputenv("PATH", nowhere.path().toLocal8Bit());
        QTest::mouseClick(tab->openButton(), Qt::LeftButton);
        QVERIFY(noticeText().startsWith("Bocavo n'a pas pu être lancé"));
        QCOMPARE(controller_->sets(), 2);
    }

private:
    QByteArray path_;
};

} // namespace bocavo::labo

QTEST_MAIN(bocavo::labo::OpenInBocavoTest)
#include "open_in_bocavo_test.moc"
