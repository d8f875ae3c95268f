// Where windows and pop-ups open: as asked when they fit the screen, else
// moved and cut inside it, frame included.

#include "store/ui/placement.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const QRect kLaptop(0, 0, 1366, 768);

} // namespace

class TestPlacement : public QObject
{
    Q_OBJECT

private slots:
    void fitsInside_data()
    {
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("placed");
        QTest::newRow("fits") << QRect(100, 60, 400, 300) << kLaptop << QRect(100, 60, 400, 300);
        QTest::newRow("too far right") << QRect(1190, 60, 195, 90) << kLaptop << QRect(1171, 60, 195, 90);
        QTest::newRow("too low") << QRect(20, 20, 1003, 760) << kLaptop << QRect(20, 8, 1003, 760);
        QTest::newRow("above and left") << QRect(-5, -20, 400, 300) << kLaptop << QRect(0, 0, 400, 300);
        QTest::newRow("too large") << QRect(2, 10, 1752, 876) << kLaptop << kLaptop;
        QTest::newRow("too wide, low") << QRect(2, 600, 1752, 100) << kLaptop << QRect(0, 600, 1366, 100);
        // A screen left of the main one, below a panel.
        const QRect left(-1280, 30, 1280, 994);
        QTest::newRow("negative origin, fits") << QRect(-900, 40, 400, 300) << left << QRect(-900, 40, 400, 300);
        QTest::newRow("negative origin, across") << QRect(-100, 10, 400, 300) << left << QRect(-400, 30, 400, 300);
        QTest::newRow("negative origin, too large") << QRect(-1300, 0, 1400, 1200) << left << left;
    }
    void fitsInside()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, available);
        QTEST(fitInside(wanted, available), "placed");
    }

    // Shown on the test screen with the frame it gets there: the frame's
    // corner where asked when it fits; inside the area with its title bar
    // when not; a layout that cannot shrink keeps its width from the left
    // edge; a pop-up has no frame and keeps its size.
    void placesWindows_data()
    {
        QTest::addColumn<bool>("popup");
        QTest::addColumn<int>("leastWidth");
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("fits") << false << 0 << QRect(100, 60, 400, 300) << QRect(100, 60, 404, 304);
        QTest::newRow("too large") << false << 0 << QRect(2, 10, 1750, 850) << QRect(kLaptop.topLeft(), kLaptop.size());
        QTest::newRow("bottom right") << false << 0 << QRect(1300, 700, 400, 300) << QRect(962, 464, 404, 304);
        QTest::newRow("layout wider than the screen")
            << false << 1500 << QRect(300, 100, 400, 300) << QRect(0, 100, 1504, 304);
        QTest::newRow("pop-up at the right") << true << 0 << QRect(1290, 700, 195, 90) << QRect(1171, 678, 195, 90);
    }
    void placesWindows()
    {
        QFETCH(bool, popup);
        QFETCH(int, leastWidth);
        QFETCH(QRect, wanted);
        QWidget window(nullptr, popup ? Qt::Popup : Qt::Window);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* button = new QPushButton(QStringLiteral("OK"));
        button->setMinimumWidth(leastWidth);
        layout->addWidget(button);
        window.show();   // the frame this platform draws is known from now on
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        placeWindow(&window, wanted.topLeft(), wanted.size(), kLaptop);
        QTEST(window.frameGeometry(), "frame");
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"
