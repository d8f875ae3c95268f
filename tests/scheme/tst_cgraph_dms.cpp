// The scheme editor window: saving, closing, the confirmations and the view's tools.

#include "schemefixture.h"
#include "scheme/CGraph_DMS.h"
#include "scheme/CNavigate.h"
#include "scheme/CmenuBranch.h"
#include "scheme/CmenuNode.h"
#include "scheme/CparamUCH.h"
#include "scheme/createsxem.h"
#include "scheme/CparamTR2.h"
#include "scheme/schemerecords.h"

#include <QColorDialog>

namespace {

QStringList fileRows() { return rowTexts(ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN")); }

SxemaLin savedLine1() { return readSxemaFile().records.value(0); }

// The record whose field holds key, joined by ';'.
QString withKey(const Table& records, int field, const QString& key)
{
    for (const QStringList& r : records)
        if (r.value(field) == key)
            return r.join(';');
    return QString();
}

} // namespace

class TestCGraphDMS : public SchemeCase
{
    Q_OBJECT

private:
    QPointer<CGraph_DMS> m_w;

    CGraph_DMS* open(const QString& nlin = "1", QSize size = {800, 400})
    {
        NLIN = nlin;
        m_w = new CGraph_DMS;
        m_w->resize(size);
        m_w->show();
        [&] { QVERIFY(QTest::qWaitForWindowExposed(m_w)); }();
        return m_w;
    }
    void close()
    {
        m_w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    DiagramScene& scene() const { return *m_w->scene(); }
    void damageTable() const { m_dir->writeFile("uch_lin.xml", m_dir->readFile("uch_lin.xml") + "<UCH_LIN npes="); }
    QString asked() const
    {
        const RecordedMessage m = m_rec->messages.value(0);
        return m.kind == "question" ? m.title + '|' + m.text : QString();
    }

private slots:
    void init() { openWork(); }
    void cleanup() { delete m_w.data(); }

    // Saved as laid out, labels where the loader put them, the rows left alone.
    void layoutSaved()
    {
        QFile::remove(m_dir->filePath("sxemalin.xml"));
        const QByteArray table = m_dir->readFile("uch_lin.xml");
        const CreateSxem laid(1);
        open()->slot_SaveGraph();
        QCOMPARE(m_rec->texts(), QStringList({"В архиве схем нет сохраненной схемы. Схема будет создана автоматически",
                                              "Данные сохранены"}));
        const SxemaLin saved = savedLine1();
        QCOMPARE(saved.key, QStringList({"1", "1", "1", "rgb(0,0,0)"}));
        QCOMPARE(schemeRecords(saved, 3, true), schemeRecords(laid, 3, true));
        QVERIFY(schemeRecords(saved).contains("Node 10;117;35;7;0;-10;97;0"));
        QCOMPARE(m_dir->readFile("uch_lin.xml"), table);
        QVERIFY(!m_dir->exists("uch_lin.bak"));
    }

    // A line dragged whole and the background are saved as drawn; reopened, all is saved the same.
    void savedAsDrawn()
    {
        open();
        SchemeView view(&scene());
        view.drag(QPointF(276, 80), {QPointF(281, 90), QPointF(286, 100)});
        m_w->bkGroundButton->click();
        m_w->findChild<QColorDialog*>()->setCurrentColor(QColor(232, 232, 232));
        m_w->slot_SaveGraph();
        const SxemaLin saved = savedLine1();
        QCOMPARE(saved.key.value(3), QString("rgb(232,232,232)"));
        close();
        open()->slot_SaveGraph();
        QCOMPARE(vertices(line(scene(), "2")), QString("172,139 250,61 322,139"));
        QCOMPARE(m_w->m_pView->backgroundBrush().color(), QColor(232, 232, 232));
        QCOMPARE(schemeRecords(savedLine1(), 0, true), schemeRecords(saved, 0, true));
    }

    // Rows others saved meanwhile stay unless the editor changed them; all goes to the editor's line.
    void changesMeanwhileSurvive()
    {
        open();
        NLIN = "2";
        QStringList edited = scene().lineRows().at(0);
        edited[uchName] = "Правка в схеме";
        scene().slot_ParamUCH(edited);
        element(scene(), KindTransf2, "3")->setSelected(true);
        scene().DelItems();
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddTP();
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        for (int i : {0, 1, 2, 8})
            rows[i][uchName] = "Из таблицы";
        rows.append(rows.at(1));
        rows.last()[uchKey] = "30";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        m_w->slot_SaveGraph();
        QCOMPARE(fileRows(), QStringList({"1:1 Правка в схеме", "1:2 Из таблицы", "1:4 Участок 2-4", "1:5 Участок 4-5",
                                          "1:6 Участок 4-6", "1:7 Участок 0-7", "1: Участок 2-10", "1:8 Новый тр-р",
                                          "1:30 Из таблицы", "2:9 Из таблицы"}));
        QCOMPARE(readSxemaFile().records.size(), 1);
    }

    // Yes writes line 2's rows first, the old table kept, a refused drawing or not; a damaged table writes nothing.
    void saveAndClose_data()
    {
        QTest::addColumn<QString>("before");   // damage, edit, save: done in this order
        QTest::addColumn<bool>("answerNo");
        QTest::addColumn<bool>("written");
        QTest::newRow("no edits") << "" << false << false;
        QTest::newRow("edited, No") << "edit" << true << false;
        QTest::newRow("edited, Yes") << "edit" << false << true;
        QTest::newRow("edited and saved") << "edit save" << false << true;
        QTest::newRow("drawing refused") << "edit refuse save" << false << true;
        QTest::newRow("damaged at opening") << "damage save" << false << false;
        QTest::newRow("damaged at saving") << "edit damage save" << false << false;
    }
    void saveAndClose()
    {
        QFETCH(QString, before);
        QFETCH(bool, answerNo);
        QFETCH(bool, written);
        const QByteArray table = m_dir->readFile("uch_lin.xml");
        const QStringList rows = fileRows();
        if (before.startsWith("damage"))
            damageTable();
        open("2");
        if (before.startsWith("edit")) {
            QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
            scene().AddLine();
        }
        if (before.startsWith("edit damage"))
            damageTable();
        if (before.contains("refuse"))
            m_dir->writeFile("sxemalin.xml", "<lines_sxemes><LinID");
        const QMap<QString, QByteArray> files = m_dir->files();
        m_rec->clear();
        if (before.endsWith("save"))
            m_w->slot_SaveGraph();
        if (before.contains("damage")) {
            QCOMPARE(m_rec->warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + m_dir->filePath("uch_lin.xml")});
            QCOMPARE(m_dir->files(), files);
        }
        m_rec->clear();
        m_rec->answers = {answerNo};
        close();
        QCOMPARE(asked(), before == "edit" || before.startsWith("edit damage") ? QString("Сохранение|Сохранить изменения?")
                                                                               : QString());
        QCOMPARE(!m_w, before != "edit damage save");
        QCOMPARE(fileRows(), written ? QStringList({"2:9 Участок 0-1", "2:10 Новая линия"}) + rows.mid(0, 8) : rows);
        QCOMPARE(m_dir->readFile("uch_lin.bak"), written ? table : QByteArray());
    }

    void confirmations_data()
    {
        QTest::addColumn<QString>("question");   // asked by the button the row is named after
        QTest::newRow("DeleteButton") << "Вы действительно хотите удалить выбранные объекты со схемы и из базы данных?";
        QTest::newRow("CreateSxemButton") << "Существующая схема будет заменена новой. Продолжить?";
        QTest::newRow("UpdateButton") << "Обновить существующую схему?";
    }
    void confirmations()
    {
        QFETCH(QString, question);
        for (bool answerNo : {true, false}) {
            delete m_w.data();
            open();
            line(scene(), "99")->setSelected(true);
            m_rec->clear();
            m_rec->answers = {answerNo};
            m_w->findChild<QToolButton*>(QTest::currentDataTag())->click();
            QCOMPARE(asked(), "Предупреждение|" + question);
            QCOMPARE(!line(scene(), "99"), !answerNo);
            QVERIFY(line(scene(), "1"));
        }
    }

    // A new layout draws every element anew, its labels at their default
    // places; only the update keeps where the saved drawing has them.
    void newLayoutOrUpdate_data()
    {
        QTest::addColumn<int>("mode");            // of the layout the button's command draws
        QTest::addColumn<QStringList>("moved");   // bus 1 and line 1 as they would be saved
        QTest::newRow("CreateSxemButton") << 1 << QStringList({"160;117;35;7;1;140;97;0", "12,119 162,119;1;52;104;0"});
        QTest::newRow("UpdateButton") << 2 << QStringList({"200;50;35;7;1;210;40;0", "12,119 90,150 162,119;1;70;160;0"});
    }
    void newLayoutOrUpdate()
    {
        QFETCH(int, mode);
        SxemaLin s = savedLine1();
        s.nodes[1] = QStringList{"200", "50", "35", "7", "1", "210", "40", "0"};
        s.lines[0][2] = "70";
        s.lines[0][3] = "160";
        QVERIFY(writeSxemaFile({s}));
        open();
        m_rec->answers = {false};
        m_w->findChild<QToolButton*>(QTest::currentDataTag())->click();
        const SxemaLin drawn = drawnScheme(scene(), "");
        QCOMPARE(schemeRecords(drawn, 3, true), schemeRecords(CreateSxem(mode), 3, true));
        QTEST(QStringList({withKey(drawn.nodes, 4, "1"), withKey(drawn.lines, 1, "1")}), "moved");
    }

    // Places without decimals, a bar's height as it is, a unit's voltages in
    // the general format; a hidden label is saved hidden, an element whose
    // label was deleted without one.
    void savedRecords()
    {
        open();
        BusItem* b = bus(scene(), "0");
        b->setPos(10.6, 99.4);
        b->setRect(0, 0, 20, 5.5);
        QVERIFY(scene().setCurrentNode("1", bus(scene(), "1")));
        scene().AddTP();
        SchemeView view(&scene());
        view.click(QPointF(20, 125), Qt::RightButton);   // the label of line 1
        scene().itemAt(QPointF(300, 100), QTransform())->setSelected(true);   // the label of bus 2
        scene().DelItems();
        m_w->slot_SaveGraph();
        const SxemaLin saved = savedLine1();
        QCOMPARE(QStringList({withKey(saved.nodes, 4, "0"), withKey(saved.nodes, 4, "2"), withKey(saved.lines, 1, "1"),
                              withKey(saved.transf, 6, "8")}),
                 QStringList({"11;99;20;5.5;0;-10;97;0", "310;117;70;7;2;0;0;0", "12,119 90,150 162,119;1;16;119;1",
                              "145;122;35;70;110;10;8;280;197;0"}));
    }

    // A right click on a line section makes it the current branch and opens
    // its menu, whose parameter command shows that section's row; a right
    // click on a bus or a transformer makes neither the current branch.
    void rightClicks()
    {
        open();
        SchemeView view(&scene());
        view.click(QPointF(276, 80), Qt::RightButton);   // line 2
        QCoreApplication::processEvents();
        QVERIFY(m_w->branchMenu()->isVisible());
        QCOMPARE(scene().currentBranchKey(), QString("2"));
        QCOMPARE(scene().currentBranchItem(), line(scene(), "2"));
        m_w->slot_BranchExec(CmenuBranch::Param);
        QVERIFY(!m_w->branchMenu()->isVisible());
        QCOMPARE(shownPopup<CparamUCH>()->findChild<QLineEdit*>("KommEdit")->text(), QString("Участок 1-2"));

        view.click(QPointF(350, 120), Qt::RightButton);   // bus 2
        view.click(QPointF(170, 170), Qt::RightButton);   // transformer 3: its pop-up at once
        QCoreApplication::processEvents();
        QVERIFY(m_w->nodeMenu()->isVisible());
        QCOMPARE(shownPopup<CparamTR2>()->findChild<QLineEdit*>("KommEdit")->text(), QString("Участок 1-3"));
        QCOMPARE(scene().currentBranchItem(), line(scene(), "2"));
        QVERIFY(!scene().setCurrentBranch("3", element(scene(), KindTransf2, "3")));
        QVERIFY(!scene().currentBranchItem() && scene().currentBranchKey().isEmpty());
    }

    // Offered from a drawing 1550 wide on.
    void navigation()
    {
        SxemaLin s = savedLine1();
        s.nodes.append({"1452", "117", "7", "7", "20", "0", "0", "0"});
        QVERIFY(writeSxemaFile({s}));
        QVERIFY(!open()->NavigateButton->isEnabled());
        delete m_w.data();
        s.nodes.last()[0] = "1453";
        QVERIFY(writeSxemaFile({s}));
        QVERIFY(open()->NavigateButton->isEnabled());
        m_w->NavigateButton->click();
        QPointer<CNavigate> navigator = shownPopup<CNavigate>();
        QCOMPARE(navigator->findChild<QLabel*>()->pixmap(Qt::ReturnByValue).size(), QSize(400, 154));
        QVERIFY(navigator->testAttribute(Qt::WA_DeleteOnClose));
        QTest::mouseClick(navigator, Qt::LeftButton, {}, QPoint(200, 60));
        const QPointF centre = m_w->m_pView->mapToScene(m_w->m_pView->viewport()->rect().center());
        QVERIFY(QLineF(centre, QPointF(775, 232.5)).length() < 2);

        // Closing takes the windows it opened along.
        QPointer<QWidget> nodeMenu = m_w->nodeMenu(), branchMenu = m_w->branchMenu();
        m_w->bkGroundButton->click();
        QPointer<QColorDialog> colors = m_w->findChild<QColorDialog*>();
        scene().setCurrentBranchKey("1");
        scene().ParamUCH(KindLine, QPoint(10, 10));
        QPointer<CparamUCH> popup = shownPopup<CparamUCH>();
        QVERIFY(nodeMenu && branchMenu && navigator && colors && colors->isVisible() && popup);
        close();
        QVERIFY(!m_w && !nodeMenu && !branchMenu && !navigator && !colors && !popup);
    }

    // A new window shows "100%" but keeps the zoom factor another window left.
    void viewTools()
    {
        m_iScale = 2.0;
        open("1", QSize(400, 300));
        QGraphicsView& view = *m_w->m_pView;
        m_w->FindLine->setText("Участок 1");
        view.centerOn(0, 0);
        m_w->m_pFindButton->click();
        QCOMPARE(line(scene(), "2")->m_color, QColor(255, 0, 0));
        QVERIFY(qAbs(view.mapToScene(view.viewport()->rect().center()).x() - 237) < 2);
        m_w->FindLine->setText("Участок 2-4");
        m_w->m_pFindButton->click();
        QCOMPARE(element<Transf3>(scene(), KindTransf3, "4")->m_colorHV, QColor(255, 0, 0));

        BusItem* b = bus(scene(), "1");   // under its transformer, over its lines
        b->setSelected(true);
        m_w->toFrontButton->click();
        QCOMPARE(b->zValue(), 1100.1);
        m_w->sendBackButton->click();
        QCOMPARE(b->zValue(), -0.1);

        auto zoom = [&] {   // factor, view scale, the enabled buttons
            return QString("%1 %2 %3%4").arg(m_iScale).arg(view.transform().m22())
                .arg(m_w->Scale_minus->isEnabled() ? "-" : "", m_w->Scale_plus->isEnabled() ? "+" : "");
        };
        QCOMPARE(m_w->sceneScaleCombo->currentText() + ' ' + zoom(), QString("100% 2 1 -+"));
        m_w->Scale_minus->click();
        m_w->Scale_minus->click();
        QCOMPARE(zoom(), QString("0.25 0.25 +"));
        for (int i = 0; i < 4; ++i)
            m_w->Scale_plus->click();
        QCOMPARE(zoom(), QString("4 4 -"));
        m_w->sceneScaleCombo->setCurrentText("200%");
        QCOMPARE(zoom(), QString("2 2 -+"));
    }
};

QTEST_MAIN(TestCGraphDMS)
#include "tst_cgraph_dms.moc"
