// The loss result and archive: the shared reader, and the merge of
// "poteri.xml" into "arxiv110.xml" with its refusals.

#include "store/arxiv.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace {

// One "ResArxiv" line as the writer indents it: id, name, lenerp as given, the
// other 15 values "0.000".
QByteArray rowXml(const QByteArray& id, const QByteArray& name, const QByteArray& lenerp)
{
    QByteArray line = "    <ResArxiv id=\"" + id + "\" name=\"" + name + "\" lenerp=\"" + lenerp + "\"";
    for (int i = 3; i < attrArx.size(); ++i)
        line += " " + attrArx.at(i).toUtf8() + "=\"0.000\"";
    return line + "/>\n";
}

QByteArray recordXml(const QByteArray& attributes, const QByteArray& rows)
{
    return "  <PoteriEn " + attributes + ">\n" + rows + "  </PoteriEn>\n";
}

QByteArray documentXml(const QByteArray& records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<ArxivPot created=\"STAMP\" modeling_authority=\"TARNO\">\n"
        + records + "</ArxivPot>\n";
}

QByteArray key(const QByteArray& period, const QByteArray& year, const QByteArray& npes,
               const QByteArray& nres, const QByteArray& type = "000")
{
    return "period=\"" + period + "\" year=\"" + year + "\" npes=\"" + npes + "\" nres=\"" + nres
        + "\" type=\"" + type + "\"";
}


} // namespace

class TestArxiv : public QObject
{
    Q_OBJECT

private slots:
    void readerKeepsTextsAsStored();
    void everyRecordHasItsOwnKey();
    void readerFlags_data();
    void readerFlags();
    void resultOfSeveralElements();
    void resultRefused_data();
    void resultRefused();

    void noResultFile();
    void firstMergeIsAByteCopy();
    void mergeReplacesInPlaceAndAppends();
    void mergeTwiceGivesTheSameRecords();
    void blankArchiveIsEmpty_data();
    void blankArchiveIsEmpty();
    void refusalsLeaveTheArchive_data();
    void refusalsLeaveTheArchive();
    void unwritableArchive();
};

void TestArxiv::readerKeepsTextsAsStored()
{
    const QByteArray bytes = documentXml(recordXml(
        key(" 1", "2026 ", "1", "2", "101"),
        "    <ResArxiv extra=\"x\" id=\"  1,2,3 \" lenerp=\" 1.500\" Sumdp=\"-0.100\"/>\n"));
    const ArxivFile file = parseArxiv(bytes);
    QVERIFY(!file.xmlError);
    QCOMPARE(file.records.size(), 1);
    const ResPoter& record = file.records.at(0);
    // Record attributes untrimmed, row values trimmed, missing values empty.
    QCOMPARE(record.period, QStringLiteral(" 1"));
    QCOMPARE(record.year, QStringLiteral("2026 "));
    QCOMPARE(record.type, QStringLiteral("101"));
    QCOMPARE(record.rows.size(), 1);
    QCOMPARE(record.rows.at(0).size(), attrArx.size());
    QCOMPARE(record.rows.at(0).at(0), QStringLiteral("1,2,3"));
    QCOMPARE(record.rows.at(0).at(1), QString());
    QCOMPARE(record.rows.at(0).at(2), QStringLiteral("1.500"));
    QCOMPARE(record.rows.at(0).at(17), QStringLiteral("-0.100"));
}

