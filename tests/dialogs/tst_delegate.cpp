// Cell editor of numbers: what a committed edit leaves in the cell.

#include "dialogs/delegate.h"

#include <QDoubleSpinBox>
#include <QLocale>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QStyleOptionViewItem>
#include <QtTest>

class TestDelegate : public QObject
{
    Q_OBJECT

private slots:
    // An editor opened on a cell, typed over (unless typed is null) and committed.
    void commit_data()
    {
        QTest::addColumn<QVector<double>>("editor");   // minimum, maximum, decimals, writes only edits
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("expected");
        const QVector<double> whole{0, 99999999, 0, 0}, three{0, 99999999, 3, 0}, edits{0, 9999, 3, 1};
        const QLocale c = QLocale::c();
        QTest::newRow("whole numbers round") << whole << c << "12.7" << QByteArray() << "13";
        QTest::newRow("large node number stays whole") << whole << c << "1000000" << QByteArray() << "1000000";
        QTest::newRow("three decimals") << three << c << "2.71828" << QByteArray() << "2.718";
        QTest::newRow("shortest form") << three << c << "12.000" << QByteArray() << "12";
        QTest::newRow("text is no number") << QVector<double>{5, 99999999, 1, 0} << c << "abc" << QByteArray() << "5";
        QTest::newRow("large value never in exponent form") << three << c << "2000000" << QByteArray() << "2000000";
        QTest::newRow("small value in plain decimals") << three << c << "0.0004" << QByteArray() << "0";
        // Typed "0,4" under the program's own C locale once stored 4.
        for (const QLocale& locale : {c, QLocale(QLocale::Russian, QLocale::Russia),
                                      QLocale(QLocale::English, QLocale::UnitedStates)}) {
            for (const char* typed : {"0,4", "0.4"})
                QTest::addRow("%s %s", qPrintable(locale.name()), typed) << three << locale << "0.3" << QByteArray(typed)
                                                                         << "0.4";
        }
        // A cell only opened and closed keeps what the file holds.
        QTest::newRow("above the range, kept") << edits << c << "150000" << QByteArray() << "150000";
        QTest::newRow("no number, kept") << edits << c << "abc" << QByteArray() << "abc";
        QTest::newRow("edited") << edits << c << "150000" << QByteArray("25") << "25";
        QTest::newRow("edited to what it showed") << edits << c << "150000" << QByteArray("9999") << "9999";
    }
    void commit()
    {
        QFETCH(QVector<double>, editor);
        QFETCH(QLocale, locale);
        QFETCH(QString, cell);
        QFETCH(QByteArray, typed);
        const QLocale previous;
        QLocale::setDefault(locale);
        DSBDelegate delegate(nullptr, editor[0], editor[1], 0.1, int(editor[2]));
        delegate.setWritesOnlyEdits(editor[3] == 1);
        QStandardItemModel model(1, 1);
        const QModelIndex index = model.index(0, 0);
        model.setData(index, cell);
        QWidget parent;
        auto* spinBox = static_cast<QDoubleSpinBox*>(delegate.createEditor(&parent, QStyleOptionViewItem(), index));
        delegate.setEditorData(spinBox, index);
        if (!typed.isNull()) {
            spinBox->selectAll();
            QTest::keyClicks(spinBox, QString::fromUtf8(typed));
        }
        delegate.setModelData(spinBox, &model, index);
        QLocale::setDefault(previous);
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
