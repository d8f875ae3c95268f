// Voltage classes, palette and class sizes of the scheme scenes.

#include "scheme/schemestyle.h"

#include <QtTest>

class TestSchemeStyle : public QObject
{
    Q_OBJECT

private slots:
    // A bound is not greater than itself: 4 kV is class 2; class 8 keeps the last sizes.
    void classes_data()
    {
        QTest::addColumn<float>("kv");
        QTest::addColumn<int>("cls");
        QTest::addColumn<QString>("sizes");  // pen, transf2 w×h, transf3 w×h
        QTest::addColumn<QColor>("colour");
        QTest::newRow("0.4") << 0.4f << 0 << "1.5 15x30 30x30" << QColor(192, 192, 192);
        QTest::newRow("1") << 1.0f << 1 << "1.8 18x35 35x35" << QColor(102, 255, 102);
        QTest::newRow("4") << 4.0f << 2 << "2 20x40 40x40" << QColor(0, 102, 51);
        QTest::newRow("110") << 110.0f << 6 << "4 35x70 70x70" << QColor(0, 128, 255);
        QTest::newRow("220") << 220.0f << 7 << "5 40x80 80x80" << QColor(204, 204, 0);
        QTest::newRow("950") << 950.0f << 8 << "5 40x80 80x80" << QColor(255, 0, 0);
    }
    void classes()
    {
        QFETCH(float, kv);
        QFETCH(int, cls);
        QCOMPARE(_KU(kv), cls);
        const SchemeStyle::ClassSizes& s = sceneSizes(cls);
        QTEST(QStringLiteral("%1 %2x%3 %4x%5").arg(s.penWidth).arg(s.transf2Width).arg(s.transf2Height)
                  .arg(s.transf3Width).arg(s.transf3Height), "sizes");
        QTEST(paletteColor(cls), "colour");
    }

    void paletteEnds()
    {
        QCOMPARE(paletteColor(13), QColor(255, 153, 204));
        QCOMPARE(paletteColor(-1), QColor(192, 192, 192));
    }
};

QTEST_GUILESS_MAIN(TestSchemeStyle)
#include "tst_schemestyle.moc"
