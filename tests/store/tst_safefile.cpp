// Safe writes: every writer on a full disk, operations over several files, a failed commit put back.

#include "store/SaveInfo.h"
#include "store/arxiv.h"
#include "store/xmlfile.h"
#include "storetest.h"

// The examples with a model, every table's .bak, schemes, an archive of two
// periods with its .bak and the result of a third; line 1,1,1 current.
static void prepareNetwork(const TempWorkDir& dir)
{
    NPES = NRES = NLIN = "1";
    dir.copyExamples();
    CreateNet(dir.filePath("net/model"));
    LoadNet(dir.filePath("net/model"));
    saveSxemaXML(drawing({"1", "1", "1"}));
    saveSxemaXML(drawing({"1", "1", "2"}));
    const QStringList row = QStringList({"SUM", "Итого"}) + QVector<QString>(16, "1.000").toList();
    for (const QString period : {"1", "2", "3"}) {
        writeArxivFile(ZORVAN_PATH + "poteri.xml", {{"2026", period, "1", "1", "000", {row}}});
        if (period != "3")
            SaveArxiv();
    }
}

// Every command that writes, by name; each returns whether it reported success.
static QMap<QString, std::function<bool()>> commands()
{
    return {
        {"table", [] { return saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "П"}}); }},
        {"own row", [] {
             OwnRow row{{"1", "П"}, {"1", "П"}, {"1", "П2"}};
             return saveOwnRow("pes", attrPES, "PES", "r", row, 1) == OwnRowSave::Saved;
         }},
        {"new line", [] { return CreateNewObj(2) != 1; }},
        {"rename", [] { return UpdateObj(0, "П", NPES, NRES, NLIN) != 0; }},
        {"paste RES", [] { return InsertObj({"1", "2"}) != 0; }},
        {"paste line", [] { return InsertObj({"1", "1", "2"}) != 0; }},
        {"move RES", [] { return ChangeObj({"1", "2"}) == 0; }},
        {"move line", [] { return ChangeObj({"1", "1", "3"}) == 0; }},
        {"delete", [] { return DeleteObj(1, NPES, NRES, NLIN) != 1; }},
        {"save model", [] { return CreateNet(ZORVAN_PATH + "net/model"); }},
        {"load model", [] { return LoadNet(ZORVAN_PATH + "net/model") == 0; }},
        {"scheme", [] { return saveSxemaXML(drawing({"1", "1", "1"})); }},
        {"merge", [] { return SaveArxiv(); }},
        {"merge again", [] { return SaveArxiv(); }},
        {"report", [] { return HtmlBody("Отчет", "Февраль", {"<tr><td>1</td></tr>"}, 1); }},
        {"log", [] { return SaveLog("Ошибки.log", {"другая строка"}); }},
        {"workbook", [] { return SaveXlsx(ZORVAN_PATH + "book.xlsx", {{"1", "2"}}); }},
        {"csv", [] { SaveCsv(ZORVAN_PATH + "table.csv", {{"1", "2"}}, "a;b"); return false; }},
    };
}

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    // On a full disk every command warns once, none reports success, every
    // file stays as it was (.bak copies too) and no temporary file is left.
    void fullDiskChangesNothing()
    {
        Scratch work;
        SmallDisk disk(work, 1024);
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        prepareNetwork(work);
        for (const char* old : {"html/Отчет.html", "Ошибки.log", "book.xlsx", "table.csv"})
            work.writeFile(old, "old");
        const QMap<QString, QByteArray> before = work.files();
        QVERIFY(before.contains("arxiv110.bak") && before.contains("sxemalin.bak") && before.contains("pes.bak"));
        disk.fill();
        work.clear();

        QStringList faults;   // commands that reported success or did not warn exactly once
        for (const QString& command : commands().keys()) {
            const int warned = work.warnings().size();
            if (commands().value(command)() || work.warnings().size() != warned + 1)
                faults.append(command);
        }
        // The settings and the archive copy: their callers warn.
        QVERIFY(!writeXmlDocument(work.filePath("taskparam.xml"), "TaskTool", {}));
        QVERIFY(!writeBytes(work.filePath("arxives/copy"), "bytes"));
        QCOMPARE(faults, QStringList());
        QVERIFY(!work.warnings().join('\n').contains("Информация|"));
        QCOMPARE(work.files(), before);
    }

    // One target of several cannot be written: none changes, no success, and
    // one warning names the file that could not be made, a table or its .bak.
    void severalFilesAllOrNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("folder");   // made a folder before the command, and named by the warning
        QTest::newRow("load a model") << "load model" << "lines.xml";
        QTest::newRow("delete a RES") << "delete" << "uch_lin.bak";
        QTest::newRow("paste a RES") << "paste RES" << "uch_lin.bak";
        QTest::newRow("move a RES") << "move RES" << "uch_lin.bak";
        QTest::newRow("merge into the archive") << "merge" << "arxiv110.bak";
        QTest::newRow("save a table") << "table" << "pes.bak";
        QTest::newRow("save a scheme") << "scheme" << "sxemalin.bak";
    }

    void severalFilesAllOrNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, folder);
        Scratch work;
        prepareNetwork(work);
        saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "не из модели"}});
        QFile::remove(work.filePath(folder));
        QVERIFY(QDir().mkpath(work.filePath(folder + "/x")));
        const QMap<QString, QByteArray> before = work.files();
        work.clear();
        QVERIFY(!commands().value(command)());
        QCOMPARE(work.files(), before);
        QCOMPARE(work.warnings(), QStringList(cannotCreate(work.filePath(folder))));
    }

    // A name built from an object's name may be a link: one that leads out of its folder (or
    // nowhere) is refused and its target stays; one to a file beside it is written through.
    void linkOutOfFolderRefused_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("report") << "report" << "html/Отчет.html" << "Предупреждение";
        QTest::newRow("log") << "log" << "Ошибки.log" << "Предупреждение";
        QTest::newRow("workbook") << "workbook" << "book.xlsx" << "Ошибка";
        QTest::newRow("csv") << "csv" << "table.csv" << "Предупреждение";
    }

    void linkOutOfFolderRefused()
    {
        QFETCH(QString, command);
        QFETCH(QString, name);
        QFETCH(QString, title);
        Scratch work;
        TempWorkDir elsewhere;   // the data path goes back to work when it ends
        ZORVAN_PATH = work.path();
        elsewhere.writeFile("чужой", "чужой файл");
        const QString path = work.filePath(name);
        work.writeFile(name, "old");
        for (const QString& target : {elsewhere.filePath("чужой"), elsewhere.filePath("нет такого")}) {
            QVERIFY(QFile::remove(path) && QFile::link(target, path));
            work.clear();
            commands().value(command)();
            QCOMPARE(work.texts(), QStringList("Невозможно создать файл -" + path));
            QCOMPARE(work.warnings().value(0).section('|', 0, 0), title);
            QCOMPARE(QFileInfo(path).symLinkTarget(), target);
        }
        QCOMPARE(elsewhere.files(), (QMap<QString, QByteArray>{{"чужой", "чужой файл"}}));

        const QString beside = QFileInfo(name).path() + "/рядом";
        work.writeFile(beside, "old");
        QVERIFY(QFile::remove(path) && QFile::link(work.filePath(beside), path));
        work.clear();
        commands().value(command)();
        QVERIFY(!work.warnings().join('\n').contains("Невозможно создать файл"));
        QVERIFY(work.readFile(beside) != "old");
    }

    // The third rename fails (its folder is gone): the others are undone.
    void failedCommitPutsBackWhatItReplaced()
    {
        TempWorkDir dir;
        dir.writeFile("old", "old contents");
        QVERIFY(QDir().mkpath(dir.filePath("sub")));
        StagedFiles files;
        for (const char* name : {"new", "old", "sub/late", "never"})
            QVERIFY(files.stageBytes(dir.filePath(name), "new contents"));
        QVERIFY(QDir(dir.filePath("sub")).removeRecursively());
        QVERIFY(!files.commit());
        QCOMPARE(files.failedPath(), dir.filePath("sub/late"));
        QCOMPARE(files.unrestored(), QStringList());
        QCOMPARE(dir.files(), (QMap<QString, QByteArray>{{"old", "old contents"}}));
    }
};

QTEST_GUILESS_MAIN(TestSafeFile)
#include "tst_safefile.moc"
