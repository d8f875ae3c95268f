// The confirmation box: No is the default, and anything but Yes counts as No.

#include "store/readregim.h"
#include "store/ui/widgetmessages.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

class TestMsgBox : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void answers_data();
    void answers();
    void questionGoesThroughTheSink();
};

void TestMsgBox::layout()
{
    QScopedPointer<QMessageBox> box(createConfirmationBox("Удалить?", "Внимание!"));
    QCOMPARE(box->windowTitle(), QStringLiteral("Внимание!"));
    QCOMPARE(box->text(), QStringLiteral("Удалить?"));
    QCOMPARE(box->icon(), QMessageBox::Question);
    QCOMPARE(box->font().family(), QStringLiteral("Arial"));
    QCOMPARE(box->font().pointSize(), 12);
    QVERIFY(box->font().bold());
    QCOMPARE(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::No));
    QVERIFY(box->button(QMessageBox::Yes));
    QVERIFY(!box->parent());
}

void TestMsgBox::answers_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("result");
    QTest::newRow("Yes") << "yes" << false;
    QTest::newRow("No") << "no" << true;
    QTest::newRow("Enter takes the default") << "enter" << true;
    QTest::newRow("Escape") << "escape" << true;
    QTest::newRow("closing") << "close" << true;
}

void TestMsgBox::answers()
{
    QFETCH(QString, action);
    QFETCH(bool, result);
    QMessageBox* box = createConfirmationBox("Сохранить?", "Вопрос");
    QTimer::singleShot(0, box, [box, action] {
        if (action == "yes")
            box->button(QMessageBox::Yes)->click();
        else if (action == "no")
            box->button(QMessageBox::No)->click();
        else if (action == "enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (action == "escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
    });
    QCOMPARE(runConfirmationBox(box), result);
    delete box;
}

void TestMsgBox::questionGoesThroughTheSink()
{
    MessageRecorder rec;
    rec.answers = {false, true};
    QCOMPARE(MsgBox("Первый?", "Т"), false);
    QCOMPARE(MsgBox("Второй?", "Т"), true);
    QCOMPARE(MsgBox("Третий?", "Т"), true);   // default answer is No
    QCOMPARE(rec.texts(), QStringList({"Первый?", "Второй?", "Третий?"}));
}

QTEST_MAIN(TestMsgBox)
#include "tst_msgbox.moc"