void TestArxiv::everyRecordHasItsOwnKey()
{
    const QByteArray bytes = documentXml(
        recordXml(key("1", "2026", "1", "2", "111"), rowXml("SUM", "a", "1.000"))
        + "  <PoteriEn period=\"2\" npes=\"1\">\n" + rowXml("SUM", "b", "2.000") + "  </PoteriEn>\n"
        + "  <PoteriEn " + key("3", "2026", "1", "2") + "/>\n"
        + recordXml(key("4", "2026", "1", "2"), rowXml("SUM", "d", "4.000")));
    const ArxivFile file = parseArxiv(bytes);
    QCOMPARE(file.recordElements, 4);
    QCOMPARE(file.records.size(), 3);   // the rowless period 3 is no record
    const ResPoter& second = file.records.at(1);
    QCOMPARE(second.period, QStringLiteral("2"));
    QCOMPARE(second.npes, QStringLiteral("1"));
    QCOMPARE(second.year, QString());    // not the first record's 2026
    QCOMPARE(second.nres, QString());
    QCOMPARE(second.type, QString());    // not the first record's 111
    QCOMPARE(second.rows.at(0).at(1), QStringLiteral("b"));
    QCOMPARE(file.records.at(2).period, QStringLiteral("4"));
}

void TestArxiv::readerFlags_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("blank");
    QTest::addColumn<bool>("xmlError");
    QTest::addColumn<int>("records");
    const QByteArray good = recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "a", "1.000"));
    QTest::newRow("sound") << documentXml(good + good) << false << false << 2;
    QTest::newRow("zero bytes") << QByteArray() << true << false << 0;
    QTest::newRow("white space") << QByteArray(" \n\t\r\n") << true << false << 0;
    QTest::newRow("root alone") << documentXml(QByteArray()) << false << false << 0;
    QTest::newRow("cut off after a record")
        << documentXml(good).left(documentXml(good).size() - 12) << false << true << 1;
    QTest::newRow("garbage") << QByteArray("not xml") << false << true << 0;
}

void TestArxiv::readerFlags()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, blank);
    QFETCH(bool, xmlError);
    QFETCH(int, records);
    const ArxivFile file = parseArxiv(bytes);
    QCOMPARE(file.blank, blank);
    QCOMPARE(file.xmlError, xmlError);
    QCOMPARE(file.records.size(), records);
}

void TestArxiv::resultOfSeveralElements()
{
    // Each attribute from the last element that has it, the rows of all.
    const QByteArray bytes = documentXml(
        recordXml(key("1", "2025", "1", "2", "100"), rowXml("a", "A", "1.000"))
        + "  <PoteriEn period=\"5\" type=\"001\">\n" + rowXml("b", "B", "2.000") + "  </PoteriEn>\n");
    ResPoter record;
    QVERIFY(resultRecord(parseArxiv(bytes), &record));
    QCOMPARE(QStringList({record.period, record.year, record.npes, record.nres, record.type}),
             QStringList({"5", "2025", "1", "2", "001"}));
    QCOMPARE(record.rows.size(), 2);
    QCOMPARE(record.rows.at(1).at(0), QStringLiteral("b"));
}

void TestArxiv::resultRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray rows = rowXml("SUM", "a", "1.000");
    QTest::newRow("XML error") << documentXml(recordXml(key("1", "2026", "1", "2"), rows)).left(200);
    QTest::newRow("no PoteriEn") << documentXml(rows);
    QTest::newRow("no rows") << documentXml("  <PoteriEn " + key("1", "2026", "1", "2") + "/>\n");
    QTest::newRow("empty year") << documentXml(recordXml(key("1", "", "1", "2"), rows));
    QTest::newRow("blank nres") << documentXml(recordXml(key("1", "2026", "1", "  "), rows));
    QTest::newRow("missing period")
        << documentXml(recordXml("year=\"2026\" npes=\"1\" nres=\"2\"", rows));
    QTest::newRow("empty file") << QByteArray();
}

void TestArxiv::resultRefused()
{
    QFETCH(QByteArray, bytes);
    ResPoter record;
    QVERIFY(!resultRecord(parseArxiv(bytes), &record));
}

void TestArxiv::noResultFile()
{
    TempWorkDir dir;
    MessageRecorder rec;
    QVERIFY(!SaveArxiv());
    QCOMPARE(rec.warnings(),
             QStringList("Ошибка добаления в архив|Нет файла " + dir.path() + "poteri.xml"));
    QVERIFY(!dir.exists("arxiv110.xml"));
}

