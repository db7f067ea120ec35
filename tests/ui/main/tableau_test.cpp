// The main window as a user meets it before any command: layout, grids,
// colours, keyboard and the texts it must be able to show.
#include "ui/main/frequency_panel.h"
#include "ui/main/genotype_grid.h"
#include "ui/main/tableau.h"
#include "ui/twips.h"

#include <QAction>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <cmath>

using bocavo::ui::FrequencyPanel;
using bocavo::ui::GenotypeGrid;
using bocavo::ui::px;
using bocavo::ui::Tableau;

namespace {

template <typename T = QWidget> T* child(const Tableau& window, const char* name) {
    auto* widget = window.findChild<T*>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("no control named %s", name);
    return widget;
}

// Drawn at one device pixel per logical pixel whatever the screen's scale
// factor, so that pixel positions follow the twip layout.
QColor pixelAt(QWidget* widget, QPoint point) {
    QImage image(widget->size(), QImage::Format_RGB32);
    widget->render(&image);
    return image.pixelColor(point);
}

const QString kFrameStart = QStringLiteral("Fréquence Allèliques :");

} // namespace

class TableauTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        window_ = std::make_unique<Tableau>();
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void cleanup() { window_.reset(); }

    void windowIsFixedAndDressed() {
        QCOMPARE(window_->objectName(), QStringLiteral("Tableau"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Variation de Frequences d'Allèles"));
        // 8640 x 8520 twips below the menu bar, and nothing can change it.
        QCOMPARE(window_->centralWidget()->size(), QSize(576, 568));
        QCOMPARE(window_->minimumSize(), window_->maximumSize());
        QCOMPARE(window_->height(), window_->menuBar()->height() + 568);
        const Qt::WindowFlags flags = window_->windowFlags();
        QVERIFY(!(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QCOMPARE(window_->font().family(), QStringLiteral("Verdana"));
        QCOMPARE(window_->font().pointSizeF(), 8.25);
        // One icon, two images, 16 colours at most each.
        const QList<QSize> sizes = window_->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
        for (const char* file : {":/icon16.png", ":/icon32.png"}) {
            const QImage image{QString::fromLatin1(file)};
            QCOMPARE(image.format(), QImage::Format_Indexed8);
            QVERIFY(image.colorCount() <= 16);
        }
    }

    void controlsSitWhereTheTableSays_data() {
        QTest::addColumn<QString>("container");
        QTest::addColumn<QRect>("twips"); // left, top, width, height
        QTest::addColumn<QString>("text");
        const QString client = QStringLiteral("client");
        const auto row = [](const char* name, const QString& container, QRect twips,
                            const QString& text) {
            QTest::newRow(name) << container << twips << text;
        };
        row("Label5", client, {270, 60, 1875, 255}, QStringLiteral("Génération mère :"));
        row("Label6", client, {4560, 60, 1875, 255}, QStringLiteral("Génération fille :"));
        row("Tableau_Parent", client, {150, 420, 4095, 5370}, {});
        row("Tableau_Enfant", client, {4470, 420, 4005, 5370}, {});
        row("Frame2", client, {150, 5940, 4095, 1800}, kFrameStart);
        row("Frame1", client, {4470, 5940, 4020, 1800}, kFrameStart);
        const char* parentCaptions[] = {"Label11", "Label14", "Label13", "Label12"};
        const char* parentValues[] = {"Label15", "Label16", "Label17", "Label18"};
        const char* childCaptions[] = {"Label10", "Label7", "Label8", "Label9"};
        const char* childValues[] = {"Label1", "Label2", "Label3", "Label4"};
        for (int k = 0; k < 4; ++k) {
            const int top = 360 + 360 * k;
            const QString caption = QStringLiteral("Allèle %1 :").arg(k + 1);
            row(parentCaptions[k], "Frame2", {240, top, 795, 270}, caption);
            row(parentValues[k], "Frame2", {1200, top, 795, 270}, QStringLiteral("%"));
            row(childCaptions[k], "Frame1", {240, top, 795, 270}, caption);
            row(childValues[k], "Frame1", {1200, top, 795, 270}, QStringLiteral("%"));
        }
        row("Simuler", client, {960, 7920, 1815, 495}, QStringLiteral("&Simulation"));
        row("GenSuiv", client, {3480, 7920, 1815, 495}, QStringLiteral("&Génération suivante"));
        row("Command1", client, {6240, 7920, 1815, 495}, QStringLiteral("&Légende"));
    }

    void controlsSitWhereTheTableSays() {
        QFETCH(QString, container);
        QFETCH(QRect, twips);
        QFETCH(QString, text);
        auto* widget = child(*window_, QTest::currentDataTag());
        QCOMPARE(widget->parentWidget()->objectName(), container);
        QCOMPARE(widget->geometry(),
                 QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height())));
        QVERIFY(widget->isVisible());
        // Only the Next-generation button starts disabled.
        QCOMPARE(widget->isEnabled(), widget->objectName() != QStringLiteral("GenSuiv"));
        if (auto* label = qobject_cast<QLabel*>(widget))
            QCOMPARE(label->text(), text);
        else if (auto* button = qobject_cast<QPushButton*>(widget))
            QCOMPARE(button->text(), text);
        else if (auto* frame = qobject_cast<QGroupBox*>(widget))
            QCOMPARE(frame->title(), text);
        // No control stores a font of its own.
        QCOMPARE(widget->font(), window_->font());
    }

    void menuHoldsQuitAndHelp() {
        const QList<QAction*> bar = window_->menuBar()->actions();
        QCOMPARE(bar.size(), 2);
        QCOMPARE(bar[0]->objectName(), QStringLiteral("quit"));
        QCOMPARE(bar[0]->text(), QStringLiteral("&Quitter"));
        QVERIFY(bar[0]->menu() == nullptr); // a command on the bar, not a menu
        QCOMPARE(bar[1]->text(), QStringLiteral("&?"));
        QMenu* help = bar[1]->menu();
        QVERIFY(help != nullptr);
        QCOMPARE(help->objectName(), QStringLiteral("help"));
        const QList<QAction*> entries = help->actions();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0]->objectName(), QStringLiteral("protocole"));
        QCOMPARE(entries[0]->text(), QStringLiteral("&Protocole"));
        QCOMPARE(entries[1]->objectName(), QStringLiteral("propos"));
        QCOMPARE(entries[1]->text(), QStringLiteral("&A propos..."));
        for (QAction* action : {bar[0], bar[1], entries[0], entries[1]}) {
            QVERIFY(action->shortcut().isEmpty());
            QVERIFY(action->isEnabled() && !action->isCheckable());
        }

        // Alt+Q runs the command at once; Alt+? only opens the submenu.
        activate();
        int quits = 0;
        connect(window_->quitAction(), &QAction::triggered, this, [&] { ++quits; });
        QTest::keyClick(window_.get(), Qt::Key_Q, Qt::AltModifier);
        QTRY_COMPARE(quits, 1);
        QTest::keyClick(window_.get(), Qt::Key_Question, Qt::AltModifier);
        QTRY_VERIFY(help->isVisible());
        QCOMPARE(quits, 1);
        help->close();
    }

    void focusCyclesThroughGridsAndButtons() {
        activate();
        const QStringList withoutGenSuiv{"Tableau_Parent", "Simuler", "Tableau_Enfant", "Command1",
                                         "Tableau_Parent"};
        QCOMPARE(tabCycle(Qt::Key_Tab), withoutGenSuiv);
        window_->genSuiv()->setEnabled(true);
        const QStringList forward{"Tableau_Parent", "Simuler",  "Tableau_Enfant",
                                  "GenSuiv",        "Command1", "Tableau_Parent"};
        QCOMPARE(tabCycle(Qt::Key_Tab), forward);
        QStringList backward = forward;
        std::reverse(backward.begin(), backward.end());
        QCOMPARE(tabCycle(Qt::Key_Backtab), backward);
    }

    void gridsShowHeadingsAndEmptyCells() {
        auto* parent = child<GenotypeGrid>(*window_, "Tableau_Parent");
        auto* enfant = child<GenotypeGrid>(*window_, "Tableau_Enfant");
        for (GenotypeGrid* grid : {parent, enfant}) {
            QCOMPARE(grid->rowCount(), 21);
            QCOMPARE(grid->columnCount(), 3);
            QCOMPARE(grid->item(0, 0)->text(), QString());
            QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("Version Allèle 1"));
            QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("Version Allèle 2"));
            for (int row = 1; row <= 20; ++row) {
                QCOMPARE(grid->item(row, 1)->text(), QString());
                QCOMPARE(grid->item(row, 2)->text(), QString());
            }
            // 1500-twip allele columns, 250-twip rows.
            QCOMPARE(grid->columnWidth(1), 100);
            QCOMPARE(grid->columnWidth(2), 100);
            for (int row = 0; row < 21; ++row)
                QCOMPARE(grid->rowHeight(row), 17);
        }
        QCOMPARE(parent->columnWidth(0), 73); // 1100 twips
        QCOMPARE(enfant->columnWidth(0), 67); // 1000 twips
        QCOMPARE(parent->item(10, 0)->text(), QStringLiteral("Individu 10"));
        QCOMPARE(enfant->item(7, 0)->text(), QStringLiteral("Enfant  7")); // both spaces
        QCOMPARE(parent->currentRow(), 18);
        QCOMPARE(enfant->currentRow(), 20);
    }

    void gridsAreReadOnly() {
        activate();
        auto* grid = child<GenotypeGrid>(*window_, "Tableau_Enfant");
        grid->setFocus();
        const QPoint cell = grid->visualItemRect(grid->item(1, 1)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(grid->currentRow(), 1);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::keyClicks(grid, QStringLiteral("3"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->item(1, 1)->text(), QString());
        QVERIFY(grid->findChild<QLineEdit*>() == nullptr); // no editor ever opened
        // The cursor stays on the allele cells and nothing scrolls.
        QTest::keyClick(grid, Qt::Key_Up);
        QTest::keyClick(grid, Qt::Key_Left);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 1);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualItemRect(grid->item(5, 0)).center());
        QCOMPARE(grid->currentRow(), 1);
        grid->setCurrentCell(20, 2);
        QCOMPARE(grid->verticalScrollBar()->value(), 0);
        QCOMPARE(grid->horizontalScrollBar()->value(), 0);
        QCOMPARE(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    }

    void colourBandsAreDrawn() {
        auto* parent = child<GenotypeGrid>(*window_, "Tableau_Parent");
        auto* enfant = child<GenotypeGrid>(*window_, "Tableau_Enfant");
        const QColor face = parent->palette().color(QPalette::Button);
        const QColor white = QApplication::palette().color(QPalette::Base);
        const QColor green(0xC0, 0xFF, 0xC0);
        // The focused grid frames its cursor cell; look at both grids unfocused.
        window_->simuler()->setFocus();
        for (int row = 1; row <= 20; ++row) {
            // Couples 1, 3, 5, 7 and 9 (the last never breeds) are green.
            const bool band = ((row + 1) / 2) % 2 == 1;
            const QColor brood = row <= 8    ? QColor(0xFF, 0xC0, 0x80)
                                 : row <= 14 ? QColor(0xFF, 0xFF, 0x80)
                                 : row <= 18 ? QColor(0xFF, 0xE0, 0xC0)
                                             : QColor(0xFF, 0xFF, 0xC0);
            for (int column = 0; column < 3; ++column) {
                const QColor expectParent = column == 0 ? face : band ? green : white;
                const QColor expectChild = column == 0 ? face : brood;
                QCOMPARE(shownColour(parent, row, column), expectParent);
                QCOMPARE(shownColour(enfant, row, column), expectChild);
            }
        }
        for (int column = 0; column < 3; ++column)
            QCOMPARE(shownColour(parent, 0, column), face);

        // Lines: light grey between allele cells, black around the headings,
        // and the grey of the uncovered strip below the last row.
        const QRect cell = parent->visualItemRect(parent->item(5, 1));
        QCOMPARE(pixelAt(parent->viewport(), {cell.right(), cell.center().y()}),
                 QColor(0xC0, 0xC0, 0xC0));
        const QRect heading = parent->visualItemRect(parent->item(5, 0));
        QCOMPARE(pixelAt(parent->viewport(), {heading.right(), heading.center().y()}),
                 QColor(Qt::black));
        QCOMPARE(pixelAt(parent->viewport(), {10, parent->viewport()->height() - 1}),
                 QColor(0x80, 0x80, 0x80));
    }

    // Ctrl++ and Ctrl+− step through the scales, each a fixed size where every
    // control is its table's box times the scale (within half a pixel of
    // rounding) and every font grows with it; Ctrl+0 gives back the window
    // exactly as it started.
    void zoomKeysScaleEveryControl_data() { controlsSitWhereTheTableSays_data(); }

    void zoomKeysScaleEveryControl() {
        QFETCH(QRect, twips);
        activate();
        auto* widget = child(*window_, QTest::currentDataTag());
        const QRect start = widget->geometry();
        const QSize startWindow = window_->size();
        const QFont startFont = window_->font();
        auto* grid = qobject_cast<GenotypeGrid*>(widget);
        const QList<std::pair<int, double>> steps{
            {Qt::Key_Plus, 1.25}, {Qt::Key_Plus, 1.5},  {Qt::Key_Plus, 2},
            {Qt::Key_Plus, 2},    {Qt::Key_Minus, 1.5}, {Qt::Key_Equal, 2},
            {Qt::Key_0, 1},       {Qt::Key_Minus, 1},   {Qt::Key_Plus, 1.25},
        };
        for (const auto& [key, scale] : steps) {
            QTest::keyClick(window_.get(), Qt::Key(key), Qt::ControlModifier);
            const QString at = QStringLiteral("at %1").arg(scale);
            const auto near = [&](int shown, int twipsValue) {
                return std::abs(shown - twipsValue * scale / 15) <= 0.5;
            };
            const QRect box = widget->geometry();
            QVERIFY2(near(box.x(), twips.x()) && near(box.y(), twips.y()) &&
                         near(box.width(), twips.width()) && near(box.height(), twips.height()),
                     qPrintable(at));
            QVERIFY2(near(window_->centralWidget()->width(), 8640) &&
                         near(window_->centralWidget()->height(), 8520),
                     qPrintable(at));
            QCOMPARE(window_->minimumSize(), window_->maximumSize());
            QCOMPARE(window_->size(), window_->minimumSize());
            QCOMPARE(window_->height(),
                     window_->menuBar()->height() + window_->centralWidget()->height());
            // 11 pixels times the scale, rounded down to a whole pixel.
            const double pixels = widget->font().pointSizeF() * 4 / 3;
            QVERIFY2(pixels <= 11 * scale && pixels > 11 * scale - 1, qPrintable(at));
            if (grid) {
                QVERIFY2(near(grid->columnWidth(1), 1500) && near(grid->rowHeight(20), 250),
                         qPrintable(at));
                // Nothing to scroll: the cells never reach past the grid.
                QVERIFY2(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2) <=
                             grid->width(),
                         qPrintable(at));
            }
            if (scale == 1) {
                QCOMPARE(widget->geometry(), start);
                QCOMPARE(window_->size(), startWindow);
                QCOMPARE(window_->font(), startFont);
            }
        }
    }

    void textsFitTheirControls() {
        // At every scale, whatever font the window resolved to, every text it
        // can show fits.
        for (const int scale : bocavo::ui::kScales) {
            window_->setScale(scale);
            textsFitAtThisScale();
            if (QTest::currentTestFailed()) {
                qWarning("a text does not fit at %d quarters", scale);
                return;
            }
        }
    }

    void screenWritesItsControls() {
        auto* parent = child<GenotypeGrid>(*window_, "Tableau_Parent");
        auto* enfant = child<GenotypeGrid>(*window_, "Tableau_Enfant");
        auto* children = child<FrequencyPanel>(*window_, "Frame1");
        auto* parents = child<FrequencyPanel>(*window_, "Frame2");
        const auto shown = [&] {
            QStringList texts;
            for (auto* grid : {parent, enfant})
                for (int i = 1; i <= 20; ++i)
                    texts << grid->item(i, 1)->text() << grid->item(i, 2)->text();
            for (auto* panel : {parents, children}) {
                for (int k = 1; k <= 4; ++k)
                    texts << panel->valueText(k);
                texts << panel->title();
            }
            return texts;
        };
        // The start screen is the window as it loads: showing it changes nothing.
        const QStringList loaded = shown();
        window_->showScreen(bocavo::Screen{});
        QCOMPARE(shown(), loaded);
        QVERIFY(window_->simuler()->isEnabled() && !window_->genSuiv()->isEnabled());

        // Each part of a screen lands in its own control, allele 1 first.
        bocavo::Screen screen;
        for (std::size_t i = 0; i < 20; ++i) {
            screen.parents[i] = {4, std::int16_t(i % 4 + 1)};
            screen.children[i] = {std::int16_t(i < 9 ? 1 : 2), 3};
        }
        screen.parentFrequencies = {"25 %", "26 %", "27 %", "28 %"};
        screen.childFrequencies = {"22,5%", "27,5%", "50%", "0%"};
        screen.parentCaption = "n°11";
        screen.childCaption = "n°12";
        screen.simulerEnabled = false;
        screen.genSuivEnabled = true;
        window_->showScreen(screen);
        QCOMPARE(parent->item(7, 2)->text(), QStringLiteral("3"));
        QCOMPARE(parent->item(7, 1)->text(), QStringLiteral("4"));
        QCOMPARE(enfant->item(9, 1)->text(), QStringLiteral("1"));
        QCOMPARE(enfant->item(10, 1)->text(), QStringLiteral("2"));
        for (int k = 1; k <= 4; ++k) {
            QCOMPARE(parents->valueText(k),
                     QString::fromStdString(screen.parentFrequencies[k - 1]));
            QCOMPARE(children->valueText(k),
                     QString::fromStdString(screen.childFrequencies[k - 1]));
        }
        QCOMPARE(parents->title(), QStringLiteral("n°11"));
        QCOMPARE(children->title(), QStringLiteral("n°12"));
        QVERIFY(!window_->simuler()->isEnabled() && window_->genSuiv()->isEnabled());
        // Cleared cells show empty again.
        window_->showScreen(bocavo::Screen{});
        QCOMPARE(shown(), loaded);
    }

