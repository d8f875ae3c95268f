// The wire and cable catalog editor: what it shows, what it writes back, its search and calculator.

#include "referencetest.h"
#include "reference/CDlgKatLin.h"

#include <QComboBox>

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
    void cleanup() { dlg.reset(); }

    void headers()
    {
        Folder f;
        open();
        const QStringList headers = headerTexts(table());
        QCOMPARE(headers, (QStringList{"Марка", "Сечение", "КЛ", "R, Oм/км", "X, Oм/км", "B, мкС/км",
                                       "Iмах, А", "Материал"}));
        QStringList scripts;
        for (const QString& h : headers)
            scripts.append(letterScripts(h));
        QCOMPARE(scripts, (QStringList{"CCCCC", "CCCCCCC", "CC", "L..LC.CC", "L..LC.CC", "L..CCC.CC",
                                       "LCCC..C", "CCCCCCCC"}));
        QCOMPARE(headerTexts(table(), Qt::ToolTipRole),
                 (QStringList{"Марка провода", "Сечение провода", "Вид провода (кабель - воздушная линия)",
                              "Активное сопротивление", "Реактивное сопротивление",
                              "Емкостная проводимость на землю", "", ""}));
    }

    // No header clicked: the rows stand whole and in file order, and a save gives the file back.
    void opensIntactAndSavesUnchanged()
    {
        Folder f;
        const QByteArray original = file.write(f, kCatalog);
        open();
        QCOMPARE(shownColumn(table(), 0), (QStringList{"АС-95/16", "АПвПу 1х240", "АС-35/6.2", "М-50", "ПС-25"}));
        QCOMPARE(shownColumn(table(), 3), (QStringList{"0.301", "0.125", "0.773", "0.4", "6.2"}));
        QCOMPARE(table()->item(1, 2)->checkState(), Qt::Checked);
        QCOMPARE(table()->item(1, 2)->text(), QString());
        QStringList shown;
        for (int r = 0; r < 5; ++r)
            shown.append(material(r)->currentText());
        QCOMPARE(shown, (QStringList{"Алюминий", "Медь", "", "Медь", "Медь"}));

        click("SaveButton");
        QCOMPARE(f.rec.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(withoutStamp(f.readFile("kat_lin.xml")), original);
        QCOMPARE(withoutStamp(f.readFile("kat_lin.bak")), original);
    }

    void editsReachTheFile()
    {
        Folder f;
        open(f, kCatalog);
        table()->sortItems(0, Qt::DescendingOrder);   // ПС-25, М-50, АС-95/16, АС-35/6.2, АПвПу
        table()->setCurrentCell(1, 0);
        click("DelButton");                           // М-50
        table()->setCurrentCell(3, 0);
        click("CopyButton");                          // АПвПу 1х240-копия, sorted in below its source
        QCOMPARE(table()->currentRow(), 3);           // the first mark holding the copy's: the copy itself
        QCOMPARE(table()->item(3, 0)->text(), QString("АПвПу 1х240-копия"));
        table()->item(3, 2)->setCheckState(Qt::Unchecked);
        emit material(3)->activated(2);               // the user picks "Сталь"
        QVERIFY(editCell(table(), 3, 3, "0,4"));      // a decimal comma under any locale
        click("AddButton");                           // empty mark: last in descending order
        QCOMPARE(table()->currentRow(), 5);
        emit material(0)->activated(0);               // ПС-25 made aluminium
        click("SaveButton");
        QCOMPARE(file.stored(), (Table{
            {"ПС-25", "25", "0", "6.2", "0.45", "", "", "1"},
            {"АС-95/16", "95", "0", "0.301", "0.434", "2.61", "330", "1"},
            {"АС-35/6.2", "35", "0", "0.773", "0.466", "", "175", "5"},
            {"АПвПу 1х240-копия", "240", "0", "0.4", "0.11", "62", "", "3"},
            {"АПвПу 1х240", "240", "1", "0.125", "0.11", "62", "", "2"},
            {"", "10", "0", "", "", "", "", "1"},
        }));
    }

    void copyKeepsStoredMaterial()
    {
        Folder f;
        open(f, kCatalog);
        table()->setCurrentCell(4, 1);
        click("CopyButton");
        QCOMPARE(material(5)->currentText(), QString("Медь"));
        click("SaveButton");
        QCOMPARE(file.stored().last(), (QStringList{"ПС-25-копия", "25", "0", "6.2", "0.45", "", "", "стальной"}));
    }

    void calculator_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("R 0.4, B 2.5") << 3 << QStringList{"R= 4.00", "X= 4.50", "BC= -25.00"};
        QTest::newRow("B empty") << 2 << QStringList{"R= 7.73", "X= 4.66", "BC= 0.00"};
    }
    void calculator()
    {
        QFETCH(int, row);
        Folder f;
        open(f, kCatalog);
        table()->setCurrentCell(row, 0);
        dlg->findChild<QDoubleSpinBox*>("Line_L")->setValue(10);
        QTEST(labels({"RLin", "XLin", "BLin"}), "labels");
    }

    void search()
    {
        Folder f;
        open(f, kCatalog);
        auto* text = dlg->findChild<QLineEdit*>("LineFind");
        text->setText("ас-");
        QList<int> hits;
        for (int i = 0; i < 4; ++i) {
            click("FindButton");
            hits.append(table()->currentRow());
        }
        // After the last hit one press finds nothing and leaves the selection.
        QCOMPARE(hits, (QList<int>{0, 2, 2, 0}));
        text->setText("ПС");
        click("FindButton");
        QCOMPARE(table()->currentRow(), 4);
    }

    // A table cut short by damage is never written back; a refused write reports no success.
    void refusedSaves()
    {
        Folder f;
        f.writeFile("kat_lin.xml", "<net110_WireInfo><Wire name=\"А\" S=\"1\"/><Wire name=");
        open();
        QCOMPARE(table()->rowCount(), 1);
        click("SaveButton");
        const QString path = f.filePath("kat_lin.xml");
        QCOMPARE(f.rec.warnings(), (QStringList{"Предупреждение|Ошибка чтения файла " + path,
                                                "Предупреждение|Ошибка чтения файла " + path}));
        QCOMPARE(f.readFile("kat_lin.xml"), QByteArray("<net110_WireInfo><Wire name=\"А\" S=\"1\"/><Wire name="));
        QVERIFY(!f.exists("kat_lin.bak"));

        open(f, kCatalog);
        f.rec.clear();
        while (table()->rowCount() > 0) {
            table()->setCurrentCell(0, 0);
            click("DelButton");
        }
        click("SaveButton");
        QCOMPARE(f.rec.warnings(), QStringList{"Предупреждение|Пустая таблица -" + path});
    }
};

QTEST_MAIN(TestKatLin)
#include "tst_katlin.moc"
