#pragma once
// What the scheme tests share: a working directory with one line, and a view.

#include "scheme/diagramscene.h"
#include "scheme/uchrow.h"
#include "store/sxema.h"
#include "testnetwork.h"
#include "testsupport.h"

#include <QGraphicsView>
#include <QMouseEvent>
#include <QtTest>

#include <optional>

// openWork() puts a fresh working directory and message recorder in place of
// the last test's, zoom 1 and, unless told otherwise, line 1,1,1 at 110 kV:
// sections 0-1 (key 1), 1-2 (key 2) and 2-10 (no key), a two-winding unit
// 1-3 (key 3), a three-winding unit 2-4 with windings 4-5, 4-6 (keys 4, 5, 6)
// and one without windings 0-7 (key 7); line 1,1,2 has one section (key 9).
// Both lines stand in "lines".
// The saved scheme has buses 0, 1, 2 and 9 (no rows, hidden label, x -100),
// both lines with a bend point, every unit and a line without a key, which
// stands for section 2-10. The section's key is the line's next, 8.
class SchemeCase : public QObject
{
protected:
    void openWork(bool fixture = true)
    {
        m_dir.emplace();
        m_rec.emplace();
        m_iScale = 1.0;
        NPES = NRES = NLIN = QStringLiteral("1");
        UNOM = 110;
        if (!fixture)
            return;
        TestNetwork net;
        net.addTransType("ТДН-10000/110", "110", "10000", "1", "1", "1", "1", "1.78", "9", "115", "11");
        net.addTransType("ТМ-1000/35", "35", "1000", "1", "1", "1", "1", "1.78", "9", "35", "10");
        net.addSection("1", 0, 1, "АС-70", 1);
        net.addSection("1", 1, 2, "АС-70", 1);
        net.addTrans("1", 1, 3, "ТДН-10000/110");
        net.addTrans("1", 2, 4, "ТДТН-ВН");
        net.addTrans("1", 4, 5, "ТДТН-НН");
        net.addTrans("1", 4, 6, "ТДТН-СН");
        net.addTrans("1", 0, 7, "ТДТН-ВН");
        net.addSection("1", 2, 10, "АС-70", 1)[17] = QString();
        net.addSection("2", 0, 1, "АС-70", 1);
        net.addLine("1", "Линия 1");
        net.addLine("2", "Линия 2");
        net.write();

        SxemaLin s;
        s.key = QStringList{"1", "1", "1", "rgb(10,20,30)"};
        s.nodes = {{"10", "117", "7", "7", "0", "0", "0", "0"}, {"160", "117", "35", "7", "1", "0", "0", "0"},
                   {"310", "117", "70", "7", "2", "0", "0", "0"}, {"-100", "300", "7", "7", "9", "0", "0", "1"}};
        s.lines = {{"12,119 90,150 162,119", "1", "0", "0", "0"}, {"162,119 240,41 312,119", "2", "0", "0", "0"},
                   {"400,200 500,200", "", "0", "0", "0"}};
        s.transf = {{"155", "122", "35", "70", "115", "11", "3", "0", "0", "0"}};
        s.transf3 = {{"305", "122", "70", "70", "115", "38.5", "11", "4", "6", "5", "0", "0", "0"},
                     {"5", "122", "70", "70", "115", "11", "10.5", "7", "", "", "0", "0", "0"}};
        QVERIFY(writeSxemaFile({s}));
    }

    std::optional<TempWorkDir> m_dir;
    std::optional<MessageRecorder> m_rec;
};

// Records as "Kind field;field;...", without the last dropFields fields.
inline QStringList schemeRecords(const SxemaLin& s, int dropFields = 0, bool sorted = false)
{
    QStringList out;
    const QVector<QPair<QString, const Table*>> lists = {
        {"Node", &s.nodes}, {"Line", &s.lines}, {"Transf", &s.transf}, {"Transf_3", &s.transf3}};
    for (const auto& list : lists) {
        for (const QStringList& r : *list.second)
            out.append(list.first + ' ' + r.mid(0, r.size() - dropFields).join(';'));
    }
    if (sorted)
        out.sort();
    return out;
}

// Line-section rows as "nlin:key name".
inline QStringList rowTexts(const Table& rows)
{
    QStringList out;
    for (const QStringList& row : rows)
        out.append(row.value(uchNlin) + ':' + row.value(uchKey) + ' ' + row.value(uchName));
    return out;
}

template<typename T = QGraphicsItem>
T* element(const DiagramScene& scene, int kind, const QString& key)
{
    for (const auto& record : scene.objects()) {
        if (record->kind == kind && record->key == key)
            return qgraphicsitem_cast<T*>(record->item);
    }
    return nullptr;
}
inline BusItem* bus(const DiagramScene& scene, const QString& node) { return element<BusItem>(scene, KindNode, node); }
inline VLKL_Item* line(const DiagramScene& scene, const QString& key) { return element<VLKL_Item>(scene, KindLine, key); }

inline QString vertices(const VLKL_Item* item)
{
    QStringList out;
    for (const QPointF& p : pathVertices(item->path()))
        out.append(QString::number(p.x()) + ',' + QString::number(p.y()));
    return out.join(' ');
}

template<typename T>
T* shownPopup()
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* popup = qobject_cast<T*>(w); popup && popup->isVisible())
            return popup;
    }
    return nullptr;
}

// Mouse events go to the viewport at the view points of scene points.
class SchemeView
{
public:
    explicit SchemeView(QGraphicsScene* scene, qreal zoom = 1.0)
    {
        view.setScene(scene);
        view.setAlignment(Qt::AlignLeft | Qt::AlignTop);
        view.setTransform(QTransform::fromScale(zoom, zoom));
        view.resize(1400, 1000);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    void send(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
              Qt::KeyboardModifiers keys = {})
    {
        const QPoint p = view.mapFromScene(at);
        QMouseEvent event(type, p, view.viewport()->mapToGlobal(p), button, held, keys);
        QApplication::sendEvent(view.viewport(), &event);
    }
    void press(QPointF at) { send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton); }
    void move(QPointF at, Qt::MouseButtons held = Qt::LeftButton) { send(QEvent::MouseMove, at, Qt::NoButton, held); }
    void hover(QPointF at) { move(at, Qt::NoButton); }
    void release(QPointF at) { send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton); }
    void click(QPointF at, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        send(QEvent::MouseButtonPress, at, button, button, keys);
        send(QEvent::MouseButtonRelease, at, button, Qt::NoButton, keys);
    }
    void drag(QPointF from, const QVector<QPointF>& steps)
    {
        press(from);
        for (const QPointF& p : steps)
            move(p);
        release(steps.last());
    }

    QGraphicsView view;
};
