// The confirmation box: No is the default, and anything but Yes counts as No.

#include "store/ui/widgetmessages.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void answers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("result");
        QTest::newRow("Yes") << "yes" << false;
        QTest::newRow("No") << "no" << true;
        QTest::newRow("Escape") << "escape" << true;
        QTest::newRow("closing") << "close" << true;
    }

    void answers()
    {
        QFETCH(QString, action);
        QFETCH(bool, result);
        QMessageBox* box = createConfirmationBox("Сохранить?", "Вопрос");
        QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
        QTimer::singleShot(0, box, [box, action] {
            if (action == "escape")
                QTest::keyClick(box, Qt::Key_Escape);
            else if (action == "close")
                box->close();
            else
                box->button(action == "yes" ? QMessageBox::Yes : QMessageBox::No)->click();
        });
        QCOMPARE(runConfirmationBox(box), result);
        delete box;
    }
};

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
