// Network models in "net/" and loss archive copies in "arxives/" through the
// main window's file dialogs, and the refusals that keep live files safe.

#include "shell/CTool_DMS.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QtTest>
#include <memory>

namespace {

QList<Table> readModel()
{
    return {ReadShablonXML("pes", attrPES, "PES"),         ReadShablonXML("res", attrRES, "RES"),
            ReadShablonXML("lines", attrLin, "LIN"),       ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"),
            ReadShablonXML("kat_lin", attrL, "Wire"),      ReadShablonXML("kat_tr", attrTR, "Trans")};
}

// The program started on the example network; every question answered Yes.
struct Program
{
    StartFolder folder;
    MessageRecorder messages;
    std::unique_ptr<ZORVAN> window;

    Program()
    {
        folder.copyExamples();
        messages.defaultAnswer = false;
        window.reset(new ZORVAN(nullptr));
        window->show();
        messages.clear();
    }
    // OK in the file dialog after typing name (save, copy) or clicking its row (load).
    void ok(const QString& name)
    {
        CFileDlg* dialog = window->findChild<CFileDlg*>();
        QVERIFY(dialog->isVisible());
        if (dialog->m_mode == CFileDlg::Load) {
            const QList<QListWidgetItem*> items = dialog->FileList->findItems(name, Qt::MatchExactly);
            if (!items.isEmpty())
                dialog->FileList->setCurrentItem(items.first());
        } else {
            dialog->lineEdit->setText(name);
        }
        dialog->OK();
    }
};

} // namespace

class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }
    void modelSavedAndLoadedBack();
    void loadRefused_data();
    void loadRefused();
    void archiveSavedAndLoadedBack();
    void saveRefused_data();
    void saveRefused();
    void deleteDialog();
};

void TestFileDialogs::modelSavedAndLoadedBack()
{
    Program p;
    QWidget otherWindow;
    otherWindow.show();
    const QList<Table> original = readModel();

    p.window->slot_SaveModel();
    p.ok("Сеть 2026.xml");
    QCOMPARE(p.messages.warnings(), QStringList{"Информация|Модель сети сохранена"});

    saveShablonXML("pes", attrPES, "PES", "net110_PES", Table{QStringList{"7", "Изменённая"}});
    p.messages.clear();
    p.window->slot_LoadModel();
    p.ok("Сеть 2026.xml");

    QCOMPARE(readModel(), original);
    QVERIFY(p.folder.readFile("pes.bak").contains("Изменённая"));
    QVERIFY(p.folder.exists("kat_tr.bak"));
    QVERIFY(p.folder.readFile("taskparam.xml").contains("Model=\"Сеть 2026.xml\""));
    QCOMPARE(p.messages.warnings(),
             QStringList({"Информация|Загружена новая сеть. Войдите в программу заново",
                          "Информация|Данные сохранены"}));
    QVERIFY(!p.window->isVisible());
    QVERIFY(!otherWindow.isVisible());
}

void TestFileDialogs::loadRefused_data()
{
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("warning");
    const QString readError = "Предупреждение|Ошибка чтения файла %1net/m.xml";
    QTest::newRow("damaged") << QByteArray("<Net10><PES npes=\"9\"/><RES") << "m.xml" << readError;
    QTest::newRow("no PES") << QByteArray("<Net10><RES npes=\"9\"/></Net10>") << "m.xml" << readError;
    QTest::newRow("nothing chosen") << QByteArray("<Net10><PES npes=\"9\"/></Net10>") << ""
                                    << "|Файл не выбран";
}

