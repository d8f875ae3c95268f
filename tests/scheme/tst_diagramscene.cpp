// The scheme scene: loading a line's saved scheme (registry, labels, links),
// the selection moved as a whole, keyboard moves, adding and deleting
// elements with their rows, the parameter pop-ups, and the window's queued
// menu calls for elements that are gone.

#include "schemefixture.h"
#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"
#include "scheme/uchrow.h"
#include "testsupport.h"

#include <QComboBox>

namespace {

// Registry records as "kind key name", buses with ": links".
QStringList registry(const DiagramScene& scene)
{
    QStringList out;
    for (const auto& r : scene.objects()) {
        QString text = QStringLiteral("%1 %2 %3").arg(r->kind).arg(r->key, r->name).trimmed();
        if (const auto* b = qgraphicsitem_cast<BusItem*>(r->item))
            text += ':' + QStringList(b->m_links.toList()).join(',').prepend(b->m_links.isEmpty() ? "" : " ");
        out.append(text);
    }
    return out;
}

// Labels as "kind name text x,y hide", sorted.
QStringList labels(const DiagramScene& scene)
{
    QStringList out;
    for (QGraphicsItem* item : scene.items()) {
        if (item->type() != TextParam::Type)
            continue;
        const auto* t = static_cast<TextParam*>(item);
        out.append(QStringLiteral("%1 %2 %3 %4,%5 %6").arg(t->m_kind).arg(t->m_name, t->lines().join('|'))
                       .arg(t->pos().x()).arg(t->pos().y()).arg(t->m_hide));
    }
    out.sort();
    return out;
}

QStringList keys(const Table& rows)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.value(uchKey));
    return out;
}

} // namespace

// Stands in for the editor window: takes the items' queued menu signals as
// the window does and hands the element to the scene.
class MenuReceiver : public QObject
{
    Q_OBJECT

public:
    DiagramScene* scene = nullptr;
    QList<bool> accepted;

public slots:
    void slot_NodeMenu(QPointF, QString name, QGraphicsItem* item)
    {
        accepted.append(scene->setCurrentNode(name, item));
    }
    void slot_BranchMenu(QPointF, QString key, QGraphicsItem* item)
    {
        accepted.append(scene->setCurrentBranch(key, item));
    }
    void slot_TransMenu(QPointF, QString key, QGraphicsItem*) { scene->setCurrentBranchKey(key); }
};

class TestDiagramScene : public QObject
{
    Q_OBJECT

private:
    TempWorkDir* m_dir = nullptr;
    MessageRecorder* m_rec = nullptr;
    MenuReceiver* m_window = nullptr;
    DiagramScene* m_scene = nullptr;

    void open()
    {
        m_window = new MenuReceiver;
        m_scene = m_window->scene = new DiagramScene(m_window);
        m_scene->LoadModel();
    }

