// Cell editor of numbers: what a committed edit leaves in the cell.

#include "dialogs/delegate.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QStyleOptionViewItem>
#include <QtTest>

// Opens an editor on a cell holding cell, types typed over it (nothing when
// typed is null) and commits; gives what the cell then holds.
static QString commit(DSBDelegate& delegate, const QString& cell, const char* typed)
{
    QStandardItemModel model(1, 1);
    const QModelIndex index = model.index(0, 0);
    model.setData(index, cell);
    QWidget parent;
    auto* editor = static_cast<QDoubleSpinBox*>(delegate.createEditor(&parent, QStyleOptionViewItem(), index));
    delegate.setEditorData(editor, index);
    if (typed) {
        editor->selectAll();
        QTest::keyClicks(editor, QString::fromUtf8(typed));
    }
    delegate.setModelData(editor, &model, index);
    return model.data(index).toString();
}

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
        DSBDelegate delegate(nullptr, minimum, 99999999.0, 0.1, decimals);
        QTEST(commit(delegate, cell, nullptr), "expected");
    }

    // Typed "0,4" under the program's own C locale once stored 4.
    void decimalCommaUnderAnyLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("typed");
        for (const QLocale& locale : {QLocale::c(), QLocale(QLocale::Russian, QLocale::Russia),
                                      QLocale(QLocale::English, QLocale::UnitedStates)}) {
            for (const char* typed : {"0,4", "0.4"})
                QTest::addRow("%s %s", qPrintable(locale.name()), typed) << locale << QString(typed);
        }
    }
    void decimalCommaUnderAnyLocale()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, typed);
        const QLocale previous;
        QLocale::setDefault(locale);
        DSBDelegate delegate(nullptr, 0, 19.99, 0.001, 3);
        const QString stored = commit(delegate, "0.3", typed.toUtf8().constData());
        QLocale::setDefault(previous);
        QCOMPARE(stored, QString("0.4"));
    }

    // A cell only opened and closed keeps what the file holds.
    void writesOnlyEdits_data()
    {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("above the range") << "150000" << QByteArray() << "150000";
        QTest::newRow("no number") << "abc" << QByteArray() << "abc";
        QTest::newRow("edited") << "150000" << QByteArray("25") << "25";
        QTest::newRow("edited to what it showed") << "150000" << QByteArray("9999") << "9999";
    }
    void writesOnlyEdits()
    {
        QFETCH(QString, cell);
        QFETCH(QByteArray, typed);
        DSBDelegate delegate(nullptr, 0, 9999, 0.1, 3);
        delegate.setWritesOnlyEdits(true);
        QTEST(commit(delegate, cell, typed.isNull() ? nullptr : typed.constData()), "expected");
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