void TestArxiv::firstMergeIsAByteCopy()
{
    TempWorkDir dir;
    MessageRecorder rec;
    // Deliberately not in the writer's layout: the copy must not reformat it.
    const QByteArray result = "<?xml version=\"1.0\"?><ArxivPot created=\"01.02.2026 10:00:00\">"
                              "<PoteriEn period=\"1\" year=\"2026\" npes=\"1\" nres=\"2\" type=\"000\">"
                              "<ResArxiv id=\"SUM\" lenerp=\"1.500\"/></PoteriEn></ArxivPot>";
    dir.writeFile("poteri.xml", result);
    QVERIFY(SaveArxiv());
    QCOMPARE(dir.readFile("arxiv110.xml"), result);
    QVERIFY(!dir.exists("arxiv110.bak"));
    QCOMPARE(rec.warnings(), QStringList("Информация|Данные добалены в архив"));
}

void TestArxiv::mergeReplacesInPlaceAndAppends()
{
    TempWorkDir dir;
    MessageRecorder rec;
    const QByteArray old = documentXml(
        recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "январь", "1.000"))
        + recordXml(key("2", "2026", "1", "2", "111"), rowXml("1,2,1", "Л-1", "5.000")
                    + rowXml("SUM", "февраль", "5.000"))
        + recordXml(key("3", "2026", "1", "2"), rowXml("SUM", "март", "3.000")));
    dir.writeFile("arxiv110.xml", old);

    // February again with other options: replaced in place, type and rows new,
    // "1.500" and "0010.100" kept as written.
    dir.writeFile("poteri.xml", documentXml(recordXml(
        key("2", "2026", "1", "2", "001"),
        "    <ResArxiv id=\"SUM\" name=\"февраль &lt;новый&gt;\" lenerp=\" 1.500 \" Sumdp=\"0010.100\"/>\n")));
    QVERIFY(SaveArxiv());
    QCOMPARE(dir.readFile("arxiv110.bak"), old);

    QByteArray february = "    <ResArxiv id=\"SUM\" name=\"февраль &lt;новый&gt;\" lenerp=\"1.500\"";
    for (int i = 3; i < attrArx.size() - 1; ++i)
        february += " " + attrArx.at(i).toUtf8() + "=\"\"";
    february += " Sumdp=\"0010.100\"/>\n";
    const QByteArray replaced = documentXml(
        recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "январь", "1.000"))
        + recordXml(key("2", "2026", "1", "2", "001"), february)
        + recordXml(key("3", "2026", "1", "2"), rowXml("SUM", "март", "3.000")));
    QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), replaced);
    QCOMPARE(rec.warnings(), QStringList("Информация|Данные добалены в архив"));

    // Keys that differ only by white space, the PES of the same period and
    // another year are other records: appended in turn.
    const QByteArray added[] = {
        recordXml(key("2", "2026", "1", "2 "), rowXml("SUM", "пробел", "7.000")),
        recordXml(key("2", "2026", "1", "0"), rowXml("SUM", "ПЭС", "8.000")),
        recordXml(key("2", "2027", "1", "2"), rowXml("SUM", "год", "9.000")),
    };
    QByteArray expected = replaced.left(replaced.size() - int(strlen("</ArxivPot>\n")));
    for (const QByteArray& record : added) {
        dir.writeFile("poteri.xml", documentXml(record));
        QVERIFY(SaveArxiv());
        expected += record;
    }
    QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), expected + "</ArxivPot>\n");
}

void TestArxiv::mergeTwiceGivesTheSameRecords()
{
    TempWorkDir dir;
    MessageRecorder rec;
    dir.writeFile("arxiv110.xml", documentXml(recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "a", "1.000"))));
    dir.writeFile("poteri.xml", documentXml(recordXml(key("4", "2026", "1", "2"), rowXml("SUM", "b", "2.000"))));
    QVERIFY(SaveArxiv());
    const QByteArray once = withoutStamp(dir.readFile("arxiv110.xml"));
    QVERIFY(SaveArxiv());
    QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), once);
    QCOMPARE(withoutStamp(dir.readFile("arxiv110.bak")), once);
}

