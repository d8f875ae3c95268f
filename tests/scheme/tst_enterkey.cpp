// Enter in the scheme editor: in a parameter pop-up's box it presses no button, in the search line it finds.

#include "enterkey.h"
#include "scheme/CGraph_DMS.h"
#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"
#include "schemefixture.h"

class TestEnterKey : public SchemeCase
{
    Q_OBJECT

    QPointer<CGraph_DMS> m_w;

    // The parameter pop-up of the element of key, as its menu opens it.
    QWidget* showPopup(int kind, const QString& key) const
    {
        DiagramScene& scene = *m_w->scene();
        scene.setCurrentBranchKey(key);
        if (kind == KindTransf3) {
            scene.ParamTR3(element(scene, kind, key), QPoint(100, 100));
            return shownPopup<CparamTR3>();
        }
        scene.ParamUCH(kind, QPoint(100, 100));
        return kind == KindLine ? static_cast<QWidget*>(shownPopup<CparamUCH>()) : shownPopup<CparamTR2>();
    }

private slots:
    void init()
    {
        openWork();
        m_w = new CGraph_DMS;
    }
    void cleanup() { delete m_w.data(); }

    // OK stays unpressed: the pop-up stays open and hands no row to the scheme.
    void enterPressesNoButton_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::newRow("section: length") << int(KindLine) << "1" << "DlinaSpin" << "2,5";
        QTest::newRow("two-winding: tap") << int(KindTransf2) << "3" << "spinOtv" << "-2";
        QTest::newRow("three-winding: second comment") << int(KindTransf3) << "4" << "KommEdit_2" << "T-4";
    }
    void enterPressesNoButton()
    {
        QFETCH(int, kind);
        QFETCH(QString, key);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QWidget* popup = showPopup(kind, key);
        QVERIFY(popup);
        QSignalSpy handed(popup, SIGNAL(signalOKParamButton(QStringList)));
        QVERIFY(typeAndEnter(popup->findChild<QWidget*>(box), typed));
        QCOMPARE(handed.count(), 0);
        QVERIFY(popup->isVisible());
        QCOMPARE(m_rec->all(), QStringList());
    }

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
