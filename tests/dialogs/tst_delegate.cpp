// Cell editor of numbers: what a committed edit leaves in the cell.

#include "dialogs/delegate.h"

#include <QStandardItemModel>
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
        QTest::newRow("large value never in exponent form") << 0.0 << 3 << "2000000" << "2000000";
        QTest::newRow("small value in plain decimals") << 0.0 << 3 << "0.0004" << "0";
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
};

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
