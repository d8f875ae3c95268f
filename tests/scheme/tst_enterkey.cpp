// Enter in the scheme editor's search line finds.

#include "enterkey.h"
#include "scheme/CGraph_DMS.h"
#include "schemefixture.h"

class TestEnterKey : public SchemeCase
{
    Q_OBJECT

    QPointer<CGraph_DMS> m_w;

private slots:
    void init()
    {
        openWork();
        m_w = new CGraph_DMS;
    }
    void cleanup() { delete m_w.data(); }

    // The search line's Enter finds as the button does: the section found turns red.
    void searchLineEnterFinds()
    {
        QVERIFY(typeAndEnter(m_w->FindLine, "Участок 1"));
        QCOMPARE(line(*m_w->scene(), "2")->m_color, QColor(255, 0, 0));
        QCOMPARE(m_rec->all(), QStringList());
    }
};

QTEST_MAIN(TestEnterKey)
#include "tst_enterkey.moc"
