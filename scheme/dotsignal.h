#pragma once
// A small square handle on a scheme item: the resize grip of a bus or a
// vertex of a line section. A handle with dot flag bit 0 set is dragged by
// the user and reports each step; any other handle lets presses through to
// its owner.

#include <QGraphicsRectItem>
#include <QObject>
#include <QPointF>

class DotSignal : public QObject, public QGraphicsRectItem
{
    Q_OBJECT
    Q_PROPERTY(QPointF previousPosition READ previousPosition WRITE setPreviousPosition NOTIFY previousPositionChanged)

public:
    enum DotFlags { Movable = 0x1 };

    // zoomStep: the zoom factor of the scheme views truncated to a whole
    // number; it sets the handle's size and pen (setSizeFromScale).
    DotSignal(QGraphicsItem* ownerItem, QObject* owner, int zoomStep);
    DotSignal(QPointF pos, QGraphicsItem* ownerItem, QObject* owner, int zoomStep);
    ~DotSignal() override;

    void setDotFlags(int flags) { m_flags = flags; }
    int dotFlags() const { return m_flags; }

    void setPenFromScale(int zoomStep);
    void setSizeFromScale(int zoomStep);

    QPointF previousPosition() const { return m_previousPosition; }
    void setPreviousPosition(QPointF pos);

    // The zoom step the handles of the editor take now: floor of m_iScale.
    static int currentZoomStep();

signals:
    void signalMove(QGraphicsItem* signalOwner, double dx, double dy);
    void signalMouseRelease();
    void previousPositionChanged();

protected:
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void hoverEnterEvent(QGraphicsSceneHoverEvent* event) override;
    void hoverLeaveEvent(QGraphicsSceneHoverEvent* event) override;

private:
    QGraphicsItem* m_owner;
    int m_flags = 0;
    QPointF m_previousPosition;
    int m_zoomStep;
};
