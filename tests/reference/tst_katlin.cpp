// The wire and cable catalog editor: what it shows, what it writes back, its search and calculator.

#include "referencetest.h"
#include "reference/CDlgKatLin.h"

// Marks not in order; a material above 3, a negative one and one that is no number.
static const Table kCatalog = {
    {"АС-95/16", "95", "0", "0.301", "0.434", "2.61", "330", "1"},
    {"АПвПу 1х240", "240", "1", "0.125", "0.11", "62", "", "2"},
    {"АС-35/6.2", "35", "0", "0.773", "0.466", "", "175", "5"},
    {"М-50", "50", "0", "0.4", "0.45", "2.5", "", "-1"},
    {"ПС-25", "25", "0", "6.2", "0.45", "", "", "стальной"},
};

class TestKatLin : public QObject, EditorUnderTest<CDlgKatLin>
{
    Q_OBJECT

    QComboBox* material(int row) const { return qobject_cast<QComboBox*>(table()->cellWidget(row, 7)); }

public:
    TestKatLin() : EditorUnderTest({"kat_lin", attrL, "Wire", "net110_WireInfo"}) {}

private slots:
    void init() { dir.reset(new Folder); }
    void cleanup() { dlg.reset(), dir.reset(); }

    // No header clicked, the rows stand whole in file order and a save gives the file back. A zero B
    // gives "BC= 0.00", not -0.00. After the last hit one search finds nothing, leaving the selection.
    void showsEditsAndSaves()
    {
        const QByteArray original = open(kCatalog);
        QCOMPARE(headerLine(table()), QString("Марка|Сечение|КЛ|R, Oм/км|X, Oм/км|B, мкС/км|Iмах, А|Материал"));
        QVERIFY(programHeads(table()));
        QCOMPARE(editorRanges(table(), {1, 3, 5, 6}), (QStringList{"0 99999 1 0", "0 19.99 0.001 3", "0 999.9 1 1", "0 99999 1 0"}));
        // The kind is its box alone, the material what its combo shows.
        QStringList shown;
        for (int r = 0; r < 5; ++r) {
            const QTableWidgetItem* kind = table()->item(r, 2);
            shown.append((kind->checkState() == Qt::Checked ? "[x]" : "[ ]") + kind->text() + " " + material(r)->currentText());
        }
        QCOMPARE(shown, (QStringList{"[ ] Алюминий", "[x] Медь", "[ ] ", "[ ] Медь", "[ ] Медь"}));
        QCOMPARE(comboItems(material(0)), (QStringList{"Алюминий", "Медь", "Сталь"}));
        table()->setCurrentCell(3, 0);
        dlg->findChild<QDoubleSpinBox*>("Line_L")->setValue(10);
        QCOMPARE(labels({"RLin", "XLin", "BLin"}), (QStringList{"R= 4.00", "X= 4.50", "BC= -25.00"}));
        table()->setCurrentCell(2, 0);
        emit table()->cellClicked(2, 0);
        QCOMPARE(labels({"RLin", "XLin", "BLin"}), (QStringList{"R= 7.73", "X= 4.66", "BC= 0.00"}));
        QCOMPARE(searchHits({"ас-", "ас-", "ас-", "ас-", "ПС"}), (QList<int>{0, 2, 2, 0, 4}));
        QVERIFY(editCell(table(), 2, 5, nullptr));   // an empty B only opened stays empty
        click("SaveButton");
        QCOMPARE(dir->rec.all(), (QStringList{"Сохранение|Сохранить изменения?", "Информация|Данные сохранены"}));
        QCOMPARE(withoutStamp(dir->readFile("kat_lin.xml")), original);

        table()->sortItems(0, Qt::DescendingOrder);   // ПС-25, М-50, АС-95/16, АС-35/6.2, АПвПу
        table()->setCurrentCell(1, 0);
        click("DelButton");                           // М-50
        table()->setCurrentCell(0, 0);
        click("CopyButton");                          // ПС-25-копия, sorted in above its source
        table()->setCurrentCell(4, 0);
        click("CopyButton");                          // АПвПу 1х240-копия
        QCOMPARE(table()->currentRow(), 4);           // the first mark holding the copy's: the copy itself
        table()->item(4, 2)->setCheckState(Qt::Unchecked);
        emit material(4)->activated(2);               // the user picks "Сталь"
        QVERIFY(editCell(table(), 4, 3, "0,125"));    // a decimal comma under any locale
        click("AddButton");                           // empty mark: last in descending order
        emit material(1)->activated(0);               // ПС-25 made aluminium
        click("SaveButton");
        // A material is saved as stored unless picked: the copy of ПС-25 keeps its text.
        const Table& c = kCatalog;
        QCOMPARE(stored(), (Table{{"ПС-25-копия", "25", "0", "6.2", "0.45", "", "", "стальной"},
                                  {"ПС-25", "25", "0", "6.2", "0.45", "", "", "1"}, c[0], c[2],
                                  {"АПвПу 1х240-копия", "240", "0", "0.125", "0.11", "62", "", "3"}, c[1],
                                  {"", "10", "0", "", "", "", "", "1"}}));
    }

    // Enter typed into a box of the shown editor presses no button: nothing
    // is asked and the file stays as it was. The search line's Enter finds.
    void enterPressesNoButton()
    {
        const QByteArray original = open(kCatalog);
        QCOMPARE(pressEnter("Line_L", "1,5"), QStringList());
        QCOMPARE(pressEnter("LineFind", "35"), QStringList());
        QCOMPARE(table()->currentRow(), 2);
        QCOMPARE(pressEnter(nullptr), QStringList());
        QCOMPARE(withoutStamp(dir->readFile("kat_lin.xml")), original);
    }

    // Row 0 is a row like any other: after a hit in the last row the next find starts at the top and
    // finds it, the calculator shows it; deleted, the row taking its place is current, and its copy
    // is a cable of the same material.
    void firstRowFoundCalculatedAndDeleted()
    {
        open(kCatalog);
        QCOMPARE(searchHits({"-", "-", "-", "-", "-"}), (QList<int>{0, 2, 3, 4, 0}));
        QCOMPARE(dlg->focusWidget(), table());   // the keys go to the row found
        dlg->findChild<QDoubleSpinBox*>("Line_L")->setValue(10);
        QCOMPARE(labels({"RLin", "XLin", "BLin"}), (QStringList{"R= 3.01", "X= 4.34", "BC= -26.10"}));
        click("DelButton");
        click("CopyButton");
        click("SaveButton");
        QStringList copy = kCatalog[1];
        copy[0] += "-копия";
        QCOMPARE(stored(), (Table{kCatalog[1], kCatalog[2], kCatalog[3], kCatalog[4], copy}));
    }

    void damagedFileIsNotWritten() { damagedFileIsKept("<net110_WireInfo><Wire name=\"А\" S=\"1\"/><Wire name="); }
};

QTEST_MAIN(TestKatLin)
#include "tst_katlin.moc"