void TestArxiv::blankArchiveIsEmpty_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::newRow("zero bytes") << QByteArray();
    QTest::newRow("white space") << QByteArray("\n  \n");
}

void TestArxiv::blankArchiveIsEmpty()
{
    QFETCH(QByteArray, archive);
    TempWorkDir dir;
    MessageRecorder rec;
    const QByteArray record = recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "a", "1.000"));
    dir.writeFile("arxiv110.xml", archive);
    dir.writeFile("poteri.xml", documentXml(record));
    QVERIFY(SaveArxiv());
    QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), documentXml(record));
    QCOMPARE(dir.readFile("arxiv110.bak"), archive);
    QCOMPARE(rec.warnings(), QStringList("Информация|Данные добалены в архив"));
}

void TestArxiv::refusalsLeaveTheArchive_data()
{
    QTest::addColumn<QByteArray>("result");
    QTest::addColumn<QByteArray>("archive");
    const QByteArray rows = rowXml("SUM", "a", "1.000");
    const QByteArray goodResult = documentXml(recordXml(key("5", "2026", "1", "2"), rows));
    const QByteArray goodArchive = documentXml(recordXml(key("1", "2026", "1", "2"), rows));
    QTest::newRow("archive damaged")
        << goodResult << goodArchive.left(goodArchive.size() - 20) + "<oops";
    QTest::newRow("archive not XML") << goodResult << QByteArray("arxiv");
    QTest::newRow("result damaged") << goodResult.left(goodResult.size() - 30) << goodArchive;
    QTest::newRow("result without PoteriEn") << documentXml(rows) << goodArchive;
    QTest::newRow("result with empty key")
        << documentXml(recordXml(key("5", "2026", "", "2"), rows)) << goodArchive;
    QTest::newRow("result without rows")
        << documentXml("  <PoteriEn " + key("5", "2026", "1", "2") + "/>\n") << goodArchive;
    QTest::newRow("result empty") << QByteArray() << goodArchive;
}

void TestArxiv::refusalsLeaveTheArchive()
{
    QFETCH(QByteArray, result);
    QFETCH(QByteArray, archive);
    TempWorkDir dir;
    MessageRecorder rec;
    const QByteArray bak = "the previous archive";
    dir.writeFile("poteri.xml", result);
    dir.writeFile("arxiv110.xml", archive);
    dir.writeFile("arxiv110.bak", bak);
    QVERIFY(!SaveArxiv());
    QCOMPARE(dir.readFile("arxiv110.xml"), archive);
    QCOMPARE(dir.readFile("arxiv110.bak"), bak);
    QCOMPARE(rec.warnings(), QStringList("Предупреждение|Ошибка добаления в архив"));
}

void TestArxiv::unwritableArchive()
{
    TempWorkDir dir;
    MessageRecorder rec;
    // The archive is a link to a file whose name leaves no room for the
    // temporary name of a safe write, so the write fails even for root.
    const QString longName = QString(250, QLatin1Char('a'));
    const QByteArray archive = documentXml(recordXml(key("1", "2026", "1", "2"), rowXml("SUM", "a", "1.000")));
    dir.writeFile(longName, archive);
    QVERIFY(QFile::link(dir.filePath(longName), dir.filePath("arxiv110.xml")));
    dir.writeFile("poteri.xml", documentXml(recordXml(key("5", "2026", "1", "2"), rowXml("SUM", "b", "2.000"))));
    QVERIFY(!SaveArxiv());
    QCOMPARE(rec.warnings(),
             QStringList("Предупреждение|Невозможно создать файл -" + dir.path() + "arxiv110.xml"));
    QCOMPARE(dir.readFile(longName), archive);
    QCOMPARE(dir.readFile("arxiv110.bak"), archive);
}

QTEST_GUILESS_MAIN(TestArxiv)
#include "tst_arxiv.moc"
