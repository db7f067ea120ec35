// What each auxiliary window shows: texts kept character for character, every
// text inside its control in the font really used, the shared colours, the
// framed picture, and the window kinds.
#include "core/run/aux_layouts.h"
#include "core/run/colours.h"
#include "ui/windows/apropos.h"
#include "ui/windows/aprotocole.h"
#include "ui/windows/cadeau.h"
#include "ui/windows/legende.h"
#include "ui/zoom.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QTextBlock>
#include <cmath>
#include <memory>

using namespace bocavo::ui;

namespace {

QPlainTextEdit* textBox(QWidget* window, const char* name) {
    return window->findChild<QPlainTextEdit*>(QLatin1String(name));
}

// Where a whole block shows in its box's viewport: from its first to its last line.
QRect shownAt(QPlainTextEdit* box, const QTextBlock& block) {
    QTextCursor cursor(block);
    const QRect first = box->cursorRect(cursor);
    cursor.movePosition(QTextCursor::EndOfBlock);
    return first.united(box->cursorRect(cursor));
}

bool fullyShown(QPlainTextEdit* box, const QTextBlock& block) {
    return box->viewport()->rect().contains(shownAt(box, block));
}

// Drawn at one device pixel per logical pixel whatever the screen's scale
// factor, so that pixel positions follow the twip layout.
QImage drawn(QWidget* widget) {
    QImage image(widget->size(), QImage::Format_RGB32);
    widget->render(&image);
    return image;
}

QColor pixel(QWidget* widget, int x, int y) {
    return drawn(widget).pixelColor(x, y);
}

// Controls by name, each with its box in the layout table.
using Boxes = QList<std::pair<QString, TwipBox>>;

std::unique_ptr<ToolWindow> shown(ToolWindow* window) {
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    return std::unique_ptr<ToolWindow>(window);
}

} // namespace

Q_DECLARE_METATYPE(Boxes)

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void windowKinds_data();
    void windowKinds();
    void everyTextFitsItsControl();
    void legendSwatchesUseTheGridColours();
    void protocolTextKeepsEveryCharacter();
    void aboutTextScrollsToThePsLine();
    void enlargingAboutMovesNothing();
    void giftPictureIsFramed();
    void zoomScalesEveryControl_data();
    void zoomScalesEveryControl();

private:
    void textsFitAt(int scale);
};

void WindowsTest::windowKinds_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("legende") << "Légende" << QSize(288, 142) << true;
    QTest::newRow("aprotocole") << "Protocole" << QSize(485, 487) << true;
    QTest::newRow("apropos") << "A propos ..." << QSize(362, 286) << false;
    QTest::newRow("Cadeau") << "Bravo ta gagné une photo de Mr. Brastel !!!" << QSize(337, 272)
                            << true;
}

// A caption bar with a close button only, no owner, and fixed unless it is the
// About box. An ordinary window: Qt makes a tool window transient for the
// application's leader, and window managers keep such windows on top.
void WindowsTest::windowKinds() {
    QFETCH(QString, title);
    QFETCH(QSize, client);
    QFETCH(bool, fixed);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const auto window = shown(name == "legende"      ? static_cast<ToolWindow*>(new legende)
                              : name == "aprotocole" ? static_cast<ToolWindow*>(new aprotocole)
                              : name == "apropos"    ? static_cast<ToolWindow*>(new apropos)
                                                     : static_cast<ToolWindow*>(new Cadeau));
    QCOMPARE(window->objectName(), name);
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(window->parentWidget(), nullptr);
    QCOMPARE(window->windowType(), Qt::Window);
    const Qt::WindowFlags flags = window->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!window->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(window->size(), client);
    QCOMPARE(window->minimumSize() == window->maximumSize(), fixed);
}

