// The navigation picture.

#include "scheme/CNavigate.h"
#include "shownmark.h"
#include "testsupport.h"

#include <QGraphicsScene>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

class TestCNavigate : public QObject
{
    Q_OBJECT

private slots:
    // A picture that cannot be written (a folder in its place) is not offered.
    void picture_data()
    {
        QTest::addColumn<QSize>("drawing");
        QTest::addColumn<int>("height");
        QTest::addColumn<bool>("blocked");
        QTest::newRow("2000 by 600") << QSize(2000, 600) << 120 << false;
        QTest::newRow("too flat") << QSize(2000, 4) << 0 << false;
        QTest::newRow("no width") << QSize(0, 600) << 0 << false;
        QTest::newRow("not written") << QSize(2000, 600) << 0 << true;
    }
    void picture()
    {
        QFETCH(QSize, drawing);
        QFETCH(int, height);
        QFETCH(bool, blocked);
        TempWorkDir dir;
        MessageRecorder rec;
        QVERIFY(!blocked || QDir(dir.path()).mkdir("scene.png"));
        QGraphicsScene scene;
        scene.addRect(0, 0, 100, 4, QPen(Qt::red), QBrush(Qt::red));
        QCOMPARE(writeNavigationPicture(&scene, drawing.width(), drawing.height()), height);
        QCOMPARE(QImage(dir.filePath("scene.png")).size(), height ? QSize(400, height) : QSize(0, 0));
        const QString warning = "Предупреждение|Невозможно создать файл -" + dir.filePath("scene.png");
        QCOMPARE(rec.warnings(), blocked ? QStringList{warning} : QStringList());
    }

    // A press where the window shows a mark gives the scene point of the
    // mark, whether the picture is scaled down (taller than the window's 300
    // pixels), just fills the window or is lower than it.
    void pressGivesThePointShown_data()
    {
        QTest::addColumn<QSize>("drawing");
        QTest::addColumn<QPointF>("mark");
        QTest::newRow("tall, upper part") << QSize(1697, 1500) << QPointF(300, 400);
        QTest::newRow("tall, lower part") << QSize(1697, 1500) << QPointF(1300, 1250);
        QTest::newRow("300 high") << QSize(1600, 1200) << QPointF(800, 1000);
        QTest::newRow("flat") << QSize(2000, 600) << QPointF(1000, 300);
    }
    void pressGivesThePointShown()
    {
        QFETCH(QSize, drawing);
        QFETCH(QPointF, mark);
        TempWorkDir dir;
        QGraphicsScene scene;
        addMark(&scene, mark);
        const int height = writeNavigationPicture(&scene, drawing.width(), drawing.height());
        QVERIFY(height > 0);
        CNavigate window;
        window.showPicture(navigationPicturePath(), height, QPoint(0, 0));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint shown = shownMark(&window);
        QVERIFY(shown.x() >= 0);
        QSignalSpy pressed(&window, &CNavigate::clicked);
        QTest::mouseClick(&window, Qt::LeftButton, {}, shown);
        QCOMPARE(pressed.size(), 1);
        const QPointF point = navigationScenePoint(pressed.at(0).at(0).toPointF(), drawing.width(), drawing.height());
        // A pixel of the picture is about 4 to 5 units of the drawing.
        QVERIFY2(QLineF(point, mark).length() < 5,
                 qPrintable(QString("%1,%2").arg(point.x()).arg(point.y())));
    }
};

QTEST_MAIN(TestCNavigate)
#include "tst_cnavigate.moc"
