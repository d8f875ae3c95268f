// The scheme scene: loading, moving, adding and deleting, pop-ups, queued menus.

#include "schemefixture.h"
#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"
#include "scheme/schemerecords.h"

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
        if (const auto* t = qgraphicsitem_cast<TextParam*>(item))
            out.append(QStringLiteral("%1 %2 %3 %4,%5 %6").arg(t->m_kind).arg(t->m_name, t->lines().join('|'))
                           .arg(t->pos().x()).arg(t->pos().y()).arg(t->m_hide));
    }
    out.sort();
    return out;
}

// The drawn elements in registry order: place, size, colours, and what else
// each kind draws with.
QStringList drawnItems(const DiagramScene& scene)
{
    QStringList out;
    for (const auto& r : scene.objects()) {
        const QGraphicsItem* item = r->item;
        QString text = QStringLiteral("%1,%2 z%3").arg(item->x()).arg(item->y()).arg(item->zValue());
        if (const auto* b = qgraphicsitem_cast<const BusItem*>(item))
            text = QStringLiteral("bus %1 %2 %3x%4 %5").arg(b->m_nodeName, text).arg(b->m_width).arg(b->m_height)
                       .arg(b->m_color.name());
        else if (const auto* l = qgraphicsitem_cast<const VLKL_Item*>(item))
            text = QStringLiteral("line %1 %2 %3 %4 from %5").arg(l->m_key, vertices(l), l->m_color.name())
                       .arg(l->m_penWidth).arg(l->m_startNode);
        else if (const auto* t = qgraphicsitem_cast<const Transf2*>(item))
            text = QStringLiteral("transf %1 %2 %3x%4 %5 %6").arg(t->m_key, text).arg(t->m_W).arg(t->m_H)
                       .arg(t->m_colorHV.name(), t->m_colorLV.name());
        else if (const auto* t = qgraphicsitem_cast<const Transf3*>(item))
            text = QStringLiteral("transf3 %1 %2 %3x%4 %5 %6 %7 variant %8")
                       .arg(QStringList({t->m_key, t->m_key2, t->m_key3}).join(','), text).arg(t->m_W).arg(t->m_H)
                       .arg(t->m_colorHV.name(), t->m_colorMV.name(), t->m_colorLV.name()).arg(t->m_variant);
        out.append(text);
    }
    return out;
}

} // namespace

// Takes the items' queued menu signals as the editor window does.
class MenuReceiver : public QObject
{
    Q_OBJECT

public:
    DiagramScene* scene = nullptr;
    QList<bool> accepted;

public slots:
    void slot_NodeMenu(QPointF, QString name, QGraphicsItem* item) { accepted.append(scene->setCurrentNode(name, item)); }
    void slot_BranchMenu(QPointF, QString key, QGraphicsItem* item) { accepted.append(scene->setCurrentBranch(key, item)); }
    void slot_TransMenu(QPointF, QString key, QGraphicsItem*) { scene->setCurrentBranchKey(key); }
};

class TestDiagramScene : public SchemeCase
{
    Q_OBJECT

private:
    std::unique_ptr<MenuReceiver> m_window;
    DiagramScene* m_scene = nullptr;

    void open()
    {
        m_window = std::make_unique<MenuReceiver>();
        m_scene = m_window->scene = new DiagramScene(m_window.get());
        m_scene->LoadModel();
    }

private slots:
    void init() { openWork(); }
    void cleanup() { m_window.reset(); }

