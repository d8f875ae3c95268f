// Saving the six tables of a network model into one file and loading it back.

#include "store/readregim.h"
#include "testsupport.h"

#include <QtTest>

namespace {

struct TableKind
{
    QString table;
    QString row;
    const QStringList* names;
};

const QList<TableKind>& tableKinds()
{
    static const QList<TableKind> list = {
        {"pes", "PES", &attrPES},       {"res", "RES", &attrRES},
        {"lines", "LIN", &attrLin},     {"uch_lin", "UCH_LIN", &attrUchLin},
        {"kat_lin", "Wire", &attrL},    {"kat_tr", "Trans", &attrTR},
    };
    return list;
}

// Row r of a table: every value names its column, so a value in the wrong
// column shows.
QStringList row(const QStringList& names, int r)
{
    QStringList out;
    for (const QString& n : names)
        out.append(n + "-" + QString::number(r));
    return out;
}

void writeTables(int rowsEach, const QString& variant)
{
    for (const TableKind& s : tableKinds()) {
        Table t;
        for (int r = 0; r < rowsEach; ++r) {
            QStringList values = row(*s.names, r);
            values[0] += variant;
            t.append(values);
        }
        saveShablonXML(s.table, *s.names, s.row, "root", t);
    }
}

Table read(const TableKind& s)
{
    return ReadShablonXML(s.table, *s.names, s.row);
}

const QStringList kFiles = {"pes.xml", "res.xml", "lines.xml", "uch_lin.xml", "kat_lin.xml",
                            "kat_tr.xml"};

} // namespace

class TestModelFile : public QObject
{
    Q_OBJECT

private slots:
    void savesAllSixContainersInOrder();
    void saveThenLoadGivesBackEveryTable();
    void loadTrimsValuesAndIgnoresContainers();
    void emptyContainers();
    void badModelChangesNothing_data();
    void badModelChangesNothing();
    void unwritableModelWarnsWithoutSuccess();
    void damagedTableIsNotSaved();
};

void TestModelFile::savesAllSixContainersInOrder()
{
    TempWorkDir dir;
    MessageRecorder rec;
    saveShablonXML("pes", attrPES, "PES", "r", {{"1", "Север"}});
    saveShablonXML("kat_tr", attrTR, "Trans", "r",
                   {{"ТМ-100", "10", "100", "", "", "", "", "", "", "", ""}});
    // The other four are missing: each is reported and gives an empty container.
    QVERIFY(CreateNet(dir.filePath("net/модель")) == false); // no folder yet
    rec.clear();
    QDir().mkpath(dir.filePath("net"));
    QVERIFY(CreateNet(dir.filePath("net/модель")));
    QCOMPARE(withoutStamp(dir.readFile("net/модель")),
             QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<Net10 created=\"STAMP\" modeling_authority=\"TARNO\">\n"
                        "  <net110_PES>\n"
                        "    <PES npes=\"1\" name=\"Север\"/>\n"
                        "  </net110_PES>\n"
                        "  <net110_RES/>\n"
                        "  <net110_LIN/>\n"
                        "  <net110_uch_lin/>\n"
                        "  <katalog_wire110/>\n"
                        "  <katalog_tr110>\n"
                        "    <Trans name=\"ТМ-100\" unom=\"10\" S=\"100\" R=\"\" X=\"\" Px=\"\" "
                        "Qx=\"\" u_otv=\"\" n_otp=\"\" uvn=\"\" unn=\"\"/>\n"
                        "  </katalog_tr110>\n"
                        "</Net10>\n"));
    QStringList expected;
    for (const char* f : {"res.xml", "lines.xml", "uch_lin.xml", "kat_lin.xml"})
        expected << "Предупреждение|Отсутствует файл -" + dir.filePath(QString::fromUtf8(f));
    expected << "Информация|Модель сети сохранена";
    QCOMPARE(rec.warnings(), expected);
}

void TestModelFile::saveThenLoadGivesBackEveryTable()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QDir().mkpath(dir.filePath("net"));
    writeTables(3, "");
    QList<Table> saved;
    for (const TableKind& s : tableKinds())
        saved.append(read(s));
    QVERIFY(CreateNet(dir.filePath("net/m1")));

    writeTables(2, "-changed");
    QList<QByteArray> changed;
    for (const QString& f : kFiles)
        changed.append(dir.readFile(f));
    rec.clear();

    QCOMPARE(LoadNet(dir.filePath("net/m1")), 0);

    for (int i = 0; i < tableKinds().size(); ++i) {
        QCOMPARE(read(tableKinds().at(i)), saved.at(i));
        QCOMPARE(dir.readFile(tableKinds().at(i).table + ".bak"), changed.at(i));
    }
    QVERIFY(rec.messages.isEmpty());
    QVERIFY(withoutStamp(dir.readFile("kat_tr.xml")).contains("<net110_TRansInfo created"));
}

