#include "graphitems.h"

#include "scheme/diagramscene.h"
#include "scheme/dotsignal.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSceneHoverEvent>
#include <QGraphicsSceneMouseEvent>
#include <QLineF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>
#include <QStyleOptionGraphicsItem>

#include <algorithm>
#include <cmath>

namespace {

QPen selectionPen(const QColor& color = Qt::red)
{
    return QPen(color, 1.0, Qt::DashLine, Qt::SquareCap, Qt::BevelJoin);
}

// ⌊a⌋ of the drawing rules: toward zero.
int whole(double a)
{
    return int(std::trunc(a));
}

DiagramScene* diagramScene(QGraphicsItem* item)
{
    return qobject_cast<DiagramScene*>(item->scene());
}

} // namespace

void registerSchemeMetaTypes()
{
    qRegisterMetaType<QGraphicsItem*>("QGraphicsItem*");
}

QPolygonF pathVertices(const QPainterPath& path)
{
    QPolygonF points;
    points.reserve(path.elementCount());
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        points.append(QPointF(e.x, e.y));
    }
    return points;
}

QPainterPath polylinePath(const QPolygonF& points)
{
    QPainterPath path;
    if (points.isEmpty())
        return path;
    path.moveTo(points.first());
    for (int i = 1; i < points.size(); ++i)
        path.lineTo(points.at(i));
    return path;
}

// ---- BusItem ----------------------------------------------------------------------

BusItem::BusItem(QGraphicsItem* parent)
    : QGraphicsRectItem(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
    setZValue(5.0);
}

BusItem::~BusItem() = default;

void BusItem::setRect(const QRectF& rect)
{
    QGraphicsRectItem::setRect(rect);
}

void BusItem::removeLinks(const QStringList& keys)
{
    m_links.erase(std::remove_if(m_links.begin(), m_links.end(),
                                 [&](const QString& k) { return keys.contains(k); }),
                  m_links.end());
}

void BusItem::setPreviousPosition(QPointF pos)
{
    if (m_previousPosition == pos)
        return;
    m_previousPosition = pos;
    emit previousPositionChanged();
}

void BusItem::resizeRight(const QPointF& pointer)
{
    const QRectF r = rect();
    const qreal width = pointer.x() - r.x();
    if (pointer.x() < r.x() || width < 8.0)
        return;
    m_width = whole(width);
    prepareGeometryChange();
    setRect(r.x(), r.y(), width, r.height());
    update();
    if (m_grip)
        m_grip->setPos(r.x() + width, r.y() + r.height() / 2);
}

void BusItem::dropGrip()
{
    if (!m_grip)
        return;
    // Deferred: the grip may be among the items of the hover being handled.
    m_grip->hide();
    m_grip->deleteLater();
    m_grip = nullptr;
}

void BusItem::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        emit NodeMenu(QPointF(event->screenPos()), m_nodeName, this);
    } else if (event->button() == Qt::LeftButton) {
        m_leftPressed = true;
        setPreviousPosition(event->scenePos());
        emit clicked(this);
    }
    QGraphicsRectItem::mousePressEvent(event);
}

void BusItem::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    QGraphicsRectItem::mouseReleaseEvent(event);
}

void BusItem::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_resizeMode == ResizeRight) {
        resizeRight(event->pos());
        return;
    }
    if (!m_leftPressed)
        return;
    setCursor(Qt::ClosedHandCursor);
    const QPointF step = event->scenePos() - previousPosition();
    moveBy(step.x(), step.y());
    // The ends of the bus's line sections follow by the same step, each end
    // by itself (a bend point never moves with one bus); its transformers
    // move with it.
    if (DiagramScene* ds = diagramScene(this))
        ds->moveAttached(this, step.x(), step.y(), true);
    setPreviousPosition(event->scenePos());
    emit signalMove(this, step.x(), step.y());
}

void BusItem::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    if (m_shape >= 0) {
        dropGrip();
        const QRectF r = rect();
        m_grip = new DotSignal(QPointF(r.x() + r.width(), r.y() + r.height() / 2), this, this,
                               DotSignal::currentZoomStep());
        m_grip->setDotFlags(0);
        m_grip->installSceneEventFilter(this);
    }
    QGraphicsRectItem::hoverEnterEvent(event);
}

bool BusItem::sceneEventFilter(QGraphicsItem* watched, QEvent* event)
{
    // The pointer on the grip hovers the grip, not the bus: the grip's own
    // hover says resize.
    if (watched == m_grip
        && (event->type() == QEvent::GraphicsSceneHoverEnter || event->type() == QEvent::GraphicsSceneHoverMove)) {
        m_resizeMode = ResizeRight;
        setCursor(Qt::SizeHorCursor);
    }
    return false;
}

