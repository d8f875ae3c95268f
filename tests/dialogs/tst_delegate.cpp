// Cell editors: what a committed edit leaves in the cell.

#include "dialogs/delegate.h"

#include <QDoubleSpinBox>
#include <QStandardItemModel>
#include <QStyleOptionViewItem>
#include <QtTest>

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    void commitsValue_data();
    void commitsValue();
    void readOnlyColumnHasNoEditor();
};

void TestDelegate::commitsValue_data()
{
    QTest::addColumn<double>("minimum");
    QTest::addColumn<double>("maximum");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("typed");    // empty: commit what the editor shows
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole numbers round") << 0.0 << 99999999.0 << 0 << "12.7" << "" << "13";
    QTest::newRow("large node number stays whole") << 0.0 << 99999999.0 << 0 << "1000000" << "" << "1000000";
    QTest::newRow("three decimals") << 0.0 << 100.0 << 3 << "2.71828" << "" << "2.718";
    QTest::newRow("shortest form") << 0.0 << 100.0 << 3 << "12.000" << "" << "12";
    QTest::newRow("text is no number") << 5.0 << 100.0 << 1 << "abc" << "" << "5";
    QTest::newRow("held at the maximum") << 0.0 << 100.0 << 2 << "250" << "" << "100";
    QTest::newRow("typed text replaces") << 0.0 << 100.0 << 2 << "1" << "42.5" << "42.5";
}

void TestDelegate::commitsValue()
{
    QFETCH(double, minimum);
    QFETCH(double, maximum);
    QFETCH(int, decimals);
    QFETCH(QString, cell);
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    QStandardItemModel model(1, 1);
    model.setData(model.index(0, 0), cell);
    DSBDelegate delegate(nullptr, minimum, maximum, 0.1, decimals);
    QWidget parent;
    QWidget* editor = delegate.createEditor(&parent, QStyleOptionViewItem(), model.index(0, 0));
    auto* spinBox = qobject_cast<QDoubleSpinBox*>(editor);
    QVERIFY(spinBox);
    delegate.setEditorData(editor, model.index(0, 0));
    if (!typed.isEmpty()) {
        spinBox->selectAll();
        QTest::keyClicks(spinBox, typed);
    }
    delegate.setModelData(editor, &model, model.index(0, 0));
    QCOMPARE(model.data(model.index(0, 0)).toString(), expected);
}

void TestDelegate::readOnlyColumnHasNoEditor()
{
    NonEditTableColumnDelegate delegate(nullptr);
    QWidget parent;
    QVERIFY(!delegate.createEditor(&parent, QStyleOptionViewItem(), QModelIndex()));
}

QTEST_MAIN(TestDelegate)
#include "tst_delegate.moc"