void TestFileDialogs::loadRefused()
{
    QFETCH(QByteArray, model);
    QFETCH(QString, chosen);
    QFETCH(QString, warning);
    Program p;
    p.folder.writeFile("net/m.xml", model);
    const QByteArray pes = p.folder.readFile("pes.xml");
    const QByteArray settings = p.folder.readFile("taskparam.xml");

    p.window->slot_LoadModel();
    p.ok(chosen);

    QCOMPARE(p.messages.warnings(), QStringList{warning.arg(p.folder.dataPath())});
    QCOMPARE(p.folder.readFile("pes.xml"), pes);
    QCOMPARE(p.folder.readFile("taskparam.xml"), settings);
    QVERIFY(p.window->isVisible());
}

void TestFileDialogs::archiveSavedAndLoadedBack()
{
    Program p;
    const QByteArray archive("<ArxivPot>\n  <PoteriEn period=\"Март\"/>\n</ArxivPot>\n");
    p.folder.writeFile("arxiv110.xml", archive);

    // The same name inside "arxives/" is another file, not the archive itself.
    p.window->slot_SaveModelA();
    p.ok("arxiv110.xml");
    QCOMPARE(p.folder.readFile("arxives/arxiv110.xml"), archive);

    p.folder.writeFile("arxiv110.xml", "<ArxivPot/>");
    p.window->slot_LoadModelA();
    p.ok("arxiv110.xml");
    QCOMPARE(p.folder.readFile("arxiv110.xml"), archive);
    QVERIFY(!p.folder.exists("arxiv110.bak"));
    QCOMPARE(p.messages.warnings(),
             QStringList({"Информация|Данные сохранены", "Информация|Загружен новый архив"}));
}

void TestFileDialogs::saveRefused_data()
{
    QTest::addColumn<bool>("archive");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("sourceExists");
    QTest::addColumn<QString>("warning");
    QTest::newRow("archive onto itself") << true << "../arxiv110.xml" << true
                                         << "Ошибка|Нельзя скопировать файл в себя";
    QTest::newRow("archive missing") << true << "keep.xml" << false
                                     << "Предупреждение|Отсутствует файл -%1arxiv110.xml";
    QTest::newRow("archive blank name") << true << "  " << true << "|Файл не выбран";
    QTest::newRow("model over a table") << false << "../pes.xml" << true
                                        << "Предупреждение|Невозможно создать файл -%1net/../pes.xml";
}

void TestFileDialogs::saveRefused()
{
    QFETCH(bool, archive);
    QFETCH(QString, name);
    QFETCH(bool, sourceExists);
    QFETCH(QString, warning);
    Program p;
    p.folder.writeFile("arxives/keep.xml", "old copy");
    if (sourceExists)
        p.folder.writeFile("arxiv110.xml", "live archive");
    const QByteArray pes = p.folder.readFile("pes.xml");

    if (archive)
        p.window->slot_SaveModelA();
    else
        p.window->slot_SaveModel();
    p.ok(name);

    QCOMPARE(p.messages.warnings(), QStringList{warning.arg(p.folder.dataPath())});
    QCOMPARE(p.folder.readFile("arxiv110.xml"), QByteArray(sourceExists ? "live archive" : ""));
    QCOMPARE(p.folder.readFile("arxives/keep.xml"), QByteArray("old copy"));
    QCOMPARE(p.folder.readFile("pes.xml"), pes);
}

void TestFileDialogs::deleteDialog()
{
    Program p;
    for (const char* name : {"b.xml", "C.xml", "a.xml"})
        p.folder.writeFile(QString("net/") + name, "x");
    p.folder.makeFolder("net/sub");

    p.window->slot_DelModel();
    auto* dialog = p.window->findChild<CFileDelDlg*>();
    QCOMPARE(dialog->m_files, QStringList({"a.xml", "b.xml", "C.xml"}));
    dialog->FileList->setCurrentRow(1);
    p.messages.answers = {true, false};   // No, then Yes
    dialog->OK();
    QVERIFY(p.folder.exists("net/b.xml"));
    QVERIFY(dialog->isVisible());
    dialog->OK();
    QVERIFY(!p.folder.exists("net/b.xml"));
    QVERIFY(!dialog->isVisible());
}

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
