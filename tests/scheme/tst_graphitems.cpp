// Scheme items under the mouse: a bus dragged with its line ends and its
// transformer, resized by its grip, line vertices inserted, dragged and
// deleted, handle sizes by zoom, labels hidden and turned.

#include "schemefixture.h"
#include "scheme/dotsignal.h"
#include "testsupport.h"

class TestGraphItems : public QObject
{
    Q_OBJECT

private:
    TempWorkDir* m_dir = nullptr;
    MessageRecorder* m_rec = nullptr;
    DiagramScene* m_scene = nullptr;

    VLKL_Item* line2() const { return line(*m_scene, "2"); }

private slots:
    void init()
    {
        m_dir = new TempWorkDir;
        m_rec = new MessageRecorder;
        writeSchemeFixture();
        m_scene = new DiagramScene;
        m_scene->LoadModel();
    }

    void cleanup()
    {
        delete m_scene;
        delete m_rec;
        delete m_dir;
        m_iScale = 1.0;
    }

    // The ends of the bus's lines and its transformer follow by the exact
    // step at every zoom (half units at 200%); bend points stay.
    void busDrag_data()
    {
        QTest::addColumn<qreal>("zoom");
        QTest::newRow("100%") << 1.0;
        QTest::newRow("200%") << 2.0;
        QTest::newRow("400%") << 4.0;
    }
    void busDrag()
    {
        QFETCH(qreal, zoom);
        SchemeView view(m_scene, zoom);
        const qreal unit = 1 / zoom;
        const QPointF from(180, 119);
        view.drag(from, {from + QPointF(unit, unit), from + QPointF(2 * unit, 3 * unit),
                         from + QPointF(3 * unit, 5 * unit)});
        const QPointF step(3 * unit, 5 * unit);
        QCOMPARE(bus(*m_scene, "1")->pos(), QPointF(160, 117) + step);
        const QPointF end = QPointF(162, 119) + step;
        const QString at = QString::number(end.x()) + ',' + QString::number(end.y());
        QCOMPARE(vertices(line(*m_scene, "1")), "12,119 90,150 " + at);
        QCOMPARE(vertices(line2()), at + " 240,41 312,119");
        QCOMPARE(element<Transf2>(*m_scene, KindTransf2, "3")->pos(), QPointF(155, 122) + step);
        QCOMPARE(element<Transf3>(*m_scene, KindTransf3, "4")->pos(), QPointF(305, 122));
    }

    // The grip at the middle of the right edge widens the bus; never below
    // 8 units, and nothing left of the bar.
    void busResize()
    {
        SchemeView view(m_scene);
        BusItem* b = bus(*m_scene, "2");   // at (310, 117), 70 by 7
        view.move(QPointF(376, 120), Qt::NoButton);
        view.move(QPointF(380, 120), Qt::NoButton);
        QCOMPARE(b->m_resizeMode, int(BusItem::ResizeRight));
        view.press(QPointF(380, 120));
        QVector<int> widths;
        for (qreal x : {400.0, 319.0, 317.0, 305.0}) {
            view.move(QPointF(x, 120));
            widths.append(b->m_width);
        }
        view.release(QPointF(305, 120));
        QCOMPARE(widths, QVector<int>({90, 9, 9, 9}));
        QCOMPARE(b->rect(), QRectF(0, 0, 9, 7));
        QCOMPARE(b->pos(), QPointF(310, 117));
    }

    // A bus as narrow as the layout draws it (7 units) is dragged by its
    // left part; only the part at its right edge resizes it.
    void narrowBusGrip()
    {
        SchemeView view(m_scene);
        BusItem* b = bus(*m_scene, "0");   // at (10, 117), 7 by 7
        view.move(QPointF(11, 120), Qt::NoButton);
        view.move(QPointF(12, 120), Qt::NoButton);
        QCOMPARE(b->m_resizeMode, int(BusItem::ResizeNone));
        view.drag(QPointF(12, 120), {QPointF(22, 130), QPointF(32, 140)});
        QCOMPARE(b->pos(), QPointF(30, 137));
        QCOMPARE(b->rect(), QRectF(0, 0, 7, 7));

        view.move(QPointF(36, 140), Qt::NoButton);
        QCOMPARE(b->m_resizeMode, int(BusItem::ResizeRight));
        view.drag(QPointF(36, 140), {QPointF(50, 140)});
        QCOMPARE(b->rect(), QRectF(0, 0, 20, 7));
        QCOMPARE(b->pos(), QPointF(30, 137));
    }

