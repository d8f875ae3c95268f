// The file of saved line schemes: storing one line's drawing and loading it.

#include "store/readregim.h"
#include "store/sxema.h"
#include "testsupport.h"

#include <QtTest>

namespace {

SxemaLin drawing(const QString& p, const QString& r, const QString& l, const QString& colour)
{
    SxemaLin s;
    s.key = QStringList{p, r, l, colour};
    s.nodes.append({"10", "20", "5", "40", "1", "12", "22", "0"});
    s.lines.append({"15,40 110,40", "1", "60", "30", "0"});
    s.transf.append({"200", "50", "30", "40", "35", "10.5", "2", "230", "50", "0"});
    s.transf3.append({"300", "50", "30", "60", "110", "35", "10", "3", "4", "5", "330", "50", "0"});
    return s;
}

} // namespace

class TestSxema : public QObject
{
    Q_OBJECT

private slots:
    // The file as written by hand; a scheme replaced where it stands, another
    // appended; loading gives back every kind of element and the colour, or
    // nothing and white.
    void saveReplaceAndLoad()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        QVERIFY(saveSxemaXML(drawing("1", "1", "1", "rgb(1,1,1)")));
        QCOMPARE(withoutStamp(dir.readFile("sxemalin.xml")), QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lines_sxemes created=\"STAMP\" modeling_authority=\"TARNO\">\n"
            "  <LinID npes=\"1\" nres=\"1\" nlin=\"1\" background-color=\"rgb(1,1,1)\">\n"
            "    <Node x=\"10\" y=\"20\" w=\"5\" h=\"40\" key=\"1\" xkt=\"12\" ykt=\"22\" hide=\"0\"/>\n"
            "    <Line points=\"15,40 110,40\" key=\"1\" xkt=\"60\" ykt=\"30\" hide=\"0\"/>\n"
            "    <Transf x=\"200\" y=\"50\" w=\"30\" h=\"40\" u_vn=\"35\" u_nn=\"10.5\" key=\"2\" xkt=\"230\" "
            "ykt=\"50\" hide=\"0\"/>\n"
            "    <Transf_3 x=\"300\" y=\"50\" w=\"30\" h=\"60\" u_vn=\"110\" u_sn=\"35\" u_nn=\"10\" key=\"3\" "
            "key2=\"4\" key3=\"5\" xkt=\"330\" ykt=\"50\" hide=\"0\"/>\n"
            "  </LinID>\n</lines_sxemes>\n"));
        saveSxemaXML(drawing("1", "1", "2", "rgb(2,2,2)"));
        SxemaLin changed = drawing("1", "1", "1", "rgb(9,9,9)");
        changed.nodes.append({"1", "1", "1", "1", "2", "1", "1", "0"});
        const QByteArray before = dir.readFile("sxemalin.xml");
        saveSxemaXML(changed);
        QCOMPARE(dir.readFile("sxemalin.bak"), before);
        QCOMPARE(rec.warnings(), QVector<QString>(3, "Информация|Данные сохранены").toList());
        QStringList keys;
        for (const SxemaLin& record : readSxemaFile().records)
            keys.append(record.key.join(','));
        QCOMPARE(keys, QStringList({"1,1,1,rgb(9,9,9)", "1,1,2,rgb(2,2,2)"}));

        NPES = NRES = NLIN = "1";
        ReadSxem loaded;
        QCOMPARE(QVector<Table>({loaded.nodes, loaded.lines, loaded.transf, loaded.transf3}),
                 QVector<Table>({changed.nodes, changed.lines, changed.transf, changed.transf3}));
        QCOMPARE(loaded.color, QStringLiteral("rgb(9,9,9)"));
        NLIN = "8";
        ReadSxem none;
        QCOMPARE(none.color + QString::number(none.nodes.size() + none.lines.size()), "RGB(255,255,255)0");
    }

    // Codes found by name, in any order, trimmed; another RES is another line.
    // A damaged or unreadable file is never rewritten, nor a key without the
    // line code stored: the file and its .bak stay.
    void codesByNameAndRefusals()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        dir.writeFile("sxemalin.xml",
                      "<any><LinID npes=\"1\" nres=\"1\" nlin=\"1\"><Node key=\"21\"/></LinID>"
                      "<LinID nlin=\" 1 \" background-color=\"rgb(1,1,1)\" nres=\"2\" npes=\"1\">"
                      "<Node key=\"11\"/><Node key=\"12\"/></LinID></any>");
        NPES = NLIN = "1";
        NRES = "2";
        ReadSxem s;
        QCOMPARE(QStringList({s.color, QString::number(s.nodes.size()), s.nodes.value(0).value(4)}),
                 QStringList({"rgb(1,1,1)", "2", "11"}));

        const QByteArray damaged = "<lines_sxemes><LinID npes=\"1\" nres=\"1\" nlin=\"1\">"
                                   "<Node key=\"1\"/></LinID><LinID npe";
        dir.writeFile("sxemalin.xml", damaged);
        dir.writeFile("sxemalin.bak", "old copy");
        SxemaLin d = drawing("1", "1", "1", "rgb(0,0,0)");
        QVERIFY(!saveSxemaXML(d));
        d.key = QStringList({"1", "1"});
        QVERIFY(!saveSxemaXML(d));
        QCOMPARE(dir.readFile("sxemalin.xml") + dir.readFile("sxemalin.bak"), damaged + "old copy");
        // A file that cannot be read is damaged too, not missing.
        QFile::remove(dir.filePath("sxemalin.xml"));
        QVERIFY(QDir().mkpath(dir.filePath("sxemalin.xml/x")));
        QVERIFY(!saveSxemaXML(drawing("1", "1", "1", "rgb(0,0,0)")));
        QCOMPARE(dir.readFile("sxemalin.bak"), QByteArray("old copy"));
        QCOMPARE(rec.warnings(), QStringList({"Предупреждение|Ошибка чтения файла " + dir.filePath("sxemalin.xml"),
                                              "Предупреждение|Нет данных о ключе схемы",
                                              "Предупреждение|Ошибка чтения файла " + dir.filePath("sxemalin.xml")}));
    }
};

QTEST_GUILESS_MAIN(TestSxema)
#include "tst_sxema.moc"
