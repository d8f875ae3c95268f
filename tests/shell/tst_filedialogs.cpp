// Models in "net/" and archive copies in "arxives/" through the file dialogs; refusals keep live files safe.

#include "shell/CTool_DMS.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QDir>
#include <QtTest>
#include <array>
#include <memory>

// The program started on the example network; every question answered Yes.
struct Program : StartFolder
{
    MessageRecorder messages;
    std::unique_ptr<ZORVAN> window;

    Program()
    {
        copyExamples();
        messages.defaultAnswer = false;
        window.reset(new ZORVAN(nullptr));
        window->show();
        messages.clear();
    }
    // Runs a command, then OK in its file dialog after typing name (save, copy) or clicking its row (load).
    void run(void (ZORVAN::*command)(), const QString& name)
    {
        (window.get()->*command)();
        CFileDlg* dialog = window->findChild<CFileDlg*>();
        QVERIFY(dialog->isVisible());
        if (dialog->m_mode == CFileDlg::Load)
            dialog->FileList->setCurrentItem(dialog->FileList->findItems(name, Qt::MatchExactly).value(0));
        else
            dialog->lineEdit->setText(name);
        dialog->OK();
    }
};

class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }

    void modelSavedAndLoadedBack()
    {
        Program p;
        QWidget otherWindow;
        otherWindow.show();
        const Table original = ReadShablonXML("pes", attrPES, "PES");   // every table: see the model file tests
        p.run(&ZORVAN::slot_SaveModel, "Сеть 2026.xml");
        saveShablonXML("pes", attrPES, "PES", "net110_PES", Table{QStringList{"7", "Изменённая"}});
        p.run(&ZORVAN::slot_LoadModel, "Сеть 2026.xml");

        QCOMPARE(ReadShablonXML("pes", attrPES, "PES"), original);
        QVERIFY(p.readFile("pes.bak").contains("Изменённая"));
        QVERIFY(p.readFile("taskparam.xml").contains("Model=\"Сеть 2026.xml\""));
        QCOMPARE(p.messages.warnings(), QStringList({"Информация|Модель сети сохранена",
                                                     "Информация|Загружена новая сеть. Войдите в программу заново",
                                                     "Информация|Данные сохранены"}));
        QVERIFY(!p.window->isVisible() && !otherWindow.isVisible());
    }

    void archiveSavedAndLoadedBack()
    {
        Program p;
        const QByteArray archive("<ArxivPot>\n  <PoteriEn period=\"Март\"/>\n</ArxivPot>\n");
        p.writeFile("arxiv110.xml", archive);
        // The same name inside "arxives/" is another file, not the archive itself.
        p.run(&ZORVAN::slot_SaveModelA, "arxiv110.xml");
        QCOMPARE(p.readFile("arxives/arxiv110.xml"), archive);
        p.writeFile("arxiv110.xml", "<ArxivPot/>");
        p.run(&ZORVAN::slot_LoadModelA, "arxiv110.xml");
        QCOMPARE(p.readFile("arxiv110.xml"), archive);
        QCOMPARE(p.readFile("arxiv110.bak"), QByteArray("<ArxivPot/>"));   // its periods may be in no copy
        QCOMPARE(p.messages.warnings(),
                 QStringList({"Информация|Данные сохранены", "Информация|Загружен новый архив"}));
    }

    // Nothing changes and the program stays open.
    void refused_data()
    {
        QTest::addColumn<int>("command");   // load model, save model, save archive, load archive
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("source");   // the model to load or the live archive
        QTest::addColumn<QString>("warning");
        QTest::newRow("model without PES") << 0 << "m.xml" << QByteArray("<Net10><RES npes=\"9\"/></Net10>")
                                           << "Предупреждение|Ошибка чтения файла %1net/m.xml";
        QTest::newRow("no model chosen") << 0 << "" << QByteArray("<Net10><PES npes=\"9\"/></Net10>")
                                         << "|Файл не выбран";
        QTest::newRow("model over a table") << 1 << "../pes.xml" << QByteArray()
                                            << "Предупреждение|Невозможно создать файл -%1net/../pes.xml";
        QTest::newRow("archive onto itself") << 2 << "../arxiv110.xml" << QByteArray("live")
                                             << "Ошибка|Нельзя скопировать файл в себя";
        QTest::newRow("archive missing") << 2 << "keep.xml" << QByteArray()
                                         << "Предупреждение|Отсутствует файл -%1arxiv110.xml";
        QTest::newRow("archive blank name") << 2 << "  " << QByteArray("live") << "|Файл не выбран";
        QTest::newRow("archive load, no .bak") << 3 << "keep.xml" << QByteArray("live")
                                               << "Предупреждение|Невозможно создать файл -%1arxiv110.bak";
    }
    void refused()
    {
        QFETCH(int, command);
        QFETCH(QString, name);
        QFETCH(QByteArray, source);
        QFETCH(QString, warning);
        Program p;
        p.writeFile("arxives/keep.xml", "old copy");
        if (!source.isEmpty())
            p.writeFile(command == 0 ? "net/m.xml" : "arxiv110.xml", source);
        p.makeFolder(command == 3 ? "arxiv110.bak" : "net");
        const auto files = [&p] {
            QList<QByteArray> out;
            for (const char* file : {"pes.xml", "taskparam.xml", "arxiv110.xml", "arxives/keep.xml"})
                out << p.readFile(file);
            return out;
        };
        const QList<QByteArray> before = files();
        p.run(std::array<void (ZORVAN::*)(), 4>{&ZORVAN::slot_LoadModel, &ZORVAN::slot_SaveModel,
                                                 &ZORVAN::slot_SaveModelA, &ZORVAN::slot_LoadModelA}[command],
              name);
        QCOMPARE(p.messages.warnings(), QStringList{warning.arg(p.dataPath())});
        QCOMPARE(files(), before);
        QVERIFY(p.window->isVisible());
    }

    void deleteDialogListsAndRemoves()
    {
        Program p;
        for (const char* name : {"net/b.xml", "net/C.xml", "net/a.xml"})
            p.writeFile(name, "x");
        p.window->slot_DelModel();
        auto* dialog = p.window->findChild<CFileDelDlg*>();
        QCOMPARE(dialog->m_files, QStringList({"a.xml", "b.xml", "C.xml"}));
        dialog->FileList->setCurrentRow(1);
        dialog->OK();
        QCOMPARE(QDir(p.path() + "net").entryList(QDir::Files), QStringList({"a.xml", "C.xml"}));
    }
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
