// The daily load-graph editor: the shape factors of a day, and what its commands leave in the file.

#include "referencetest.h"
#include "reference/CGrafik.h"


static QStringList graphNames()
{
    QStringList names{"nom"};
    for (int h = 1; h <= 24; ++h)
        names.append("t" + QString::number(h));
    return names;
}

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
    TestGrafik() : EditorUnderTest({"grafiki", graphNames(), "nomgr", "grafiki"}) {}

private slots:
    void cleanup() { dlg.reset(); }

    void factors_data()
    {
        QTest::addColumn<QStringList>("loads");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("flat") << QStringList(QVector<QString>(24, "5").toList()) << QStringList{"Кз= 1.00", "ТАУ= 1.00", "Кф2= 1.00"};
        QTest::newRow("one hour") << QStringList{"10"} << QStringList{"Кз= 0.04", "ТАУ= 0.04", "Кф2= 24.00"};
        QTest::newRow("no load") << QStringList{} << QStringList{"Кз", "Тау", "Кф2"};
        QTest::newRow("text and empty read as 0") << QStringList{"10", "abc", ""}
                                                  << QStringList{"Кз= 0.04", "ТАУ= 0.04", "Кф2= 24.00"};
        // A day summing to zero or less has no form factor.
        QTest::newRow("sum below zero") << QStringList{"10", "-20"}
                                        << QStringList{"Кз= -0.04", "ТАУ= 0.21", "Кф2"};
        QTest::newRow("sum zero") << QStringList{"10", "-10"} << QStringList{"Кз= 0.00", "ТАУ= 0.08", "Кф2"};
    }
    void factors()
    {
        QFETCH(QStringList, loads);
        Folder f;
        open(f, {graph("1", loads)});
        table()->setCurrentCell(0, 3);
        emit table()->cellClicked(0, 3);
        QTEST(labels({"Kz", "Tay", "Kf2"}), "labels");
    }

    void commandsReachTheFile()
    {
        Folder f;
        const Table graphs = {graph("7", {"1", "2"}), graph("3", {"9.5"}), graph("12")};
        open(f, graphs);
        QCOMPARE(table()->columnCount(), 25);
        table()->sortItems(0, Qt::AscendingOrder);   // "12", "3", "7" as texts
        table()->setCurrentCell(1, 5);
        click("CopyButton");                          // a second "3", sorted in beside the first
        QCOMPARE(table()->currentRow(), 2);
        table()->setCurrentCell(0, 0);
        click("DelButton");                           // "12"
        QVERIFY(editCell(table(), 1, 2, "2,5"));      // the copy, hour 2
        click("AddButton");
        click("AddButton");
        click("SaveButton");
        QCOMPARE(f.rec.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(file.stored(),
                 (Table{graph("0"), graph("0"), graph("3", {"9.5"}), graph("3", {"9.5", "2.5"}), graph("7", {"1", "2"})}));
    }

    // The file is kept as ".bak" from the second save on; a refused write reports no success.
    void savesAndBackups()
    {
        Folder f;
        open();   // no file yet
        f.rec.clear();
        click("SaveButton");
        QCOMPARE(f.rec.warnings(), QStringList{"Предупреждение|Пустая таблица -" + f.filePath("grafiki.xml")});
        click("AddButton");
        click("SaveButton");
        const QByteArray first = f.readFile("grafiki.xml");
        QVERIFY(!f.exists("grafiki.bak"));
        click("AddButton");
        click("SaveButton");
        QCOMPARE(f.readFile("grafiki.bak"), first);
        QCOMPARE(file.stored().size(), 2);
    }
};

QTEST_MAIN(TestGrafik)
#include "tst_grafik.moc"
