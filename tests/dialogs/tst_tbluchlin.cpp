// The line sections editor: what opening, showing, sorting and saving do to
// the rows, numbering of nodes and keys, and the edit panel's row.

#include "calcglobals.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QtTest>

#include <memory>

namespace {

// Line 1 first in the file, then a row of line 2, so that a save of line 1
// gives the file back in its own order.
TestNetwork network(bool withLine1 = true)
{
    TestNetwork net;
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addWire("АС-50", "50", "0", "0.6", "0.45");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addTransType("ТМ-1000/35", "35.0", "1000", "9", "60", "2", "10", "2.5", "2", "35", "10");
    if (withLine1) {
        net.addSection("1", 0, 1, "АС-70", 1234.5, "1");
        net.addTrans("1", 1, 2, "ТДН-старый", 1.2, 0.5, 800, 300)[9] = "";
        net.addSection("1", 1, 3, "АС-50", 2.25)[16] = "1";
        net.addTrans("1", 3, 4, "ТМН-2500/35", 0.4)[9] = "";
    }
    net.addSection("2", 0, 1, "АС-70", 9);
    return net;
}

int rowOfKey(const CDlgTblUchLIN& dlg, const QString& key)
{
    for (int r = 0; r < dlg.tableWgt->rowCount(); ++r) {
        if (dlg.rowTexts(r).at(17) == key)
            return r;
    }
    return -1;
}

} // namespace

class TestTblUchLin : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetCalcGlobals();
        UNOM = 35;
        dir.reset(new TempWorkDir);
        rec.reset(new MessageRecorder);
        rec->defaultAnswer = false;   // Yes
    }
    void cleanup()
    {
        rec.reset();
        dir.reset();
    }

    void showingAndSortingChangeNothing();
    void keysNumberedAtSave();
    void newRows_data();
    void newRows();
    void panelFollowsItsRow();

private:
    std::unique_ptr<TempWorkDir> dir;
    std::unique_ptr<MessageRecorder> rec;
};

void TestTblUchLin::showingAndSortingChangeNothing()
{
    network().write();
    const QByteArray before = withoutStamp(dir->readFile("uch_lin.xml"));
    CDlgTblUchLIN dlg(nullptr);
    QCOMPARE(dlg.tableWgt->rowCount(), 4);
    QVERIFY(!dlg.AddTrans->icon().isNull());

    dlg.slot_RowChanged(1, 0);   // a mark the catalog no longer lists
    QCOMPARE(dlg.Markacombo->currentText(), QString("ТДН-старый"));
    QCOMPARE(dlg.Markacombo->count(), 2);   // "ТМ-1000/35" has unom "35.0": not offered
    dlg.slot_RowChanged(0, 0);   // longer than the field allows
    QCOMPARE(dlg.DlinaSpin->value(), 999.99);
    QCOMPARE(dlg.checkBalance->isChecked(), true);

    dlg.tableWgt->sortItems(5, Qt::DescendingOrder);
    for (int r = 0; r < 4; ++r)
        dlg.slot_RowChanged(r, 0);
    dlg.tableWgt->sortItems(17, Qt::AscendingOrder);
    dlg.SaveButton->click();
    // The disconnected 1-3 leaves the transformer 3-4 unfed: logged, saved all the same.
    QCOMPARE(rec->warnings(), QStringList({"Предупреждение|В информации об участках линии есть ошибки",
                                           "Информация|Данные сохранены"}));
    QCOMPARE(QString::fromUtf8(dir->readFile("Ошибки в участках линии.log")),
             QString("*** Узел 4 находится за отключенным участком\n"));
    QCOMPARE(withoutStamp(dir->readFile("uch_lin.xml")), before);
}

void TestTblUchLin::keysNumberedAtSave()
{
    TestNetwork net = network();
    const QStringList keys = {"3", "0", "7", ""};
    for (int i = 0; i < keys.size(); ++i)
        net.sections[i][17] = keys.at(i);
    net.write();
    CDlgTblUchLIN dlg(nullptr);
    dlg.SaveButton->click();
    QStringList saved;
    for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"))
        saved.append(row.at(17));
    QCOMPARE(saved, QStringList({"3", "8", "7", "9", "5"}));
}

void TestTblUchLin::newRows_data()
{
    QTest::addColumn<bool>("withLine1");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("row");   // name, begin, end, type, mark, length, P

    QTest::newRow("empty line") << false << ""
        << QStringList{"Новая линия", "0", "1", "1", "АС-70", "0", ""};
    QTest::newRow("line section") << true << "slot_addRow"
        << QStringList{"Новая линия", "5", "6", "1", "АС-70", "0", ""};
    QTest::newRow("transformer") << true << "slot_addTrans"
        << QStringList{"Новый трансформатор", "5", "6", "2", "ТМН-2500/35", "", "0"};
}

void TestTblUchLin::newRows()
{
    QFETCH(bool, withLine1);
    QFETCH(QString, command);
    QFETCH(QStringList, row);
    network(withLine1).write();
    CDlgTblUchLIN dlg(nullptr);
    if (!command.isEmpty())
        QMetaObject::invokeMethod(&dlg, command.toLatin1().constData());

    const int r = dlg.panelRow();
    QCOMPARE(r, dlg.tableWgt->rowCount() - 1);
    QCOMPARE(dlg.tableWgt->currentRow(), r);
    const QStringList texts = dlg.rowTexts(r);
    QCOMPARE(QStringList({texts.at(3), texts.at(5), texts.at(6), texts.at(7), texts.at(8),
                          texts.at(9), texts.at(11)}),
             row);
    QCOMPARE(texts.mid(0, 3), QStringList({"1", "1", "1"}));
    QCOMPARE(texts.at(17), QString("0"));   // numbered at save
}

void TestTblUchLin::panelFollowsItsRow()
{
    network().write();
    CDlgTblUchLIN dlg(nullptr);
    dlg.slot_RowChanged(rowOfKey(dlg, "2"), 0);
    dlg.tableWgt->sortItems(6, Qt::DescendingOrder);
    dlg.checkOtkl->setChecked(true);
    QCOMPARE(dlg.rowTexts(rowOfKey(dlg, "2")).at(16), QString("1"));

    // A copy keeps the nodes and takes the next key.
    dlg.slot_copyRow();
    QCOMPARE(dlg.rowTexts(rowOfKey(dlg, "5")).mid(5, 2), QStringList({"1", "2"}));

    // Deleting every row leaves the panel without a row, cleared and disabled.
    while (dlg.tableWgt->rowCount() > 0) {
        dlg.tableWgt->setCurrentCell(dlg.tableWgt->rowCount() - 1, 3);
        dlg.DelButton->click();
    }
    QCOMPARE(dlg.panelRow(), -1);
    QVERIFY(!dlg.groupBox_2->isEnabled());
    dlg.slot_copyRow();
    dlg.slot_DlinaSpinChanged(5);
    QCOMPARE(dlg.tableWgt->rowCount(), 0);

    rec->clear();
    QVERIFY(dlg.ChecK());
    QCOMPARE(rec->warnings(), QStringList({"Предупреждение|Для линии не заведены участки"}));
}

QTEST_MAIN(TestTblUchLin)
#include "tst_tbluchlin.moc"
