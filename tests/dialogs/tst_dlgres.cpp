// The RES and PES dialogs on the examples: own object, "poteri.xml", archive button, uninterruptible run.

#include "calc/lossrun.h"
#include "dialogs/CDlgPES.h"
#include "dialogs/CDlgRES.h"
#include "dialogs/CSplashScreen.h"
#include "store/arxiv.h"

#include "calcglobals.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QtTest>

struct Examples : TempWorkDir { MessageRecorder rec; Examples() { copyExamples(); } };

static QStringList column(const QVector<QStringList>& rows, int i)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.value(i));
    return out;
}

class TestDlgRes : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); }

    void saveWritesOwnRowOnly()
    {
        Examples dir;
        CDlgRES dlg(QString(), nullptr);
        NRES = "2";   // another RES entered in the tree meanwhile
        // ... and another window renamed RES 3 meanwhile.
        Table rows = ReadShablonXML("res", attrRES, "RES");
        rows[2][2] = "Новый";
        saveShablonXML("res", attrRES, "RES", "net10_RES", rows);

        dlg.DnRES->setText("РЭС-1а");
        dlg.SpinTemp->setValue(18.5);
        dir.rec.answers = {false, false};   // Yes to each save
        dlg.slot_Save();
        rows[0] = QStringList{"1", "1", "Заречный РЭС", "РЭС-1а", "0", "18.5"};
        QCOMPARE(ReadShablonXML("res", attrRES, "RES"), rows);
        QCOMPARE(dir.rec.warnings(), QStringList{"Информация|Данные сохранены"});

        // A damaged table is not rewritten, and no success is claimed.
        dir.writeFile("res.xml", "<net10_RES><RES npes=\"1\"");
        dir.rec.clear();
        dlg.slot_Save();
        QCOMPARE(dir.readFile("res.xml"), QByteArray("<net10_RES><RES npes=\"1\""));
        QVERIFY(!dir.rec.warnings().contains("Информация|Данные сохранены"));
    }

    void runUsesOwnResAndCannotBeInterrupted()
    {
        Examples dir;
        dir.writeFile("poteri.xml", "<ArxivPot/>");   // an older result is never this window's
        Table res = ReadShablonXML("res", attrRES, "RES");
        res[0][4] = "1";
        res[0][5] = "-1000";   // shown, and used, as the spin box's lowest
        saveShablonXML("res", attrRES, "RES", "net10_RES", res);
        pMec = "3";
        pYear = "2026";
        pr_Bal = 1;
        QPointer<CDlgRES> dlg = new CDlgRES(QString(), nullptr);
        QVERIFY(dlg->SpinTemp->value() == -50.0 && !dlg->SaveArxRES->isEnabled());
        dlg->show();
        NRES = "2";
        pT_RES = 99.0;
        // A second press, the close box and Escape arrive while the run works.
        QMetaObject::invokeMethod(dlg, "slot_CalcRES", Qt::QueuedConnection);
        QMetaObject::invokeMethod(dlg, "close", Qt::QueuedConnection);
        QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
        dlg->slot_CalcRES();
        QCoreApplication::processEvents();

        QVERIFY(dlg && dlg->isVisible() && dlg->SaveArxRES->isEnabled());
        QCOMPARE(NRES, QString("1"));
        // One report, at the window's own temperature.
        QCOMPARE(dir.rec.texts(), QStringList{"Потери в сети 35-220 кВ Заречный РЭС"});
        QVERIFY(dir.readFile("html/Потери в сети 35-220 кВ Заречный РЭС.html").contains("Температура -50.0"));
        QCOMPARE(column(dlg->m_rows, 0), (QStringList{"1,1,1", "1,1,2", "1,1,3", "35kV", "110kV", "SUM"}));
        QVERIFY(dir.readFile("poteri.xml").contains("<PoteriEn period=\"3\" year=\"2026\" npes=\"1\" nres=\"1\" "
                                                    "type=\"100\">"));
        QCOMPARE(readArxivFile(dir.filePath("poteri.xml")).records.value(0).rows, dlg->m_rows);
        // Its characteristics are its own RES's too.
        NRES = "2";
        dlg->ParamRES->click();
        QVERIFY(dir.readFile("html/Параметры линий по Заречный РЭС.html").contains("Заречная - Сосновка"));

        // A result that cannot be written is never offered to the archive.
        QFile::remove(dir.filePath("poteri.xml"));
        QDir(dir.path()).mkdir("poteri.xml");
        dir.rec.clear();
        dlg->slot_CalcRES();
        QVERIFY(!dlg->SaveArxRES->isEnabled());
        QCOMPARE(dir.rec.warnings(), QStringList{"Ошибка|Невозможно создать файл -" + dir.filePath("poteri.xml")});
        delete dlg;
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

    // A damaged table, or a catalog gone while sections name its marks, gives
    // one warning naming the file and no figure: no result file, no archive
    // button, no report, in the windows and without them.
    void damagedTableGivesNoResult()
    {
        QFETCH(QString, file);
        QFETCH(QString, damage);
        Examples dir;
        const QByteArray bytes = dir.readFile(file);
        if (damage == "missing")
            QFile::remove(dir.filePath(file));
        else
            dir.writeFile(file, damage == "cut" ? bytes.left(bytes.size() / 2) : QByteArray());
        const auto oneWarningOnFile = [&] {
            const bool one = dir.rec.messages.size() == 1 && dir.rec.messages.first().kind == "warning"
                && dir.rec.messages.first().text.endsWith(dir.filePath(file));
            dir.rec.clear();
            return one;
        };
        CDlgPES pes("1", nullptr);
        dir.rec.clear();
        pes.slot_CalcPES();
        QVERIFY(oneWarningOnFile() && !pes.ArxivSave->isEnabled() && pes.CalcPES->isEnabled());
        QVERIFY(!dir.exists("poteri.xml"));
        if (file == "res.xml")
            return;
        const LossCollection run = runLossRES("1", "1", CalcTables::read());
        QVERIFY(run.refused && run.lineTotals.isEmpty() && oneWarningOnFile());
        CalcRadial line;   // the line window's calculation reads for itself: no totals, no report, no log
        line.CalcUR("1", 1, 1, 1);
        QVERIFY(line.m_totals.isEmpty() && line.m_messages.isEmpty() && oneWarningOnFile());
        CDlgRES dlg(QString(), nullptr);
        dir.rec.clear();
        dlg.slot_CalcRES();
        QVERIFY(oneWarningOnFile() && !dlg.SaveArxRES->isEnabled() && dlg.CalcRES->isEnabled());
        QVERIFY(!dir.exists("poteri.xml"));
    }

    void runHoldsItsData_data()
    {
        QTest::addColumn<bool>("pes");
        QTest::newRow("RES") << false;
        QTest::newRow("PES") << true;
    }

    // While a run works, nothing that would start it again or change its data
    // can be used: the window's own controls are disabled, every other window
    // is blocked by the work window. The window going while the work window
    // is first painted stops the run without touching it.
    void runHoldsItsData()
    {
        QFETCH(bool, pes);
        Examples dir;
        QPointer<QDialog> dlg = pes ? static_cast<QDialog*>(new CDlgPES("1", nullptr)) : new CDlgRES(QString(), nullptr);
        QList<QWidget*> controls;
        if (auto* res = qobject_cast<CDlgRES*>(dlg.data()))
            controls = {res->CalcRES, res->SaveArxRES, res->SaveButton, res->SpinTemp, res->checkTemp, res->DnRES};
        else if (auto* p = qobject_cast<CDlgPES*>(dlg.data()))
            controls = {p->CalcPES, p->ArxivSave, p->ParamPES};
        const auto enabled = [&controls] {
            QString states;
            for (QWidget* w : controls)
                states += w->isEnabled() ? '1' : '0';
            return states;
        };
        QString during;
        bool blocked = false;
        QMetaObject::invokeMethod(dlg.data(), [&] {
            during = enabled();
            blocked = QApplication::activeModalWidget() && QApplication::activeModalWidget() != dlg.data();
        }, Qt::QueuedConnection);
        QMetaObject::invokeMethod(dlg.data(), pes ? "slot_CalcPES" : "slot_CalcRES");
        QCOMPARE(during, QString(controls.size(), '0'));
        QVERIFY(blocked);
        QCOMPARE(enabled(), QString(controls.size(), '1'));

        QFile::remove(dir.filePath("poteri.xml"));
        QMetaObject::invokeMethod(qApp, [dlg] { delete dlg.data(); }, Qt::QueuedConnection);
        QMetaObject::invokeMethod(dlg.data(), pes ? "slot_CalcPES" : "slot_CalcRES");
        QVERIFY(dlg.isNull());
        QVERIFY(!dir.exists("poteri.xml"));
    }

    void pesRunWritesRowsPerResAndTotal()
    {
        Examples dir;
        CDlgPES dlg("1", nullptr);
        NPES = "2";   // another PES entered in the tree meanwhile
        dlg.slot_CalcPES();

        // Its own PES; NRES is left at the last RES, run at its own temperature.
        QCOMPARE(NPES + "," + NRES + "@" + QString::number(pT_RES), QString("1,3@-14.5"));
        QVERIFY(dlg.ArxivSave->isEnabled());
        const ResPoter record = readArxivFile(dir.filePath("poteri.xml")).records.value(0);
        QCOMPARE(record.npes + "/" + record.nres, QString("1/0"));
        QCOMPARE(record.rows, dlg.m_rows);
        const QStringList ids = column(dlg.m_rows, 0), names = column(dlg.m_rows, 1);
        QCOMPARE(ids.mid(0, 11) << ids.last(), (QStringList{"1,1,1", "1,1,2", "1,1,3", "B 1,1", "1,2,1", "1,2,2",
                                                            "1,2,3", "B 1,2", "1,3,1", "1,3,2", "B 1,3", "SUM"}));
        QCOMPARE(names.at(3) + "|" + names.last(), QString("Всего по Заречный РЭС|Всего по ПЭС"));
        NPES = "2";
        dlg.ParamPES->click();
        QCOMPARE(dir.rec.texts(), (QStringList{"Потери в сети 3-20 кВ Северные электрические сети",
                                               "Параметры линий по Северные электрические сети"}));
        QVERIFY(dir.readFile("html/Параметры линий по Северные электрические сети.html").contains("Заречная - Сосновка"));
    }

    // Three lines, the second with a mark the catalog lacks, the third in
    // series: the work window names each line as it goes, and the log holds
    // the messages of all three in line order.
    void runCollectsTheMessagesOfEveryLine()
    {
        TempWorkDir dir;
        MessageRecorder rec;
        saveShablonXML("res", attrRES, "RES", "r", {{"1", "1", "Р", "", "0", ""}});
        TestNetwork net;
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
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* splash = qobject_cast<CSplashScreen*>(w))
                    if (shown.value(shown.size() - 1, "-") != splash->m_pLabel->text())
                        shown.append(splash->m_pLabel->text());
        });
        watch.start(0);
        dlg.slot_CalcRES();
        QCOMPARE(shown, QStringList({"", "Расчет Л1", "Расчет Л2", "Расчет Л3"}));
        const QString rule = "--------------------- ";
        QCOMPARE(QString::fromUtf8(dir.readFile("Ошибки при расчете потерь.log")),
                 rule + "Л1 " + rule + "\n" + rule + "Л2 " + rule + "\n*** задана неверная марка Нет в ветви 0 -1\n"
                     + rule + "Л3 " + rule + "\n");
        QCOMPARE(rec.texts(), (QStringList{"Потери в сети 35-220 кВ Р", "Ошибки при расчете потерь.log"}));
    }
};

QTEST_MAIN(TestDlgRes)
#include "tst_dlgres.moc"
