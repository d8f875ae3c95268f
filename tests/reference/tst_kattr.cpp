// The transformer catalog editor: headers, the voltage filter and search, copies, cell editors and saves.

#include "referencetest.h"
#include "reference/CDlgKatTR.h"

// 110 and 35 kV types mixed; "110.0" and an empty voltage, which no filter choice shows.
static const Table kCatalog = {
    {"ТДН-16000/110", "110", "16000", "4.38", "86.7", "18", "112", "1.78", "9", "115", "11"},
    {"ТМН-2500/35", "35", "2500", "4.61", "31.9", "4.1", "25", "1.5", "6", "35", "11"},
    {"ТРДН-25000/110", "110", "25000", "2.54", "55.9", "25", "175", "1.78", "9", "115", "10.5"},
    {"ТМ-1000/35", "110.0", "1000", "14.9", "79.6", "2.1", "14", "2.5", "2", "35", "10.5"},
    {"Без напряжения", "", "400", "1", "2", "3", "4", "5", "6", "7", "8"},
    {"ТМН-6300/35", "35", "6300", "1.44", "14.6", "8", "50.4", "1.5", "6", "35", "11"},
};
static const QStringList kOdd = {"Странный", "110", "1500000", "abc", "-1", "", "x", "", "25", "y", "11"};

class TestKatTR : public QObject, EditorUnderTest<CDlgKatTR>
{
    Q_OBJECT

    void filter(const QString& unom) const { dlg->findChild<QComboBox*>("UNOMcombo")->setCurrentText(unom + "кВ"); }

public:
    TestKatTR() : EditorUnderTest({"kat_tr", attrTR, "Trans", "net10_TransInfo"}) {}

private slots:
    void init() { dir.reset(new Folder); }
    void cleanup() { dlg.reset(), dir.reset(); }

    // The filter hides rows and never drops them; search, copy and delete see the shown rows only.
    void filtersEditsAndSaves()
    {
        open(kCatalog);
        QCOMPARE(headerLine(table()), QString("Марка|S, кВА|R, Oм|X, Oм|Рхх, кВт|Qхх,квар|U отв,%|N отп|Uвн, кВ|Uнн, кВ"));
        QVERIFY(programHeads(table()));
        const auto* voltages = dlg->findChild<QComboBox*>("UNOMcombo");
        QCOMPARE(comboItems(voltages).join('|') + " " + voltages->currentText(), QString("35кВ|66кВ|110кВ|150кВ|220кВ 110кВ"));
        QCOMPARE(shownColumn(table(), 0), (QStringList{"ТДН-16000/110", "ТРДН-25000/110"}));
        filter("35");
        // The last hit stands in the last row: the next press starts at the top.
        QCOMPARE(searchHits({"тм", "тм", "тм"}), (QList<int>{1, 5, 1}));
        click("CopyButton");   // ТМН-2500/35, without a suffix
        filter("150");
        click("AddButton");
        QVERIFY(editCell(table(), 7, 0, "ТДТН-40000/150"));
        filter("35");
        QCOMPARE(table()->currentRow(), 7);
        click("CopyButton");
        QCOMPARE(table()->rowCount(), 8);
        click("DelButton");
        table()->setCurrentCell(1, 0);
        click("DelButton");   // the source of the copy
        QCOMPARE(table()->currentRow(), -1);
        // Sorted, the hidden rows stay hidden and the file takes the sorted order.
        table()->sortItems(0, Qt::DescendingOrder);
        QCOMPARE(shownColumn(table(), 0), (QStringList{"ТМН-6300/35", "ТМН-2500/35"}));
        dir->rec.clear();
        click("SaveButton");
        QCOMPARE(dir->rec.all(), (QStringList{"Сохранение|Сохранить изменения?", "Информация|Данные сохранены"}));
        const Table& c = kCatalog;
        QCOMPARE(stored(), (Table{c[2], c[5], c[1], c[3], {"ТДТН-40000/150", "150", "", "", "", "", "", "", "", "", ""}, c[0], c[4]}));

        QCOMPARE(editorRanges(table(), {1, 2, 3, 8}), (QStringList{"0 9999 0.1 3", "0 999999 10 1", "0 99999 0.5 2", "0 20 1 1"}));
    }

    // A cell whose editor only opens keeps what the file holds, even beyond range or no number.
    void cellEditors_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        QTest::newRow("R with a comma") << 3 << QByteArray("4,5") << "4.5" << none;
        QTest::newRow("Qx with a comma") << 6 << QByteArray("112,5") << "112.5" << none;
        QTest::newRow("uvn in groups") << 9 << QByteArray(" 1 150,5 ") << "1150.5" << none;
        QTest::newRow("taps typed") << 8 << QByteArray("12") << "12" << none;
        QTest::newRow("unn emptied") << 10 << QByteArray("") << "" << none;
        QTest::newRow("unn no number") << 10 << QByteArray("11 кВ") << "11"
                                       << QStringList{"Предупреждение|Значение \"11 кВ\" не является числом"};
        for (int c : {2, 3, 4, 6, 8, 9})
            QTest::addRow("column %d only opened", c) << c << QByteArray() << kOdd.at(c) << none;
    }
    void cellEditors()
    {
        QFETCH(int, column);
        QFETCH(QByteArray, typed);
        open({kOdd});
        QVERIFY(editCell(table(), 0, column, typed.isNull() ? nullptr : typed.constData()));
        QTEST(table()->item(0, column)->text(), "stored");
        QTEST(dir->rec.warnings(), "warnings");
    }

    // Enter in the search line or the table of the shown editor presses no
    // button, not even the save button the mouse pressed last, which wrote the file as read.
    // The search line's Enter finds the first of two types once; the table's finds nothing.
    void enterPressesNoButton()
    {
        const QByteArray original = open(kCatalog);
        dlg->show();
        QTest::mouseClick(dlg->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
        QCOMPARE(withoutStamp(dir->readFile("kat_tr.xml")), original);
        dir->rec.messages.clear();
        QCOMPARE(pressEnter("LineFind", "/110"), QStringList());
        QCOMPARE(table()->currentRow(), 0);
        QCOMPARE(pressEnter(nullptr), QStringList());
        QCOMPARE(table()->currentRow(), 0);
    }

    void damagedFileIsNotWritten() { damagedFileIsKept("<net10_TransInfo><Trans name=\"Т\" unom=\"110\"/><Trans"); }
};

QTEST_MAIN(TestKatTR)
#include "tst_kattr.moc"
