// Scheme items under the mouse.

#include "schemefixture.h"
#include "scheme/dotsignal.h"
#include "paintedcolours.h"

class TestGraphItems : public SchemeCase
{
    Q_OBJECT

    DiagramScene* m_scene = nullptr;

private slots:
    void init()
    {
        openWork();
        m_scene = new DiagramScene;
        m_scene->LoadModel();
    }
    void cleanup() { delete m_scene; }

    // Handles keep about the same size on screen; ends follow a bus by the exact step.
    void zoom_data()
    {
        QTest::addColumn<qreal>("zoom");
        QTest::addColumn<qreal>("side");   // of a handle, in scene units
        QTest::newRow("50%") << 0.5 << 10.0;
        QTest::newRow("100%") << 1.0 << 6.0;
        QTest::newRow("200%") << 2.0 << 4.0;
        QTest::newRow("400%") << 4.0 << 2.0;
    }
    void zoom()
    {
        QFETCH(qreal, zoom);
        QFETCH(qreal, side);
        m_iScale = zoom;
        SchemeView view(m_scene, zoom);
        view.hover(QPointF(276, 80));   // on line 2
        QCOMPARE(line(*m_scene, "2")->dots().size(), 3);
        for (const DotSignal* dot : line(*m_scene, "2")->dots())
            QCOMPARE(dot->rect(), QRectF(-side / 2, -side / 2, side, side));
        if (zoom < 1)
            return;   // a pixel at the bus would take in its transformer too
        const QPointF from(180, 119), unit(1 / zoom, 1 / zoom), step(3 / zoom, 5 / zoom);
        view.drag(from, {from + unit, from + QPointF(2 * unit.x(), 3 * unit.y()), from + step});
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(160, 117) + step);
        const QString at = QString("%1,%2").arg(162 + step.x()).arg(119 + step.y());
        QCOMPARE(vertices(line(*m_scene, "1")), "12,119 90,150 " + at);
        QCOMPARE(vertices(line(*m_scene, "2")), at + " 240,41 312,119");
        QCOMPARE(element(*m_scene, KindTransf2, "3")->pos(), QPointF(155, 122) + step);
    }

    // A bus as narrow as the layout draws it (7) is dragged by its left part.
    void busGrip()
    {
        SchemeView view(m_scene);
        BusItem* b = bus(*m_scene, "2");   // at (310, 117), 70 by 7
        view.hover(QPointF(380, 120));
        view.press(QPointF(380, 120));
        QVector<int> widths;
        QStringList grips;   // the grip follows the bar's right end, half-way down
        for (qreal x : {400.0, 319.0, 317.0, 305.0}) {
            view.move(QPointF(x, 120));
            widths.append(b->m_width);
            const QGraphicsItem* grip = b->childItems().value(0);
            grips.append(grip ? QString("%1,%2").arg(grip->x()).arg(grip->y()) : QString("none"));
        }
        view.release(QPointF(305, 120));
        QCOMPARE(widths, QVector<int>({90, 9, 9, 9}));
        QCOMPARE(grips, QStringList({"90,3.5", "9,3.5", "9,3.5", "9,3.5"}));
        QCOMPARE(b->rect(), QRectF(0, 0, 9, 7));
        QCOMPARE(b->pos(), QPointF(310, 117));

        b = bus(*m_scene, "0");   // at (10, 117), 7 by 7
        view.hover(QPointF(12, 120));
        view.drag(QPointF(12, 120), {QPointF(22, 130), QPointF(32, 140)});
        QCOMPARE(b->pos(), QPointF(30, 137));
        view.hover(QPointF(36, 140));
        view.drag(QPointF(36, 140), {QPointF(50, 140)});
        QCOMPARE(b->rect(), QRectF(0, 0, 20, 7));
        QCOMPARE(b->pos(), QPointF(30, 137));
    }

    // Leaving a bus from its grip takes the grip, the resize mode and the
    // resize cursor along; a press on the bus then moves it.
    void leavingABus()
    {
        SchemeView view(m_scene);
        BusItem* b = bus(*m_scene, "2");   // at (310, 117), 70 by 7
        const auto state = [&] {   // resize mode, cursor, handles
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            return QString("%1 %2 %3").arg(b->m_resizeMode).arg(b->cursor().shape()).arg(b->childItems().size());
        };
        view.hover(QPointF(360, 120));
        QCOMPARE(state(), QString("0 %1 1").arg(Qt::CrossCursor));
        view.hover(QPointF(380, 120));
        QCOMPARE(state(), QString("4 %1 1").arg(Qt::SizeHorCursor));
        view.hover(QPointF(450, 300));
        QCOMPARE(state(), QString("0 %1 0").arg(Qt::CrossCursor));
        view.drag(QPointF(340, 120), {QPointF(345, 125), QPointF(350, 130)});
        QCOMPARE(b->pos(), QPointF(320, 127));
        QCOMPARE(b->rect(), QRectF(0, 0, 70, 7));
    }

    // A bend point goes into the first crossed segment only, in item coordinates.
    void bendPoints()
    {
        SchemeView view(m_scene);
        VLKL_Item* l = line(*m_scene, "2");
        view.click(QPointF(238, 43), Qt::RightButton);   // 2 units before the bend
        l->InsertNewPoints();
        QCOMPARE(vertices(l), QString("162,119 238,43 240,41 312,119"));

        l->setPos(10, 0);
        view.click(QPointF(190, 101), Qt::RightButton);
        l->InsertNewPoints();
        QCOMPARE(vertices(l), QString("162,119 180,101 238,43 240,41 312,119"));
        view.drag(QPointF(190, 101), {QPointF(190, 95), QPointF(200, 91)});
        view.hover(QPointF(172, 119));   // the start, on bus 1
        view.drag(QPointF(172, 119), {QPointF(172, 100), QPointF(172, 80)});
        QCOMPARE(vertices(l), QString("162,80 190,91 238,43 240,41 312,119"));
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(160, 117));
        view.hover(QPointF(600, 600));   // the handles go, the line is below the buses again
        QVERIFY(l->dots().isEmpty() && l->zValue() == 0.0);
        view.click(QPointF(204, 87), Qt::RightButton);
        l->DeletePoints();
        QCOMPARE(vertices(l), QString("162,80 238,43 240,41 312,119"));
        view.click(QPointF(317, 114), Qt::RightButton);   // near the end, which is no bend point
        l->DeletePoints();
        QCOMPARE(vertices(l), QString("162,80 238,43 240,41 312,119"));

        // A thick line repaints its whole width, not the narrow strip it is picked by.
        l->setLineStyle(Qt::red, 6);
        const QRectF painted = l->path().controlPointRect().adjusted(7, -3, 13, 3);   // pos (10, 0)
        QVERIFY(l->sceneBoundingRect().contains(painted));
    }

    // The symbols as drawn: each winding in its own colour, a bar in its
    // fill, a line in its pen; a selected element framed or drawn in red.
    void painted_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QStringList>("colours");
        // Windings and leads of 15 by 30 and 40 by 40 symbols; a bar of 20 by 5; a line of width 3.
        QTest::newRow("two-winding") << "two-winding" << false
                                     << QStringList({"#0080ff 0,0 13,16 41", "#6600cc 0,12 13,30 46"});
        QTest::newRow("two-winding, selected") << "two-winding" << true
            << QStringList({"#0080ff 0,0 13,16 37", "#6600cc 0,12 13,30 42", "#ff0000 0,0 15,30 60"});
        QTest::newRow("three-winding") << "three-winding" << false
            << QStringList({"#0080ff 9,0 28,24 57", "#6600cc 9,16 28,40 61", "#994c00 18,8 40,40 81"});
        QTest::newRow("three-winding, selected") << "three-winding" << true
            << QStringList({"#0080ff 9,1 28,24 56", "#6600cc 9,16 28,40 61", "#994c00 18,8 40,38 64", "#ff0000 0,0 40,40 108"});
        QTest::newRow("three-winding, MV beside LV") << "three-winding, MV beside LV" << false
            << QStringList({"#0080ff 9,0 28,24 57", "#6600cc 18,16 37,40 61", "#994c00 0,16 19,40 61"});
        QTest::newRow("bus") << "bus" << false << QStringList({"#000000 0,0 20,5 50", "#0080ff 1,1 19,4 76"});
        QTest::newRow("bus, selected") << "bus" << true << QStringList({"#000000 0,0 20,5 50", "#ff0000 1,1 19,4 76"});
        QTest::newRow("line") << "line" << false << QStringList({"#0080ff -1,-1 41,20 183"});
        QTest::newRow("line, selected") << "line" << true << QStringList({"#ff0000 0,0 40,20 41"});
    }
    void painted()
    {
        QFETCH(QString, item);
        QFETCH(bool, selected);
        const QColor hv(0, 128, 255), mv(153, 76, 0), lv(102, 0, 204);
        std::unique_ptr<QGraphicsItem> drawn;
        if (item == "two-winding") {
            auto* t = new Transf2;
            t->m_W = 15, t->m_H = 30, t->m_colorHV = hv, t->m_colorLV = lv;
            drawn.reset(t);
        } else if (item.startsWith("three-winding")) {
            auto* t = new Transf3;
            t->m_W = t->m_H = 40, t->m_colorHV = hv, t->m_colorMV = mv, t->m_colorLV = lv;
            t->m_variant = item.endsWith("LV") ? 1 : 0;
            drawn.reset(t);
        } else if (item == "bus") {
            auto* b = new BusItem;
            b->setRect(0, 0, 20, 5);
            b->m_width = 20, b->m_height = 5, b->m_color = hv;
            drawn.reset(b);
        } else {
            auto* l = new VLKL_Item(polylinePath(QPolygonF({QPointF(0, 0), QPointF(40, 0), QPointF(40, 20)})));
            l->setLineStyle(hv, 3);
            drawn.reset(l);
        }
        QTEST(paintedColours(drawn.get(), selected), "colours");
    }

    void labelHideAndTurn()
    {
        SchemeView view(m_scene);
        const QPointF at(-5, 102);
        auto* label = qgraphicsitem_cast<TextParam*>(m_scene->itemAt(at, QTransform()));
        view.click(at, Qt::RightButton);
        QCOMPARE(QString("%1 %2").arg(label->m_hide).arg(label->color().name()), QString("1 #c0c0c0"));
        view.click(at, Qt::RightButton);
        QCOMPARE(QString("%1 %2").arg(label->m_hide).arg(label->color().name()), QString("0 #c0ffc0"));
        QTest::mouseDClick(view.view.viewport(), Qt::LeftButton, {}, view.view.mapFromScene(at));
        QCOMPARE(QString("%1 %2 %3").arg(label->rotation()).arg(label->m_angle).arg(label->m_rotated), QString("90 90 1"));
        QTest::mouseDClick(view.view.viewport(), Qt::LeftButton, {}, view.view.mapFromScene(label->mapToScene(5, 5)));
        QCOMPARE(QString("%1 %2").arg(label->rotation()).arg(label->m_rotated), QString("0 0"));
    }
};

QTEST_MAIN(TestGraphItems)
#include "tst_graphitems.moc"