private:
    // Checks every text at the window's present scale.
    void textsFitAtThisScale() {
        qInfo() << "resolved font:" << QFontInfo(window_->font()).family()
                << QFontInfo(window_->font()).pixelSize() << "px";
        bocavo::Screen longest;
        longest.parentCaption = std::string(bocavo::kGenerationCaption) + "32766";
        longest.childCaption = std::string(bocavo::kGenerationCaption) + "32767";
        window_->showScreen(longest);
        for (QGroupBox* frame :
             {child<QGroupBox>(*window_, "Frame1"), child<QGroupBox>(*window_, "Frame2")}) {
            QStyleOptionGroupBox option;
            option.initFrom(frame);
            option.text = frame->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            const QRect label = frame->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                               QStyle::SC_GroupBoxLabel, frame);
            QVERIFY2(frame->rect().contains(label), qPrintable(frame->title()));
            QVERIFY(frame->fontMetrics().horizontalAdvance(frame->title()) <= label.width());
        }
        for (QPushButton* button : window_->findChildren<QPushButton*>()) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QRect inside =
                button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            const QString shown = QString(button->text()).remove(QLatin1Char('&'));
            QVERIFY2(button->fontMetrics().horizontalAdvance(shown) <= inside.width(),
                     qPrintable(shown));
            QVERIFY(button->fontMetrics().height() <= inside.height());
        }
        const QStringList values{"25 %", "97,5%", "100%", "%"};
        for (QLabel* label : window_->findChildren<QLabel*>()) {
            QStringList texts{label->text()};
            if (label->text() == QStringLiteral("%"))
                texts = values;
            for (const QString& text : texts) {
                QVERIFY2(label->fontMetrics().horizontalAdvance(text) <=
                             label->contentsRect().width(),
                         qPrintable(text));
                QVERIFY(label->fontMetrics().height() <= label->contentsRect().height());
            }
        }
        for (auto* grid : window_->findChildren<GenotypeGrid*>()) {
            const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
            for (int row = 0; row < grid->rowCount(); ++row) {
                for (int column = 0; column < grid->columnCount(); ++column) {
                    const QString text = grid->item(row, column)->text();
                    QVERIFY2(grid->fontMetrics().horizontalAdvance(text) + margin <
                                 grid->columnWidth(column),
                             qPrintable(text));
                }
            }
            QVERIFY(grid->fontMetrics().height() < grid->rowHeight(0));
        }
    }

    void activate() {
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    // Focus owners from the parent grid around the cycle and back.
    QStringList tabCycle(Qt::Key key) {
        auto* start = child(*window_, "Tableau_Parent");
        start->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        do {
            QTest::keyClick(QApplication::focusWidget(), key);
            visited << QApplication::focusWidget()->objectName();
        } while (QApplication::focusWidget() != start && visited.size() < 10);
        return visited;
    }

    // The colour a cell is given, checked against the pixels actually drawn
    // (transparent when they differ).
    static QColor shownColour(GenotypeGrid* grid, int row, int column) {
        const QColor given = grid->item(row, column)->background().color();
        const QRect cell = grid->visualItemRect(grid->item(row, column));
        // Clear of the text, which is centred or left-aligned, and of the lines.
        const QColor drawn = pixelAt(grid->viewport(), {cell.right() - 2, cell.center().y()});
        return drawn == given ? given : QColor(Qt::transparent);
    }

    std::unique_ptr<Tableau> window_;
};

QTEST_MAIN(TableauTest)
#include "tableau_test.moc"
