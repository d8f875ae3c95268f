// The regime window: the saved scheme coloured and labelled by the regime, its
// own line kept, zoom, find, navigation and the way in from the line dialog.

#include "calcglobals.h"
#include "dialogs/CDlgLIN.h"
#include "enterkey.h"
#include "regime/CRegimShow.h"
#include "regime/CparamShow.h"
#include "regime/RegimScene.h"
#include "regime/SxemaItems.h"
#include "paintedcolours.h"
#include "regimenetwork.h"
#include "scheme/CNavigate.h"
#include "shownmark.h"

#include <QScreen>
#include <QStyleOptionComboBox>
#include <QtTest>

namespace {

// "bus key fill", "line key colour pen-style pen-width", "trans key HV-colour", sorted.
QStringList drawn(const QGraphicsScene* scene)
{
    QStringList out;
    for (QGraphicsItem* item : scene->items()) {
        if (auto* b = qgraphicsitem_cast<BussItem*>(item))
            out.append("bus " + b->key + " " + b->fill.name());
        else if (auto* l = qgraphicsitem_cast<VLKLs_Item*>(item))
            out.append(QString("line %1 %2 %3 %4").arg(l->key, l->color.name()).arg(l->penStyle()).arg(l->penWidth()));
        else if (auto* t = qgraphicsitem_cast<Transf2s*>(item))
            out.append("trans " + t->key + " " + t->hvColor.name());
    }
    out.sort();
    return out;
}

int labelCount(const QGraphicsScene* scene)
{
    const QList<QGraphicsItem*> items = scene->items();
    return int(std::count_if(items.begin(), items.end(), [](auto* i) { return i->type() == QGraphicsItem::UserType; }));
}

template <class T>
T* topLevel()
{
    const QWidgetList all = QApplication::topLevelWidgets();
    const auto it = std::find_if(all.begin(), all.end(), [](QWidget* w) { return qobject_cast<T*>(w); });
    return it == all.end() ? nullptr : static_cast<T*>(*it);
}

// A 110 kV line without losses, 115 kV at its supply: section 0-1 (key 1), a
// two-winding unit 1-2 (key 2) and a three-winding unit 1-3 with its MV
// winding 3-4 and LV winding 3-5 (keys 3, 4, 5); the loads take 2, 2 and 1 MW
// (half as many Mvar) over the 720 hours of the period, with its drawing.
std::unique_ptr<RegimeFolder> losslessLine()
{
    TestNetwork net;
    net.addLine("1", "ВЛ-1", 110, 115, 115);
    net.addWire("АС-70", "70", "0", "0", "0", "0");
    for (const auto& type : {QStringList{"ТДН-10000/110", "10000", "11"}, QStringList{"ТДТН-ВН", "25000", "115"},
                             QStringList{"ТДТН-СН", "10000", "38.5"}, QStringList{"ТДТН-НН", "40000", "11"}})
        net.addTransType(type[0], "110", type[1], "0", "0", "0", "0", "1.78", "9", "115", type[2]);
    net.addSection("1", 0, 1, "АС-70", 5);
    net.addTrans("1", 1, 2, "ТДН-10000/110", 2, 1, 1440, 720);
    net.addTrans("1", 1, 3, "ТДТН-ВН");
    net.addTrans("1", 3, 4, "ТДТН-СН", 2, 1, 1440, 720);
    net.addTrans("1", 3, 5, "ТДТН-НН", 1, 0.5, 720, 360);
    SxemaLin s;
    s.key = QStringList{"1", "1", "1", "rgb(0,0,0)"};
    for (int node = 0; node < 6; ++node)
        s.nodes.append({QString::number(100 * node), "100", "40", "6", QString::number(node),
                        QString::number(100 * node), "80", "0"});
    s.lines = {{"15,103 100,103", "1", "40", "110", "0"}};
    s.transf = {{"190", "106", "35", "70", "115", "11", "2", "230", "150", "0"}};
    s.transf3 = {{"290", "106", "70", "70", "115", "38.5", "11", "3", "4", "5", "330", "150", "0"}};
    return std::make_unique<RegimeFolder>(net, s);
}

// Element items as the records of the scheme file they were drawn from, each
// followed by its colours (a line's with its pen width and style), sorted.
QStringList drawnRecords(const QGraphicsScene* scene)
{
    const auto n = [](double v) { return QString::number(v); };
    const auto label = [&](double xkt, double ykt, int hide) { return QStringList{n(xkt), n(ykt), n(hide)}; };
    QStringList out;
    for (QGraphicsItem* item : scene->items()) {
        QString record;
        if (auto* b = qgraphicsitem_cast<BussItem*>(item)) {
            record = "Node " + (QStringList{n(b->x()), n(b->y()), n(b->w), n(b->h), b->key} + label(b->xkt, b->ykt, b->hide)).join(';')
                + ' ' + b->fill.name();
            if (b->rect() != QRectF(0, 0, b->w, b->h))
                record += " rect differs";
        } else if (auto* l = qgraphicsitem_cast<VLKLs_Item*>(item)) {
            QStringList points;
            for (int i = 0; i < l->path().elementCount(); ++i)
                points.append(n(l->path().elementAt(i).x) + ',' + n(l->path().elementAt(i).y));
            record = "Line " + (QStringList{points.join(' '), l->key} + label(l->xkt, l->ykt, l->hide)).join(';')
                + QString(" %1 %2 %3").arg(l->color.name()).arg(l->penWidth()).arg(l->penStyle());
        } else if (auto* t = qgraphicsitem_cast<Transf3s*>(item)) {
            record = "Transf_3 " + (QStringList{n(t->x()), n(t->y()), n(t->width()), n(t->height()), n(t->u_vn),
                                                n(t->u_sn), n(t->u_nn), t->key, t->key2, t->key3}
                                    + label(t->xkt, t->ykt, t->hide)).join(';')
                + ' ' + t->hvColor.name() + ' ' + t->mvColor.name() + ' ' + t->lvColor.name();
        } else if (auto* t = qgraphicsitem_cast<Transf2s*>(item)) {
            record = "Transf " + (QStringList{n(t->x()), n(t->y()), n(t->width()), n(t->height()), n(t->u_vn),
                                              n(t->u_nn), t->key} + label(t->xkt, t->ykt, t->hide)).join(';')
                + ' ' + t->hvColor.name() + ' ' + t->lvColor.name();
        }
        if (!record.isEmpty())
            out.append(record);
    }
    out.sort();
    return out;
}

// Labels as "x,y colour line|line", sorted.
QStringList labelTexts(const QGraphicsScene* scene)
{
    QStringList out;
    for (QGraphicsItem* item : scene->items()) {
        if (item->type() == QGraphicsItem::UserType) {
            const auto* label = static_cast<const TextMS*>(item);
            out.append(QString("%1,%2 %3 %4").arg(label->x()).arg(label->y()).arg(label->color.name(),
                                                                                   label->lines().join('|')));
        }
    }
    out.sort();
    return out;
}

// kind: node (a = U, b = Unom), or the branch "line", "trans" or "off" (the
// disconnected section) with a = Kz, dU and S, b = dP.
struct ColourCase { const char* kind; int view; double a, b; QColor colour; };

} // namespace