void BusItem::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    if (m_shape >= 0) {
        dropGrip();
        m_resizeMode = ResizeNone;
        setCursor(Qt::CrossCursor);
    }
    QGraphicsRectItem::hoverLeaveEvent(event);
}

void BusItem::hoverMoveEvent(QGraphicsSceneHoverEvent* event)
{
    if (m_shape < 0) {
        setCursor(Qt::CrossCursor);
    } else {
        const QRectF r = rect();
        const QPointF grip(r.x() + r.width(), r.height() / 2);
        // A bus as narrow as the layout draws it keeps its left two thirds
        // for dragging; the grip itself resizes (sceneEventFilter).
        if (QLineF(event->pos(), grip).length() < 6.0 && event->pos().x() >= r.x() + r.width() * 2 / 3) {
            m_resizeMode = ResizeRight;
            setCursor(Qt::SizeHorCursor);
        } else {
            m_resizeMode = ResizeNone;
            setCursor(Qt::CrossCursor);
        }
    }
    QGraphicsRectItem::hoverMoveEvent(event);
}

void BusItem::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    painter->setPen(QPen(Qt::black, 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const bool bar = m_shape >= 1;
    const QRectF figure = bar ? QRectF(0, 0, m_width, m_height) : QRectF(0, 0, m_width, m_width);
    for (const QColor& fill : {m_color, QColor(Qt::red)}) {
        painter->setBrush(QBrush(fill, Qt::SolidPattern));
        if (bar)
            painter->drawRect(figure);
        else
            painter->drawEllipse(figure);
        if (!(option->state & QStyle::State_Selected))
            break;
    }
}

// ---- VLKL_Item ----------------------------------------------------------------------

VLKL_Item::VLKL_Item(const QPainterPath& path, QGraphicsItem* parent)
    : QGraphicsPathItem(parent)
{
    // Set even when it has no length: the base class would drop the one
    // point of a section from a node to itself.
    setPath(path);
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setAcceptHoverEvents(true);
    setZValue(0);
}

VLKL_Item::~VLKL_Item() = default;

void VLKL_Item::setLineStyle(const QColor& color, double penWidth)
{
    // The pen first: its change marks the area of the old width for repainting.
    setPen(QPen(color, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_color = color;
    m_penWidth = penWidth;
}

void VLKL_Item::setVertices(const QPolygonF& points)
{
    setPath(polylinePath(points));
    if (m_dots.size() == points.size()) {
        for (int i = 0; i < points.size(); ++i)
            m_dots.at(i)->setPos(points.at(i));
    }
}

void VLKL_Item::setEND(double dx, double dy, int end)
{
    QPolygonF points = pathVertices(path());
    if (points.isEmpty())
        return;
    const QPointF step(dx, dy);
    points[end > 0 ? points.size() - 1 : 0] += step;
    if (++m_endCounter == 2 && points.size() >= 3) {
        for (int i = 1; i < points.size() - 1; ++i)
            points[i] += step;
    }
    setVertices(points);
}

void VLKL_Item::createDots()
{
    // The ends lie on buses, which stand above lines: while the handles are
    // out the line stands above the buses it touches, so that an end can
    // be pulled off its bus.
    if (!m_raised) {
        m_restingZ = zValue();
        qreal z = m_restingZ;
        if (QGraphicsScene* s = scene()) {
            for (const QGraphicsItem* item : s->collidingItems(this)) {
                if (item->type() == BusItem::Type)
                    z = std::max(z, item->zValue() + 0.1);
            }
        }
        setZValue(z);
        m_raisedZ = z;
        m_raised = true;
    }
    const int step = DotSignal::currentZoomStep();
    for (const QPointF& vertex : pathVertices(path())) {
        auto* dot = new DotSignal(vertex, this, this, step);
        connect(dot, &DotSignal::signalMove, this, &VLKL_Item::slotMove);
        dot->setDotFlags(DotSignal::Movable);
        m_dots.append(dot);
    }
}

void VLKL_Item::dropDots()
{
    // Deferred: a handle may be the item whose event is being handled.
    for (DotSignal* dot : qAsConst(m_dots)) {
        dot->hide();
        dot->deleteLater();
    }
    m_dots.clear();
    if (m_raised) {
        // Unless front or back has set it meanwhile.
        if (zValue() == m_raisedZ)
            setZValue(m_restingZ);
        m_raised = false;
    }
}

void VLKL_Item::updateDots()
{
    dropDots();
    createDots();
}

void VLKL_Item::slotMove(QGraphicsItem* signalOwner, double dx, double dy)
{
    QPolygonF points = pathVertices(path());
    for (int i = 0; i < points.size() && i < m_dots.size(); ++i) {
        if (m_dots.at(i) == signalOwner) {
            points[i] += QPointF(dx, dy);
            m_lastMovedVertex = i;
        }
    }
    setVertices(points);
}

void VLKL_Item::InsertNewPoints()
{
    const QPointF p = m_pressPoint;
    const QLineF d1(p.x() - 5, p.y() - 5, p.x() + 5, p.y() + 5);
    const QLineF d2(p.x() + 5, p.y() - 5, p.x() - 5, p.y() + 5);
    const QPolygonF points = pathVertices(path());
    QPolygonF out;
    out.reserve(points.size() + 1);
    bool inserted = false;
    for (int i = 0; i + 1 < points.size(); ++i) {
        out.append(points.at(i));
        const QLineF segment(points.at(i), points.at(i + 1));
        // One point only: a click near a vertex crosses both its segments.
        if (!inserted && (segment.intersects(d1, nullptr) == QLineF::BoundedIntersection
                          || segment.intersects(d2, nullptr) == QLineF::BoundedIntersection)) {
            out.append(p);
            inserted = true;
        }
    }
    if (!points.isEmpty())
        out.append(points.last());
    setVertices(out);
    updateDots();
}

void VLKL_Item::DeletePoints()
{
    const QPointF p = m_pressPoint;
    QPolygonF points = pathVertices(path());
    for (int i = 1; i + 1 < points.size(); ++i) {
        if (std::abs(points.at(i).x() - p.x()) < 8.0 && std::abs(points.at(i).y() - p.y()) < 8.0) {
            points.remove(i);
            break;
        }
    }
    setVertices(points);
    updateDots();
}

void VLKL_Item::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // Item coordinates, as the vertices: right also after the line was
        // dragged away from the origin.
        m_pressPoint = event->pos();
        emit BranchMenu(QPointF(event->screenPos()), m_key, this);
    }
    QGraphicsPathItem::mousePressEvent(event);
}

void VLKL_Item::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    dropDots();
    createDots();
    QGraphicsPathItem::hoverEnterEvent(event);
}