void TestModelFile::loadTrimsValuesAndIgnoresContainers()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("net/m",
                  "<?xml version=\"1.0\"?>\n<Other>\n"
                  "  <PES name=\" Север \" npes=\" 1\" extra=\"x\"/>\n"
                  "  <katalog_wire110><PES npes=\"2\"/></katalog_wire110>\n"
                  "  <wrapper><LIN nlin=\"5\" npes=\"1\" nres=\"1\"/></wrapper>\n"
                  "  <Wire name=\"АС-95\"/>\n"
                  "  <Trans name=\"ТМ\"/>\n"
                  "</Other>\n");
    QCOMPARE(LoadNet(dir.filePath("net/m")), 0);
    QCOMPARE(read(tableKinds().at(0)), Table({{"1", "Север"}, {"2", ""}}));
    QCOMPARE(read(tableKinds().at(2)).value(0).mid(0, 4), QStringList({"1", "1", "5", ""}));
    QCOMPARE(read(tableKinds().at(2)).value(0).size(), attrLin.size());
    QCOMPARE(read(tableKinds().at(4)).value(0).value(0), QStringLiteral("АС-95"));
    QVERIFY(rec.messages.isEmpty());
}

void TestModelFile::emptyContainers()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeTables(2, "");
    const QByteArray katLin = dir.readFile("kat_lin.xml");
    dir.writeFile("net/m", "<Net10><net110_PES><PES npes=\"1\" name=\"П\"/></net110_PES>"
                           "<net110_RES/><net110_LIN/><net110_uch_lin/>"
                           "<katalog_wire110/><katalog_tr110><Trans name=\"Т\"/></katalog_tr110>"
                           "</Net10>");
    QCOMPARE(LoadNet(dir.filePath("net/m")), 0);
    // The model has no RES, lines nor sections: those tables become empty.
    for (int i = 1; i <= 3; ++i) {
        QVERIFY(read(tableKinds().at(i)).isEmpty());
        QVERIFY(dir.exists(tableKinds().at(i).table + ".bak"));
    }
    // An empty catalog keeps the current one.
    QCOMPARE(dir.readFile("kat_lin.xml"), katLin);
    QCOMPARE(read(tableKinds().at(5)).size(), 1);
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Пустая таблица -" + dir.filePath("kat_lin.xml")));
}

void TestModelFile::badModelChangesNothing_data()
{
    QTest::addColumn<QByteArray>("model");  // empty: no file at all
    QTest::addColumn<QString>("warning");

    QTest::newRow("truncated")
        << QByteArray("<Net10><net110_PES><PES npes=\"1\" name=\"П\"/></net110_PES>"
                      "<net110_RES><RES npes=\"1\" nres=\"1\"/><RES npes=\"1\" nr")
        << "Ошибка чтения файла ";
    QTest::newRow("no PES row")
        << QByteArray("<Net10><net110_PES/><net110_RES><RES npes=\"1\" nres=\"1\"/>"
                      "</net110_RES></Net10>")
        << "Ошибка чтения файла ";
    QTest::newRow("blank file") << QByteArray("\n") << "Ошибка чтения файла ";
    QTest::newRow("missing file") << QByteArray() << "Отсутствует файл -";
}

void TestModelFile::badModelChangesNothing()
{
    QFETCH(QByteArray, model);
    QFETCH(QString, warning);
    TempWorkDir dir;
    MessageRecorder rec;
    writeTables(2, "");
    QList<QByteArray> before;
    for (const QString& f : kFiles)
        before.append(dir.readFile(f));
    if (!model.isEmpty())
        dir.writeFile("net/m", model);
    rec.clear();

    QCOMPARE(LoadNet(dir.filePath("net/m")), 1);

    for (int i = 0; i < kFiles.size(); ++i) {
        QCOMPARE(dir.readFile(kFiles.at(i)), before.at(i));
        QVERIFY(!dir.exists(tableKinds().at(i).table + ".bak"));
    }
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|" + warning + dir.filePath("net/m")));
}

void TestModelFile::unwritableModelWarnsWithoutSuccess()
{
    TempWorkDir dir;
    MessageRecorder rec;
    writeTables(1, "");
    QDir().mkpath(dir.filePath("net/m"));  // a folder where the file should go
    QVERIFY(!CreateNet(dir.filePath("net/m")));
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|Невозможно создать файл -"
                                         + dir.filePath("net/m")));
}

void TestModelFile::damagedTableIsNotSaved()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QDir().mkpath(dir.filePath("net"));
    writeTables(2, "");
    QByteArray lines = dir.readFile("lines.xml");
    lines.chop(40);
    dir.writeFile("lines.xml", lines);
    QVERIFY(!CreateNet(dir.filePath("net/m")));
    QVERIFY(!dir.exists("net/m"));
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|Ошибка чтения файла "
                                         + dir.filePath("lines.xml")));
}

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_modelfile.moc"