    void select(const QList<QGraphicsItem*>& items)
    {
        m_scene->clearSelection();
        for (QGraphicsItem* item : items)
            item->setSelected(true);
    }

private slots:
    void init()
    {
        m_dir = new TempWorkDir;
        m_rec = new MessageRecorder;
        writeSchemeFixture();
    }

    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
        delete m_rec;
        delete m_dir;
    }

    // The saved scheme as drawn: records in order with the rows' names and
    // the rows' links, labels at their default places; a record whose key
    // no row has gets no name and no start node; the scene reaches the bus
    // at negative x while the drawing keeps its extent.
    void loadSavedScheme()
    {
        open();
        QCOMPARE(registry(*m_scene), QStringList({
            "0 0: 1,7", "0 1: 1,2,3", "0 2: 2,4", "0 9:",
            "4 1 Участок 0-1", "4 2 Участок 1-2", "4 99",
            "2 3 Участок 1-3", "3 4 Участок 2-4", "3 7 Участок 0-7"}));
        QCOMPARE(labels(*m_scene), QStringList({
            "0 0 Узел 0 -10,97 0", "0 1 Узел 1 140,97 0", "0 2 Узел 2 290,97 0", "0 9 параметр -120,280 1",
            "2 3 Участок 1-3 135,202 0", "3 4 Участок 2-4 295,202 0", "3 7 Участок 0-7 -5,202 0",
            "4 1 Участок 0-1 16,119 0", "4 2 Участок 1-2 166,65 0", "4 99 параметр 415,185 0"}));
        QCOMPARE(line(*m_scene, "2")->m_startNode, QString("1"));
        QCOMPARE(line(*m_scene, "99")->m_startNode, QString());
        QCOMPARE(element<Transf3>(*m_scene, KindTransf3, "4")->m_variant, 0);
        QCOMPARE(element<Transf3>(*m_scene, KindTransf3, "7")->m_variant, 1);
        QCOMPARE(m_scene->lineRows().size(), 8);
        QCOMPARE(m_scene->allRows().size(), 9);
        QCOMPARE(m_scene->backgroundColor(), QColor(10, 20, 30));
        QCOMPARE(QSize(m_scene->drawingWidth(), m_scene->drawingHeight()), QSize(800, 600));
        QVERIFY(m_scene->sceneRect().contains(m_scene->itemsBoundingRect()));
        QVERIFY(m_rec->messages.isEmpty());
        QVERIFY(!m_scene->isModified());
    }

    // Without a saved scheme: one warning, then the layout of the rows.
    void noSavedScheme()
    {
        QFile::remove(m_dir->filePath("sxemalin.xml"));
        open();
        QCOMPARE(m_rec->texts(), QStringList{"В архиве схем нет сохраненной схемы. Схема будет создана автоматически"});
        QCOMPARE(registry(*m_scene).mid(0, 4), QStringList({"0 0: 1,7", "0 1: 1,2,3", "0 2: 2,4", "0 10:"}));
    }

    // The scene works on the line it was opened on, whatever is entered
    // meanwhile, and leaves the globals as it found them.
    void ownSelection()
    {
        m_window = new MenuReceiver;
        m_scene = m_window->scene = new DiagramScene(m_window);
        NLIN = "2";
        UNOM = 35;
        m_scene->LoadModel();
        QVERIFY(m_rec->messages.isEmpty());   // line 1's saved scheme
        QCOMPARE(registry(*m_scene).first(), QString("0 0: 1,7"));
        m_scene->LoadSxems(1);
        QCOMPARE(registry(*m_scene).mid(0, 2), QStringList({"0 0: 1,7", "0 1: 1,2,3"}));
        QCOMPARE(bus(*m_scene, "0")->rect().height(), 7.0);   // laid out at 110 kV
        QCOMPARE(NLIN, QString("2"));
        QCOMPARE(UNOM, 35.0);

        QVERIFY(m_scene->setCurrentNode("1", bus(*m_scene, "1")));
        m_scene->AddTP();
        QCOMPARE(m_scene->lineRows().last().mid(0, 3), QStringList({"1", "1", "1"}));
        m_scene->setCurrentBranchKey("8");
        m_scene->ParamUCH(KindTransf2, QPoint(10, 10));
        auto* popup = shownPopup<CparamTR2>();
        QVERIFY(popup);
        auto* types = popup->findChild<QComboBox*>("Markacombo");
        QVERIFY(types->findText("ТДН-10000/110") >= 0);
        QCOMPARE(types->findText("ТМ-1000/35"), -1);
        popup->hide();
    }

    // Two buses selected by Ctrl clicks move together with every line end
    // at them: the line between them whole, the line at one of them by its
    // end only, step after step.
    void moveSelection()
    {
        open();
        SchemeView view(m_scene);
        view.click(QPointF(180, 119), Qt::LeftButton, Qt::ControlModifier);
        view.click(QPointF(350, 119), Qt::LeftButton, Qt::ControlModifier);
        QCOMPARE(m_scene->mode(), QString("Move"));
        view.drag(QPointF(180, 119), {QPointF(181, 120), QPointF(183, 122), QPointF(185, 124)});
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(165, 122));
        QCOMPARE(bus(*m_scene, "2")->pos(), QPointF(315, 122));
        QCOMPARE(vertices(line(*m_scene, "2")), QString("167,124 245,46 317,124"));
        QCOMPARE(vertices(line(*m_scene, "1")), QString("12,119 90,150 167,124"));
        QCOMPARE(element<Transf2>(*m_scene, KindTransf2, "3")->pos(), QPointF(155, 122));

        view.click(QPointF(600, 500));   // empty space ends it
        QCOMPARE(m_scene->mode(), QString("Select"));
        QVERIFY(m_scene->selectedItems().isEmpty());
    }

    // Z moves the selection 10 down, a line as a whole without reshaping.
    void keyboardMove()
    {
        open();
        SchemeView view(m_scene);
        select({bus(*m_scene, "0"), line(*m_scene, "1")});
        QTest::keyClick(&view.view, Qt::Key_Z);
        QCOMPARE(bus(*m_scene, "0")->pos(), QPointF(10, 127));
        QCOMPARE(line(*m_scene, "1")->pos(), QPointF(0, 10));
        QCOMPARE(vertices(line(*m_scene, "1")), QString("12,119 90,150 162,119"));
    }

    // A new section with its bus and row; the update draws them from the
    // rows in memory with the new bus's label and links, and a new layout
    // after deleting the section leaves both out.
    void addLineThenUpdate()
    {
        open();
        QVERIFY(m_scene->setCurrentNode("2", bus(*m_scene, "2")));
        m_scene->AddLine();
        QCOMPARE(m_scene->lineRows().last().join(';'), QString("1;1;1;Новая линия;;2;11;1;;1.;;;;;;0;0;8"));
        QVERIFY(m_scene->isModified());
        BusItem* added = bus(*m_scene, "11");
        QCOMPARE(added->pos(), QPointF(505, 267));
        QCOMPARE(added->rect(), QRectF(0, 0, 20, 5));
        QCOMPARE(added->m_width, 20);
        QCOMPARE(registry(*m_scene).mid(2, 1), QStringList{"0 2: 2,4,8"});
        QVERIFY(m_scene->sceneRect().contains(m_scene->itemsBoundingRect()));

        m_scene->LoadSxems(2);
        QVERIFY(registry(*m_scene).contains("0 11: 8"));
        QVERIFY(registry(*m_scene).contains("4 8 Новая линия"));
        QVERIFY(!labels(*m_scene).filter(QRegularExpression("^0 11 Узел 11 ")).isEmpty());
        QCOMPARE(line(*m_scene, "8")->m_startNode, QString("2"));
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(160, 117));

        select({line(*m_scene, "8")});
        m_scene->DelItems();
        m_scene->LoadSxems(1);
        QVERIFY(!bus(*m_scene, "11"));
        QVERIFY(!line(*m_scene, "8"));
    }

    // Transformers take the next keys and node numbers of the line's rows.
    void addTransformers()
    {
        open();
        QVERIFY(m_scene->setCurrentNode("1", bus(*m_scene, "1")));
        m_scene->AddTP();
        m_scene->AddTP3();
        QCOMPARE(m_scene->lineRows().mid(8), Table({
            {"1", "1", "1", "Новый тр-р", "", "1", "11", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "8"},
            {"1", "1", "1", "Обмотка ВН", "", "1", "12", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "9"},
            {"1", "1", "1", "Обмотка-2", "", "12", "13", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "10"},
            {"1", "1", "1", "Обмотка-3", "", "12", "14", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "11"}}));
        QCOMPARE(registry(*m_scene).at(1), QString("0 1: 1,2,3,8,9"));
        const auto* t3 = element<Transf3>(*m_scene, KindTransf3, "9");
        QCOMPARE(QStringList({t3->m_key2, t3->m_key3}), QStringList({"10", "11"}));
        QCOMPARE(t3->pos(), QPointF(135, 122));
    }

    // Deleting takes the element's rows (all three of a unit, none for an
    // empty key), its record and its keys from the buses' links; a bus
    // takes no row.
    void deleteElements()
    {
        open();
        select({element<Transf3>(*m_scene, KindTransf3, "4"), line(*m_scene, "1"),
                element<Transf3>(*m_scene, KindTransf3, "7")});
        m_scene->DelItems();
        QCOMPARE(keys(m_scene->lineRows()), QStringList({"2", "3", ""}));
        QVERIFY(m_scene->isModified());
        QCOMPARE(registry(*m_scene), QStringList({"0 0:", "0 1: 2,3", "0 2: 2", "0 9:", "4 2 Участок 1-2",
                                                  "4 99", "2 3 Участок 1-3"}));

        select({bus(*m_scene, "1")});
        m_scene->DelItems();
        QCOMPARE(keys(m_scene->lineRows()), QStringList({"2", "3", ""}));
        QVERIFY(!bus(*m_scene, "1"));
    }

    // A node menu queued for a bus that is deleted before it arrives sets
    // nothing, and nothing is added at it; a relayout forgets the current
    // bus too.
    void queuedMenuOfDeletedBus()
    {
        open();
        SchemeView view(m_scene);
        view.click(QPointF(180, 119), Qt::RightButton);
        select({bus(*m_scene, "1")});
        m_scene->DelItems();
        QCoreApplication::processEvents();
        QCOMPARE(m_window->accepted, QList<bool>{false});
        m_scene->AddLine();
        QCOMPARE(m_scene->lineRows().size(), 8);

        view.click(QPointF(350, 119), Qt::RightButton);
        QCoreApplication::processEvents();
        QCOMPARE(m_window->accepted, QList<bool>({false, true}));
        m_scene->LoadSxems(1);
        m_scene->AddLine();
        QCOMPARE(m_scene->lineRows().size(), 8);
    }

    // The pop-ups open only for a row of the line: not for a key no row
    // has; a unit without windings opens with its MV and LV fields off.
    void parameterPopups()
    {
        open();
        m_scene->setCurrentBranchKey("99");
        m_scene->ParamUCH(KindLine, QPoint(10, 10));
        QVERIFY(!shownPopup<CparamUCH>());
        m_scene->setCurrentBranchKey("1");
        m_scene->ParamUCH(KindLine, QPoint(10, 10));
        QVERIFY(shownPopup<CparamUCH>());
        shownPopup<CparamUCH>()->hide();

        m_scene->ParamTR3(element<Transf3>(*m_scene, KindTransf3, "7"), QPoint(10, 10));
        auto* popup = shownPopup<CparamTR3>();
        QVERIFY(popup);
        QVERIFY(popup->findChild<QComboBox*>("Markacombo")->isEnabled());
        QVERIFY(!popup->findChild<QComboBox*>("Markacombo_2")->isEnabled());
        QVERIFY(!popup->findChild<QComboBox*>("Markacombo_3")->isEnabled());
        popup->hide();
    }

    // On a line without rows nothing opens, and the first new key is 1:
    // the sections editor renumbers a key 0.
    void lineWithoutRows()
    {
        NLIN = "3";
        SxemaLin s;
        s.key = QStringList{"1", "1", "3"};
        s.nodes = {{"10", "117", "7", "7", "0", "0", "0", "0"}};
        QVERIFY(writeSxemaFile({s}));
        open();
        m_scene->setCurrentBranchKey("5");
        m_scene->ParamUCH(KindLine, QPoint(10, 10));
        QVERIFY(!shownPopup<CparamUCH>());
        QVERIFY(m_scene->setCurrentNode("0", bus(*m_scene, "0")));
        m_scene->AddTP3();
        QCOMPARE(keys(m_scene->lineRows()), QStringList({"1", "2", "3"}));
    }
};

QTEST_MAIN(TestDiagramScene)
#include "tst_diagramscene.moc"
