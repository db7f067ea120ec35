// The program started where no window can open: a French word on the standard
// error and status 1, never Qt's English message and an abort. Its arguments,
// Qt's own options among them, change nothing.
#include <QProcess>
#include <QTest>

namespace {

inline constexpr int kStartMs = 30000;  // generous: the sanitizers start slowly
inline constexpr int kRunningMs = 1500; // long enough for a refusal to show

const QByteArray kSaid = QByteArrayLiteral("bocavo : la fenêtre de Bocavo a besoin d'un écran "
                                           "graphique, et aucun n'est accessible ici.\n");

QProcessEnvironment environment(const QStringList& unset, const QStringList& set) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset)
        env.remove(name);
    for (const QString& pair : set)
        env.insert(pair.section('=', 0, 0), pair.section('=', 1));
    return env;
}

} // namespace

class NoDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void saysSoInFrench_data() {
        QTest::addColumn<QStringList>("unset");
        QTest::addColumn<QStringList>("set");
        QTest::addColumn<QStringList>("arguments");
        const QStringList none{"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
        QTest::newRow("no display named") << none << QStringList() << QStringList();
        // A display named but out of reach: Qt's own failure, turned into the same words.
        QTest::newRow("display out of reach")
            << QStringList{"WAYLAND_DISPLAY"} << QStringList{"DISPLAY=:97", "QT_QPA_PLATFORM=xcb"}
            << QStringList();
        // Read by Qt, this would start the window on a platform needing no display.
        QTest::newRow("Qt's options are not read")
            << QStringList{"WAYLAND_DISPLAY"} << QStringList{"DISPLAY=:97", "QT_QPA_PLATFORM=xcb"}
            << QStringList{"-platform", "offscreen"};
        QTest::newRow("other arguments are ignored")
            << none << QStringList() << QStringList{"--inconnu", "fichier.txt"};
    }

    void saysSoInFrench() {
        QFETCH(QStringList, unset);
        QFETCH(QStringList, set);
        QFETCH(QStringList, arguments);
        QProcess bocavo;
        bocavo.setProcessEnvironment(environment(unset, set));
        bocavo.start(QStringLiteral(BOCAVO_PROGRAM), arguments);
        QVERIFY(bocavo.waitForFinished(kStartMs));
        const QByteArray said = bocavo.readAllStandardError();
        QCOMPARE(bocavo.exitStatus(), QProcess::NormalExit); // no abort
        QCOMPARE(bocavo.exitCode(), 1);
        QVERIFY2(said.startsWith(kSaid), said.constData());
        QVERIFY2(!said.contains("plugin"), said.constData()); // nothing of Qt's own
        QCOMPARE(bocavo.readAllStandardOutput(), QByteArray());
    }

    // A platform that needs no display of this machine is no reason to refuse.
    void startsWhereNoDisplayIsNeeded() {
        QProcess bocavo;
        bocavo.setProcessEnvironment(
            environment({"DISPLAY", "WAYLAND_DISPLAY"}, {"QT_QPA_PLATFORM=offscreen"}));
        bocavo.start(QStringLiteral(BOCAVO_PROGRAM));
        QVERIFY(bocavo.waitForStarted(kStartMs));
        QVERIFY2(!bocavo.waitForFinished(kRunningMs), bocavo.readAllStandardError().constData());
        bocavo.kill();
        QVERIFY(bocavo.waitForFinished(kStartMs));
    }
};

QTEST_GUILESS_MAIN(NoDisplayTest)
#include "no_display_test.moc"
