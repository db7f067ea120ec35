// The program's command line: --groupe and --graine are read before any
// window, a bad value is refused in French with status 2, anything else is
// ignored as it always was. Run where no display is, a sound command line
// goes on to the word about the missing display (status 1).
#include <QProcess>
#include <QTest>

namespace {

inline constexpr int kStartMs = 30000;  // generous: the sanitizers start slowly
inline constexpr int kRunningMs = 1500; // long enough for an exit to show
inline constexpr int kBadArguments = 2; // exit status
inline constexpr int kNoDisplay = 1;    // exit status

QProcessEnvironment environment(bool display) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    if (display)
        env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
}

} // namespace

class ArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void withoutDisplay_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");
        const QString group =
            "ne convient pas pour le groupe : il faut un nombre entier de 1 à 1 000.";
        const QString seed =
            "ne convient pas pour la graine : il faut un nombre entier de 0 à 4 294 967 295.";
        QTest::newRow("group 0") << QStringList{"--groupe", "0"} << kBadArguments
                                 << "bocavo : « 0 » " + group;
        QTest::newRow("group 1001")
            << QStringList{"--groupe", "1001"} << kBadArguments << "bocavo : « 1001 » " + group;
        QTest::newRow("group abc")
            << QStringList{"--groupe=abc"} << kBadArguments << "bocavo : « abc » " + group;
        QTest::newRow("group missing") << QStringList{"--groupe"} << kBadArguments
                                       << "bocavo : L'option --groupe attend une valeur.";
        QTest::newRow("group then an option")
            << QStringList{"--groupe", "--graine", "5"} << kBadArguments
            << "bocavo : L'option --groupe attend une valeur.";
        QTest::newRow("group twice") << QStringList{"--groupe", "3", "--groupe=4"} << kBadArguments
                                     << "bocavo : L'option --groupe est donnée deux fois.";
        QTest::newRow("seed too large") << QStringList{"--groupe", "2", "--graine", "4294967296"}
                                        << kBadArguments << "bocavo : « 4294967296 » " + seed;
        QTest::newRow("seed negative")
            << QStringList{"--graine", "-1"} << kBadArguments << "bocavo : « -1 » " + seed;
        QTest::newRow("seed missing") << QStringList{"--graine="} << kBadArguments
                                      << "bocavo : Indiquez la graine : un nombre entier de 0 à "
                                         "4 294 967 295.";
        // Sound: the command line is accepted, and only the display is missing.
        const QString noDisplay = "bocavo : la fenêtre de Bocavo a besoin d'un écran graphique";
        QTest::newRow("both ends")
            << QStringList{"--groupe", "1000", "--graine", "4294967295"} << kNoDisplay << noDisplay;
        QTest::newRow("first group, seed 0")
            << QStringList{"--graine=0", "--groupe=1"} << kNoDisplay << noDisplay;
        QTest::newRow("others ignored")
            << QStringList{"--inconnu", "-reverse", "--groupe", "7", "fichier.txt"} << kNoDisplay
            << noDisplay;
    }

    void withoutDisplay() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, said);
        QProcess bocavo;
        bocavo.setProcessEnvironment(environment(false));
        bocavo.start(QStringLiteral(BOCAVO_PROGRAM), arguments);
        QVERIFY(bocavo.waitForFinished(kStartMs));
        const QString stderrText = QString::fromUtf8(bocavo.readAllStandardError());
        QCOMPARE(bocavo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(bocavo.exitCode(), status);
        QVERIFY2(stderrText.startsWith(said), qPrintable(stderrText));
        if (status == kBadArguments)
            QCOMPARE(stderrText.count('\n'), 1); // the reason alone
        QCOMPARE(bocavo.readAllStandardOutput(), QByteArray());
    }

    // With a display the reason is also shown in a box, which waits for the
    // user: the program is still there, and has said why on the standard error.
    void withDisplayTheBoxWaits() {
        QProcess bocavo;
        bocavo.setProcessEnvironment(environment(true));
        bocavo.start(QStringLiteral(BOCAVO_PROGRAM), {"--groupe", "0"});
        QVERIFY(bocavo.waitForStarted(kStartMs));
        QVERIFY(!bocavo.waitForFinished(kRunningMs));
        QVERIFY(QString::fromUtf8(bocavo.readAllStandardError()).startsWith("bocavo : « 0 »"));
        bocavo.kill();
        QVERIFY(bocavo.waitForFinished(kStartMs));
    }
};

QTEST_GUILESS_MAIN(ArgumentsTest)
#include "arguments_test.moc"