// Measured with the face each control really resolved to, not the one asked
// for, at every scale the zoom keys offer.
void WindowsTest::everyTextFitsItsControl() {
    for (const int scale : kScales) {
        textsFitAt(scale);
        if (QTest::currentTestFailed()) {
            qWarning("a text does not fit at %d quarters", scale);
            return;
        }
    }
}

void WindowsTest::textsFitAt(int scale) {
    for (const auto& window :
         {shown(new legende), shown(new aprotocole), shown(new apropos), shown(new Cadeau)}) {
        window->setScale(scale);
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QFontMetrics metrics(label->font());
            const QString what = window->objectName() + '.' + label->objectName() + " in " +
                                 QFontInfo(label->font()).family();
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(what));
            QVERIFY2(label->text().isEmpty() || metrics.height() <= label->height(),
                     qPrintable(what));
        }
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            const QSize text =
                QFontMetrics(button->font()).size(Qt::TextShowMnemonic, button->text());
            const int margin = button->style()->pixelMetric(QStyle::PM_ButtonMargin);
            QVERIFY2(text.width() + 2 * margin <= button->width(), qPrintable(button->text()));
            QVERIFY2(text.height() + 4 <= button->height(), qPrintable(button->text()));
        }
    }
    // The protocol's two texts show whole: nothing left to scroll to.
    const auto protocol = shown(new aprotocole);
    protocol->setScale(scale);
    for (const char* name : {"Text1", "Text2"}) {
        QPlainTextEdit* box = textBox(protocol.get(), name);
        QCOMPARE(box->verticalScrollBar()->maximum(), 0);
        QCOMPARE(box->horizontalScrollBar()->maximum(), 0);
        QVERIFY2(fullyShown(box, box->document()->lastBlock()), name);
    }
}

void WindowsTest::legendSwatchesUseTheGridColours() {
    const auto window = shown(new legende);
    // Swatch, label beside it, and the brood (index into the grid's colours).
    const std::tuple<const char*, const char*, QString> rows[] = {
        {"Shape1", "Label1", "Premier enfant"},
        {"Shape4", "Label5", "Deuxième enfant"},
        {"Shape3", "Label4", "Troisième enfant"},
        {"Shape2", "Label3", "Quatrième enfant"},
    };
    const QColor outline = window->palette().color(QPalette::WindowText);
    for (std::size_t brood = 0; brood < 4; ++brood) {
        const auto& [swatchName, labelName, opening] = rows[brood];
        auto* swatch = window->findChild<QWidget*>(swatchName);
        auto* label = window->findChild<QLabel*>(labelName);
        QVERIFY(label->text().startsWith(opening));
        // Level with the label, one pixel higher for the lower two.
        QCOMPARE(label->y() - swatch->y(), brood < 2 ? 0 : 1);
        QCOMPARE(pixel(swatch, 16, 8), QColor::fromRgb(kBroodColours[brood]));
        QCOMPARE(pixel(swatch, 0, 0), outline);
        QCOMPARE(pixel(swatch, swatch->width() - 1, swatch->height() - 1), outline);
    }
    const QList<QSize> iconSizes = window->windowIcon().availableSizes();
    QVERIFY(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));
}

