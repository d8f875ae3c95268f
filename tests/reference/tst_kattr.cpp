// The transformer catalog editor: headers, the voltage filter, copies, cell editors and saves.

#include "referencetest.h"
#include "reference/CDlgKatTR.h"

#include <QComboBox>
#include <QDoubleSpinBox>

// 110 kV and 35 kV types mixed; a voltage written "110.0" and an empty one,
// which no filter choice shows; an S above the old editor's range.
static const Table kCatalog = {
    {"ТДН-16000/110", "110", "16000", "4.38", "86.7", "18", "112", "1.78", "9", "115", "11"},
    {"ТМН-2500/35", "35", "2500", "4.61", "31.9", "4.1", "25", "1.5", "6", "35", "11"},
    {"ТРДН-25000/110", "110", "25000", "2.54", "55.9", "25", "175", "1.78", "9", "115", "10.5"},
    {"ТМ-1000/35", "110.0", "1000", "14.9", "79.6", "2.1", "14", "2.5", "2", "35", "10.5"},
    {"Без напряжения", "", "400", "1", "2", "3", "4", "5", "6", "7", "8"},
    {"ТМН-6300/35", "35", "6300", "1.44", "14.6", "8", "50.4", "1.5", "6", "35", "11"},
};

class TestKatTR : public QObject, EditorUnderTest<CDlgKatTR>
{
    Q_OBJECT

    void filter(const QString& unom) const
    {
        auto* combo = dlg->findChild<QComboBox*>("UNOMcombo");
        combo->setCurrentIndex(combo->findText(unom + "кВ"));
    }
public:
    TestKatTR() : EditorUnderTest({"kat_tr", attrTR, "Trans", "net10_TransInfo"}) {}

private slots:
    void cleanup() { dlg.reset(); }

    void headers()
    {
        Folder f;
        open(f, kCatalog);
        const QStringList headers = headerTexts(table());
        QCOMPARE(headers, (QStringList{"Марка", "Uном, кВ", "S, кВА", "R, Oм", "X, Oм", "Рхх, кВт", "Qхх,квар",
                                       "U отв,%", "N отп", "Uвн, кВ", "Uнн, кВ"}));
        QStringList scripts;
        for (const QString& h : headers)
            scripts.append(letterScripts(h));
        QCOMPARE(scripts, (QStringList{"CCCCC", "LCCC..CC", "L..CCC", "L..LC", "L..LC", "CCC..CCC", "LCC.CCCC",
                                       "L.CCC..", "L.CCC", "LCC..CC", "LCC..CC"}));
        QCOMPARE(headerTexts(table(), Qt::ToolTipRole).mid(7, 2),
                 (QStringList{"Добавка напряжения на ответвление, %", "Количество ответвлений в одну сторону"}));
    }

