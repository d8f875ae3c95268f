// The confirmation box: No is the default, and anything but Yes counts as No.

#include "store/ui/widgetmessages.h"

#include <QtTest>
#include <QtWidgets>

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("action");
        for (const char* action : {"yes", "no", "escape", "close"})
            QTest::newRow(action) << action;
    }

    void answers()
    {
        QFETCH(QString, action);
        QScopedPointer<QMessageBox> box(createConfirmationBox("Сохранить?", "Вопрос"));
        QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
        QTimer::singleShot(0, box.data(), [&box, action] {
            if (action == "escape")
                QTest::keyClick(box.data(), Qt::Key_Escape);
            else if (action == "close")
                box->close();
            else
                box->button(action == "yes" ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(runConfirmationBox(box.data()), action != "yes");   // true for No
    }
};

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
