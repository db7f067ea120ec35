// Paper and clipboard: a printed view fills a landscape page and says the run
// it shows; « Copier le tableau » gives the view's numbers in columns, with
// the user's decimal sign.
#include "core/lab/science/statistics.h"
#include "labo/window/chart_tab.h"
#include "labo/window/class_tab.h"
#include "labo_window_fixture.h"

#include <QChart>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <cmath>

namespace bocavo::labo {
namespace {

// The page as the test looks at it: pixels per inch of the rendering.
inline constexpr int kRenderDpi = 40;
// The drawing must span this share of the page's width across its middle
// (the chart's plot and axes), and this share of its height in all.
inline constexpr double kLeastWidthShare = 0.75;
inline constexpr double kLeastHeightShare = 0.85;
// Anything darker than white paper (0..255) is drawn: the light grid too.
inline constexpr int kInk = 250;

QString runTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput());
}

bool ink(const QImage& page, int x, int y) {
    return qGray(page.pixel(x, y)) < kInk;
}

// From the first to the last column with ink in rows top..bottom, as a share of the width.
double inkWidth(const QImage& page, int top, int bottom) {
    int left = page.width(), right = -1;
    for (int y = top; y <= bottom; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (ink(page, x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return right < left ? 0.0 : double(right - left + 1) / page.width();
}

double inkHeight(const QImage& page) {
    int top = page.height(), bottom = -1;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (ink(page, x, y)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                break;
            }
    return bottom < top ? 0.0 : double(bottom - top + 1) / page.height();
}

} // namespace

class LaboPrintCopyTest : public LaboWindowFixture {
    Q_OBJECT

    QList<QStringList> clipboardRows() const {
        QList<QStringList> rows;
        const QString text = QGuiApplication::clipboard()->text();
        for (const QString& line : text.split('\n', Qt::SkipEmptyParts))
            rows << line.split('\t');
        return rows;
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        openWindowAndFolder();
    }
    void cleanup() { closeWindowAndFolder(); }

    void printFillsALandscapePageAndSaysTheRun_data() {
        QTest::addColumn<int>("tab");
        for (int tab = 0; tab < 5; ++tab)
            QTest::newRow(qPrintable(QString("vue %1").arg(tab))) << tab;
    }
    void printFillsALandscapePageAndSaysTheRun() {
        QFETCH(int, tab);
        runTo("10", "50", "4242");
        window_->tabs()->setCurrentIndex(tab);
        QTest::qWait(100); // the tab shown, its words and its chart laid out
        QChart* chart = static_cast<ChartTab*>(window_->tabs()->currentWidget())->chart();
        const QRectF onScreen = chart->geometry();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString pdf = folder_->filePath("vue.pdf");
        printer.setOutputFileName(pdf);
        window_->printTo(&printer);
        QTRY_VERIFY(!controller_->busy());
        QVERIFY(QFile::exists(pdf));
        QCOMPARE(chart->geometry(), onScreen); // laid out for paper, then back as it was

        const QString base = folder_->filePath("vue");
        runTool("pdftoppm", {"-r", QString::number(kRenderDpi), "-png", "-singlefile", pdf, base});
        const QImage page(base + ".png");
        QVERIFY2(!page.isNull(), "pdftoppm gave no picture");
        QVERIFY(page.width() > page.height()); // landscape
        const double across = inkWidth(page, page.height() * 2 / 5, page.height() * 3 / 5);
        QVERIFY2(across >= kLeastWidthShare, qPrintable(QString::number(across)));
        const double height = inkHeight(page);
        QVERIFY2(height >= kLeastHeightShare, qPrintable(QString::number(height)));

        const QString text = runTool("pdftotext", {pdf, "-"}).simplified();
        for (const QString& said :
             {QString("Laboratoire de dérive — ") + window_->tabs()->tabText(tab),
              QString("Individus par classe (N) : 20"), QString("Modèle : Protocole de la classe"),
              QString("Classes : 10"), QString("Dernière génération : 50"),
              QString("Graine : 4242"), QString("Imprimé le ")})
            QVERIFY2(text.contains(said), qPrintable(said + " ∉ " + text));
    }

    // Each view's numbers, one row per generation on show and one column per
    // curve, with the decimal comma a French spreadsheet reads as a number.
    void copyGivesTheViewsNumbersInColumns_data() {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("lastHeading");
        QTest::newRow("une classe") << 0 << 1 + 4 << "allèle 4 (%)";
        QTest::newRow("toutes les classes") << 1 << 1 + 3 << "classe 3, allèle 1 (%)";
        QTest::newRow("fixation") << 2 << 1 + 2 << "allèle 1 perdu (% des classes)";
        QTest::newRow("hétérozygotie") << 3 << 1 + 2 << "hétérozygotie attendue";
        QTest::newRow("génotypes")
            << 4 << 1 + 11 << "hétérozygotes Hardy-Weinberg, classes mélangées";
    }
    void copyGivesTheViewsNumbersInColumns() {
        QFETCH(int, tab);
        QFETCH(int, columns);
        QFETCH(QString, lastHeading);
        runTo("3", "20");
        window_->tabs()->setCurrentIndex(tab);
        window_->copyTable();
        const QList<QStringList> rows = clipboardRows();
        QCOMPARE(rows.size(), 1 + 21);
        QCOMPARE(rows[0].first(), "génération");
        QCOMPARE(rows[0].last(), lastHeading);
        const Experiment& run = *controller_->experiment();
        const Statistics& stats = controller_->statistics();
        const QLocale french(QLocale::French);
        for (int g = 0; g <= 20; ++g) {
            const QStringList& row = rows[g + 1];
            QCOMPARE(row.size(), columns);
            QCOMPARE(row[0], QString::number(g));
            for (int c = 1; c < columns; ++c) {
                bool read = false;
                const double value = french.toDouble(row[c], &read);
                QVERIFY2(read, qPrintable(row[c])); // a number to a French spreadsheet
                double expected = value;
                switch (tab) {
                case 0:
                    expected = 100.0 * run.counts(1, g)[std::size_t(c - 1)] / 40;
                    break;
                case 1:
                    expected = 100.0 * run.counts(c, g)[0] / 40;
                    break;
                case 2:
                    expected =
                        100.0 * (c == 1 ? stats.fixedClasses() : stats.lostClasses())[g][0] / 3;
                    break;
                case 4: // 11, then 11 under Hardy–Weinberg, … then the pooled classes
                    if (c == 1)
                        expected = stats.genotypes()[std::size_t(g)].observed(1);
                    else if (c == 11)
                        expected = stats.genotypes()[std::size_t(g)].pooledHeterozygotes;
                    break;
                default:
                    if (c == 1)
                        expected = stats.meanHeterozygosity()[std::size_t(g)];
                }
                QVERIFY2(std::abs(value - expected) < 1e-6,
                         qPrintable(QString("%1, génération %2 : %3 ≠ %4")
                                        .arg(rows[0][c])
                                        .arg(g)
                                        .arg(row[c])
                                        .arg(expected)));
            }
        }
        QVERIFY(window_->statusBar()->currentMessage().startsWith("Tableau copié : 21 lignes"));
    }

    // The class and generations chosen, and the locale's own sign.
    void copyFollowsTheChoicesAndTheLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        runTo("3", "20");
        window_->classTab()->classBox()->setValue(2);
        window_->classTab()->zoomTo(5, 10);
        window_->copyTable();
        const QList<QStringList> rows = clipboardRows();
        QCOMPARE(rows.size(), 1 + 6);
        const Experiment& run = *controller_->experiment();
        for (int g = 5; g <= 10; ++g) {
            const QStringList& row = rows[g - 4];
            QCOMPARE(row[0], QString::number(g));
            for (int k = 0; k < 4; ++k)
                QCOMPARE(row[k + 1],
                         QString::number(100.0 * run.counts(2, g)[std::size_t(k)] / 40));
        }

        // Nothing to copy before a run: said, and the clipboard left alone.
        QGuiApplication::clipboard()->setText("avant");
        QTest::mouseClick(window_->resetButton(), Qt::LeftButton);
        QTRY_VERIFY(!controller_->busy());
        window_->copyTable();
        QCOMPARE(QGuiApplication::clipboard()->text(), "avant");
        QTRY_VERIFY(window_->notice() && window_->notice()->isVisible());
        window_->notice()->close();
    }
};

} // namespace bocavo::labo

QTEST_MAIN(bocavo::labo::LaboPrintCopyTest)
#include "labo_print_copy_test.moc"
