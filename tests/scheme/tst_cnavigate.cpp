// The navigation picture.

#include "scheme/CNavigate.h"
#include "testsupport.h"

#include <QGraphicsScene>
#include <QImage>
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
};

QTEST_MAIN(TestCNavigate)
#include "tst_cnavigate.moc"
