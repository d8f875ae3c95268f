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
        QTest::newRow("too low, above") << QRect(20, -20, 1003, 760) << kLaptop << QRect(20, 0, 1003, 760);
        QTest::newRow("too large") << QRect(2, 600, 1752, 876) << kLaptop << kLaptop;
        // A screen left of the main one, below a panel.
        const QRect left(-1280, 30, 1280, 994);
        QTest::newRow("negative origin") << QRect(-100, 1000, 400, 300) << left << QRect(-400, 724, 400, 300);
    }
    void fitsInside()
    {
        QFETCH(QRect, wanted);
        QFETCH(QRect, available);
        QTEST(fitInside(wanted, available), "placed");
    }

    // Shown with the frame this platform draws: the frame's corner where
    // asked when it fits; a layout that cannot shrink keeps its width, from
    // the area's left edge.
    void placesWindows_data()
    {
        QTest::addColumn<int>("leastWidth");
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("fits") << 0 << QRect(100, 60, 400, 300) << QRect(100, 60, 404, 304);
        QTest::newRow("layout wider than the screen") << 1500 << QRect(300, 100, 400, 300) << QRect(0, 100, 1504, 304);
    }
    void placesWindows()
    {
        QFETCH(int, leastWidth);
        QFETCH(QRect, wanted);
        QWidget window;
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
