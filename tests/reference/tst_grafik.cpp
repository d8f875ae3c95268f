// The daily load-graph editor: the shape factors of a day, and what its commands leave in the file.

#include "referencetest.h"
#include "reference/CGrafik.h"

// A graph numbered nom with the given loads from hour 1, 0 for the rest.
static QStringList graph(const QString& nom, const QStringList& loads = {})
{
    QStringList row{nom};
    for (int h = 0; h < 24; ++h)
        row.append(loads.value(h, "0"));
    return row;
}

class TestGrafik : public QObject, EditorUnderTest<CGrafik>
{
    Q_OBJECT

public:
    TestGrafik()
        : EditorUnderTest({"grafiki", QString("nom t1 t2 t3 t4 t5 t6 t7 t8 t9 t10 t11 t12 t13 t14 t15 t16 t17 t18 t19 t20 "
                                              "t21 t22 t23 t24").split(' '), "nomgr", "grafiki"}) {}

private slots:
    void init() { dir.reset(new Folder); }
    void cleanup() { dlg.reset(), dir.reset(); }

    void factors_data()
    {
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("flat") << QStringList(QVector<QString>(24, "5").toList()) << QStringList{"Кз= 1.00", "ТАУ= 1.00", "Кф2= 1.00"};
        QTest::newRow("one hour, text and empty read as 0") << QStringList{"10", "abc", ""}
                                                            << QStringList{"Кз= 0.04", "ТАУ= 0.04", "Кф2= 24.00"};
        QTest::newRow("no load") << QStringList{} << QStringList{"Кз", "Тау", "Кф2"};
        QTest::newRow("sum below zero") << QStringList{"10", "-20"} << QStringList{"Кз= -0.04", "ТАУ= 0.21", "Кф2"};
        QTest::newRow("sum zero") << QStringList{"10", "-10"} << QStringList{"Кз= 0.00", "ТАУ= 0.08", "Кф2"};
    }
    void factors()
    {
        QFETCH(QStringList, loads);
        open({graph("1", loads)});
        table()->setCurrentCell(0, 3);
        emit table()->cellClicked(0, 3);
        QTEST(labels({"Kz", "Tay", "Kf2"}), "labels");
    }

    // With no file yet an empty table is refused, and no success is claimed.
    void commandsReachTheFile()
    {
        open();
        click("SaveButton");
        open({graph("7", {"1", "2"}), graph("3", {"9.5"}), graph("12")});
        QVERIFY(programHeads(table()));
        table()->sortItems(0, Qt::AscendingOrder);   // "12", "3", "7" as texts
        table()->setCurrentCell(1, 5);
        click("CopyButton");                          // a second "3", sorted in beside the first
        QCOMPARE(table()->currentRow(), 2);
        table()->setCurrentCell(0, 0);
        click("DelButton");                           // "12"
        QVERIFY(editCell(table(), 1, 24, "2,5"));     // the copy, the day's last hour
        click("AddButton");
        click("AddButton");
        click("SaveButton");
        const QString path = dir->filePath("grafiki.xml");
        QCOMPARE(dir->rec.all(), (QStringList{"Предупреждение|Отсутствует файл -" + path, "Предупреждение|Пустая таблица -" + path,
                                              "Удаление|Удалить запись", "Информация|Данные сохранены"}));
        QStringList copy = graph("3", {"9.5"});
        copy[24] = "2.5";
        QCOMPARE(stored(), (Table{graph("0"), graph("0"), graph("3", {"9.5"}), copy, graph("7", {"1", "2"})}));
    }

    // Enter in the table of the shown editor presses no button; the save button writes the file as read.
    void enterPressesNoButton()
    {
        const QByteArray original = open({graph("1", {"5"})});
        QCOMPARE(pressEnter(nullptr), QStringList());
        click("SaveButton");   // and a save gives the file back as it was
        QCOMPARE(withoutStamp(dir->readFile("grafiki.xml")), original);
    }

    // A cell opened and left without typing keeps the file's text: finer than the editor's two
    // decimals, beyond its range or no number. A copy of row 0 carries the same texts.
    void onlyOpenedCellKeepsItsText()
    {
        const QStringList row = graph("1", {"1.2345", "1500", "abc"});
        open({row});
        for (int hour : {1, 2, 3})
            QVERIFY(editCell(table(), 0, hour, nullptr));
        click("CopyButton");
        click("SaveButton");
        QCOMPARE(stored(), (Table{row, row}));
    }

    void damagedFileIsNotWritten() { damagedFileIsKept("<grafiki><nomgr nom=\"1\" t1=\"5\"/><nomgr"); }
};

QTEST_MAIN(TestGrafik)
#include "tst_grafik.moc"