    // The scene reaches the bus at negative x; the drawing keeps its extent, a hidden label its flag.
    void loadSavedScheme()
    {
        SxemaLin s = readSxemaFile().records.value(0);
        s.lines[1][4] = "1";   // the label of section 1-2 hidden
        s.lines[2][0] = "400,200 450,200 500,200";   // labelled at the first of its longest steps
        QVERIFY(writeSxemaFile({s}));
        open();
        QCOMPARE(registry(*m_scene), QStringList({"0 0: 1,7", "0 1: 1,2,3", "0 2: 2,4,8", "0 9:", "4 1 Участок 0-1",
                                                  "4 2 Участок 1-2", "4 8 Участок 2-10", "2 3 Участок 1-3", "3 4 Участок 2-4",
                                                  "3 7 Участок 0-7"}));
        QCOMPARE(labels(*m_scene), QStringList({
            "0 0 Узел 0 -10,97 0", "0 1 Узел 1 140,97 0", "0 2 Узел 2 290,97 0", "0 9 параметр -120,280 1",
            "2 3 Участок 1-3 135,202 0", "3 4 Участок 2-4 295,202 0", "3 7 Участок 0-7 -5,202 0",
            "4 1 Участок 0-1 16,119 0", "4 2 Участок 1-2 166,65 1", "4 8 Участок 2-10 390,185 0"}));
        QStringList labelColours;   // by kind: buses, units, sections; grey when hidden
        for (QGraphicsItem* item : m_scene->items()) {
            if (const auto* t = qgraphicsitem_cast<TextParam*>(item))
                labelColours << QString("%1 %2").arg(t->m_kind).arg(t->color().name());
        }
        labelColours.removeDuplicates();
        labelColours.sort();
        QCOMPARE(labelColours, QStringList({"0 #c0c0c0", "0 #cccc00", "2 #66ff66", "3 #66ff66", "4 #c0c0c0", "4 #ffb266"}));
        QCOMPARE(line(*m_scene, "2")->m_startNode + '|' + line(*m_scene, "8")->m_startNode, QString("1|2"));
        QCOMPARE(element<Transf3>(*m_scene, KindTransf3, "4")->m_variant, 0);
        QCOMPARE(element<Transf3>(*m_scene, KindTransf3, "7")->m_variant, 1);
        QCOMPARE(QSize(m_scene->drawingWidth(), m_scene->drawingHeight()), QSize(800, 600));
        QVERIFY(m_scene->sceneRect().contains(m_scene->itemsBoundingRect()));
        QVERIFY(m_rec->messages.isEmpty() && !m_scene->isModified());
    }

    // Places beyond reach read within the bound the regime display keeps: the
    // scene holds every element, a view scrolls to it, a save writes bounded numbers.
    void absurdCoordinatesBounded()
    {
        SxemaLin s = readSxemaFile().records.value(0);
        s.nodes[1][0] = "3e9";
        s.nodes[2][1] = "1e308";
        s.nodes[0][5] = "-1e300";
        s.lines[0][0] = "12,119 1234567890123456789012345678901,150 162,119";
        s.transf3[0][2] = "5e9";
        QVERIFY(writeSxemaFile({s}));
        open();
        QVERIFY(m_scene->sceneRect().contains(m_scene->itemsBoundingRect()));
        SchemeView view(m_scene);
        for (const char* node : {"1", "2"}) {
            view.view.centerOn(bus(*m_scene, node));
            const QRectF shown = view.view.mapToScene(view.view.viewport()->rect()).boundingRect();
            QVERIFY2(shown.contains(bus(*m_scene, node)->sceneBoundingRect()), node);
        }
        const QStringList saved = schemeRecords(drawnScheme(*m_scene, "rgb(0,0,0)"), 0, true);
        QCOMPARE(saved.filter("10000000"), QStringList({
            "Line 12,119 10000000,150 162,119;1;4999971;119;0", "Node 10000000;117;35;7;1;9999980;97;0",
            "Node 10;117;7;7;0;-10000000;0;0", "Node 310;10000000;70;7;2;290;9999980;0",
            "Transf_3 305;122;10000000;70;115;38.5;11;4;6;5;295;202;0"}));
    }

