// The sections editor: show, sort and save give the rows back; keys numbered; the last row deleted.

#include "calcglobals.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

struct Folder : TempWorkDir { MessageRecorder rec; Folder() { rec.defaultAnswer = false; } };   // all Yes

// Line 1 first in the file, then a row of line 2, so that a save of line 1
// gives the file back in its own order.
static TestNetwork network()
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addWire("АС-50", "50", "0", "0.6", "0.45");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 1234.5, "1");
    net.addTrans("1", 1, 2, "ТДН-старый", 1.2, 0.5, 800, 300)[9] = "";
    net.addSection("1", 1, 3, "АС-50", 2.25)[16] = "1";
    net.addTrans("1", 3, 4, "ТМН-2500/35", 0.4)[9] = "";
    net.addSection("2", 0, 1, "АС-70", 9);
    return net;
}

// The network with one cell of its sections changed, written.
static void writeNetworkWith(int row, int column, const QString& value)
{
    TestNetwork net = network();
    net.sections[row][column] = value;
    net.write();
}

class TestTblUchLin : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 35; }

    void saveGivesRowsBack_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("saved");
        QTest::newRow("unchanged") << QStringList{"1", "2", "3", "4"} << QStringList{"1", "2", "3", "4"};
        QTest::newRow("keys numbered") << QStringList{"3", "0", "7", ""} << QStringList{"3", "8", "7", "9"};
    }
    void saveGivesRowsBack()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, saved);
        Folder f;
        TestNetwork net = network();
        const auto writeKeys = [&net](const QStringList& k) {
            for (int i = 0; i < 4; ++i)
                net.sections[i][17] = k.at(i);
            net.write();
        };
        writeKeys(saved);
        const QByteArray expected = withoutStamp(f.readFile("uch_lin.xml"));
        writeKeys(keys);

        CDlgTblUchLIN dlg(nullptr);
        // Rows with a mark the catalog no longer lists, a length beyond the field,
        // flags set: shown one by one in another order, none of them changes.
        dlg.tableWgt->sortItems(5, Qt::DescendingOrder);
        for (int r = 0; r < 4; ++r)
            dlg.slot_RowChanged(r, 0);
        dlg.tableWgt->sortItems(3, Qt::AscendingOrder);
        dlg.SaveButton->click();
        // The disconnected 1-3 leaves the transformer 3-4 unfed: logged, saved all the same.
        QCOMPARE(f.rec.warnings(), QStringList({"Предупреждение|В информации об участках линии есть ошибки",
                                                "Информация|Данные сохранены"}));
        QCOMPARE(QString::fromUtf8(f.readFile("Ошибки в участках линии.log")),
                 QString("*** Узел 4 находится за отключенным участком\n"));
        QCOMPARE(withoutStamp(f.readFile("uch_lin.xml")), expected);
    }

    // "Рабочее ответвление" shows the transformer's tap and writes a change back.
    void tapShownAndWritten()
    {
        Folder f;
        writeNetworkWith(1, 10, "3");
        CDlgTblUchLIN dlg(nullptr);
        dlg.slot_RowChanged(1, 0);
        QCOMPARE(dlg.spinOtv->value(), 3);
        dlg.spinOtv->setValue(-2);
        QCOMPARE(dlg.tableWgt->item(1, 10)->text(), QString("-2"));
        dlg.slot_RowChanged(3, 0);
        QCOMPARE(dlg.spinOtv->value(), 0);
        QCOMPARE(dlg.tableWgt->item(1, 10)->text() + dlg.tableWgt->item(3, 10)->text(), QString("-20"));
    }

    // The next node after the largest an int holds is numbered without overflowing.
    void newRowAfterLargestNode()
    {
        Folder f;
        writeNetworkWith(3, 6, "2147483647");
        CDlgTblUchLIN dlg(nullptr);
        dlg.AddButton->click();
        const int row = dlg.tableWgt->rowCount() - 1;
        QCOMPARE(dlg.tableWgt->item(row, 5)->text() + "-" + dlg.tableWgt->item(row, 6)->text(),
                 QString("2147483648-2147483649"));
    }

    void deleteLastRow()
    {
        Folder f;
        network().write();
        CDlgTblUchLIN dlg(nullptr);
        while (dlg.tableWgt->rowCount() > 0) {
            dlg.tableWgt->setCurrentCell(dlg.tableWgt->rowCount() - 1, 3);
            dlg.DelButton->click();
        }
        // No row left: the panel is cleared and disabled and its edits go nowhere.
        QCOMPARE(dlg.panelRow(), -1);
        QVERIFY(!dlg.groupBox_2->isEnabled());
        dlg.slot_copyRow();
        dlg.slot_DlinaSpinChanged(5);
        QCOMPARE(dlg.tableWgt->rowCount(), 0);
    }
};

QTEST_MAIN(TestTblUchLin)
#include "tst_tbluchlin.moc"
