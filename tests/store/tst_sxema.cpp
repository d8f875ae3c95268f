// The file of saved line schemes: storing one line's drawing and loading it.

#include "storetest.h"

// One element of every kind for the line of key.
static SxemaLin fullDrawing(const QStringList& key)
{
    return {key, {{"10", "20", "5", "40", "1", "12", "22", "0"}}, {{"15,40 110,40", "1", "60", "30", "0"}},
            {{"200", "50", "30", "40", "35", "10.5", "2", "230", "50", "0"}},
            {{"300", "50", "30", "60", "110", "35", "10", "3", "4", "5", "330", "50", "0"}}};
}

class TestSxema : public QObject
{
    Q_OBJECT

private slots:
    // The file as written by hand; a scheme replaced where it stands, the same
    // line code in another RES appended; none saved loads empty and white. Codes
    // are found by name, in any order, trimmed. A damaged or unreadable file is
    // never rewritten, nor a key without the line code stored: file and .bak stay.
    void savesLoadsAndRefuses()
    {
        Scratch work;
        QVERIFY(saveSxemaXML(fullDrawing({"1", "1", "1", "rgb(1,1,1)"})));
        QCOMPARE(withoutStamp(work.readFile("sxemalin.xml")), QByteArray(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<lines_sxemes created=\"STAMP\" modeling_authority=\"TARNO\">\n"
            "  <LinID npes=\"1\" nres=\"1\" nlin=\"1\" background-color=\"rgb(1,1,1)\">\n"
            "    <Node x=\"10\" y=\"20\" w=\"5\" h=\"40\" key=\"1\" xkt=\"12\" ykt=\"22\" hide=\"0\"/>\n"
            "    <Line points=\"15,40 110,40\" key=\"1\" xkt=\"60\" ykt=\"30\" hide=\"0\"/>\n"
            "    <Transf x=\"200\" y=\"50\" w=\"30\" h=\"40\" u_vn=\"35\" u_nn=\"10.5\" key=\"2\" xkt=\"230\" "
            "ykt=\"50\" hide=\"0\"/>\n"
            "    <Transf_3 x=\"300\" y=\"50\" w=\"30\" h=\"60\" u_vn=\"110\" u_sn=\"35\" u_nn=\"10\" key=\"3\" "
            "key2=\"4\" key3=\"5\" xkt=\"330\" ykt=\"50\" hide=\"0\"/>\n  </LinID>\n</lines_sxemes>\n"));
        saveSxemaXML(fullDrawing({"1", "2", "1", "rgb(2,2,2)"}));
        const QByteArray before = work.readFile("sxemalin.xml");
        saveSxemaXML(fullDrawing({"1", "1", "1", "rgb(9,9,9)"}));
        QCOMPARE(work.readFile("sxemalin.bak"), before);
        QCOMPARE(work.warnings(), QVector<QString>(3, "Информация|Данные сохранены").toList());
        QCOMPARE(drawings(), QStringList({"1,1,1,rgb(9,9,9)", "1,2,1,rgb(2,2,2)"}));
        NPES = NRES = "1";
        NLIN = "8";
        ReadSxem none;
        QCOMPARE(none.color + QString::number(none.nodes.size() + none.lines.size()), "RGB(255,255,255)0");

        work.clear();
        work.writeFile("sxemalin.xml", "<any><LinID npes=\"1\" nres=\"1\" nlin=\"1\"><Node key=\"21\"/></LinID>"
                                       "<LinID nlin=\" 1 \" background-color=\"rgb(1,1,1)\" nres=\"2\" npes=\"1\">"
                                       "<Node key=\"11\"/><Node key=\"12\"/></LinID></any>");
        NLIN = "1";
        NRES = "2";
        ReadSxem s;
        QCOMPARE(QStringList({s.color, QString::number(s.nodes.size()), s.nodes.value(0).value(4)}),
                 QStringList({"rgb(1,1,1)", "2", "11"}));
        const QByteArray damaged = "<lines_sxemes><LinID npes=\"1\" nres=\"1\" nlin=\"1\"><Node key=\"1\"/></LinID><LinID";
        work.writeFile("sxemalin.xml", damaged);
        work.writeFile("sxemalin.bak", "old copy");
        QVERIFY(!saveSxemaXML(drawing({"1", "1", "1"})) && !saveSxemaXML(drawing({"1", "1"})));
        QCOMPARE(work.readFile("sxemalin.xml") + work.readFile("sxemalin.bak"), damaged + "old copy");
        // A file that cannot be read is damaged too, not missing.
        QFile::remove(work.filePath("sxemalin.xml"));
        QVERIFY(QDir().mkpath(work.filePath("sxemalin.xml/x")));
        QVERIFY(!saveSxemaXML(drawing({"1", "1", "1"})));
        QCOMPARE(work.readFile("sxemalin.bak"), QByteArray("old copy"));
        const QString error = readError(work.filePath("sxemalin.xml"));
        QCOMPARE(work.warnings(), QStringList({error, "Предупреждение|Нет данных о ключе схемы", error}));
    }

    // Elements between two records belong to no line: not loaded with the
    // record before them, not written back into it.
    void elementsOutsideARecord()
    {
        Scratch work;
        work.writeFile("sxemalin.xml", "<lines_sxemes><LinID npes=\"1\" nres=\"1\" nlin=\"1\"><Node key=\"1\"/></LinID>"
                                       "<Node key=\"stray\"/><Line key=\"stray\"/>"
                                       "<LinID npes=\"1\" nres=\"1\" nlin=\"2\"><Line key=\"2\"/></LinID>"
                                       "<Transf key=\"stray\"/></lines_sxemes>");
        NPES = NRES = NLIN = "1";
        auto elements = [](const SxemaLin& s) {
            QStringList keys;
            for (const QVector<QStringList>* list : {&s.nodes, &s.lines, &s.transf, &s.transf3})
                for (const QStringList& r : *list)
                    keys.append(r.at(list == &s.transf3 ? 7 : list == &s.transf ? 6 : list == &s.lines ? 1 : 4));
            return keys.join(',');
        };
        QCOMPARE(elements(ReadSxem()), QString("1"));
        NLIN = "2";
        QCOMPARE(elements(ReadSxem()), QString("2"));
        QVERIFY(saveSxemaXML(drawing({"1", "1", "3"})));
        QStringList saved;
        for (const SxemaLin& s : readSxemaFile().records)
            saved.append(s.key.join(',') + ':' + elements(s));
        QCOMPARE(saved, QStringList({"1,1,1:1", "1,1,2:2", "1,1,3:1"}));
        QVERIFY(!work.readFile("sxemalin.xml").contains("stray"));
    }
};

QTEST_GUILESS_MAIN(TestSxema)
#include "tst_sxema.moc"