    // A section from a node to itself is drawn, saved with both its ends and drawn again.
    void zeroLengthSection()
    {
        Table rows = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        rows.append(rows.last());   // beside line 2's section 0-1
        rows.last()[uchNyzln] = rows.last()[uchNyzlk] = "1";
        rows.last()[uchKey] = "11";
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        NLIN = "2";
        open();   // laid out: no saved scheme
        QVERIFY(line(*m_scene, "11"));
        const SxemaLin laid = drawnScheme(*m_scene, "rgb(0,0,0)");
        QVERIFY(saveSxemaXML(laid));
        open();
        QVERIFY(line(*m_scene, "11"));
        const SxemaLin again = drawnScheme(*m_scene, "rgb(0,0,0)");
        QCOMPARE(schemeRecords(again, 0, true), schemeRecords(laid, 0, true));
        const QStringList section = schemeRecords(again).filter(QRegularExpression("^Line .*;11;"));
        QVERIFY2(QRegularExpression("^Line (\\d+,\\d+) \\1;").match(section.value(0)).hasMatch(), qPrintable(section.value(0)));
    }

    // Each saved record drawn as it was saved, in the colours and widths of
    // the line's voltage class, the drawing as high as its lowest bus needs;
    // at 2 kV and below no bus is drawn.
    void drawnAsSaved()
    {
        SxemaLin s = readSxemaFile().records.value(0);
        s.nodes.append({"500", "650", "7", "7", "12", "0", "0", "0"});
        QVERIFY(writeSxemaFile({s}));
        open();
        QCOMPARE(QSize(m_scene->drawingWidth(), m_scene->drawingHeight()), QSize(800, 740));
        const QString blue = "#0080ff";
        QCOMPARE(drawnItems(*m_scene), QStringList({
            "bus 0 10,117 z5 7x7 " + blue, "bus 1 160,117 z5 35x7 " + blue, "bus 2 310,117 z5 70x7 " + blue,
            "bus 9 -100,300 z5 7x7 " + blue, "bus 12 500,650 z5 7x7 " + blue, "line 1 12,119 90,150 162,119 " + blue + " 4 from 0",
            "line 2 162,119 240,41 312,119 " + blue + " 4 from 1", "line 8 400,200 500,200 " + blue + " 4 from 2",
            "transf 3 155,122 z1100 35x70 " + blue + " #6600cc",
            "transf3 4,6,5 305,122 z1100 70x70 " + blue + " #994c00 #6600cc variant 0",
            "transf3 7,, 5,122 z1100 70x70 " + blue + " #6600cc #6600cc variant 1"}));
        for (double kv : {6.0, 2.0}) {
            m_window.reset();
            UNOM = kv;
            open();
            const QStringList low = drawnItems(*m_scene);
            QCOMPARE(low.size(), kv > 2 ? 11 : 6);
            QCOMPARE(low.filter("line 1 ").value(0), kv > 2 ? QString("line 1 12,119 90,150 162,119 #006633 2 from 0")
                                                            : QString("line 1 12,119 90,150 162,119 #66ff66 1.8 from 0"));
        }
    }

    // The line between two selected buses moves whole, another by its end only.
    void moveSelection()
    {
        open();
        SchemeView view(m_scene);
        view.click(QPointF(180, 119), Qt::LeftButton, Qt::ControlModifier);
        view.click(QPointF(350, 119), Qt::LeftButton, Qt::ControlModifier);
        view.drag(QPointF(180, 119), {QPointF(181, 120), QPointF(183, 122), QPointF(185, 124)});
        view.hover(QPointF(250, 250));   // released: the pointer alone moves nothing
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(165, 122));
        QCOMPARE(bus(*m_scene, "2")->pos(), QPointF(315, 122));
        QCOMPARE(vertices(line(*m_scene, "2")), QString("167,124 245,46 317,124"));
        QCOMPARE(vertices(line(*m_scene, "1")), QString("12,119 90,150 167,124"));
        QCOMPARE(element(*m_scene, KindTransf2, "3")->pos(), QPointF(155, 122));
        view.click(QPointF(600, 500));   // empty space ends it
        QCOMPARE(m_scene->mode(), QString("Select"));
        QVERIFY(m_scene->selectedItems().isEmpty());