void WindowsTest::protocolTextKeepsEveryCharacter() {
    const auto window = shown(new aprotocole);
    QPlainTextEdit* text1 = textBox(window.get(), "Text1");
    QPlainTextEdit* text2 = textBox(window.get(), "Text2");
    QVERIFY(text1->isReadOnly() && text2->isReadOnly());
    // Each CR LF ends one line, the last one's included: 20 lines, none empty.
    QTextDocument* doc = text1->document();
    QCOMPARE(doc->blockCount(), 20);
    QVERIFY(doc->lastBlock().text().endsWith("individus?"));
    QVERIFY(!doc->toPlainText().contains('\r'));
    int endingInSpace = 0;
    for (int line = 0; line < 20; ++line) {
        endingInSpace += doc->findBlockByNumber(line).text().endsWith(' ') ? 1 : 0;
    }
    QCOMPARE(endingInSpace, 17); // all but lines 5, 18 and 20
    // The text's own spellings, which a well-meaning correction would lose.
    for (const char* kept :
         {"sont  les frequences allèliques dans la ", "le couple d'allèle possèdé par",
          "ces fréquences allèliques dans cette", "disposez maitenant", "mettez de coté"})
        QVERIFY2(doc->toPlainText().contains(QString::fromUtf8(kept)), kept);
    QCOMPARE(doc->findBlockByNumber(7).text(),
             "de descendant à la génération suivante. Formez avec les 16 sacs restants 8 ");
    QVERIFY(!doc->toPlainText().contains(QChar(0xC3))); // no UTF-8 read as Latin-1
    QCOMPARE(text2->document()->blockCount(), 1);
    QVERIFY(text2->toPlainText().contains("revient au même... De même il est possible"));
    // Light grey where no text is drawn.
    QCOMPARE(pixel(text1->viewport(), text1->viewport()->width() - 3, 2),
             QColor::fromRgb(kTextBoxGrey));
}

void WindowsTest::aboutTextScrollsToThePsLine() {
    const auto window = shown(new apropos);
    QPlainTextEdit* text = textBox(window.get(), "Text1");
    QTextDocument* doc = text->document();
    // The credit, an empty line, then the 14 history lines.
    const int history = doc->find("Modification :").blockNumber();
    QVERIFY(history > 0 && doc->findBlockByNumber(history - 1).text().isEmpty());
    QCOMPARE(doc->blockCount(), history + 14);
    QCOMPARE(doc->findBlockByNumber(history + 1).text(), "-2.0 :\t- Correction du code");
    QCOMPARE(doc->toPlainText().count('\t'), 8);
    const QTextBlock ps = doc->lastBlock();
    QVERIFY(ps.text().startsWith("PS : Pour ceux"));
    QVERIFY(text->verticalScrollBar()->isVisible());
    QVERIFY(text->verticalScrollBar()->maximum() > 0); // longer than the box
    text->verticalScrollBar()->setValue(text->verticalScrollBar()->maximum());
    QVERIFY(fullyShown(text, ps));
}

void WindowsTest::enlargingAboutMovesNothing() {
    const auto window = shown(new apropos);
    auto* text = window->findChild<QWidget*>("Text1");
    auto* ok = window->findChild<QWidget*>("Command1");
    const QRect textPlace = text->geometry();
    const QRect okPlace = ok->geometry();
    window->resize(700, 560);
    QCoreApplication::processEvents();
    QCOMPARE(window->size(), QSize(700, 560));
    QCOMPARE(text->geometry(), textPlace);
    QCOMPARE(ok->geometry(), okPlace);
}

void WindowsTest::giftPictureIsFramed() {
    const QImage picture(":/cadeau.png");
    QCOMPARE(picture.size(), QSize(178, 154));
    QVERIFY(!picture.hasAlphaChannel());
    const auto window = shown(new Cadeau);
    auto* box = window->findChild<QLabel*>("Picture1");
    QCOMPARE(box->size(), QSize(180, 156));
    const QImage shownImage = drawn(box);
    const QRgb frame = window->palette().color(QPalette::WindowText).rgb();
    QCOMPARE(shownImage.pixel(0, 0), frame);
    QCOMPARE(shownImage.pixel(179, 155), frame);
    int differing = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            differing += shownImage.pixel(x + 1, y + 1) != picture.pixel(x, y) ? 1 : 0;
        }
    }
    QCOMPARE(differing, 0);
}

