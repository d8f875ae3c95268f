// Cell editor of numbers: what a committed edit leaves in the cell.

#include "dialogs/delegate.h"

#include <QDoubleSpinBox>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QStyleOptionViewItem>
#include <QtTest>

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    void commitsValue_data()
    {
        QTest::addColumn<double>("minimum");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole numbers round") << 0.0 << 0 << "12.7" << "13";
        QTest::newRow("large node number stays whole") << 0.0 << 0 << "1000000" << "1000000";
        QTest::newRow("three decimals") << 0.0 << 3 << "2.71828" << "2.718";
        QTest::newRow("shortest form") << 0.0 << 3 << "12.000" << "12";
        QTest::newRow("text is no number") << 5.0 << 1 << "abc" << "5";
    }
    void commitsValue()
    {
        QFETCH(double, minimum);
        QFETCH(int, decimals);
        QFETCH(QString, cell);
        QStandardItemModel model(1, 1);
        const QModelIndex index = model.index(0, 0);
        model.setData(index, cell);
        DSBDelegate delegate(nullptr, minimum, 99999999.0, 0.1, decimals);
        QWidget parent;
        QWidget* editor = delegate.createEditor(&parent, QStyleOptionViewItem(), index);
        QVERIFY(editor);
        delegate.setEditorData(editor, index);
        delegate.setModelData(editor, &model, index);
        QTEST(model.data(index).toString(), "expected");
    }

    // In a table: Escape leaves the cell as it was; Enter stores a value
    // beyond the range held at the maximum.
    void escapeAndMaximumInATable()
    {
        QTableWidget table(1, 1);
        table.setItem(0, 0, new QTableWidgetItem("2500"));
        table.setItemDelegate(new DSBDelegate(&table, 0, 1000, 1, 0));
        table.show();
        for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
            table.editItem(table.item(0, 0));
            QTest::keyClick(table.findChild<QDoubleSpinBox*>(), Qt::Key(key));
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(table.item(0, 0)->text(), QString(key == Qt::Key_Escape ? "2500" : "1000"));
        }
    }
};

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