    // The handle of a line end lies on its bus: reached from the line, it
    // is on top of the bus and pulls the end off it; the bus stays.
    void lineEndOffBus()
    {
        SchemeView view(m_scene);
        view.move(QPointF(51, 134.5), Qt::NoButton);   // on line 1
        view.move(QPointF(20, 122), Qt::NoButton);
        view.move(QPointF(12, 119), Qt::NoButton);     // its start on bus 0
        view.drag(QPointF(12, 119), {QPointF(12, 100), QPointF(12, 80)});
        QCOMPARE(vertices(line(*m_scene, "1")), QString("12,80 90,150 162,119"));
        QCOMPARE(bus(*m_scene, "0")->pos(), QPointF(10, 117));
        view.move(QPointF(600, 600), Qt::NoButton);
        QCOMPARE(line(*m_scene, "1")->zValue(), 0.0);   // back below the buses
    }

    // A right click sets where a bend point goes, in the line's own
    // coordinates also after the line was moved; the point goes into the
    // first crossed segment only, its handle drags it, and a right click
    // near it deletes it again.
    void bendPoints()
    {
        SchemeView view(m_scene);
        VLKL_Item* l = line2();
        view.click(QPointF(238, 43), Qt::RightButton);   // 2 units before the bend
        l->InsertNewPoints();
        QCOMPARE(vertices(l), QString("162,119 238,43 240,41 312,119"));
        view.click(QPointF(236, 45), Qt::RightButton);
        l->DeletePoints();
        QCOMPARE(vertices(l), QString("162,119 240,41 312,119"));

        l->setPos(10, 0);
        view.click(QPointF(190, 101), Qt::RightButton);
        l->InsertNewPoints();
        QCOMPARE(vertices(l), QString("162,119 180,101 240,41 312,119"));

        view.move(QPointF(230, 61), Qt::NoButton);   // hover: a handle on every vertex
        QCOMPARE(l->dots().size(), 4);
        view.move(QPointF(190, 101), Qt::NoButton);
        view.drag(QPointF(190, 101), {QPointF(190, 95), QPointF(200, 91)});
        QCOMPARE(vertices(l), QString("162,119 190,91 240,41 312,119"));

        view.move(QPointF(600, 600), Qt::NoButton);   // the handles go with the hover
        QVERIFY(l->dots().isEmpty());
        view.click(QPointF(196, 95), Qt::RightButton);
        l->DeletePoints();
        QCOMPARE(vertices(l), QString("162,119 240,41 312,119"));
    }

    // Handles keep about the same size on screen: 10 units at 25% and 50%,
    // 6 at 100%, 4 at 200%, 2 at 400%.
    void handleSizes_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<qreal>("side");
        QTest::newRow("25%") << 0.25 << 10.0;
        QTest::newRow("50%") << 0.5 << 10.0;
        QTest::newRow("100%") << 1.0 << 6.0;
        QTest::newRow("200%") << 2.0 << 4.0;
        QTest::newRow("400%") << 4.0 << 2.0;
    }
    void handleSizes()
    {
        QFETCH(double, scale);
        QFETCH(qreal, side);
        m_iScale = scale;
        SchemeView view(m_scene);
        view.move(QPointF(230, 51), Qt::NoButton);
        QCOMPARE(line2()->dots().size(), 3);
        for (const DotSignal* dot : line2()->dots())
            QCOMPARE(dot->rect(), QRectF(-side / 2, -side / 2, side, side));
    }

    // A right click marks a label hidden (grey), the next shows it again in
    // pale green; a double click turns it by 90 degrees and back.
    void labelHideAndTurn()
    {
        SchemeView view(m_scene);
        TextParam* label = nullptr;
        for (QGraphicsItem* item : m_scene->items()) {
            auto* t = dynamic_cast<TextParam*>(item);
            if (t && t->m_kind == KindNode && t->m_name == "0")
                label = t;
        }
        QVERIFY(label);
        QCOMPARE(label->pos(), QPointF(-10, 97));
        const QPointF at(-5, 102);
        view.click(at, Qt::RightButton);
        QCOMPARE(label->m_hide, 1);
        QCOMPARE(label->color(), QColor(192, 192, 192));
        view.click(at, Qt::RightButton);
        QCOMPARE(label->m_hide, 0);
        QCOMPARE(label->color(), QColor(192, 255, 192));
        view.doubleClick(at);
        QCOMPARE(label->rotation(), 90.0);
        QCOMPARE(label->m_angle, 90);
        QCOMPARE(label->m_rotated, 1);
        view.doubleClick(label->mapToScene(QPointF(5, 5)));
        QCOMPARE(label->rotation(), 0.0);
        QCOMPARE(label->m_rotated, 0);
    }
};

QTEST_MAIN(TestGraphItems)
#include "tst_graphitems.moc"