void WindowsTest::zoomScalesEveryControl_data() {
    QTest::addColumn<QSize>("client"); // twips
    QTest::addColumn<Boxes>("boxes");
    Boxes legend;
    for (const auto& row : legende_layout::kRows)
        legend << std::pair{QString(row.swatchName), row.swatch}
               << std::pair{QString(row.labelName), row.label};
    namespace p = aprotocole_layout;
    namespace a = apropos_layout;
    namespace g = cadeau_layout;
    QTest::newRow("legende") << QSize(legende_layout::kClientWidth, legende_layout::kClientHeight)
                             << legend;
    QTest::newRow("aprotocole") << QSize(p::kClientWidth, p::kClientHeight)
                                << Boxes{{"Label1", p::kLabel1},
                                         {"Text1", p::kText1},
                                         {"Text2", p::kText2},
                                         {"Command1", p::kCommand1},
                                         {"Label2", p::kLabel2}};
    QTest::newRow("apropos") << QSize(a::kClientWidth, a::kClientHeight)
                             << Boxes{{"Text1", a::kText1}, {"Command1", a::kCommand1}};
    QTest::newRow("Cadeau") << QSize(g::kClientWidth, g::kClientHeight)
                            << Boxes{{"Picture1", g::kPicture1}, {"Command1", g::kCommand1}};
}

// At each scale every control is its table's box times the scale (within half
// a pixel of rounding) and the fonts grow with it; back at the unit scale the
// window is exactly as it was made. Then at every scale each text still fits.
void WindowsTest::zoomScalesEveryControl() {
    QFETCH(QSize, client);
    QFETCH(Boxes, boxes);
    const QString name = QString::fromLatin1(QTest::currentDataTag());
    const auto window = shown(name == "legende"      ? static_cast<ToolWindow*>(new legende)
                              : name == "aprotocole" ? static_cast<ToolWindow*>(new aprotocole)
                              : name == "apropos"    ? static_cast<ToolWindow*>(new apropos)
                                                     : static_cast<ToolWindow*>(new Cadeau));
    const auto widget = [&](const QString& control) {
        return window->findChild<QWidget*>(control, Qt::FindDirectChildrenOnly);
    };
    QList<QRect> start;
    for (const auto& [control, box] : boxes)
        start << widget(control)->geometry();
    const QSize startSize = window->size();
    const auto fonts = [&] {
        QList<qreal> points;
        for (const QWidget* child : window->findChildren<QWidget*>())
            points << child->font().pointSizeF();
        return points;
    };
    const QList<qreal> startFonts = fonts();
    for (const int quarters : {5, 6, 8, 4}) {
        window->setScale(quarters);
        const double scale = quarters / 4.0;
        const auto near = [&](int shown, int twips) {
            return std::abs(shown - twips * scale / 15) <= 0.5;
        };
        const QString at = name + QStringLiteral(" at %1").arg(scale);
        QVERIFY2(near(window->width(), client.width()) && near(window->height(), client.height()),
                 qPrintable(at));
        QCOMPARE(window->minimumSize() == window->maximumSize(), name != "apropos");
        for (const auto& [control, box] : boxes) {
            const QRect shown = widget(control)->geometry();
            QVERIFY2(near(shown.x(), box.left) && near(shown.y(), box.top) &&
                         near(shown.width(), box.width) && near(shown.height(), box.height),
                     qPrintable(at + ' ' + control));
        }
        // Each font's pixels (4/3 of its points at 96 dpi) times the scale,
        // rounded down to a whole pixel.
        const QList<qreal> grown = fonts();
        for (int i = 0; i < grown.size(); ++i) {
            const double wanted = startFonts[i] * 4 / 3 * scale;
            QVERIFY2(grown[i] * 4 / 3 <= wanted && grown[i] * 4 / 3 > wanted - 1, qPrintable(at));
        }
        if (name == "Cadeau") {
            auto* picture = qobject_cast<QLabel*>(widget("Picture1"));
            QCOMPARE(picture->pixmap().size(), QSize(178, 154) * scale);
        }
    }
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(widget(boxes[i].first)->geometry(), start[i]);
    QCOMPARE(window->size(), startSize);
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