        bus(*m_scene, "0")->setSelected(true);
        line(*m_scene, "1")->setSelected(true);
        QTest::keyClick(&view.view, Qt::Key_Z);
        QCOMPARE(bus(*m_scene, "0")->pos(), QPointF(10, 127));
        QCOMPARE(line(*m_scene, "1")->pos(), QPointF(0, 10));
        QVector<QPointF> steps;
        for (Qt::Key key : {Qt::Key_A, Qt::Key_W, Qt::Key_D, Qt::Key_D}) {
            QTest::keyClick(&view.view, key);
            steps.append(bus(*m_scene, "0")->pos());
        }
        QCOMPARE(steps, QVector<QPointF>({{0, 127}, {0, 117}, {10, 117}, {20, 117}}));
        QCOMPARE(line(*m_scene, "1")->pos(), QPointF(10, 0));
        QCOMPARE(vertices(line(*m_scene, "1")), QString("12,119 90,150 167,124"));
    }

    // A relayout draws what the rows in memory hold.
    void addThenUpdate()
    {
        open();
        QVERIFY(m_scene->setCurrentNode("1", bus(*m_scene, "1")));
        m_scene->AddTP();
        m_scene->AddTP3();
        QCOMPARE(m_scene->lineRows().mid(8), Table({
            {"1", "1", "1", "Новый тр-р", "", "1", "11", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "9"},
            {"1", "1", "1", "Обмотка ВН", "", "1", "12", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "10"},
            {"1", "1", "1", "Обмотка-2", "", "12", "13", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "11"},
            {"1", "1", "1", "Обмотка-3", "", "12", "14", "2", "", "", "0", "0", "0", "0", "0", "0", "0", "12"}}));
        const auto* t3 = element<Transf3>(*m_scene, KindTransf3, "10");
        QCOMPARE(QStringList({t3->m_key2, t3->m_key3}), QStringList({"11", "12"}));
        QCOMPARE(t3->pos(), QPointF(135, 122));
        QVERIFY(m_scene->setCurrentNode("2", bus(*m_scene, "2")));
        m_scene->AddLine();
        QCOMPARE(m_scene->lineRows().last().join(';'), QString("1;1;1;Новая линия;;2;15;1;;1.;;;;;;0;0;13"));
        QCOMPARE(bus(*m_scene, "15")->rect(), QRectF(0, 0, 20, 5));
        QCOMPARE(bus(*m_scene, "15")->m_width, 20);
        QCOMPARE(registry(*m_scene).mid(1, 2), QStringList({"0 1: 1,2,3,9,10", "0 2: 2,4,8,13"}));
        // what is added stands beside its bus in the class's colours and sizes
        QCOMPARE(drawnItems(*m_scene).mid(10), QStringList({
            "transf 9 145,122 z-1 35x70 #0080ff #6600cc", "transf3 10,11,12 135,122 z-1 70x70 #0080ff #994c00 #6600cc variant 0",
            "bus 15 505,267 z5 20x5 #0080ff", "line 13 312,119 512,119 512,269 #0080ff 2 from 2"}));
        QVERIFY(m_scene->sceneRect().contains(m_scene->itemsBoundingRect()));

        m_scene->LoadSxems(2);
        QVERIFY(registry(*m_scene).contains("0 15: 13") && registry(*m_scene).contains("4 13 Новая линия"));
        QVERIFY(!labels(*m_scene).filter(QRegularExpression("^0 15 Узел 15 ")).isEmpty());
        QCOMPARE(line(*m_scene, "13")->m_startNode, QString("2"));
        line(*m_scene, "13")->setSelected(true);
        m_scene->DelItems();
        m_scene->LoadSxems(1);
        QVERIFY(!bus(*m_scene, "15") && !line(*m_scene, "13"));
    }

    // A drawn line without rows opens no pop-up; what is added hangs from its
    // bus, never from a new node of the same number, and no key is 0, which
    // the sections editor renumbers.
    void addToALineWithoutRows()
    {
        NLIN = "3";
        SxemaLin s;
        s.key = QStringList{"1", "1", "3", "rgb(0,0,0)"};
        s.nodes = {{"10", "117", "7", "7", "0", "0", "0", "0"}, {"100", "117", "7", "7", "8", "0", "0", "0"},
                   {"200", "117", "7", "7", "20", "0", "0", "0"}};
        QVERIFY(saveSxemaXML(s));
        open();
        m_scene->setCurrentBranchKey("5");
        m_scene->ParamUCH(KindLine, QPoint(10, 10));
        QVERIFY(!shownPopup<CparamUCH>());
        // A new end node is above every row's and every drawn bus's.
        QVERIFY(m_scene->setCurrentNode("0", bus(*m_scene, "0")));
        m_scene->AddLine();
        QVERIFY(m_scene->setCurrentNode("8", bus(*m_scene, "8")));
        m_scene->AddTP3();
        QVERIFY(m_scene->setCurrentNode("20", bus(*m_scene, "20")));
        m_scene->AddTP();
        QStringList ends;
        for (const QStringList& row : m_scene->lineRows())
            ends.append(row.at(uchKey) + ':' + row.at(uchNyzln) + '-' + row.at(uchNyzlk));
        QCOMPARE(ends, QStringList({"1:0-21", "2:8-22", "3:22-23", "4:22-24", "5:20-25"}));
    }

    // Nothing is added at a deleted bus after its queued menu, nor after a relayout.
    void deleteElements()
    {
        open();
        SchemeView view(m_scene);
        view.click(QPointF(180, 119), Qt::RightButton);   // bus 1's menu, queued
        for (QGraphicsItem* item : {element(*m_scene, KindTransf3, "4"), element(*m_scene, KindTransf3, "7")})
            item->setSelected(true);
        line(*m_scene, "1")->setSelected(true);
        m_scene->DelItems();
        const QStringList left = {"1:2 Участок 1-2", "1:3 Участок 1-3", "1:8 Участок 2-10"};
        QCOMPARE(rowTexts(m_scene->lineRows()), left);
        QVERIFY(m_scene->isModified());
        QCOMPARE(registry(*m_scene), QStringList({"0 0:", "0 1: 2,3", "0 2: 2,8", "0 9:", "4 2 Участок 1-2", "4 8 Участок 2-10",
                                                  "2 3 Участок 1-3"}));
        bus(*m_scene, "1")->setSelected(true);
        m_scene->DelItems();
        QVERIFY(!bus(*m_scene, "1"));
        QCoreApplication::processEvents();
        m_scene->AddLine();
        view.click(QPointF(350, 119), Qt::RightButton);
        QCoreApplication::processEvents();
        QCOMPARE(m_window->accepted, QList<bool>({false, true}));
        m_scene->LoadSxems(1);
        m_scene->AddLine();
        QCOMPARE(rowTexts(m_scene->lineRows()), left);
    }

    // A deleted element leaves the lookup by item and by key: a pop-up asked
    // for it opens nothing, and an element added later never takes its row's
    // key again (a stale window elsewhere may still know it) and is the only
    // one its own key reaches, so a drag of its bus moves just that one.
    void deletedElementLeavesTheLookup()
    {
        open();
        QGraphicsItem* gone = element(*m_scene, KindTransf3, "7");
        gone->setSelected(true);
        m_scene->DelItems();
        QVERIFY(m_scene->recordsWithKey("7").isEmpty() && !m_scene->recordOf(gone));
        m_scene->ParamTR3(gone, QPoint(10, 10));
        QVERIFY(!shownPopup<CparamTR3>());
        QVERIFY(m_scene->setCurrentNode("0", bus(*m_scene, "0")));
        m_scene->AddTP();
        QGraphicsItem* added = element(*m_scene, KindTransf2, "9");
        QVERIFY(m_scene->recordsWithKey("7").isEmpty());
        QStringList reached;   // bus 9 has the number
        for (const SORTED_OBJECT_INF* record : m_scene->recordsWithKey("9"))
            reached.append(record->item == added ? "added" : QString::number(record->kind));
        QCOMPARE(reached, QStringList({"0", "added"}));
        SchemeView view(m_scene);
        view.drag(QPointF(12, 120), {QPointF(17, 125), QPointF(22, 130)});
        QCOMPARE(added->pos(), QPointF(5, 132));
    }

    // The pop-up of an element whose row stands first in the table opens
    // with that row and writes it back there.
    void popupOfTheFirstRow_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("kind");
        QTest::newRow("line section") << "1" << int(KindLine);
        QTest::newRow("two-winding") << "3" << int(KindTransf2);
        QTest::newRow("three-winding") << "4" << int(KindTransf3);
    }
    void popupOfTheFirstRow()
    {
        QFETCH(QString, key);
        QFETCH(int, kind);
        Table rows;
        for (const QStringList& row : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN")) {
            if (row.at(uchNlin) == "1")
                row.at(uchKey) == key ? rows.prepend(row) : rows.append(row);
        }
        QVERIFY(saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows));
        for (QStringList& row : rows)
            row[uchKey] = row.at(uchKey).isEmpty() ? "8" : row.at(uchKey);   // a key of its own
        open();
        m_scene->setCurrentBranchKey(key);
        QWidget* popup = nullptr;
        if (kind == KindTransf3) {
            m_scene->ParamTR3(element(*m_scene, kind, key), QPoint(10, 10));
            popup = shownPopup<CparamTR3>();
        } else {
            m_scene->ParamUCH(kind, QPoint(10, 10));
            popup = kind == KindLine ? static_cast<QWidget*>(shownPopup<CparamUCH>()) : shownPopup<CparamTR2>();
        }
        QVERIFY(popup);
        QCOMPARE(popup->windowType(), Qt::Popup);   // a click outside closes it
        QCOMPARE(popup->findChild<QLineEdit*>("KommEdit")->text(), rows.first().at(uchName));
        popup->findChild<QLineEdit*>("KommEdit")->setText("Первая");
        popup->findChild<QPushButton*>("OKButton")->click();
        rows.first()[uchName] = "Первая";
        QCOMPARE(m_scene->lineRows(), rows);
    }

    // The scene keeps its line whatever is entered meanwhile; pop-ups open only
    // for its rows.
    void ownLineAndPopups()
    {
        m_window = std::make_unique<MenuReceiver>();
        m_scene = m_window->scene = new DiagramScene(m_window.get());
        NLIN = "2";
        UNOM = 35;
        m_scene->LoadModel();
        QVERIFY(m_rec->messages.isEmpty());   // line 1's saved scheme
        m_scene->setCurrentBranchKey("3");
        m_scene->ParamUCH(KindTransf2, QPoint(10, 10));
        auto* types = shownPopup<CparamTR2>()->findChild<QComboBox*>("Markacombo");
        QCOMPARE(types->count(), 1);   // its own ТДН-10000/110, no 35 kV type
        m_scene->setCurrentBranchKey("99");
        m_scene->ParamUCH(KindLine, QPoint(10, 10));
        QVERIFY(!shownPopup<CparamUCH>());
        m_scene->ParamTR3(element(*m_scene, KindTransf3, "7"), QPoint(10, 10));
        auto* popup = shownPopup<CparamTR3>();
        QVERIFY(popup->findChild<QComboBox*>("Markacombo")->isEnabled());
        QVERIFY(!popup->findChild<QComboBox*>("Markacombo_3")->isEnabled());
        m_scene->LoadSxems(1);
        QCOMPARE(bus(*m_scene, "0")->rect().height(), 7.0);   // laid out at 110 kV
        QCOMPARE(NLIN + ' ' + QString::number(UNOM), QString("2 35"));
    }
};

QTEST_MAIN(TestDiagramScene)
#include "tst_diagramscene.moc"
