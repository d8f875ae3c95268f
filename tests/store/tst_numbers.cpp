// The one text-to-number conversion, for stored and for typed text.

#include "store/numbers.h"

#include <QtTest>

class TestNumbers : public QObject
{
    Q_OBJECT

private slots:
    void conversions_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("number");
        QTest::addColumn<int>("integer");
        QTest::addColumn<int>("whole");
        QTest::addColumn<double>("typed");   // -1: refused, the value left as it was
        QTest::newRow("plain") << " 12 " << 12.0 << 12 << 12 << 12.0;
        QTest::newRow("negative decimals") << "-3.7" << -3.7 << 0 << -3 << -3.7;
        QTest::newRow("exponent") << "1.5e3" << 1500.0 << 0 << 1500 << 1500.0;
        QTest::newRow("nan") << "nan" << 0.0 << 0 << 0 << -1.0;
        QTest::newRow("inf") << "-inf" << 0.0 << 0 << 0 << -1.0;
        QTest::newRow("too big for int") << "1e12" << 1e12 << 0 << 0 << 1e12;
        QTest::newRow("int overflow below") << "-2147483649" << -2147483649.0 << 0 << 0 << -2147483649.0;
        QTest::newRow("no-break groups") << QString::fromUtf8(" 1\u00a0234\u202f567,5 ") << 0.0 << 0 << 0 << 1234567.5;
        QTest::newRow("blank before sign") << "- 4" << 0.0 << 0 << 0 << -1.0;
        QTest::newRow("two commas") << "1,2,3" << 0.0 << 0 << 0 << -1.0;
        QTest::newRow("empty") << "  " << 0.0 << 0 << 0 << -1.0;
    }

    void conversions()
    {
        QFETCH(QString, text);
        QFETCH(double, typed);
        QTEST(toNumber(text), "number");
        QTEST(toInteger(text), "integer");
        QTEST(toWholeNumber(text), "whole");
        double value = -1;
        QCOMPARE(parseTypedNumber(text, &value), typed != -1);
        QCOMPARE(value, typed);
    }

    void notANumberClampsToTheFallback() { QCOMPARE(clampedInt(std::nan(""), 7), 7); }
};

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
