// Enter in the object dialogs: typed into a box it presses no button; in the sections editor's
// search box it finds the next row.

#include "dialogfixture.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgRES.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "dialogs/CDlgVvodRES.h"
#include "enterkey.h"

#include <memory>

// RES 1,1 with line 1: a section, a transformer and a second section whose comment holds "1" too.
static void writeNetwork()
{
    saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "РЭС-1", "0", "0"}});
    TestNetwork net;
    net.addLine("1", "ВЛ-1", 35);
    net.addWire("АС-70", "70", "0", "0.428", "0.444");
    net.addTransType("ТМН-2500/35", "35", "2500", "3.9", "31", "5.1", "27.5", "1.5", "6", "35", "11");
    net.addSection("1", 0, 1, "АС-70", 4.5);
    net.addTrans("1", 1, 2, "ТМН-2500/35", 1.2, 0.5, 800, 300);
    net.addSection("1", 1, 3, "АС-70", 2)[3] = "Отпайка 1";
    net.write();
}

static QWidget* openForm(const QString& form)
{
    if (form == "line")
        return new CDlgLIN("1,1,1", nullptr);
    if (form == "RES")
        return new CDlgRES(QString(), nullptr);
    if (form == "sections")
        return new CDlgTblUchLIN(nullptr);
    return new CDlgVvodRES("1", "1", "Заречный РЭС");
}

class TestEnterKey : public QObject
{
    Q_OBJECT

    std::unique_ptr<Folder> f;

private slots:
    void init()
    {
        resetCalcGlobals();
        UNOM = 35;
        f.reset(new Folder);
        writeNetwork();
    }
    void cleanup() { f.reset(); }

    // Each dialog's first button (the sections editor, the monthly input, the save) stays unpressed:
    // nothing asked or said, no window opened, no file written.
    void enterPressesNoButton_data()
    {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");   // null: nothing
        QTest::newRow("line: dispatcher name") << "line" << "DnLIN" << "L-1";
        QTest::newRow("line: weekend consumption") << "line" << "Kfree" << "0,4";
        QTest::newRow("line: voltage at minimum") << "line" << "Umin" << "34";
        QTest::newRow("RES: dispatcher name") << "RES" << "DnRES" << "RES-1";
        QTest::newRow("RES: temperature") << "RES" << "SpinTemp" << "-3,5";
        QTest::newRow("sections: length") << "sections" << "DlinaSpin" << "2,5";
        QTest::newRow("sections: table") << "sections" << "tableWgt" << QString();
        QTest::newRow("monthly input: lines") << "input" << "tableLIN" << QString();
        QTest::newRow("monthly input: loads") << "input" << "tableWgt" << QString();
    }
    void enterPressesNoButton()
    {
        QFETCH(QString, form);
        QFETCH(QString, box);
        QFETCH(QString, typed);
        const std::unique_ptr<QWidget> dlg(openForm(form));
        const QMap<QString, QByteArray> files = f->files();
        f->rec.clear();
        QVERIFY(typeAndEnter(dlg->findChild<QWidget*>(box), typed));
        QCOMPARE(f->rec.all(), QStringList());
        QCOMPARE(shownWindows(), QStringList(dlg->windowTitle()));
        QVERIFY(f->files() == files);
    }

    // The search box's Enter finds as its button does: the next row holding "1", then the next.
    void searchBoxFindsNextRow()
    {
        CDlgTblUchLIN dlg(nullptr);
        QList<int> found;
        for (int press = 0; press < 3; ++press) {
            QVERIFY(typeAndEnter(dlg.LineFind, press == 0 ? "1" : QString()));
            found.append(dlg.tableWgt->selectionModel()->selectedRows().value(0).row());
        }
        QCOMPARE(found, (QList<int>{0, 1, 2}));
        QCOMPARE(f->rec.all(), QStringList());
    }
};

QTEST_MAIN(TestEnterKey)
#include "tst_enterkey.moc"
