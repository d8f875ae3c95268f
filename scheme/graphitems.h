#pragma once
// The drawn elements of a line's scheme in the editor: buses, line sections
// with bend points, two- and three-winding transformers and their labels.
// Each holds what the scheme file keeps of its element; a right press sends
// the element to the editor window (NodeMenu, BranchMenu, TransMenu), which
// decides what to show.

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QList>
#include <QObject>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QString>
#include <QStringList>
#include <QVector>

class DiagramScene;
class DotSignal;

// Queued menu signals carry the item: registers QGraphicsItem* (the toolkit
// declares the type but does not register it).
void registerSchemeMetaTypes();

// Item kinds of the scene's registry and of the labels' tie to an element.
enum SchemeKind { KindNode = 0, KindTransf2 = 2, KindTransf3 = 3, KindLine = 4 };

// The vertices of a polyline path, and a polyline path through points.
QPolygonF pathVertices(const QPainterPath& path);
QPainterPath polylinePath(const QPolygonF& points);

// ---------------------------------------------------------------------------
// A node of the line: the bar that line sections and transformers attach to.
class BusItem : public QObject, public QGraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(QPointF previousPosition READ previousPosition WRITE setPreviousPosition NOTIFY previousPositionChanged)

public:
    enum { Type = UserType + 4 };
    enum { ResizeNone = 0, ResizeRight = 4 };

    explicit BusItem(QGraphicsItem* parent = nullptr);
    ~BusItem() override;
    int type() const override { return Type; }

    void setRect(const QRectF& rect);
    void setRect(qreal x, qreal y, qreal w, qreal h) { setRect(QRectF(x, y, w, h)); }

    void addLink(const QString& key) { m_links.append(key); }
    // Drops every link to one of keys (their elements were deleted).
    void removeLinks(const QStringList& keys);
    void resizeRight(const QPointF& pointer);

    QPointF previousPosition() const { return m_previousPosition; }
    void setPreviousPosition(QPointF pos);

    // 1 draws a bar; below 1 a circle of the width; negative also has no grip.
    int m_shape = 1;
    int m_width = 10;
    int m_height = 3;
    QColor m_color;
    QString m_nodeName;
    double m_unom = 0.0;
    QVector<QString> m_links;  // keys of the sections and transformers at this node
    int m_resizeMode = ResizeNone;

signals:
    void NodeMenu(QPointF screenPos, QString nodeName, QGraphicsItem* item);
    void clicked(BusItem* item);
    void signalMove(QGraphicsItem* item, double dx, double dy);
    void previousPositionChanged();
    void rectChanged(BusItem* item);

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverMoveEvent(QGraphicsSceneHoverEvent* event) override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    bool sceneEventFilter(QGraphicsItem* watched, QEvent* event) override;

private:
    void dropGrip();

    QPointF m_previousPosition;
    bool m_leftPressed = false;
    DotSignal* m_grip = nullptr;
};

// ---------------------------------------------------------------------------
// A line section: a polyline from its start bus to its end bus; the vertices
// between are bend points. The path is in the item's coordinates.
class VLKL_Item : public QObject, public QGraphicsPathItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 5 };

    explicit VLKL_Item(const QPainterPath& path, QGraphicsItem* parent = nullptr);
    ~VLKL_Item() override;
    int type() const override { return Type; }

    // Moves the first (end 0) or the last vertex by (dx, dy). The second end
    // move since the counter was last set to 0 moves the bend points too, so
    // a line whose two buses move in one step moves whole.
    void setEND(double dx, double dy, int end);
    void setEndCounter(int value) { m_endCounter = value; }
    int endCounter() const { return m_endCounter; }
    void updateDots();
    // Colour and pen width of the line (its voltage class).
    void setLineStyle(const QColor& color, double penWidth);
    void draw(QPainter* painter, const QStyleOptionGraphicsItem* option);

    QPointF pressPoint() const { return m_pressPoint; }
    const QList<DotSignal*>& dots() const { return m_dots; }

    QColor m_color;
    double m_unom = 0.0;
    double m_penWidth = 1.0;
    QString m_key;
    QString m_startNode;  // "nyzln" of the section's row
    int m_lastMovedVertex = -1;

public slots:
    void slotMove(QGraphicsItem* signalOwner, double dx, double dy);
    void InsertNewPoints();
    void DeletePoints();

signals:
    void BranchMenu(QPointF screenPos, QString key, QGraphicsItem* item);
    void clicked(VLKL_Item* item);
    void signalMove(QGraphicsItem* item, double dx, double dy);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    QPainterPath shape() const override;
    // The whole painted width: the narrow shape used for picking would
    // otherwise leave the edges of a thick line behind when it moves.
    QRectF boundingRect() const override;

private:
    void setVertices(const QPolygonF& points);
    void createDots();
    void dropDots();

    int m_endCounter = 0;
    QPointF m_pressPoint;  // item coordinates
    QList<DotSignal*> m_dots;
    bool m_raised = false;  // above its buses while the handles are out
    qreal m_restingZ = 0;
    qreal m_raisedZ = 0;
};

// ---------------------------------------------------------------------------
// A two-winding transformer (one row of the line).
class Transf2 : public QObject, public QGraphicsItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 1 };

    explicit Transf2(QGraphicsItem* parent = nullptr);
    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int m_W = 0;
    int m_H = 0;
    double m_uvn = 0.0;
    double m_unn = 0.0;
    QColor m_colorHV;
    QColor m_colorLV;
    QString m_key;

signals:
    void TransMenu(QPointF screenPos, QString key, QGraphicsItem* item);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
};

// ---------------------------------------------------------------------------
// A three-winding transformer: the rows of its HV, MV and LV windings.
class Transf3 : public QObject, public QGraphicsItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 2 };

    explicit Transf3(QGraphicsItem* parent = nullptr);
    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int m_W = 10;
    int m_H = 10;
    // 1: MV and LV windings side by side below the HV one; 0: MV to the right.
    int m_variant = 1;
    double m_uvn = 0.0;
    double m_usn = 0.0;
    double m_unn = 0.0;
    QColor m_colorHV;
    QColor m_colorMV;
    QColor m_colorLV;
    QString m_key;
    QString m_key2;
    QString m_key3;

signals:
    void TransMenu(QPointF screenPos, QString key, QGraphicsItem* item);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
};

// ---------------------------------------------------------------------------
// The label of an element, tied to it by name (node number or key) and kind.
class TextParam : public QGraphicsItem
{
public:
    enum { Type = UserType + 6 };
    static constexpr int kMaxFirstLine = 40;

    explicit TextParam(QGraphicsItem* parent = nullptr);
    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // The first line is kept cut to its first 40 characters.
    void setLines(const QStringList& lines);
    const QStringList& lines() const { return m_lines; }
    void setColor(const QColor& color);
    QColor color() const { return m_color; }
    // Turns the label by 90 degrees or back (rotated and angle together).
    void setTurned(bool turned);

    float m_width = 100;
    float m_lineHeight = 20;
    int m_rotated = 0;
    int m_angle = 0;
    QString m_name;
    int m_kind = KindNode;
    int m_hide = 0;

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void measure();

    QStringList m_lines;
    QColor m_color;
    QFont m_font;
};
