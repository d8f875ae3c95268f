// The line dialog: its record loaded and saved, the protocol-mode run, its own line kept.

#include "dialogfixture.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgTblUchLIN.h"

// Line 1 (attrLin values from "name" on; by default a fill factor of 0, which the calculation
// corrects and logs) between two lines of its RES, with one 35 kV transformer.
static TestNetwork network(const QString& line1 = "ВЛ-1||0|35|35|35|0.5|0|1|0.5|0|0|0|0")
{
    saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "РЭС-1", "1", "-5.5"}});
    TestNetwork net;
    net.addLine("2", "ВЛ-2", 110);
    net.lines.append(QStringList{"1", "1", "1"} + line1.split('|'));
    net.addLine("3", "ВЛ-3", 110);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 4.5);
    net.addTrans("1", 1, 2, "ТМН-2500/35", 1.2, 0.5, 800, 300);
    return net;
}

class TestDlgLin : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 7; }

    void loadAndSave_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<double>("unom");   // UNOM after loading
        const QString asStored = "ВЛ-1|Л-1|1.5|110|117|114|0.45|0.72|1.08|0.85|1|0|1|1";
        QTest::newRow("as stored") << asStored << asStored << 110.0;
        QTest::newRow("clamped by the fields") << "ВЛ-1||400|0|600||abc|||||1|0|2"
                                               << "ВЛ-1||366|35|550|35|0|0|1|0|0|1|0|0" << 0.0;
    }
    void loadAndSave()
    {
        QFETCH(QString, stored);
        QFETCH(QString, saved);
        Folder f;
        TestNetwork net = network(stored);
        net.write();
        CDlgLIN dlg("1,1,1", nullptr);
        QCOMPARE(pT_RES, -5.5);
        QTEST(UNOM, "unom");
        dlg.SaveButton->click();
        QCOMPARE(f.rec.warnings(), QStringList({"Информация|Данные сохранены"}));
        net.lines[1] = QStringList({"1", "1", "1"}) + saved.split('|');
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
    }

    // Another line's window opened after it: it calculates in protocol mode, reports, saves and
    // edits the sections of its own line; its owner going takes it and its sections editor.
    void keepsItsOwnLine()
    {
        Folder f;
        TestNetwork net = network();
        net.addSection("2", 0, 1, "АС-70", 9);
        net.write();
        auto* owner = new QWidget;
        QPointer<CDlgLIN> first = new CDlgLIN("1,1,1", owner);
        first->show();
        first->InfoUchLin->click();
        QPointer<CDlgTblUchLIN> sections = first->m_pTblUchLIN;
        QVERIFY(sections && sections->isVisible());
        NLIN = "2";
        UNOM = 110;
        CDlgLIN second("1,1,2", nullptr);
        first->CalcLin->click();
        QCOMPARE(NLIN, QString("1"));
        QCOMPARE(f.rec.texts(), QStringList({"Информация по участкам линии ВЛ-1",
                                             "Ошибки при расчете потерь.log", "Потери по линии ВЛ-1"}));
        QVERIFY(f.exists("html/Потери по линии ВЛ-1.html"));
        QVERIFY(QString::fromUtf8(f.readFile("Ошибки при расчете потерь.log"))
                    .contains("* Коэффициент заполнения графика задан неверно, принят 0.5"));
        NLIN = "2";
        first->ParamLin->click();   // a 2500 kVA group
        QVERIFY(f.readFile("html/Параметры линии ВЛ-1.html").contains("<td align='center'>2500</span>"));
        NLIN = "2";
        first->NazvLIN->setText("ВЛ-1 новая");
        first->SaveButton->click();
        sections->slot_addTrans();
        sections->SaveButton->click();
        net.lines[1][3] = "ВЛ-1 новая";
        QCOMPARE(ReadShablonXML("lines", attrLin, "LIN"), net.lines);
        QCOMPARE(ReadShablonXML("uch_lin", {"nlin"}, "UCH_LIN"), (Table{{"1"}, {"1"}, {"1"}, {"2"}}));

        // The line is gone from the table meanwhile: nothing is added, no success claimed.
        net.lines.removeAt(1);
        net.write();
        const QByteArray without = f.readFile("lines.xml");
        f.rec.clear();
        first->SaveButton->click();
        QCOMPARE(f.rec.warnings(), QStringList{"Предупреждение|Линия не найдена в таблице линий, данные не сохранены"});
        QCOMPARE(f.readFile("lines.xml"), without);
        delete owner;
        QVERIFY(!first && !sections);
    }
};

QTEST_MAIN(TestDlgLin)
#include "tst_dlglin.moc"