Q_DECLARE_METATYPE(ColourCase)

class TestRegimShow : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetCalcGlobals(); UNOM = 110; m_iScale = 1.0; }

    // Another line entered meanwhile (no scheme, another voltage) changes
    // nothing a redraw draws, and gets its selection back.
    void showsTheRegime()
    {
        RegimeFolder f;
        pNameRas = QStringList{"Заречный РЭС", "ВЛ-1"};
        CRegimShow w;
        QCOMPARE(w.windowTitle(), QString("ВЛ-1"));
        QStringList choices;   // the three combos' entries, the chosen one marked
        for (const QComboBox* combo : {w.m_pVidCombo, w.m_pVidVLKLCombo, w.sceneScaleCombo})
            for (int i = 0; i < combo->count(); ++i)
                choices.append((i == combo->currentIndex() ? "*" : "") + combo->itemText(i));
        QCOMPARE(choices, QStringList({"*Режимные параметры", "Потери энергии", "Схемные параметры",
                                       "*Загрузка ветвей, %", "Падение напряжения, %", "Потери активной мощности, %",
                                       "25%", "50%", "*100%", "200%", "400%"}));
        // supply normal; the transformer's LV node far below the line's
        // 110 kV; the end of the disconnected section without a voltage
        const QStringList power = {"bus 0 #00b200", "bus 1 #00b200", "bus 2 #00b200", "bus 3 #00ffff",
                                   "bus 4 #ffffff", "line 1 #00ffff 0 2", "line 2 #ffffff 1 2",
                                   "line 3 #00ffff 0 2", "trans 4 #ff0000"};
        QCOMPARE(drawn(w.scene()), power);
        NLIN = "2";
        UNOM = 35;
        w.m_pVidCombo->setCurrentIndex(1);   // energies: the same colours
        QCOMPARE(drawn(w.scene()), power);
        w.m_pVidCombo->setCurrentIndex(2);   // scheme parameters
        QCOMPARE(drawn(w.scene()),
                 QStringList({"bus 0 #0080ff", "bus 1 #0080ff", "bus 2 #0080ff", "bus 3 #0080ff", "bus 4 #0080ff",
                              "line 1 #0080ff 0 1.4", "line 2 #0080ff 0 0", "line 3 #e4e400 0 4.8",
                              "trans 4 #ff99cc"}));
        QCOMPARE(labelCount(w.scene()), 9);
        QCOMPARE(f.rec.texts(), QStringList());
        QVERIFY(NLIN == "2" && UNOM == 35.0);
    }

    // In scheme parameters each element stands as its record says, a line
    // section through its own points only; colours by voltage class, a cable
    // yellow, widths by cross-section; labels at their saved places, none
    // where hidden. A consumer's section and unit are pink, hidden labels or
    // not. Records of no row of the line are drawn but not labelled, and the
    // lowest bus makes the drawing higher.
    void drawsTheSavedScheme()
    {
        TestNetwork net = regimeNetwork();
        net.sections[0][attrUchLin.indexOf("kbal")] = "1";
        SxemaLin scheme = regimeScheme();
        scheme.lines[0][4] = scheme.transf[0][9] = "1";
        scheme.lines[1][0] = "210,106 250,200 210,300";
        scheme.nodes.append({"100", "700", "8", "5", "7", "0", "0", "0"});
        scheme.transf3 = {{"600", "106", "70", "70", "115", "38.5", "11", "97", "98", "99", "620", "150", "0"}};
        RegimeFolder f(net, scheme);
        CRegimShow w;
        w.m_pVidCombo->setCurrentIndex(2);
        const QString blue = " #0080ff";
        QCOMPARE(drawnRecords(w.scene()), QStringList({
            "Line 15,103 200,103;1;100;110;1 #ff99cc 1.4 0", "Line 210,106 250,200 210,300;2;215;200;0" + blue + " 0 0",
            "Line 240,103 400,103;3;300;110;0 #e4e400 4.8 0", "Node 100;700;8;5;7;0;0;0" + blue,
            "Node 10;100;10;6;0;10;80;0" + blue, "Node 200;100;40;6;1;200;80;0" + blue,
            "Node 200;300;40;6;4;200;320;0" + blue, "Node 400;100;40;6;2;400;80;0" + blue,
            "Node 900;300;40;6;3;400;320;0" + blue, "Transf 410;106;35;70;115;11;4;450;150;1 #ff99cc #ff99cc",
            "Transf_3 600;106;70;70;115;38.5;11;97;98;99;620;150;0" + blue + " #994c00 #6600cc"}));
        QCOMPARE(labelTexts(w.scene()), QStringList({
            "10,80 #00ffff Узел 0", "200,320 #00ffff Узел 4", "200,80 #00ffff Узел 1",
            "215,200 #ffb266 Участок 1-4|АС-70 1.000 км", "300,110 #ffb266 Участок 1-2|АПвП-240 2.000 км",
            "400,320 #00ffff Узел 3", "400,80 #00ffff Узел 2"}));
        QCOMPARE(w.scene()->sceneRect(), QRectF(0, 0, 1030, 790));
    }

    // A branch's energy is its flow times the period's hours: 5 MW over 720 h
    // make 3600 MWh. Every quantity ticked in the pop-up: the section's own
    // charging (2.6 µS/km) gives 172 kvar of its 2.5 Mvar back; I is S / U ×
    // 577 A, a section's loading 0.4 A/mm², a unit's S over its rating × 4.
    // The labels of sections stand 20 higher; each winding has the colour of
    // its own loading in both modes.
    void energyIsPowerTimesHours_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("branchLabels");   // of the section, the two- and the three-winding unit
        QTest::newRow("power") << 0 << QStringList({
            "P=5.00 +J 2.4|Ток=28 Кз=0.16|dP=0.00 -J 172|Потеря U=0.0",
            "P=2.00 +J 1.0|Ток=11 Кз=0.89|dP=0.00 +J 0|dPxx=0.00 +J 0|Потеря U=0.0",
            "P=3.00 +J 1.5|Ток=17 Кз=0.54|dP=0.00 +J 0|dPxx=0.00 +J 0|Потеря U=0.0"});
        QTest::newRow("energy") << 1 << QStringList({
            "W=3600 +J 1738|Ток=28 Кз=0.16|dW=0 +J 0|Потеря U=0.0",
            "W=1440 +J 720|Ток=11 Кз=0.89|dW=0 +J 0|dWxx=0 +J 0|Потеря U=0.0",
            "W=2160 +J 1080|Ток=17 Кз=0.54|dW=0 +J 0|dWxx=0 +J 0|Потеря U=0.0"});
    }
    void energyIsPowerTimesHours()
    {
        QFETCH(int, mode);
        QFETCH(QStringList, branchLabels);
        const auto f = losslessLine();
        CRegimShow w;
        w.m_pVidCombo->setCurrentIndex(mode);
        w.m_pViewButton->click();
        QVERIFY(w.paramShow()->isVisible());
        for (QCheckBox* box : {w.paramShow()->check_DP, w.paramShow()->checkLin_I, w.paramShow()->checkLin_dU})
            box->setChecked(true);
        w.paramShow()->CheckParamButton->click();
        QVERIFY(!w.paramShow()->isVisible());
        QStringList labels = {"0,80 #00ffff U=115.00", "100,80 #00ffff U=115.00", "200,80 #00ffff U=11.00",
                              "300,80 #00ffff U=115.00", "400,80 #00ffff U=38.50", "500,80 #00ffff U=11.00",
                              "40,90 #ffb266 " + branchLabels[0], "230,150 #66ff66 " + branchLabels[1],
                              "330,150 #66ff66 " + branchLabels[2]};
        labels.sort();
        QCOMPARE(labelTexts(w.scene()), labels);
        QCOMPARE(drawnRecords(w.scene()).filter(QRegularExpression("^(Line|Transf)")), QStringList({
            "Line 15,103 100,103;1;40;110;0 #00ffff 2 0", "Transf 190;106;35;70;115;11;2;230;150;0 #e4e400 #e4e400",
            "Transf_3 290;106;70;70;115;38.5;11;3;4;5;330;150;0 #00b200 #e4e400 #00ffff"}));
    }

    // The symbols as drawn: each winding in its own colour, a bar in its
    // fill, a line section in the pen of its style.
    void painted_data()
    {
        QTest::addColumn<QStringList>("colours");   // the row names the item
        // Symbols of 15 by 30 and 40 by 40, a bar of 20 by 5, a line 2 wide
        // in pen styles 0 (solid), 1 (disconnected: white, 3 wide) and 2.
        QTest::newRow("two-winding") << QStringList({"#0080ff 0,0 13,16 41", "#6600cc 0,10 13,30 57"});
        QTest::newRow("three-winding") << QStringList({"#0080ff 9,0 28,24 57", "#6600cc 9,16 28,40 61", "#994c00 18,8 40,40 81"});
        QTest::newRow("bus") << QStringList({"#000000 0,0 20,5 50", "#0080ff 1,1 19,4 76"});
        QTest::newRow("line 0") << QStringList({"#0080ff -1,-1 40,20 124"});
        QTest::newRow("line 1") << QStringList({"#ffffff -1,-1 41,20 141"});
        QTest::newRow("line 2") << QStringList({"#0080ff 0,0 40,20 35"});
    }
    void painted()
    {
        const QString item = QTest::currentDataTag();
        const QColor hv(0, 128, 255), mv(153, 76, 0), lv(102, 0, 204);
        std::unique_ptr<QGraphicsItem> drawn;
        if (item == "two-winding") {
            auto* t = new Transf2s;
            t->setSize(15, 30);
            t->hvColor = hv, t->lvColor = lv;
            drawn.reset(t);
        } else if (item == "three-winding") {
            auto* t = new Transf3s;
            t->setSize(40, 40);
            t->hvColor = hv, t->mvColor = mv, t->lvColor = lv;
            drawn.reset(t);
        } else if (item == "bus") {
            auto* b = new BussItem;
            b->w = 20, b->h = 5, b->fill = hv;
            b->setRect(0, 0, 20, 5);
            drawn.reset(b);
        } else {
            auto* l = new VLKLs_Item;
            QPainterPath path(QPointF(0, 0));
            path.lineTo(40, 0);
            path.lineTo(40, 20);
            l->setPath(path);
            l->color = hv;
            l->setPenWidth(2);
            l->setPenStyle(item.right(1).toInt());
            drawn.reset(l);
        }
        QTEST(paintedColours(drawn.get()), "colours");
        if (item == "two-winding") {   // both leads on the symbol's axis
            QStringList leads;
            for (int y : {0, 1, 2, 25, 26, 27})
                for (int x : paintedInRow(drawn.get(), y < 3 ? hv : lv, y))
                    leads << QString("%1,%2").arg(x).arg(y);
            QCOMPARE(leads, QStringList({"7,0", "7,1", "7,2", "7,25", "7,26", "7,27"}));
        }
    }

    // Bounds of each rule; a value on a bound falls nearer to normal.
    void colours_data()
    {
        QTest::addColumn<ColourCase>("c");
        const QColor white(255, 255, 255), cyan(0, 255, 255), blue(0, 128, 255), green(0, 178, 0),
            yellow(228, 228, 0), red(255, 0, 0), grey(128, 128, 128);
        const ColourCase cases[] = {
            {"node", 0, 98.9, 110, cyan},    {"node", 0, 99, 110, blue},      {"node", 0, 104, 110, green},
            {"node", 0, 120, 110, green},    {"node", 0, 120.1, 110, yellow}, {"node", 0, 126.1, 110, red},
            {"node", 0, 0, 110, white},      {"node", 0, 8.9, 10, blue},      {"node", 0, 3000, 2000, green},
            {"line", 0, 0, 0, white},        {"line", 0, 0.19, 0, cyan},      {"line", 0, 0.2, 0, green},
            {"trans", 0, 0.7, 0, yellow},    {"line", 0, 1, 0, yellow},       {"trans", 0, 1.01, 0, red},
            {"line", 0, -0.5, 0, cyan},      {"off", 0, 0.5, 0, white},       {"off", 1, 0.7, 0, green},
            {"line", 1, 1.5, 0, grey},       {"trans", 1, 1.5, 0, green},     {"line", 1, 2.5, 0, yellow},
            {"trans", 1, 5.01, 0, red},      {"line", 2, 1, 0.3, grey},       {"line", 2, 0.5, 1, yellow},
            {"trans", 2, 1000, 10, green},   {"trans", 2, 1000, 20, grey},    {"trans", 2, 0, 10, QColor(28, 28, 28)},
            {"line", 3, 0.5, 0, grey}};
        for (const ColourCase& c : cases)
            QTest::addRow("%s, view %d: %g %g", c.kind, c.view, c.a, c.b) << c;
    }
    void colours()
    {
        QFETCH(ColourCase, c);
        RegimeFolder f;
        CRegimShow w;
        RegimScene* s = w.scene();
        w.lineView = c.view;
        const QByteArray kind = c.kind;
        const int i = kind == "off" ? 1 : 0;
        s->U[1] = s->shown.Kz[i] = s->shown.dU[i] = s->shown.S[i] = c.a;
        s->Unom[1] = s->shown.dP[i] = c.b;
        QCOMPARE(kind == "node" ? w.LimitU(1) : kind == "trans" ? w.TrKz(i) : w.LineKz(i), c.colour);
    }

    // Rows 1-2 and 3-4: no supply node, nothing calculated, all white.
    void lineWithoutSupply()
    {
        TestNetwork net = regimeNetwork();
        net.sections.clear();
        net.addSection("1", 1, 2, "АС-70", 5);
        net.addSection("1", 3, 4, "АС-70", 5);
        RegimeFolder f(net);
        CRegimShow w;
        QVERIFY(!w.failed());
        QCOMPARE(drawn(w.scene()).filter(QRegularExpression("#(?!ffffff)")), QStringList());
    }

    // Labels go below 100 % and come back from it; find centres a section on its
    // bounding rectangle and marks what it found red; the navigation picture has
    // the drawing's proportions and a click in it centres the view there; a
    // redraw that stopped early leaves find nothing to walk.
    void zoomFindNavigate()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        w.Scale_minus->click();   // 50 %: no labels
        QCOMPARE(labelCount(w.scene()), 0);
        w.Scale_minus->click();
        QCOMPARE(m_iScale, 0.25);
        QVERIFY(!w.Scale_minus->isEnabled());
        w.slot_ParamView({"PTK"});   // the pop-up brings the bus labels back only
        QCOMPARE(labelCount(w.scene()), 5);
        w.Scale_plus->click();
        w.Scale_plus->click();   // 100 %: every label back
        QCOMPARE(labelCount(w.scene()), 9);
        for (int i = 0; i < 3; ++i)
            w.Scale_plus->click();
        QCOMPARE(w.sceneScaleCombo->currentText(), QString("400%"));
        QVERIFY(!w.Scale_plus->isEnabled());
        QCOMPARE(w.m_pView->transform().m11(), 4.0);   // the scheme is larger than the view now

        const auto viewCentre = [&] { return w.m_pView->mapToScene(w.m_pView->viewport()->rect().center()); };
        const auto find = [&](const QString& text) { w.FindLine->setText(text); w.FindButtonTriggered(); };
        w.m_pVidCombo->setCurrentIndex(2);   // nothing red
        find("Участок 1-2");   // the cable, from (240, 103) to (400, 103)
        QVERIFY(w.scene()->branchItems.at(2)->sceneBoundingRect().contains(viewCentre()));
        find("Участок 2-");
        QCOMPARE(drawn(w.scene()).filter("#ff0000"), QStringList({"line 3 #ff0000 0 4.8", "trans 4 #ff0000"}));

        w.NavigateButton->click();
        QCOMPARE(QImage(f.filePath("scene.png")).size(), QSize(400, 400 * 600 / 1030));
        QPointer<CNavigate> navigate = topLevel<CNavigate>();
        QVERIFY(navigate && navigate->isVisible());
        emit navigate->clicked(QPointF(200, 100));
        QVERIFY(qAbs(viewCentre().x() - 515) < 1 && qAbs(viewCentre().y() - 257.5) < 1);
        delete navigate;
        auto* other = new CRegimShow;   // a navigation window goes with the window that opened it
        other->NavigateButton->click();
        navigate = topLevel<CNavigate>();
        QVERIFY(navigate);
        delete other;
        QVERIFY(!navigate);

        QFile::remove(f.filePath("sxemalin.xml"));
        w.ViewComboChanged(0);
        QCOMPARE(f.rec.texts(), QStringList("В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем"));
        find("Участок");
        QVERIFY(w.scene()->items().isEmpty());
    }

    // Enter in the search line finds as the button does: the first element named so turns red.
    void searchLineEnterFinds()
    {
        RegimeFolder f;
        CRegimShow w;
        w.m_pVidCombo->setCurrentIndex(2);   // nothing red
        QVERIFY(typeAndEnter(w.FindLine, "Участок 2-"));
        QCOMPARE(drawn(w.scene()).filter("#ff0000"), QStringList({"trans 4 #ff0000"}));
        QCOMPARE(f.rec.all(), QStringList());
    }

    // A drawing 1697 x 1500: its picture (400 x 353) is taller than the
    // navigation window and shown whole, scaled down; a press on it centres
    // the view on the point the picture shows there, up to its corners.
    void navigateOnATallDrawing_data()
    {
        QTest::addColumn<QPointF>("target");
        QTest::addColumn<Press>("press");
        QTest::newRow("lower mark") << QPointF(850, 1250) << Press::Mark;
        QTest::newRow("upper mark") << QPointF(700, 300) << Press::Mark;
        QTest::newRow("top-left corner") << QPointF(0, 0) << Press::TopLeft;
        QTest::newRow("bottom-right corner") << QPointF(1697, 1500) << Press::BottomRight;
    }
    void navigateOnATallDrawing()
    {
        QFETCH(QPointF, target);
        QFETCH(Press, press);
        SxemaLin scheme = regimeScheme();
        scheme.nodes.append({"1567", "1410", "40", "6", "9", "1567", "1390", "0"});
        RegimeFolder f(regimeNetwork(), scheme);
        CRegimShow w;
        w.resize(800, 400);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.scene()->setSceneRect(-1000, -1000, 4000, 4000);   // so that the view can centre on a corner
        std::unique_ptr<QGraphicsRectItem> shown(press == Press::Mark ? addMark(w.scene(), target) : nullptr);
        w.NavigateButton->click();
        QPointer<CNavigate> navigate = topLevel<CNavigate>();
        QVERIFY(navigate && navigate->isVisible());
        QCOMPARE(QImage(f.filePath("scene.png")).size(), QSize(400, 353));
        QTest::mouseClick(navigate, Qt::LeftButton, {}, pressPoint(navigate, press));
        const QPointF centre = w.m_pView->mapToScene(w.m_pView->viewport()->rect().center());
        QVERIFY2(QLineF(centre, target).length() < 10,   // a pixel as shown is about 5 units
                 qPrintable(QString("%1,%2").arg(centre.x()).arg(centre.y())));
        delete navigate.data();
    }

    // The test screen (800 x 600) is narrower than the window's tools: the
    // window opens at its least width with its title bar on the screen, a
    // width a laptop screen holds. Its view combos show every entry whole;
    // its parameter pop-up and navigation window lie on the screen, the
    // latter over the view.
    void opensOnTheScreen()
    {
        RegimeFolder f;
        CRegimShow w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect frame = w.frameGeometry();
        QVERIFY(screen.contains(frame.topLeft()) && frame.bottom() <= screen.bottom());
        QVERIFY(frame.right() <= screen.right() || w.width() == w.minimumSizeHint().width());
        QVERIFY(frame.width() <= 1366);
        for (QComboBox* combo : {w.m_pVidCombo, w.m_pVidVLKLCombo}) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)   // the label keeps a pixel free at either end
                QVERIFY2(combo->fontMetrics().horizontalAdvance(combo->itemText(i)) <= field.width() - 2,
                         qPrintable(combo->itemText(i)));
        }
        w.m_pViewButton->click();
        QVERIFY(w.paramShow()->isVisible() && screen.contains(w.paramShow()->frameGeometry()));
        w.paramShow()->hide();
        w.NavigateButton->click();
        CNavigate* navigate = topLevel<CNavigate>();
        QVERIFY(navigate && navigate->isVisible() && screen.contains(navigate->frameGeometry()));
        QCOMPARE(navigate->frameGeometry().topLeft(), w.m_pView->mapToGlobal(QPoint(0, 0)));
    }

    void fromTheLineDialog()
    {
        RegimeFolder f(regimeNetwork(), {});
        saveShablonXML("res", attrRES, "RES", "net110_RES", {{"1", "1", "Заречный РЭС", "", "0", ""}});
        CDlgLIN dlg("1,1,1", nullptr);
        dlg.SxemaLin->click();
        QCOMPARE(f.rec.warnings(),
                 QStringList({"Предупреждение|В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем",
                              "Предупреждение|Ошибка расчета режима сети. Проверьте информацию о фидере"}));
        QVERIFY(!topLevel<CRegimShow>());

        saveSxemaXML(regimeScheme());
        NLIN = "2";   // another line entered meanwhile
        dlg.SxemaLin->click();
        QPointer<CRegimShow> shown = topLevel<CRegimShow>();
        QVERIFY(shown && shown->isVisible());
        shown->close();
        QTRY_VERIFY(!shown);   // deleted on close
    }

    // A label knows its size before it is first painted, and keeps it; it is
    // as wide as its widest line, so a long type mark is not cut; its text is
    // painted in the label's font.
    void labelSize()
    {
        const QFontMetricsF metrics(QFont("SansSerif", 6));
        TextMS label;
        label.setLines({QString(40, QLatin1Char('x')), "second"});
        QCOMPARE(label.lines().first(), QString(32, QLatin1Char('x')));
        const QRectF before = label.boundingRect();
        QCOMPARE(before.width(), metrics.horizontalAdvance(label.lines().first()) + 21);
        QImage image(300, 100, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        label.paint(&painter, nullptr, nullptr);
        painter.end();
        QCOMPARE(label.boundingRect(), before);
        int inkRight = -1;   // painted in its own font, the text is as wide as measured
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) != 0)
                    inkRight = std::max(inkRight, x);
        QVERIFY(qAbs(inkRight - metrics.horizontalAdvance(label.lines().first())) < 3);
        // It starts where the item starts, as the same text drawn at 0 by a bare painter.
        QImage bare(image.size(), QImage::Format_ARGB32);
        bare.fill(Qt::transparent);
        painter.begin(&bare);
        painter.setFont(QFont("SansSerif", 6));
        painter.drawText(QPointF(0, metrics.ascent()), label.lines().first());
        painter.end();
        const auto inkLeft = [](const QImage& painted) {
            for (int x = 0; x < painted.width(); ++x)
                for (int y = 0; y < painted.height(); ++y)
                    if (qAlpha(painted.pixel(x, y)) != 0)
                        return x;
            return -1;
        };
        QCOMPARE(inkLeft(image), inkLeft(bare));
        label.setLines({"Т-1", "ТДТН-25000/110 ВН"});
        QCOMPARE(label.boundingRect().width(), metrics.horizontalAdvance("ТДТН-25000/110 ВН") + 21);
    }
};

QTEST_MAIN(TestRegimShow)
#include "tst_regimshow.moc"
