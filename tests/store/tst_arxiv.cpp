// The loss archive: the shared reader, and the merge of "poteri.xml" into
// "arxiv110.xml" with its refusals.

#include "store/arxiv.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QFile>
#include <QtTest>

namespace {

// A record of period, year 2026, PES 1 and RES nres, holding one "ResArxiv"
// row as the writer lays it out: name and lenerp as given, the rest "0.000".
QByteArray recordXml(const QByteArray& period, const QByteArray& name, const QByteArray& lenerp = "1.000",
                     const QByteArray& nres = "2", const QByteArray& type = "000")
{
    QByteArray row = "    <ResArxiv id=\"SUM\" name=\"" + name + "\" lenerp=\"" + lenerp + "\"";
    for (int i = 3; i < attrArx.size(); ++i)
        row += " " + attrArx.at(i).toUtf8() + "=\"0.000\"";
    return "  <PoteriEn period=\"" + period + "\" year=\"2026\" npes=\"1\" nres=\"" + nres + "\" type=\""
        + type + "\">\n" + (name.isNull() ? QByteArray() : row + "/>\n") + "  </PoteriEn>\n";
}

QByteArray documentXml(const QByteArray& records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<ArxivPot created=\"STAMP\" modeling_authority=\"TARNO\">\n" + records + "</ArxivPot>\n";
}

const QString kMerged = QStringLiteral("Информация|Данные добалены в архив");

} // namespace

class TestArxiv : public QObject
{
    Q_OBJECT

private slots:
    void everyRecordHasItsOwnKey()
    {
        const ArxivFile file = parseArxiv(documentXml(
            recordXml("1", "a", "1.000", "2", "111")
            + "  <PoteriEn period=\"2\" npes=\"1\">\n    <ResArxiv id=\"SUM\" name=\"b\"/>\n  </PoteriEn>\n"));
        QCOMPARE(file.records.size(), 2);
        const ResPoter& second = file.records.at(1);
        QCOMPARE(QStringList({second.period, second.year, second.npes, second.nres, second.type}),
                 QStringList({"2", "", "1", "", ""}));
        QCOMPARE(second.rows.at(0).at(1), QStringLiteral("b"));
    }

    // With no archive the result is copied byte for byte; an archive of only
    // white space counts as empty and is rewritten.
    void firstMerge()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        const QByteArray result = "<?xml version=\"1.0\"?><ArxivPot><PoteriEn period=\"1\" year=\"2026\" "
                                  "npes=\"1\" nres=\"2\" type=\"000\"><ResArxiv id=\"SUM\"/></PoteriEn></ArxivPot>";
        dir.writeFile("poteri.xml", result);
        QVERIFY(SaveArxiv());
        QCOMPARE(dir.readFile("arxiv110.xml"), result);
        dir.writeFile("arxiv110.xml", "\n  \n");
        dir.writeFile("poteri.xml", documentXml(recordXml("1", "a")));
        QVERIFY(SaveArxiv());
        QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), documentXml(recordXml("1", "a")));
        QCOMPARE(dir.readFile("arxiv110.bak"), QByteArray("\n  \n"));
        QCOMPARE(rec.warnings(), QStringList({kMerged, kMerged}));
    }

    void mergeReplacesInPlaceAndAppends()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        const QByteArray old = documentXml(recordXml("1", "январь") + recordXml("2", "февраль", "5.000", "2", "111")
                                           + recordXml("3", "март"));
        dir.writeFile("arxiv110.xml", old);
        // February again: replaced in place, its type and values as written.
        const QByteArray february = recordXml("2", "новый", "0010.100", "2", "001");
        dir.writeFile("poteri.xml", documentXml(february));
        QVERIFY(SaveArxiv());
        QCOMPARE(dir.readFile("arxiv110.bak"), old);
        QByteArray expected = documentXml(recordXml("1", "январь") + february + recordXml("3", "март"));
        QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), expected);
        // A key that differs only by white space is another record: appended.
        const QByteArray spaced = recordXml("2", "пробел", "7.000", "2 ");
        dir.writeFile("poteri.xml", documentXml(spaced));
        QVERIFY(SaveArxiv());
        expected.insert(expected.lastIndexOf("</ArxivPot>"), spaced);
        QCOMPARE(withoutStamp(dir.readFile("arxiv110.xml")), expected);
        QCOMPARE(rec.warnings(), QStringList({kMerged, kMerged}));
    }

    void refusalsLeaveTheArchive_data()
    {
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QByteArray>("archive");
        const QByteArray result = documentXml(recordXml("5", "a"));
        const QByteArray archive = documentXml(recordXml("1", "a"));
        QTest::newRow("archive damaged") << result << archive.left(archive.size() - 20);
        QTest::newRow("result damaged") << result.left(result.size() - 30) << archive;
        QTest::newRow("result without PoteriEn") << documentXml("") << archive;
        QTest::newRow("result with empty key") << documentXml(recordXml("5", "a", "1", "")) << archive;
        QTest::newRow("result without rows") << documentXml(recordXml("5", QByteArray())) << archive;
    }

    void refusalsLeaveTheArchive()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        QFETCH(QByteArray, result);
        QFETCH(QByteArray, archive);
        dir.writeFile("poteri.xml", result);
        dir.writeFile("arxiv110.xml", archive);
        dir.writeFile("arxiv110.bak", "the previous archive");
        QVERIFY(!SaveArxiv());
        QCOMPARE(dir.readFile("arxiv110.xml"), archive);
        QCOMPARE(dir.readFile("arxiv110.bak"), QByteArray("the previous archive"));
        QCOMPARE(rec.warnings(), QStringList("Предупреждение|Ошибка добаления в архив"));
    }

    void unwritableArchive()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        // The archive is a link to a file whose name leaves no room for the
        // temporary name of a safe write, so the write fails even for root.
        const QString longName(250, QLatin1Char('a'));
        const QByteArray archive = documentXml(recordXml("1", "a"));
        dir.writeFile(longName, archive);
        QVERIFY(QFile::link(dir.filePath(longName), dir.filePath("arxiv110.xml")));
        dir.writeFile("poteri.xml", documentXml(recordXml("5", "b")));
        QVERIFY(!SaveArxiv());
        QCOMPARE(rec.warnings(),
                 QStringList("Предупреждение|Невозможно создать файл -" + dir.path() + "arxiv110.xml"));
        QCOMPARE(dir.readFile(longName), archive);
    }
};

QTEST_GUILESS_MAIN(TestArxiv)
#include "tst_arxiv.moc"
