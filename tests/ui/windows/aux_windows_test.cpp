// The life of the auxiliary windows: one of each, OK hides, the close button
// discards, the protocol's hidden corner opens the gift, and nothing survives
// the end of the program.
#include "ui/windows/apropos.h"
#include "ui/windows/aprotocole.h"
#include "ui/windows/aux_windows.h"
#include "ui/windows/cadeau.h"
#include "ui/windows/legende.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace bocavo::ui;

namespace {

QWidget* request(AuxWindows& windows, const QString& name) {
    if (name == "legende") {
        return windows.showLegende();
    }
    if (name == "aprotocole") {
        return windows.showProtocole();
    }
    return name == "apropos" ? static_cast<QWidget*>(windows.showPropos())
                             : static_cast<QWidget*>(windows.showCadeau());
}

// Top-level windows of that name, shown or hidden, not yet deleted.
int windowsNamed(const QString& name) {
    const QWidgetList all = QApplication::topLevelWidgets();
    return int(
        std::count_if(all.begin(), all.end(), [&](QWidget* w) { return w->objectName() == name; }));
}

void click(QWidget* window, QPoint at) {
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

} // namespace

class AuxWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void lifecycle_data();
    void lifecycle();
    void hiddenCornerOpensOneGift();
    void giftOutlivesProtocol();
    void okAnswersEnterAndSpace_data();
    void okAnswersEnterAndSpace();
    void giftOpensOnItsPicture();
    void closingMainWindowEndsEverything();
};

void AuxWindowsTest::cleanup() {
    // Discarded windows go at the next turn of the event loop; none may linger.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const char* name : {"legende", "aprotocole", "apropos", "Cadeau"}) {
        QCOMPARE(windowsNamed(name), 0);
    }
}

void AuxWindowsTest::lifecycle_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : {"legende", "aprotocole", "apropos", "Cadeau"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void AuxWindowsTest::lifecycle() {
    QFETCH(QString, name);
    AuxWindows windows;
    QPointer<QWidget> first = request(windows, name);
    QCOMPARE(request(windows, name), first.data());
    QCOMPARE(windowsNamed(name), 1);
    QVERIFY(first->isVisible());
    first->resize(first->size() + QSize(40, 30)); // what only the About box allows

    // OK hides; the next request shows that same window.
    if (auto* ok = first->findChild<QPushButton*>("Command1")) {
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!first->isVisible());
        QCOMPARE(request(windows, name), first.data());
        QVERIFY(first->isVisible());
    }
    const QSize firstSize = first->size();

    // The close button discards; a request even before the deletion gets a new,
    // identical window in its first size.
    QVERIFY(first->close());
    QWidget* second = request(windows, name);
    QVERIFY(second != first);
    QTRY_VERIFY(first.isNull());
    QVERIFY(second->isVisible());
    QCOMPARE(windowsNamed(name), 1);
    QCOMPARE(second->size(), name == "apropos" ? QSize(362, 286) : firstSize);
}

void AuxWindowsTest::hiddenCornerOpensOneGift() {
    AuxWindows windows;
    aprotocole* protocol = windows.showProtocole();
    // The client area is 485 x 487 pixels; the corner piece 29 x 23 of them.
    click(protocol, QPoint(455, 486)); // one pixel left of the corner
    click(protocol, QPoint(484, 463)); // one pixel above it
    QCoreApplication::processEvents();
    QCOMPARE(windowsNamed("Cadeau"), 0);
    click(protocol, QPoint(456, 464)); // its top-left pixel
    QTRY_COMPARE(windowsNamed("Cadeau"), 1);
    click(protocol, QPoint(484, 486)); // its bottom-right pixel
    QCoreApplication::processEvents();
    QCOMPARE(windowsNamed("Cadeau"), 1);
}

void AuxWindowsTest::giftOutlivesProtocol() {
    AuxWindows windows;
    QPointer<aprotocole> protocol = windows.showProtocole();
    emit protocol->giftRequested();
    QPointer<Cadeau> gift = windows.showCadeau();
    QTest::mouseClick(protocol->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    QVERIFY(!protocol->isVisible() && gift->isVisible());
    windows.showProtocole()->close();
    QTRY_VERIFY(protocol.isNull());
    QVERIFY(!gift.isNull() && gift->isVisible());
}

void AuxWindowsTest::okAnswersEnterAndSpace_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    for (const char* name : {"aprotocole", "apropos", "Cadeau"}) {
        QTest::addRow("%s Return", name) << QString::fromLatin1(name) << int(Qt::Key_Return);
        QTest::addRow("%s Enter", name) << QString::fromLatin1(name) << int(Qt::Key_Enter);
        QTest::addRow("%s Space", name) << QString::fromLatin1(name) << int(Qt::Key_Space);
    }
}

// The focused OK hides its window from the keyboard, Enter as well as Space.
void AuxWindowsTest::okAnswersEnterAndSpace() {
    QFETCH(QString, name);
    QFETCH(int, key);
    AuxWindows windows;
    QWidget* window = request(windows, name);
    QVERIFY(QTest::qWaitForWindowActive(window));
    auto* ok = window->findChild<QPushButton*>("Command1");
    ok->setFocus();
    QCOMPARE(QApplication::focusWidget(), ok);
    const Qt::KeyboardModifiers modifiers =
        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(ok, Qt::Key(key), modifiers);
    QTRY_VERIFY(!window->isVisible());
    // Hidden, not discarded: the next request shows the same window.
    QCOMPARE(request(windows, name), window);
}

// The gift opens with the focus on its picture: a stray Space or Enter does
// not hide it at once, and Tab then reaches OK.
void AuxWindowsTest::giftOpensOnItsPicture() {
    AuxWindows windows;
    Cadeau* gift = windows.showCadeau();
    QVERIFY(QTest::qWaitForWindowActive(gift));
    QTRY_VERIFY(QApplication::focusWidget() != nullptr);
    QCOMPARE(QApplication::focusWidget()->objectName(), "Picture1");
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return})
        QTest::keyClick(QApplication::focusWidget(), key);
    QTest::qWait(200); // longer than a button's animated click
    QVERIFY(gift->isVisible());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "Command1");
}

// Tool windows must not keep the program alive, and go with their keeper.
void AuxWindowsTest::closingMainWindowEndsEverything() {
    QWidget main;
    main.show();
    QPointer<QWidget> protocol, gift, hiddenLegend;
    {
        AuxWindows windows;
        protocol = windows.showProtocole();
        gift = windows.showCadeau();
        hiddenLegend = windows.showLegende();
        hiddenLegend->hide();
        QTimer::singleShot(0, &main, &QWidget::close);
        QTimer stuck;
        stuck.callOnTimeout([] { QCoreApplication::exit(1); });
        stuck.start(5000);
        QCOMPARE(QApplication::exec(), 0);
    }
    QVERIFY(protocol.isNull() && gift.isNull() && hiddenLegend.isNull());
}

QTEST_MAIN(AuxWindowsTest)
#include "aux_windows_test.moc"
