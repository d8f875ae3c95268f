// Cell editor of numbers: what an edit closed with Enter or Escape leaves in the cell.

#include "dialogfixture.h"
#include "dialogs/delegate.h"

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    void edit_data()
    {
        QTest::addColumn<QVector<double>>("editor");   // minimum, maximum, decimals, writes only edits
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("typed");   // empty: opened and closed
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        const QVector<double> whole{0, 99999999, 0, 0}, three{0, 99999999, 3, 0}, edits{0, 9999, 3, 1},
                              upTo1000{0, 1000, 0, 0};
        const int enter = Qt::Key_Return;
        QTest::newRow("large node number stays whole") << whole << "1000000" << "" << enter << "1000000";
        QTest::newRow("three decimals") << three << "2.71828" << "" << enter << "2.718";
        QTest::newRow("text is no number") << QVector<double>{5, 99999999, 1, 0} << "abc" << "" << enter << "5";
        QTest::newRow("large value never in exponent form") << three << "2000000" << "" << enter << "2000000";
        QTest::newRow("Escape leaves the cell") << upTo1000 << "2500" << "7" << int(Qt::Key_Escape) << "2500";
        QTest::newRow("beyond the range, Enter stores the maximum") << upTo1000 << "2500" << "" << enter << "1000";
        QTest::newRow("typed decimal point") << three << "0.3" << "0.4" << enter << "0.4";
        QTest::newRow("one decimal, not rounded to a whole") << QVector<double>{0, 999.9, 1, 0} << "2.5" << "" << enter << "2.5";
        // A cell only opened and closed keeps what the file holds.
        QTest::newRow("above the range, kept") << edits << "150000" << "" << enter << "150000";
        QTest::newRow("no number, kept") << edits << "abc" << "" << enter << "abc";
        QTest::newRow("edited to what it showed") << edits << "150000" << "9999" << enter << "9999";
    }
    // The editor opens over its cell.
    void editorCoversItsCell()
    {
        QTableWidget table(2, 2);
        table.setItem(1, 1, new QTableWidgetItem("5"));
        table.setItemDelegate(new DSBDelegate(&table, 0, 10, 1, 0));
        table.show();
        table.editItem(table.item(1, 1));
        const QWidget* editor = table.indexWidget(table.model()->index(1, 1));
        QVERIFY(editor);
        QCOMPARE(editor->geometry(), table.visualItemRect(table.item(1, 1)));
    }

    void edit()
    {
        QFETCH(QVector<double>, editor);
        QFETCH(QString, cell);
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(QString, expected);
        const QLocale previous;
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Russian), QLocale(QLocale::English)}) {
            QLocale::setDefault(locale);
            QTableWidget table(1, 1);
            table.setItem(0, 0, new QTableWidgetItem(cell));
            auto* delegate = new DSBDelegate(&table, editor[0], editor[1], 0.1, int(editor[2]));
            delegate->setWritesOnlyEdits(editor[3] == 1);
            table.setItemDelegate(delegate);
            table.show();
            typeInto(&table, 0, 0, typed, Qt::Key(key));
            QLocale::setDefault(previous);
            QCOMPARE(locale.name() + ": " + table.item(0, 0)->text(), locale.name() + ": " + expected);
        }
    }
};

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
