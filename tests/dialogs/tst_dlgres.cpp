// The RES and PES dialogs on the examples: own object, "poteri.xml", archive button, uninterruptible run.

#include "calc/lossrun.h"
#include "dialogfixture.h"
#include "dialogs/CDlgPES.h"
#include "dialogs/CDlgRES.h"
#include "dialogs/CSplashScreen.h"
#include "store/arxiv.h"

#include <QTimer>

class TestDlgRes : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }

    // Another RES selected meanwhile: the window runs, reports and saves its own, the run at
    // the temperature shown and not interrupted by a second press, the close box or Escape.
    void runAndSaveKeepOwnRes()
    {
        Folder dir(true);
        Table res = ReadShablonXML("res", attrRES, "RES");
        res[0] = QStringList{"1", "1", "Заречный РЭС", "РЭС-1", "1", "-1000"};   // shown and used as -50
        saveShablonXML("res", attrRES, "RES", "net10_RES", res);
        pMec = "3";
        pYear = "2026";
        pr_Bal = 1;
        QPointer<CDlgRES> dlg = new CDlgRES(QString(), nullptr);
        QVERIFY(dlg->SpinTemp->value() == -50.0 && !dlg->SaveArxRES->isEnabled());   // no result of its own yet
        QCOMPARE(dlg->windowTitle() + "|" + dlg->DnRES->text() + "|" + dlg->nomRES->text(),
                 QString("Режимы работы на уровне Заречный РЭС|РЭС-1|1"));
        dlg->show();
        NRES = "2";
        pT_RES = 99.0;
        for (const char* slot : {"slot_CalcRES", "close", "reject"})
            QMetaObject::invokeMethod(dlg, slot, Qt::QueuedConnection);
        dlg->slot_CalcRES();
        QCoreApplication::processEvents();
        QVERIFY(dlg && dlg->isVisible() && dlg->SaveArxRES->isEnabled());
        QCOMPARE(NRES, QString("1"));
        QVERIFY(dir.readFile("html/Потери в сети 35-220 кВ Заречный РЭС.html").contains("Температура -50.0"));
        QCOMPARE(column(dlg->m_rows, 0), (QStringList{"1,1,1", "1,1,2", "1,1,3", "35kV", "110kV", "SUM"}));
        QVERIFY(dir.readFile("poteri.xml").contains(R"(<PoteriEn period="3" year="2026" npes="1" nres="1" type="100">)"));
        QCOMPARE(readArxivFile(dir.filePath("poteri.xml")).records.value(0).rows, dlg->m_rows);
        dlg->SaveArxRES->click();   // into the archive, here the first one: the result as it is
        QCOMPARE(dir.readFile("arxiv110.xml"), dir.readFile("poteri.xml"));

        NRES = "2";
        res[2][2] = "Новый";   // renamed by another window
        saveShablonXML("res", attrRES, "RES", "net10_RES", res);
        dlg->DnRES->setText("РЭС-1а");
        dlg->SpinTemp->setValue(18.5);
        dlg->slot_Save();
        res[0] = QStringList{"1", "1", "Заречный РЭС", "РЭС-1а", "1", "18.5"};
        QCOMPARE(ReadShablonXML("res", attrRES, "RES"), res);
        dlg->ParamRES->click();
        QVERIFY(dir.readFile("html/Параметры линий по Заречный РЭС.html").contains("Заречная - Сосновка"));
        QCOMPARE(dir.rec.all(), (QStringList{"html|Потери в сети 35-220 кВ Заречный РЭС", "Информация|Данные добалены в архив",
                                             "Сохранение|Сохранить изменения?", "Информация|Данные сохранены",
                                             "html|Параметры линий по Заречный РЭС"}));

        // No archive and no report for a result that cannot be written; a table without this RES,
        // or damaged, is not rewritten.
        const QString report = "html/Потери в сети 35-220 кВ Заречный РЭС.html";
        const QByteArray previous = dir.readFile(report);
        QFile::remove(dir.filePath("poteri.xml"));
        QDir(dir.path()).mkdir("poteri.xml");
        dir.rec.clear();
        dlg->slot_CalcRES();
        QVERIFY(!dlg->SaveArxRES->isEnabled() && dir.readFile(report) == previous);
        QDir(dir.path()).rmdir("poteri.xml");
        dlg->slot_CalcRES();
        // The run takes the temperature saved last.
        QVERIFY(dir.readFile(report).contains("Температура 18.5"));
        res.removeFirst();   // deleted in the tree meanwhile: not added again
        saveShablonXML("res", attrRES, "RES", "net10_RES", res);
        const QByteArray withoutIt = dir.readFile("res.xml");
        dlg->slot_Save();
        QCOMPARE(dir.readFile("res.xml"), withoutIt);
        dir.writeFile("res.xml", "<net10_RES><RES npes=\"1\"");
        dlg->slot_Save();
        QCOMPARE(dir.readFile("res.xml"), QByteArray("<net10_RES><RES npes=\"1\""));
        QCOMPARE(dir.rec.warnings(), (QStringList{"Ошибка|Невозможно создать файл -" + dir.filePath("poteri.xml"),
                                                  "Предупреждение|РЭС не найден в таблице РЭС, данные не сохранены",
                                                  "Предупреждение|Ошибка чтения файла " + dir.filePath("res.xml")}));
        delete dlg;
    }

    // The archive viewer of a RES window offers that RES's periods, not its PES's, whatever is selected meanwhile.
    void archiveViewerShowsItsRes()
    {
        Folder dir(true);
        const QString record = "<PoteriEn period=\"%1\" year=\"2026\" npes=\"1\" nres=\"%2\"><ResArxiv id=\"SUM\"/></PoteriEn>";
        dir.writeFile("arxiv110.xml", ("<ArxivPot>" + record.arg(3).arg(1) + record.arg(4).arg(0) + "</ArxivPot>").toUtf8());
        pYear = "2026";
        CDlgRES dlg(QString(), nullptr);
        NRES = "2";
        dlg.ArxivRES->click();
        auto* periods = dlg.m_pArxiv->findChild<QTableWidget*>("tableWidget");
        QList<int> enabled;
        for (int i = 0; i < 13; ++i) {
            if (periods->item(i, 1)->flags() & Qt::ItemIsUserCheckable)
                enabled << i + 1;
        }
        QCOMPARE(enabled, QList<int>{3});
        QCOMPARE(NRES, QString("1"));
    }

    void damagedTableGivesNoResult_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("damage");
        QTest::newRow("sections cut") << "uch_lin.xml" << "cut";
        QTest::newRow("lines cut") << "lines.xml" << "cut";
        QTest::newRow("wire catalog cut") << "kat_lin.xml" << "cut";
        QTest::newRow("wire catalog empty") << "kat_lin.xml" << "empty";
        QTest::newRow("transformer catalog missing") << "kat_tr.xml" << "missing";
        QTest::newRow("RES table cut") << "res.xml" << "cut";
    }
    // One warning naming the file and no figure, in the windows and without them.
    void damagedTableGivesNoResult()
    {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        Folder dir(true);
        CDlgPES pes("1", nullptr);
        CDlgRES res(QString(), nullptr);
        const QByteArray bytes = dir.readFile(file);
        QFile::remove(dir.filePath(file));
        if (damage != "missing")
            dir.writeFile(file, damage == "cut" ? bytes.left(bytes.size() / 2) : QByteArray());
        const auto oneWarningOnFile = [&] {
            const QList<RecordedMessage> m = dir.rec.messages;
            dir.rec.clear();
            return m.size() == 1 && m.first().kind == "warning" && m.first().text.endsWith(dir.filePath(file));
        };
        pes.slot_CalcPES();
        QVERIFY(oneWarningOnFile() && !pes.ArxivSave->isEnabled() && pes.CalcPES->isEnabled());
        if (file != "res.xml") {
            const LossCollection run = runLossRES("1", "1", CalcTables::read());
            QVERIFY(run.refused && run.lineTotals.isEmpty() && oneWarningOnFile());
            CalcRadial line;   // the line window's calculation: no totals, no report, no log
            line.CalcUR("1", 1, 1, 1);
            QVERIFY(line.m_totals.isEmpty() && line.m_messages.isEmpty() && oneWarningOnFile());
            res.slot_CalcRES();
            QVERIFY(oneWarningOnFile() && !res.SaveArxRES->isEnabled() && res.CalcRES->isEnabled());
        }
        QVERIFY(!dir.exists("poteri.xml"));
    }

    void runHoldsItsData_data()
    {
        QTest::addColumn<bool>("pes");
        QTest::addColumn<bool>("lineNamed");
        QTest::newRow("RES") << false << false;
        QTest::newRow("PES") << true << false;
        QTest::newRow("RES gone after a line") << false << true;
        QTest::newRow("PES gone after a line") << true << true;
    }
    // While a run works its window's controls are disabled and the work window blocks the
    // others; the window going while the work window is first painted, or once it has named a
    // line, stops the run untouched.
    void runHoldsItsData()
    {
        QFETCH(bool, pes);
        QFETCH(bool, lineNamed);
        Folder dir(true);
        CDlgPES* p = pes ? new CDlgPES("1", nullptr) : nullptr;
        CDlgRES* r = pes ? nullptr : new CDlgRES(QString(), nullptr);
        QPointer<QDialog> dlg = p ? static_cast<QDialog*>(p) : r;
        const QList<QWidget*> controls = p ? QList<QWidget*>{p->CalcPES, p->ArxivSave, p->ParamPES}
            : QList<QWidget*>{r->CalcRES, r->SaveArxRES, r->SaveButton, r->SpinTemp, r->checkTemp, r->DnRES};
        const auto state = [&] {
            QString enabled;
            for (QWidget* w : controls)
                enabled += w->isEnabled() ? '1' : '0';
            const QWidget* modal = QApplication::activeModalWidget();
            return enabled + (modal && modal != dlg ? " blocked" : "");
        };
        QString during;
        dlg->show();
        QMetaObject::invokeMethod(dlg.data(), [&] { during = state(); }, Qt::QueuedConnection);
        for (const char* slot : {"close", "reject"})   // the close box, Escape
            QMetaObject::invokeMethod(dlg.data(), slot, Qt::QueuedConnection);
        const char* run = pes ? "slot_CalcPES" : "slot_CalcRES";
        QMetaObject::invokeMethod(dlg.data(), run);
        QCoreApplication::processEvents();
        QVERIFY(dlg && dlg->isVisible());
        QCOMPARE(during, QString(controls.size(), '0') + " blocked");
        QCOMPARE(state(), QString(controls.size(), '1'));

        QFile::remove(dir.filePath("poteri.xml"));
        QTimer gone;
        connect(&gone, &QTimer::timeout, [&] {
            auto* splash = qobject_cast<CSplashScreen*>(QApplication::activeModalWidget());
            if (splash && (!lineNamed || !splash->m_pLabel->text().isEmpty()))
                delete dlg.data();
        });
        gone.start(0);
        QMetaObject::invokeMethod(dlg.data(), run);
        QVERIFY(dlg.isNull() && !dir.exists("poteri.xml"));
    }

    void nearlyFullDisk_data()
    {
        QTest::addColumn<bool>("pes");
        QTest::addColumn<bool>("errors");      // an unknown wire: the RES run writes its log
        QTest::addColumn<int>("freePages");    // -1: room enough
        QTest::newRow("RES with errors, room") << false << true << -1;
        QTest::newRow("RES without errors, room") << false << false << -1;
        QTest::newRow("PES, room") << true << false << -1;
        for (int pages = 0; pages <= 5; ++pages) {
            QTest::addRow("RES with errors, %d KB free", pages * 4) << false << true << pages;
            QTest::addRow("PES, %d KB free", pages * 4) << true << false << pages;
        }
    }
    // The result, its report and the RES's log land together or not at all, and are shown only
    // when they landed; after a run that did not land the window offers neither the older report
    // and log nor the older result for the archive, until one of its runs lands.
    void nearlyFullDisk()
    {
        QFETCH(bool, pes);
        QFETCH(bool, errors);
        QFETCH(int, freePages);
        Folder dir;
        SmallDisk disk(dir, 256);
        if (!disk.mounted())
            QSKIP("mounting a tmpfs needs root");
        dir.copyExamples();
        if (errors)
            dir.writeFile("uch_lin.xml", dir.readFile("uch_lin.xml").replace("\"АС-150/24\"", "\"Нет\""));
        pMec = "3";
        pYear = "2026";
        CDlgPES* p = pes ? new CDlgPES("1", nullptr) : nullptr;
        CDlgRES* r = pes ? nullptr : new CDlgRES(QString(), nullptr);
        const QScopedPointer<QDialog> dlg(p ? static_cast<QDialog*>(p) : r);
        const QString report = p ? p->reportName() : r->reportName(), log = "Ошибки при расчете потерь.log";
        const QStringList files = {"poteri.xml", "html/" + report + ".html", log};
        for (const QString& file : files)
            dir.writeFile(file, "old");
        const QList<QPushButton*> offers = p ? QList<QPushButton*>{p->ArxivSave, p->ShowPES}
                                             : QList<QPushButton*>{r->SaveArxRES, r->ShowRES, r->ErrorRES};
        QStringList warned;   // by the run itself
        QMap<QString, QByteArray> after;
        const auto run = [&] {
            dir.rec.clear();
            QMetaObject::invokeMethod(dlg.data(), p ? "slot_CalcPES" : "slot_CalcRES");
            warned = dir.rec.warnings();
            after = dir.files();
            QFile::remove(dir.filePath(".filler"));   // room for the merge
            QString enabled;
            for (QPushButton* offer : offers) {
                enabled += offer->isEnabled() ? '1' : '0';
                offer->click();   // a disabled button shows and merges nothing
            }
            return enabled;
        };

        const QMap<QString, QByteArray> before = dir.files();
        if (freePages >= 0) {
            disk.fill();
            QFile filler(dir.filePath(".filler"));
            QVERIFY(filler.resize(filler.size() - freePages * 4096));
        }
        QString enabled = run();
        QVERIFY(freePages != 0 || !warned.isEmpty());
        if (!warned.isEmpty()) {
            QCOMPARE(after, before);
            QCOMPARE(enabled, QString(offers.size(), '0'));
            QCOMPARE(dir.rec.all(), warned);   // nothing shown or merged
            QVERIFY(warned.size() == 1 && warned.first().contains("|Невозможно создать файл -" + dir.path()));
            enabled = run();   // room again
        }
        QCOMPARE(enabled, QString(offers.size(), '1'));
        // Shown by the run, then by the archive, report and log buttons.
        const QStringList shows = {"html|" + report, "|" + log};
        QCOMPARE(dir.rec.all(), shows.mid(0, errors ? 2 : 1) + QStringList{"Информация|Данные добалены в архив"}
                                    + shows.mid(0, offers.size() - 1));
        for (const QString& file : files)
            QVERIFY2((dir.readFile(file) == "old") == (file == log && !errors), qPrintable(file));
    }

    void pesRunWritesRowsPerResAndTotal()
    {
        Folder dir(true);
        pMec = "4";
        pYear = "2026";
        CDlgPES dlg("1", nullptr);
        QVERIFY(!dlg.ArxivSave->isEnabled());   // no result of its own yet
        QCOMPARE(dlg.windowTitle(), QString("Северные электрические сети"));
        NPES = "2";   // another PES entered in the tree meanwhile
        dlg.slot_CalcPES();
        // Its own PES; NRES is left at the last RES, run at its own temperature.
        QCOMPARE(NPES + "," + NRES + "@" + QString::number(pT_RES), QString("1,3@-14.5"));
        const ResPoter record = readArxivFile(dir.filePath("poteri.xml")).records.value(0);
        QCOMPARE(record.npes + "/" + record.nres, QString("1/0"));
        QCOMPARE(record.rows, dlg.m_rows);
        dlg.ArxivSave->click();
        QCOMPARE(dir.readFile("arxiv110.xml"), dir.readFile("poteri.xml"));
        const QStringList ids = column(dlg.m_rows, 0);
        QCOMPARE(ids.mid(0, 11) << ids.last(), (QStringList{"1,1,1", "1,1,2", "1,1,3", "B 1,1", "1,2,1", "1,2,2",
                                                            "1,2,3", "B 1,2", "1,3,1", "1,3,2", "B 1,3", "SUM"}));
        NPES = "2";
        dlg.ShowPES->click();
        dlg.ParamPES->click();
        const QString report = "html|Потери в сети 3-20 кВ Северные электрические сети";
        QCOMPARE(dir.rec.all(), (QStringList{report, "Информация|Данные добалены в архив", report,
                                             "html|Параметры линий по Северные электрические сети"}));
        QVERIFY(dir.readFile("html/Параметры линий по Северные электрические сети.html").contains("Заречная - Сосновка"));
    }

    // The work window names each line as it goes; the log holds every line's messages in order,
    // the result its RES's codes.
    void runCollectsTheMessagesOfEveryLine()
    {
        Folder dir;
        saveShablonXML("res", attrRES, "RES", "r", {{"1", "2", "Р", "", "0", ""}});
        NRES = "2";
        TestNetwork net;
        net.nres = "2";
        net.addWire("W", "120", "0", "0.25", "0.4");
        for (const QString n : {"1", "2", "3"}) {
            net.addLine(n, "Л" + n);
            net.addSection(n, 0, 1, n == "2" ? "Нет" : "W", 1);
        }
        net.setLine("3", "sost", "1");
        net.write();
        CDlgRES dlg(QString(), nullptr);
        QStringList shown;   // the work window's text at each turn of the event loop
        QTimer watch;
        connect(&watch, &QTimer::timeout, [&shown] {
            if (auto* splash = qobject_cast<CSplashScreen*>(QApplication::activeModalWidget()))
                if (shown.isEmpty() || shown.last() != splash->m_pLabel->text())
                    shown.append(splash->m_pLabel->text());
        });
        watch.start(0);
        dlg.slot_CalcRES();
        QCOMPARE(shown, QStringList({"", "Расчет Л1", "Расчет Л2", "Расчет Л3"}));
        const QString rule = "--------------------- ";
        QCOMPARE(QString::fromUtf8(dir.readFile("Ошибки при расчете потерь.log")),
                 rule + "Л1 " + rule + "\n" + rule + "Л2 " + rule + "\n*** задана неверная марка Нет в ветви 0 -1\n"
                     + rule + "Л3 " + rule + "\n");
        const QStringList files = {"html|Потери в сети 35-220 кВ Р", "|Ошибки при расчете потерь.log"};
        QCOMPARE(dir.rec.all(), files);
        dlg.ShowRES->click();   // both shown again
        dlg.ErrorRES->click();
        QCOMPARE(dir.rec.all(), files + files);
        const ResPoter record = readArxivFile(dir.filePath("poteri.xml")).records.value(0);
        QCOMPARE(record.npes + "/" + record.nres + " " + record.rows.value(0).value(1), QString("1/2 Л1"));
    }

    // Only fields changed here are saved: a name the tree gave meanwhile stays; a RES deleted
    // meanwhile is not written back.
    void keepsWhatOthersSaved_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("renamed in the tree") << false;
        QTest::newRow("deleted") << true;
    }
    void keepsWhatOthersSaved()
    {
        QFETCH(bool, deleted);
        Folder dir(true);
        NPES = NRES = "1";
        CDlgRES dlg(QString(), nullptr);
        if (deleted)
            DeleteObj(1, "1", "1", "");
        else
            UpdateObj(1, "Из дерева", "1", "1", "");
        dlg.DnRES->setText("РЭС-1а");
        const QByteArray before = dir.readFile("res.xml");
        dir.rec.clear();
        dlg.SaveButton->click();
        if (deleted) {
            QCOMPARE(dir.rec.warnings(), QStringList{"Предупреждение|РЭС не найден в таблице РЭС, данные не сохранены"});
            QCOMPARE(dir.readFile("res.xml"), before);
            return;
        }
        QCOMPARE(ReadShablonXML("res", attrRES, "RES").value(0).mid(2, 2), QStringList({"Из дерева", "РЭС-1а"}));
    }
};

QTEST_MAIN(TestDlgRes)
#include "tst_dlgres.moc"
