// Models in "net/" and archive copies in "arxives/" through the file dialogs; refusals keep live files safe.

#include "shellfixture.h"

// The program started on the example network; every question answered Yes.
struct Examples : Program
{
    Examples() { copyExamples(); messages.defaultAnswer = false; start().show(); messages.clear(); }
    // Runs a command, then OK in its file dialog with name typed (save, copy) or its row chosen (load).
    void run(const char* command, const QString& name)
    {
        QMetaObject::invokeMethod(window.get(), command);
        auto* dialog = window->findChild<CFileDlg*>();
        QVERIFY(dialog->isVisible());
        dialog->lineEdit->setText(name);
        dialog->FileList->setCurrentItem(dialog->FileList->findItems(name, Qt::MatchExactly).value(0));
        dialog->OK();
    }
};

class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    // A model saved in "net/" is listed for deletion with the others, letter case aside, and loaded back.
    void modelSavedListedAndLoadedBack()
    {
        Examples p;
        QWidget otherWindow;
        otherWindow.show();
        p.run("slot_SaveModel", "Сеть 2026.xml");
        for (const char* name : {"net/b.xml", "net/C.xml"})
            p.writeFile(name, "x");
        p.window->slot_DelModel();
        auto* dialog = p.window->findChild<CFileDelDlg*>();
        QCOMPARE(dialog->m_files, QStringList({"b.xml", "C.xml", "Сеть 2026.xml"}));
        dialog->FileList->setCurrentRow(1);
        dialog->OK();
        QCOMPARE(QDir(p.path() + "net").entryList(QDir::Files), QStringList({"b.xml", "Сеть 2026.xml"}));
        p.run("slot_LoadModel", "Сеть 2026.xml");   // what it restores: see the model file tests
        QVERIFY(p.readFile("taskparam.xml").contains("Model=\"Сеть 2026.xml\""));
        QCOMPARE(p.messages.warnings(), QStringList({"Информация|Модель сети сохранена",
                                                     "Информация|Загружена новая сеть. Войдите в программу заново",
                                                     "Информация|Данные сохранены"}));
        QVERIFY(!p.window->isVisible() && !otherWindow.isVisible());
    }

    // A window with edits asks before the model is replaced, not after: "Да" saves into the old
    // model, which the load then replaces; "Отмена" keeps the window and stops the load.
    void windowsCloseBeforeLoad_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Да") << int(SaveAnswer::Save);
        QTest::newRow("Отмена") << int(SaveAnswer::Cancel);
    }
    void windowsCloseBeforeLoad()
    {
        QFETCH(int, answer);
        Examples p;
        p.run("slot_SaveModel", "m.xml");
        const Table catalog = ReadShablonXML("kat_lin", attrL, "Wire");
        p.window->findChild<QPushButton*>("KatLin_Show")->click();
        QPointer<QDialog> editor = p.window->findChild<QDialog*>("CTableKatLine");
        editor->findChild<QPushButton*>("AddButton")->click();
        const QMap<QString, QByteArray> before = p.files();
        p.messages.clear();
        p.messages.saveAnswers = {SaveAnswer(answer)};
        p.run("slot_LoadModel", "m.xml");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (answer == int(SaveAnswer::Cancel)) {
            QCOMPARE(p.files(), before);
            QCOMPARE(p.messages.all(), QStringList({"Загрузка новой модели сети|Текущая модель сети будет заменена новой. Продолжить?",
                                                    "Сохранение|Сохранить изменения?"}));
            QVERIFY(p.window->isVisible() && editor && editor->isVisible());
            return;
        }
        QCOMPARE(ReadShablonXML("kat_lin", attrL, "Wire"), catalog);
        QCOMPARE(p.messages.warnings(), QStringList({"Информация|Данные сохранены",
                                                     "Информация|Загружена новая сеть. Войдите в программу заново",
                                                     "Информация|Данные сохранены"}));
        QVERIFY(!p.window->isVisible() && !editor);
    }

    // Settings that cannot be written after a load: the question on them comes, and whatever it
    // is answered the program ends, as the tree still shows the old model.
    void loadEndsTheRunWithoutSettings()
    {
        Examples p;
        p.run("slot_SaveModel", "m.xml");
        QDir(p.path()).rename("taskparam.xml", "taskparam.old");
        p.makeFolder("taskparam.xml");
        p.messages.clear();
        p.messages.saveAnswers = {SaveAnswer::Cancel};
        p.run("slot_LoadModel", "m.xml");
        QVERIFY(p.messages.all().contains("Сохранение|Сохранить изменения?"));
        QVERIFY(!p.window->isVisible());
    }

    void archiveSavedAndLoadedBack()
    {
        Examples p;
        const QByteArray archive("<ArxivPot>\n  <PoteriEn period=\"Март\"/>\n</ArxivPot>\n");
        p.writeFile("arxiv110.xml", archive);
        // The same name inside "arxives/" is another file, not the archive itself.
        p.run("slot_SaveModelA", "arxiv110.xml");
        QCOMPARE(p.readFile("arxives/arxiv110.xml"), archive);
        p.writeFile("arxiv110.xml", "<ArxivPot/>");
        p.run("slot_LoadModelA", "arxiv110.xml");
        QCOMPARE(p.readFile("arxiv110.xml"), archive);
        QCOMPARE(p.readFile("arxiv110.bak"), QByteArray("<ArxivPot/>"));   // its periods may be in no copy
        QCOMPARE(p.messages.warnings(),
                 QStringList({"Информация|Данные сохранены", "Информация|Загружен новый архив"}));
    }

    // No file changes and the program stays open.
    void refused_data()
    {
        QTest::addColumn<int>("command");   // load model, save model, save archive, load archive
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("sources");  // a model without PES in "net/" and the live archive
        QTest::addColumn<QString>("warning");
        QTest::newRow("model without PES") << 0 << "m.xml" << true << "Предупреждение|Ошибка чтения файла %1net/m.xml";
        QTest::newRow("no model chosen") << 0 << "" << true << "|Файл не выбран";
        QTest::newRow("model over a table") << 1 << "../pes.xml" << true
                                            << "Предупреждение|Невозможно создать файл -%1net/../pes.xml";
        QTest::newRow("archive onto itself") << 2 << "../arxiv110.xml" << true
                                             << "Ошибка|Нельзя скопировать файл в себя";
        QTest::newRow("archive missing") << 2 << "keep.xml" << false
                                         << "Предупреждение|Отсутствует файл -%1arxiv110.xml";
        QTest::newRow("archive blank name") << 2 << "  " << true << "|Файл не выбран";
        QTest::newRow("archive load, no .bak") << 3 << "keep.xml" << true
                                               << "Предупреждение|Невозможно создать файл -%1arxiv110.bak";
    }
    void refused()
    {
        QFETCH(int, command);
        QFETCH(QString, name);
        QFETCH(bool, sources);
        QFETCH(QString, warning);
        Examples p;
        p.writeFile("arxives/keep.xml", "old copy");
        if (sources) {
            p.writeFile("net/m.xml", "<Net10><RES npes=\"9\"/></Net10>");
            p.writeFile("arxiv110.xml", "live");
        }
        if (command == 3)
            p.makeFolder("arxiv110.bak");   // the archive replaced could be kept nowhere
        const QMap<QString, QByteArray> before = p.files();
        p.run(QList<const char*>{"slot_LoadModel", "slot_SaveModel", "slot_SaveModelA", "slot_LoadModelA"}[command],
              name);
        QCOMPARE(p.messages.warnings(), QStringList{warning.arg(p.dataPath())});
        QCOMPARE(p.files(), before);
        QVERIFY(p.window->isVisible());
    }

    // A copy in "arxives/" or a model in "net/" that is a link to a file out
    // of the working folder, or to a live file of it, is not loaded, and the
    // warning says where the file lies: it is there, and nothing is created.
    void loadThroughALinkOut_data()
    {
        QTest::addColumn<int>("command");    // load model, load archive
        QTest::addColumn<bool>("outside");   // else the live archive or PES table
        QTest::addColumn<QString>("warning");
        QTest::newRow("archive out of the working folder") << 3 << true
                                                           << "Предупреждение|Файл находится вне рабочей папки -%1arxives/link";
        QTest::newRow("archive, the live one") << 3 << false
                                               << "Предупреждение|Файл находится вне папки arxives -%1arxives/link";
        QTest::newRow("model out of the working folder") << 1 << true
                                                         << "Предупреждение|Файл находится вне рабочей папки -%1net/link";
        QTest::newRow("model, the live PES table") << 1 << false
                                                   << "Предупреждение|Файл находится вне папки net -%1net/link";
    }
    void loadThroughALinkOut()
    {
        QFETCH(int, command);
        QFETCH(bool, outside);
        QFETCH(QString, warning);
        Examples p;
        p.run("slot_SaveModel", "m.xml");
        p.writeFile("arxiv110.xml", "<ArxivPot/>");
        QTemporaryDir elsewhere;
        const QString folder = command == 3 ? "arxives/" : "net/";
        QString target = command == 3 ? p.filePath("arxiv110.xml") : p.filePath("pes.xml");
        if (outside) {
            target = elsewhere.filePath("copy.xml");
            QVERIFY(QFile::copy(p.filePath(command == 3 ? "arxiv110.xml" : "net/m.xml"), target));
        }
        QVERIFY(QFile::link(target, p.filePath(folder + "link")));
        const QMap<QString, QByteArray> before = p.files();
        p.messages.clear();
        p.run(command == 3 ? "slot_LoadModelA" : "slot_LoadModel", "link");
        QCOMPARE(p.messages.warnings(), QStringList{warning.arg(p.dataPath())});
        QCOMPARE(p.files(), before);
        QVERIFY(p.window->isVisible());
    }
};

QTEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