    // The filter hides rows and never drops them: a save under 35 kV keeps the
    // rest in their places.
    void filterAndSave()
    {
        Folder f;
        const QByteArray original = file.write(f, kCatalog);
        open();
        QCOMPARE(shownColumn(table(), 0), (QStringList{"ТДН-16000/110", "ТРДН-25000/110"}));
        filter("35");
        QCOMPARE(shownColumn(table(), 0), (QStringList{"ТМН-2500/35", "ТМН-6300/35"}));
        click("SaveButton");
        QCOMPARE(f.rec.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(withoutStamp(f.readFile("kat_tr.xml")), original);
        QCOMPARE(withoutStamp(f.readFile("kat_tr.bak")), original);

        // Sorted, the hidden rows stay hidden and the file takes the sorted order.
        table()->sortItems(0, Qt::DescendingOrder);
        QCOMPARE(shownColumn(table(), 0), (QStringList{"ТМН-6300/35", "ТМН-2500/35"}));
        click("SaveButton");
        QStringList names;
        for (const QStringList& row : file.stored())
            names.append(row.at(0));
        QCOMPARE(names, (QStringList{"ТРДН-25000/110", "ТМН-6300/35", "ТМН-2500/35", "ТМ-1000/35",
                                     "ТДН-16000/110", "Без напряжения"}));
    }

    void addCopyDelete()
    {
        Folder f;
        open(f, kCatalog);
        table()->setCurrentCell(2, 0);   // ТРДН-25000/110
        click("CopyButton");
        QCOMPARE(table()->currentRow(), 6);
        filter("150");
        click("AddButton");
        QVERIFY(editCell(table(), 7, 0, "ТДТН-40000/150"));
        // The current row is hidden now: neither copied nor deleted.
        filter("35");
        QCOMPARE(table()->currentRow(), 7);
        click("CopyButton");
        QCOMPARE(table()->rowCount(), 8);
        click("DelButton");
        QCOMPARE(table()->rowCount(), 8);
        table()->setCurrentCell(1, 0);
        click("DelButton");   // ТМН-2500/35
        QCOMPARE(table()->currentRow(), -1);
        click("SaveButton");
        const Table stored = file.stored();
        QCOMPARE(stored.size(), 7);
        QCOMPARE(stored.at(1).at(0), QString("ТРДН-25000/110"));
        QCOMPARE(stored.at(5), kCatalog.at(2));   // the copy: same name, no suffix
        QCOMPARE(stored.at(6), (QStringList{"ТДТН-40000/150", "150", "", "", "", "", "", "", "", "", ""}));
    }

    void cellEditors_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("warnings");
        const QStringList none;
        QTest::newRow("S of a 250 MVA unit") << 2 << QByteArray("250000") << "250000" << none;
        QTest::newRow("R with a comma") << 3 << QByteArray("4,5") << "4.5" << none;
        QTest::newRow("S only opened") << 2 << QByteArray() << "16000" << none;
        QTest::newRow("Qx with a comma") << 6 << QByteArray("112,5") << "112.5" << none;
        QTest::newRow("uvn in groups") << 9 << QByteArray(" 1 150,5 ") << "1150.5" << none;
        QTest::newRow("unn emptied") << 10 << QByteArray("") << "" << none;
        QTest::newRow("unn no number") << 10 << QByteArray("11 кВ") << "11"
            << QStringList{"Предупреждение|Значение \"11 кВ\" не является числом"};
    }
    void cellEditors()
    {
        QFETCH(int, column);
        QFETCH(QByteArray, typed);
        Folder f;
        open(f, kCatalog);
        f.rec.clear();
        QVERIFY(editCell(table(), 0, column, typed.isNull() ? nullptr : typed.constData()));
        QTEST(table()->item(0, column)->text(), "stored");
        QTEST(f.rec.warnings(), "warnings");
    }

    // Most 35-220 kV units are 10-250 MVA: S takes six digits, the hidden unom four.
    void ranges()
    {
        Folder f;
        open(f, kCatalog);
        QStringList ranges;
        for (int c : {1, 2}) {
            const QModelIndex index = table()->model()->index(0, c);
            QScopedPointer<QWidget> widget(table()->itemDelegateForColumn(c)->createEditor(
                table()->viewport(), QStyleOptionViewItem(), index));
            auto* editor = qobject_cast<QDoubleSpinBox*>(widget.data());
            QVERIFY(editor);
            ranges.append(QString("%1 %2 %3 %4").arg(editor->minimum()).arg(editor->maximum())
                              .arg(editor->singleStep()).arg(editor->decimals()));
        }
        QCOMPARE(ranges, (QStringList{"0 9999 0.1 3", "0 999999 10 1"}));
    }

    // A value the file holds beyond the editors' ranges or as text stays when its editor only opens.
    void untouchedCellsKeepStoredText()
    {
        Folder f;
        open(f, {{"Странный", "110", "1500000", "abc", "-1", "", "x", "", "25", "y", ""}});
        for (int c : {2, 3, 4, 6, 8, 9})
            QVERIFY(editCell(table(), 0, c, nullptr));
        QCOMPARE(f.rec.warnings(), QStringList());
        click("SaveButton");
        QCOMPARE(file.stored().at(0), (QStringList{"Странный", "110", "1500000", "abc", "-1", "", "x", "", "25", "y", ""}));
    }

    void search()
    {
        Folder f;
        open(f, kCatalog);
        auto* text = dlg->findChild<QLineEdit*>("LineFind");
        text->setText("тм");   // ТМН-2500/35 and ТМН-6300/35 hidden under 110 kV
        click("FindButton");
        QCOMPARE(table()->currentRow(), -1);
        filter("35");
        QList<int> hits;
        for (int i = 0; i < 3; ++i) {
            click("FindButton");
            hits.append(table()->currentRow());
        }
        // The last hit stands in the last row: the next press starts at the top.
        QCOMPARE(hits, (QList<int>{1, 5, 1}));
    }

    void damagedFileIsNotWritten()
    {
        Folder f;
        f.writeFile("kat_tr.xml", "<net10_TransInfo><Trans name=\"Т\" unom=\"110\"/><Trans");
        open();
        click("SaveButton");
        const QString warning = "Предупреждение|Ошибка чтения файла " + f.filePath("kat_tr.xml");
        QCOMPARE(f.rec.warnings(), (QStringList{warning, warning}));
        QVERIFY(!f.exists("kat_tr.bak"));
    }
};

QTEST_MAIN(TestKatTR)
#include "tst_kattr.moc"
