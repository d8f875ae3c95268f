// The loss archive: its reader, and the merge of "poteri.xml" into "arxiv110.xml".

#include "store/arxiv.h"
#include "storetest.h"

// A record of 2026, PES 1, as the writer lays it out, with one row (none for a
// null name) of name and lenerp, the rest "0.000".
static QByteArray recordXml(const QByteArray& period, const QByteArray& name, const QByteArray& lenerp = "1.000",
                            const QByteArray& nres = "2", const QByteArray& type = "000")
{
    QByteArray row = "    <ResArxiv id=\"SUM\" name=\"" + name + "\" lenerp=\"" + lenerp + "\"";
    for (int i = 3; i < attrArx.size(); ++i)
        row += " " + attrArx.at(i).toUtf8() + "=\"0.000\"";
    return "  <PoteriEn period=\"" + period + "\" year=\"2026\" npes=\"1\" nres=\"" + nres + "\" type=\""
        + type + "\">\n" + (name.isNull() ? QByteArray() : row + "/>\n") + "  </PoteriEn>\n";
}

static QByteArray documentXml(const QByteArray& records)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<ArxivPot created=\"STAMP\" modeling_authority=\"TARNO\">\n" + records + "</ArxivPot>\n";
}

class TestArxiv : public QObject
{
    Q_OBJECT

private slots:
    // A missing attribute reads as empty, not as the previous record's.
    void everyRecordHasItsOwnKey()
    {
        const ResPoter second = parseArxiv(documentXml(recordXml("1", "a", "1.000", "2", "111")
            + "<PoteriEn period=\"2\" npes=\"1\"><ResArxiv id=\"SUM\" name=\"b\"/></PoteriEn>")).records.value(1);
        QCOMPARE(QStringList({second.period, second.year, second.npes, second.nres, second.type, second.rows[0][1]}),
                 QStringList({"2", "", "1", "", "", "b"}));
    }

    // The first result is copied byte for byte. Then: a blank archive counts as
    // empty; every record of the key is replaced in place, type included; a
    // key that differs by a blank is another. Each merge keeps a .bak.
    void merges()
    {
        Scratch work;
        const QByteArray first = "<?xml version=\"1.0\"?><ArxivPot><PoteriEn period=\"1\" year=\"2026\" "
                                 "npes=\"1\" nres=\"2\" type=\"000\"><ResArxiv id=\"SUM\"/></PoteriEn></ArxivPot>";
        const QByteArray jan = recordXml("1", "январь"), mar = recordXml("3", "март");
        const QByteArray feb = recordXml("2", "новый", "0010.100", "2", "001"), spaced = recordXml("2", "пробел", "7.000", "2 ");
        const QVector<QByteArrayList> steps = {   // archive written (null: kept), result, archive after
            {QByteArray(), first, first},
            {"\n  \n", documentXml(jan), documentXml(jan)},
            {documentXml(jan + recordXml("2", "февраль", "5.000", "2", "111") + mar + recordXml("2", "дубль")),
             documentXml(feb), documentXml(jan + feb + mar + feb)},
            {QByteArray(), documentXml(spaced), documentXml(jan + feb + mar + feb + spaced)}};
        for (const QByteArrayList& step : steps) {
            if (!step.at(0).isNull())
                work.writeFile("arxiv110.xml", step.at(0));
            const QByteArray before = work.readFile("arxiv110.xml");
            work.writeFile("poteri.xml", step.at(1));
            QVERIFY(SaveArxiv());
            QCOMPARE(work.readFile("arxiv110.bak"), before);
            QCOMPARE(withoutStamp(work.readFile("arxiv110.xml")), step.at(2));
        }
        QCOMPARE(work.warnings(), QVector<QString>(4, "Информация|Данные добалены в архив").toList());
    }

    void refusalsLeaveTheArchive_data()
    {
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QByteArray>("archive");
        const QByteArray result = documentXml(recordXml("5", "a")), archive = documentXml(recordXml("1", "a"));
        QTest::newRow("archive damaged") << result << archive.left(archive.size() - 20);
        QTest::newRow("archive of another spelling") << result << archive.toLower();
        QTest::newRow("result damaged") << result.left(result.size() - 30) << archive;
        QTest::newRow("result without PoteriEn") << documentXml("") << archive;
        QTest::newRow("result with empty key") << documentXml(recordXml("5", "a", "1", "")) << archive;
        QTest::newRow("result without rows") << documentXml(recordXml("5", QByteArray())) << archive;
    }

    void refusalsLeaveTheArchive()
    {
        QFETCH(QByteArray, result);
        QFETCH(QByteArray, archive);
        Scratch work;
        work.writeFile("poteri.xml", result);
        work.writeFile("arxiv110.xml", archive);
        work.writeFile("arxiv110.bak", "the previous archive");
        QVERIFY(!SaveArxiv());
        QCOMPARE(work.readFile("arxiv110.xml") + "|" + work.readFile("arxiv110.bak"), archive + "|the previous archive");
        QCOMPARE(work.warnings(), QStringList("Предупреждение|Ошибка добаления в архив"));
    }
};

QTEST_GUILESS_MAIN(TestArxiv)
#include "tst_arxiv.moc"
