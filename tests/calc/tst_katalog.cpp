#include "calc/zorvantask.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

class TestKatalog : public QObject
{
    Q_OBJECT
private slots:
    void wireDerivedValues_data();
    void wireDerivedValues();
    void insulationClasses_data();
    void insulationClasses();
    void duplicateNamesFindTheLaterRow();
    void transformerVoltageBand();
    void readFromFileEqualsReadFromTable();
};

void TestKatalog::wireDerivedValues_data()
{
    QTest::addColumn<QString>("S");
    QTest::addColumn<QString>("KL");
    QTest::addColumn<QString>("B");
    QTest::addColumn<QString>("Imax");
    QTest::addColumn<QString>("material");
    QTest::addColumn<double>("expectedB");
    QTest::addColumn<int>("expectedImax");

    QTest::newRow("aluminium overhead 70") << "70" << "0" << "" << "" << "1" << 2.6 << 210;
    QTest::newRow("copper overhead 70") << "70" << "0" << "0" << "" << "2" << 2.6 << 273;
    QTest::newRow("cable 240") << "240" << "1" << "" << "" << "1" << 75.0 << 480;
    QTest::newRow("copper cable 300") << "300" << "1" << "" << "" << "2" << 75.0 << 450;
    QTest::newRow("Imax with a point is empty") << "70" << "0" << "2.8" << "300.5" << "1" << 2.8 << 210;
    QTest::newRow("Imax given") << "95" << "0" << "2.7" << "330" << "1" << 2.7 << 330;
    QTest::newRow("KL with a point is overhead") << "240" << "1.0" << "" << "" << "1" << 2.6 << 720;
}

void TestKatalog::wireDerivedValues()
{
    QFETCH(QString, S);
    QFETCH(QString, KL);
    QFETCH(QString, B);
    QFETCH(QString, Imax);
    QFETCH(QString, material);
    QFETCH(double, expectedB);
    QFETCH(int, expectedImax);

    const Table rows = {{"W", S, KL, "0.3", "0.4", B, Imax, material}};
    const LoadKatalogLines kat(rows);
    QCOMPARE(kat.S.size(), 1);
    QCOMPARE(kat.B0.at(0), expectedB);
    QCOMPARE(kat.Imax.at(0), expectedImax);
    QCOMPARE(kat.index.value("W"), 0);
}

void TestKatalog::insulationClasses_data()
{
    QTest::addColumn<QString>("S");
    QTest::addColumn<QString>("KL");
    QTest::addColumn<double>("t35");
    QTest::addColumn<double>("t110");
    QTest::addColumn<double>("t220");

    QTest::newRow("cable 50: class 0") << "50" << "1" << 11.1 << 71.0 << 150.0;
    QTest::newRow("cable 80: class 1") << "80" << "1" << 12.2 << 72.0 << 160.0;
    QTest::newRow("cable 95: class 1") << "95" << "1" << 12.2 << 72.0 << 160.0;
    QTest::newRow("cable 500: class 8") << "500" << "1" << 22.0 << 122.0 << 274.0;
    QTest::newRow("cable 1999: class 10") << "1999" << "1" << 24.0 << 160.0 << 329.0;
    QTest::newRow("cable 2000: above the table, largest class") << "2000" << "1" << 24.0 << 160.0 << 329.0;
    QTest::newRow("overhead 95") << "95" << "0" << 0.0 << 0.0 << 0.0;
}

void TestKatalog::insulationClasses()
{
    QFETCH(QString, S);
    QFETCH(QString, KL);
    QFETCH(double, t35);
    QFETCH(double, t110);
    QFETCH(double, t220);
    const LoadKatalogLines kat(Table{{"C", S, KL, "0.3", "0.1", "", "", "1"}});
    QCOMPARE(kat.ins35.at(0), t35 / 24000.0);
    QCOMPARE(kat.ins110.at(0), t110 / 24000.0);
    QCOMPARE(kat.ins220.at(0), t220 / 24000.0);
}

