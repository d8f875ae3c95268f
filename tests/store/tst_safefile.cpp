// Safe writes: every writer on a full disk, operations over several files,
// and putting back what a failed commit had replaced.

#include "store/SaveInfo.h"
#include "store/arxiv.h"
#include "store/readregim.h"
#include "store/safefile.h"
#include "store/sxema.h"
#include "store/xmlfile.h"
#include "testsupport.h"

#include <QDir>
#include <QtTest>

#include <functional>

namespace {

SxemaLin scheme(const QString& nlin)
{
    return {{"1", "1", nlin, "rgb(1,1,1)"}, {{"1", "2", "3", "4", "1", "5", "6", "0"}}, {}, {}, {}};
}

// The example network with a saved model, .bak copies of every table, schemes,
// an archive of two periods with its .bak and the result of a third.
void prepareNetwork(const TempWorkDir& dir)
{
    dir.copyExamples();
    CreateNet(dir.filePath("net/model"));
    LoadNet(dir.filePath("net/model"));
    saveSxemaXML(scheme("1"));
    saveSxemaXML(scheme("2"));
    const QStringList row = QStringList({"SUM", "Итого"}) + QVector<QString>(16, "1.000").toList();
    for (const QString period : {"1", "2", "3"}) {
        writeArxivFile(ZORVAN_PATH + "poteri.xml", {{"2026", period, "1", "1", "000", {row}}});
        if (period != "3")
            SaveArxiv();
    }
}

// Every command that writes, by name; each returns whether it reported
// success. They work on the current object and the data path.
QMap<QString, std::function<bool()>> commands()
{
    return {
        {"table", [] { return saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "П"}}); }},
        {"own row", [] { return saveOwnRow("pes", attrPES, "PES", "r", {"1", "П"}, 1) == OwnRowSave::Saved; }},
        {"new PES", [] { return CreateNewObj(0) != 1; }},
        {"new RES", [] { return CreateNewObj(1) != 1; }},
        {"new line", [] { return CreateNewObj(2) != 1; }},
        {"rename", [] { return UpdateObj(0, "П", NPES, NRES, NLIN) != 0; }},
        {"paste RES", [] { return InsertObj({"1", "2"}) != 0; }},
        {"paste line", [] { return InsertObj({"1", "1", "2"}) != 0; }},
        {"move RES", [] { return ChangeObj({"1", "2"}) == 0; }},
        {"move line", [] { return ChangeObj({"1", "1", "3"}) == 0; }},
        {"delete", [] { return DeleteObj(1, NPES, NRES, NLIN) != 1; }},
        {"save model", [] { return CreateNet(ZORVAN_PATH + "net/model"); }},
        {"load model", [] { return LoadNet(ZORVAN_PATH + "net/model") == 0; }},
        {"scheme", [] { return saveSxemaXML(scheme("1")); }},
        {"merge", [] { return SaveArxiv(); }},
        {"merge again", [] { return SaveArxiv(); }},
        {"report", [] { return HtmlBody("Отчет", "Февраль", {"<tr><td>1</td></tr>"}, 1); }},
        {"log", [] { return SaveLog("Ошибки.log", {"другая строка"}); }},
        {"workbook", [] { return SaveXlsx(ZORVAN_PATH + "book.xlsx", {{"1", "2"}}); }},
        {"csv", [] { SaveCsv(ZORVAN_PATH + "table.csv", {{"1", "2"}}, "a;b"); return false; }},
    };
}

} // namespace

class TestSafeFile : public QObject
{
    Q_OBJECT

private slots:
    // On a full disk every command warns once, none reports success, every
    // file stays as it was (.bak copies too) and no temporary file is left.
    void fullDiskChangesNothing()
    {
        TempWorkDir dir;
        SmallDisk disk(dir, 1024);
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        MessageRecorder rec;
        prepareNetwork(dir);
        HtmlBody("Отчет", "Январь", {"<tr></tr>"}, 0);
        SaveLog("Ошибки.log", {"строка"});
        SaveXlsx(dir.filePath("book.xlsx"), {{"a", "b"}});
        SaveCsv(dir.filePath("table.csv"), {{"a", "b"}}, "a;b");
        const QMap<QString, QByteArray> before = dir.files();
        QVERIFY(before.contains("arxiv110.bak") && before.contains("sxemalin.bak") && before.contains("pes.bak"));
        disk.fill();
        rec.clear();

        NPES = NRES = NLIN = "1";
        QStringList reportedSuccess, notWarnedOnce;
        const auto all = commands();
        for (auto command = all.cbegin(); command != all.cend(); ++command) {
            const int messages = rec.warnings().size();
            if (command.value()())
                reportedSuccess.append(command.key());
            if (rec.warnings().size() != messages + 1)
                notWarnedOnce.append(command.key());
        }
        // The settings and the archive copy: their callers warn.
        QVERIFY(!writeXmlDocument(dir.filePath("taskparam.xml"), "TaskTool", {}));
        QVERIFY(!writeBytes(dir.filePath("arxives/copy"), "bytes"));
        QCOMPARE(reportedSuccess, QStringList());
        QCOMPARE(notWarnedOnce, QStringList());
        QVERIFY(!rec.warnings().join('\n').contains("Информация|"));
        QCOMPARE(dir.files(), before);
    }

    // One target of several cannot be written: none of them changes, the
    // operation warns once and reports no success.
    void severalFilesAllOrNothing_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("folder");   // made a folder before the command
        QTest::newRow("load a model") << "load model" << "lines.xml";
        QTest::newRow("delete a RES") << "delete" << "uch_lin.bak";
        QTest::newRow("paste a RES") << "paste RES" << "uch_lin.bak";
        QTest::newRow("move a RES") << "move RES" << "uch_lin.bak";
        QTest::newRow("merge into the archive") << "merge" << "arxiv110.bak";
    }

    void severalFilesAllOrNothing()
    {
        QFETCH(QString, command);
        QFETCH(QString, folder);
        TempWorkDir dir;
        MessageRecorder rec;
        prepareNetwork(dir);
        saveShablonXML("pes", attrPES, "PES", "net110_PES", {{"1", "не из модели"}});
        QFile::remove(dir.filePath(folder));
        QVERIFY(QDir().mkpath(dir.filePath(folder + "/x")));
        const QMap<QString, QByteArray> before = dir.files();
        rec.clear();
        NPES = NRES = NLIN = "1";
        QVERIFY(!commands().value(command)());
        QCOMPARE(dir.files(), before);
        QCOMPARE(rec.warnings(), QStringList("Предупреждение|Невозможно создать файл -" + dir.filePath(folder)));
    }

    // Model and archive names: a link or a path that leads out of the folder
    // resolves to nothing, so nothing is read or written through it.
    void realPathStaysInItsFolder_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");   // relative to the data path; empty: refused
        QTest::newRow("a link inside") << "net/inside" << "net/m";
        QTest::newRow("a link to nowhere") << "net/nowhere" << "";
        QTest::newRow("up and out") << "net/../pes.xml" << "";
        QTest::newRow("the folder itself") << "net/." << "";
    }

    void realPathStaysInItsFolder()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        TempWorkDir dir;
        dir.writeFile("net/m", "model");
        QFile::link("m", dir.filePath("net/inside"));
        QFile::link("../gone.xml", dir.filePath("net/nowhere"));
        QCOMPARE(realPathInFolder(dir.filePath("net"), dir.filePath(name)),
                 expected.isEmpty() ? QString() : QDir(dir.path()).canonicalPath() + "/" + expected);
    }

    // A rename fails after others succeeded (the third target's folder is
    // gone): those are put back, a new file removed again.
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