void VLKL_Item::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    dropDots();
    QGraphicsPathItem::hoverLeaveEvent(event);
}

void VLKL_Item::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    draw(painter, option);
}

void VLKL_Item::draw(QPainter* painter, const QStyleOptionGraphicsItem* option)
{
    if (option->state & QStyle::State_Selected)
        painter->setPen(selectionPen());
    else
        painter->setPen(QPen(m_color, m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path());
}

QRectF VLKL_Item::boundingRect() const
{
    // Round caps reach half the pen width past the ends as well.
    const qreal half = std::max(m_penWidth, 1.0) / 2;
    return path().controlPointRect().adjusted(-half, -half, half, half);
}

QPainterPath VLKL_Item::shape() const
{
    // Picked within half a unit of the centre line, whatever the pen width.
    QPainterPathStroker stroker;
    stroker.setWidth(1.0);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::SvgMiterJoin);
    return stroker.createStroke(path());
}

// ---- Transformers -----------------------------------------------------------------

Transf2::Transf2(QGraphicsItem* parent)
    : QGraphicsItem(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable);
    setCacheMode(DeviceCoordinateCache);
    setZValue(-1.0);
}

QRectF Transf2::boundingRect() const
{
    return QRectF(-0.5, -0.5, m_W + 0.5, m_H + 0.5);
}

void Transf2::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const int c = whole(m_W / 2.0) - 1;
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(m_colorHV, 1));
    painter->drawLine(c, 0, c, whole(m_H / 8.0));
    painter->drawEllipse(QRect(0, whole(m_H / 8.0), m_W - 2, m_W - 2));
    painter->setPen(QPen(m_colorLV, 1));
    painter->drawEllipse(QRect(0, whole(0.4 * m_H), m_W - 2, m_W - 2));
    painter->drawLine(c, whole(0.8 * m_H), c, m_H);
    if (option->state & QStyle::State_Selected) {
        painter->setPen(selectionPen());
        painter->drawRect(QRect(0, 0, m_W, m_H));
    }
}

void Transf2::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit TransMenu(QPointF(event->screenPos()), m_key, this);
    update();
    QGraphicsItem::mousePressEvent(event);
}

