// Enter in the main window: in a settings box or the file dialog's name it presses no button, in
// the tree's search line it finds.

#include "enterkey.h"
#include "shellfixture.h"

// The program started on the example network; every question answered Yes.
struct Examples : Program
{
    Examples()
    {
        copyExamples();
        messages.defaultAnswer = false;
        start().show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }
};

class TestEnterKey : public QObject
{
    Q_OBJECT

private slots:
    // Nothing saved, asked or opened: no settings written, no model saved.
    void enterPressesNoButton_data()
    {
        QTest::addColumn<QString>("command");   // what opens the box first
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("settings: year") << QString() << "Period" << "2024";
        QTest::newRow("settings: temperature") << QString() << "TempMec" << "-3,5";
        QTest::newRow("model to save: name") << "slot_SaveModel" << "lineEdit" << "model.xml";
    }
    void enterPressesNoButton()
    {
        QFETCH(QString, command);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        Examples p;
        if (!command.isEmpty())
            QMetaObject::invokeMethod(p.window.get(), command.toLatin1().constData());
        const QStringList windows = shownWindows();
        const QMap<QString, QByteArray> files = p.files();
        p.messages.clear();
        QWidget* input = p.window->findChild<QWidget*>(box);
        QVERIFY(input && input->isVisible());
        QVERIFY(typeAndEnter(input, typed));
        QCOMPARE(p.messages.all(), QStringList());
        QCOMPARE(shownWindows(), windows);
        QVERIFY(p.files() == files);
    }

    // The tree's search line finds as its button does: the line named so becomes current.
    void treeSearchLineEnterFinds()
    {
        Examples p;
        p.messages.clear();
        CTreeZORVAN* tree = p.window->objectTree();
        QVERIFY(typeAndEnter(tree->LineFind, "Кузьминки"));
        QVERIFY(tree->TreeView->currentIndex().data().toString().contains("Заречная - Кузьминки"));
        QCOMPARE(p.messages.all(), QStringList());
    }
};

QTEST_MAIN(TestEnterKey)
#include "tst_enterkey.moc"
