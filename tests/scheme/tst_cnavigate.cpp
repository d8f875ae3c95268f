// Navigation picture and window: the picture is 400 pixels wide with the
// drawing's proportions, written as "scene.png" in the data path; a click in
// the window tells where.

#include "scheme/CNavigate.h"
#include "testsupport.h"

#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QSignalSpy>
#include <QtTest>

class TestCNavigate : public QObject
{
    Q_OBJECT

private slots:
    void pictureSize_data()
    {
        QTest::addColumn<QSize>("drawing");
        QTest::addColumn<int>("height");
        QTest::newRow("2000 by 600") << QSize(2000, 600) << 120;
        QTest::newRow("1550 by 1000") << QSize(1550, 1000) << 258;
        QTest::newRow("800 by 600") << QSize(800, 600) << 300;
        QTest::newRow("too flat") << QSize(2000, 4) << 0;
        QTest::newRow("no width") << QSize(0, 600) << 0;
    }
    void pictureSize()
    {
        QFETCH(QSize, drawing);
        QFETCH(int, height);
        TempWorkDir dir;
        MessageRecorder rec;
        QGraphicsScene scene;
        scene.addRect(0, 0, 100, 4, QPen(Qt::red), QBrush(Qt::red));
        QCOMPARE(writeNavigationPicture(&scene, drawing.width(), drawing.height()), height);
        const QImage picture(dir.filePath("scene.png"));
        QCOMPARE(picture.size(), height ? QSize(400, height) : QSize(0, 0));
        QVERIFY(rec.messages.isEmpty());
    }

    // A picture that cannot be written is reported and not offered.
    void pictureNotWritten()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        QVERIFY(QDir(dir.path()).mkdir("scene.png"));
        QGraphicsScene scene;
        QCOMPARE(writeNavigationPicture(&scene, 2000, 600), 0);
        QCOMPARE(rec.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + dir.filePath("scene.png")});
    }

    void clickTellsWhere()
    {
        auto* window = new CNavigate;
        QSignalSpy clicked(window, &CNavigate::clicked);
        window->showPicture(QString(), 120);
        QCOMPARE(window->geometry().size(), QSize(400, 120));
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(200, 60));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toPointF(), QPointF(200, 60));
        QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));
        delete window;
    }
};

QTEST_MAIN(TestCNavigate)
#include "tst_cnavigate.moc"
