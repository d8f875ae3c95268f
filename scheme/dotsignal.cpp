#include "dotsignal.h"

#include "store/readregim.h"

#include <QBrush>
#include <QGraphicsSceneMouseEvent>
#include <QPen>

#include <cmath>

DotSignal::DotSignal(QGraphicsItem* ownerItem, QObject* owner, int zoomStep)
    : QObject(owner)
    , QGraphicsRectItem(ownerItem)
    , m_owner(ownerItem)
    , m_zoomStep(zoomStep)
{
    setAcceptHoverEvents(true);
    setBrush(QBrush(Qt::green));
    setPenFromScale(zoomStep);
    setSizeFromScale(zoomStep);
}

DotSignal::DotSignal(QPointF pos, QGraphicsItem* ownerItem, QObject* owner, int zoomStep)
    : DotSignal(ownerItem, owner, zoomStep)
{
    setPos(pos);
}

DotSignal::~DotSignal() = default;

int DotSignal::currentZoomStep()
{
    return int(std::trunc(m_iScale));
}

void DotSignal::setPenFromScale(int zoomStep)
{
    m_zoomStep = zoomStep;
    setPen(QPen(Qt::black, zoomStep >= 1 ? 1.01 / zoomStep : 1.0));
}

void DotSignal::setSizeFromScale(int zoomStep)
{
    // Handles keep about the same size on screen whatever the zoom.
    qreal half;
    switch (zoomStep) {
    case 0: half = 5.0; break;
    case 1: half = 3.0; break;
    case 2: half = 2.0; break;
    case 3: half = 1.5; break;
    default:
        if (zoomStep < 0)
            return;
        half = 1.0;
    }
    setRect(-half, -half, 2 * half, 2 * half);
}

void DotSignal::setPreviousPosition(QPointF pos)
{
    if (m_previousPosition == pos)
        return;
    m_previousPosition = pos;
    emit previousPositionChanged();
}

void DotSignal::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_flags & Movable) {
        // Taken here: the owner is neither selected nor moved.
        setPreviousPosition(event->scenePos());
        return;
    }
    QGraphicsRectItem::mousePressEvent(event);
}

void DotSignal::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (m_flags & Movable) {
        const QPointF step = event->scenePos() - previousPosition();
        moveBy(step.x(), step.y());
        setPreviousPosition(event->scenePos());
        emit signalMove(this, step.x(), step.y());
        return;
    }
    QGraphicsRectItem::mouseMoveEvent(event);
}

void DotSignal::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    emit signalMouseRelease();
    QGraphicsRectItem::mouseReleaseEvent(event);
}

void DotSignal::hoverEnterEvent(QGraphicsSceneHoverEvent* event)
{
    setBrush(QBrush(Qt::red));
    QGraphicsRectItem::hoverEnterEvent(event);
}

void DotSignal::hoverLeaveEvent(QGraphicsSceneHoverEvent* event)
{
    setBrush(QBrush(Qt::green));
    QGraphicsRectItem::hoverLeaveEvent(event);
}
