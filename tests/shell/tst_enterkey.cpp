// Enter in the tree's search line finds.

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