void Transf2::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    update();
    QGraphicsItem::mouseReleaseEvent(event);
}

Transf3::Transf3(QGraphicsItem* parent)
    : QGraphicsItem(parent)
{
    setFlags(ItemIsMovable | ItemIsSelectable | ItemSendsGeometryChanges);
    setCacheMode(DeviceCoordinateCache);
    setZValue(-1.0);
}

QRectF Transf3::boundingRect() const
{
    return QRectF(-0.5, -0.5, 1.1 * m_W + 0.5, 1.1 * m_H + 0.5);
}

void Transf3::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    const int w = m_W;
    const int c = whole(0.5 * w - 1);
    const int a = whole(w / 8.0);
    auto at = [w](double f) { return whole(f * w); };
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(m_colorHV, 1));
    painter->drawLine(c, 0, c, a);
    painter->drawEllipse(QRect(at(0.225), a, c, c));
    if (m_variant == 0) {
        painter->setPen(QPen(m_colorMV, 1));
        painter->drawEllipse(QRect(at(0.45), at(0.2), c, c));
        painter->drawLine(at(0.95), at(0.42), w, at(0.42));
        painter->drawLine(w, at(0.42), w, m_H);
        painter->setPen(QPen(m_colorLV, 1));
        painter->drawEllipse(QRect(at(0.225), at(0.4), c, c));
        painter->drawLine(c, at(0.9), c, w);
    } else {
        painter->setPen(QPen(m_colorMV, 1));
        painter->drawEllipse(QRect(0, at(0.4), c, c));
        painter->drawLine(at(0.27), at(0.9), at(0.27), w);
        painter->setPen(QPen(m_colorLV, 1));
        painter->drawEllipse(QRect(at(0.45), at(0.4), c, c));
        painter->drawLine(at(0.72), at(0.9), at(0.72), w);
    }
    if (option->state & QStyle::State_Selected) {
        painter->setPen(selectionPen());
        painter->drawRect(QRect(0, 0, w, w));
    }
}

void Transf3::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::RightButton)
        emit TransMenu(QPointF(event->screenPos()), m_key, this);
    update();
    QGraphicsItem::mousePressEvent(event);
}

void Transf3::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    update();
    QGraphicsItem::mouseReleaseEvent(event);
}

// ---- TextParam ----------------------------------------------------------------------

TextParam::TextParam(QGraphicsItem* parent)
    : QGraphicsItem(parent)
    , m_font(QStringLiteral("SansSerif"), 8)
{
    setFlags(ItemIsMovable | ItemIsSelectable);
    setZValue(2000.0);
}

void TextParam::setLines(const QStringList& lines)
{
    m_lines = lines;
    if (!m_lines.isEmpty())
        m_lines.first().truncate(kMaxFirstLine);
    measure();
}

void TextParam::setColor(const QColor& color)
{
    m_color = color;
    update();
}

void TextParam::setTurned(bool turned)
{
    m_rotated = turned ? 1 : 0;
    m_angle = turned ? 90 : 0;
    setRotation(m_angle);
}

void TextParam::measure()
{
    if (m_lines.isEmpty())
        return;
    const QFontMetricsF metrics(m_font);
    const float width = float(metrics.horizontalAdvance(m_lines.first()));
    const float height = float(metrics.height());
    if (width != m_width || height != m_lineHeight) {
        prepareGeometryChange();
        m_width = width;
        m_lineHeight = height;
    }
}

QRectF TextParam::boundingRect() const
{
    const int n = m_lines.isEmpty() ? 1 : m_lines.size();
    return QRectF(-1, -1, m_width + 1, n * m_lineHeight + 1);
}

void TextParam::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget)
{
    if (m_lines.isEmpty())
        return;
    painter->setFont(m_font);
    painter->setPen(m_color);
    for (int i = 0; i < m_lines.size(); ++i)
        painter->drawText(QRectF(0, i * m_lineHeight, m_width, m_lineHeight), Qt::AlignLeft, m_lines.at(i));
    if (option->state & QStyle::State_Selected) {
        painter->setPen(selectionPen(m_color));
        painter->drawRect(boundingRect().adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void TextParam::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // A right click marks the label hidden (grey) or shown again.
        if (m_hide == 1) {
            m_hide = 0;
            m_color = QColor(192, 255, 192);
        } else {
            m_hide = 1;
            m_color = QColor(192, 192, 192);
        }
        update();
    }
    QGraphicsItem::mousePressEvent(event);
}

void TextParam::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event)
{
    setTurned(m_angle != 90);
}
