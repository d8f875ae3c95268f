// The one text-to-number conversion.

#include "store/numbers.h"

#include <QtTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void stored_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("integer");
        QTest::addColumn<int>("whole");
        QTest::newRow("plain") << " 12 " << 12.0 << 12 << 12;
        QTest::newRow("decimals") << "3.7" << 3.7 << 0 << 3;
        QTest::newRow("negative decimals") << "-3.7" << -3.7 << 0 << -3;
        QTest::newRow("exponent") << "1.5e3" << 1500.0 << 0 << 1500;
        QTest::newRow("nan") << "nan" << 0.0 << 0 << 0;
        QTest::newRow("inf") << "-inf" << 0.0 << 0 << 0;
        QTest::newRow("overflow") << "1e400" << 0.0 << 0 << 0;
        QTest::newRow("too big for int") << "1e12" << 1e12 << 0 << 0;
        QTest::newRow("int overflow") << "2147483648" << 2147483648.0 << 0 << 0;
        QTest::newRow("comma is no number in a file") << "1,5" << 0.0 << 0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0 << 0;
    }

    void stored()
    {
        QFETCH(QString, text);
        QFETCH(double, number);
        QFETCH(int, integer);
        QFETCH(int, whole);
        QCOMPARE(toNumber(text), number);
        QCOMPARE(toInteger(text), integer);
        QCOMPARE(toWholeNumber(text), whole);
    }

    void typed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("number");
        QTest::newRow("groups") << "4 315" << true << 4315.0;
        QTest::newRow("no-break groups and comma") << QString::fromUtf8(" 1\u00a0234\u202f567,5 ") << true
                                                   << 1234567.5;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("blank before sign") << "- 4" << false << 0.0;
        QTest::newRow("two commas") << "1,2,3" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("empty") << "  " << false << 0.0;
    }

    void typed()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, number);
        double value = -1;
        QCOMPARE(parseTypedNumber(text, &value), ok);
        QCOMPARE(value, ok ? number : -1.0);
    }

    void clamps()
    {
        QCOMPARE(clampedInt(3e300, -1), -1);
        QCOMPARE(clampedInt(std::nan(""), 7), 7);
        QCOMPARE(clampedInt(-2.9), -2);
    }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