void TestKatalog::duplicateNamesFindTheLaterRow()
{
    const LoadKatalogLines wires(Table{{"A", "50", "0", "0.6", "0.4", "", "", "1"},
                                       {"B", "70", "0", "0.4", "0.4", "", "", "1"},
                                       {"A", "95", "0", "0.3", "0.4", "", "", "1"}});
    QCOMPARE(wires.S.size(), 3);
    QCOMPARE(wires.ins110.size(), 3);
    QCOMPARE(wires.index.value("A"), 2);
    QCOMPARE(wires.S.at(wires.index.value("A")), 95.0);

    const LoadKatalogTrans trans(Table{{"T", "110", "2500", "1", "2", "3", "4", "1.5", "9", "115", "11"},
                                       {"T", "110", "6300", "1", "2", "3", "4", "1.5", "9", "115", "11"}},
                                 0);
    QCOMPARE(trans.S.size(), 2);
    QCOMPARE(trans.S.at(trans.index.value("T")), 6300.0);
}

void TestKatalog::transformerVoltageBand()
{
    const Table rows = {{"T88", "88", "1000", "1", "2", "3", "4", "1.5", "9", "88", "11"},
                        {"T110", "110", "2500", "1", "2", "3", "4", "1.78", "9.7", "115", "11"},
                        {"T35", "35", "4000", "1", "2", "3", "4", "1.5", "8", "35", "11"},
                        {"T121", "121", "6300", "1", "2", "3", "4", "1.5", "9", "121", "11"},
                        {"T132", "132", "10000", "1", "2", "3", "4", "1.5", "9", "132", "11"}};
    const LoadKatalogTrans all(rows, 0);
    QCOMPARE(all.S.size(), 5);
    QCOMPARE(all.index.value("T132"), 4);

    const LoadKatalogTrans band(rows, 110);
    QCOMPARE(band.S.size(), 2);
    QCOMPARE(band.index.value("T110"), 0);
    QCOMPARE(band.index.value("T121"), 1);
    QVERIFY(!band.index.contains("T88"));
    QVERIFY(!band.index.contains("T132"));
    QCOMPARE(band.n_otp.at(0), 9);
    QCOMPARE(band.u_otv.at(0), 1.78);
    QCOMPARE(band.uvn.at(1), 121.0);
}

void TestKatalog::readFromFileEqualsReadFromTable()
{
    TempWorkDir dir;
    MessageRecorder recorder;
    TestNetwork net;
    net.addWire("АС-95/16", "95", "0", "0.306", "0.421", "2.7", "330", "1");
    net.addWire("АПвПу-240", "240", "1", "0.125", "0.11", "", "", "1");
    net.addTransType("ТДН-10000/110", "110", "10000", "7.95", "139", "14", "70", "1.78", "9", "115", "11");
    net.write();

    const LoadKatalogLines fromFile;
    const LoadKatalogLines fromTable(net.katLin);
    QCOMPARE(fromFile.S, fromTable.S);
    QCOMPARE(fromFile.B0, fromTable.B0);
    QCOMPARE(fromFile.Imax, fromTable.Imax);
    QCOMPARE(fromFile.ins110, fromTable.ins110);
    QCOMPARE(fromFile.index, fromTable.index);

    const LoadKatalogTrans transFile(110);
    QCOMPARE(transFile.index.value("ТДН-10000/110"), 0);
    QCOMPARE(transFile.X.value(0), 139.0);
    QVERIFY(recorder.messages.isEmpty());

    // A missing catalog is an empty one; the reader says so.
    QFile::remove(dir.filePath("kat_lin.xml"));
    const LoadKatalogLines missing;
    QVERIFY(missing.S.isEmpty());
    QCOMPARE(recorder.messages.size(), 1);
}

QTEST_GUILESS_MAIN(TestKatalog)
#include "tst_katalog.moc"
