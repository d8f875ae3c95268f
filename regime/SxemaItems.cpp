#include "SxemaItems.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPen>

#include <algorithm>

namespace {

QPen thinPen(const QColor& color)
{
    return QPen(color, 1);
}

} // namespace

// ---- transformers ---------------------------------------------------------------------

void TransfItem::setSize(int w, int h)
{
    prepareGeometryChange();
    m_w = w;
    m_h = h;
}

QRectF Transf2s::boundingRect() const
{
    return QRectF(-2, -2, m_w + 2, m_h + 2);
}

void Transf2s::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    const int w = m_w, h = m_h;
    painter->setPen(thinPen(hvColor));
    painter->drawLine(w / 2, 0, w / 2, h / 8);
    painter->drawEllipse(0, h / 8, w - 2, w - 2);
    painter->setPen(thinPen(lvColor));
    painter->drawEllipse(0, int(0.35 * h), w - 2, w - 2);
    painter->drawLine(w / 2, int(0.8 * h), w / 2, h);
    painter->drawRect(int(0.34 * w), h - 2, int(0.33 * w), 2);
}

Transf3s::Transf3s()
{
    setZValue(1);
}

QRectF Transf3s::boundingRect() const
{
    return QRectF(-2, -2, 1.1 * m_w + 2, 1.1 * m_h + 2);
}

void Transf3s::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    // High winding upper left, medium right, low lower left, each with its lead.
    const int w = m_w, h = m_h;
    const int c = int(0.5 * w - 1.0);
    painter->setPen(thinPen(hvColor));
    painter->drawLine(c, 0, c, w / 8);
    painter->drawEllipse(int(0.225 * w), w / 8, c, c);
    painter->setPen(thinPen(mvColor));
    painter->drawEllipse(int(0.45 * w), int(0.2 * w), c, c);
    painter->drawLine(int(0.95 * w), int(0.42 * w), w, int(0.42 * w));
    painter->drawLine(w, int(0.42 * w), w, h);
    painter->setPen(thinPen(lvColor));
    painter->drawEllipse(int(0.225 * w), int(0.4 * w), c, c);
    painter->drawLine(c, int(0.9 * w), c, w);
}

// ---- bus -----------------------------------------------------------------------------

BussItem::BussItem(QObject* parent)
    : QObject(parent)
{
    setZValue(5);
}

void BussItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    painter->setBrush(QBrush(fill));
    painter->setPen(QPen(QBrush(Qt::black), 0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawRect(QRectF(0, 0, w, h));
}

// ---- line section --------------------------------------------------------------------

VLKLs_Item::VLKLs_Item()
{
    updateExtent();
}

void VLKLs_Item::setPath(const QPainterPath& path)
{
    QGraphicsPathItem::setPath(path);
}

void VLKLs_Item::setPenStyle(int style)
{
    m_penStyle = style;
    updateExtent();
}

void VLKLs_Item::setPenWidth(double width)
{
    m_penWidth = width;
    updateExtent();
}

// The base's pen is never painted; it only makes the bounding rectangle
// hold the widest pen this item may draw with.
void VLKLs_Item::updateExtent()
{
    QGraphicsPathItem::setPen(QPen(Qt::NoBrush, qMax(3.0, m_penWidth)));
}

void VLKLs_Item::paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*)
{
    draw(painter, option);
}

void VLKLs_Item::draw(QPainter* painter, const QStyleOptionGraphicsItem*)
{
    painter->save();
    switch (m_penStyle) {
    case 0:
        painter->setPen(QPen(QBrush(color), m_penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        break;
    case 1:
        painter->setPen(QPen(QBrush(QColor(255, 255, 255)), 3.0, Qt::DashLine, Qt::RoundCap,
                             Qt::RoundJoin));
        break;
    case 2:
    case 3:
        painter->setPen(QPen(QBrush(color), 1.0, Qt::DashDotLine, Qt::RoundCap, Qt::RoundJoin));
        break;
    default:
        break;
    }
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path());
    painter->restore();
}

QPainterPath VLKLs_Item::shape() const
{
    QPainterPathStroker stroker;
    stroker.setWidth(1.0);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::SvgMiterJoin);
    stroker.setCurveThreshold(0);
    return stroker.createStroke(path());
}

// ---- label -----------------------------------------------------------------------------

TextMS::TextMS()
    : m_font(QStringLiteral("SansSerif"), 6)
{
    setZValue(2000);
    setFlags(ItemIsMovable | ItemIsSelectable);
}

void TextMS::setLines(const QStringList& lines)
{
    prepareGeometryChange();
    m_lines = lines;
    if (m_lines.isEmpty())
        return;
    m_lines.first().truncate(32);
    const QFontMetricsF metrics(m_font);
    qreal widest = 0;
    for (const QString& line : m_lines)
        widest = std::max(widest, metrics.horizontalAdvance(line));
    m_width = float(widest + 20);
    m_lineHeight = float(metrics.height());
}

QRectF TextMS::boundingRect() const
{
    const int n = m_lines.isEmpty() ? 1 : m_lines.size();
    return QRectF(-1, -1, m_width + 1, n * m_lineHeight + 1);
}

void TextMS::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*)
{
    if (m_lines.isEmpty())
        return;
    painter->setPen(color);
    painter->setFont(m_font);
    const int step = int(m_lineHeight);
    for (int i = 0; i < m_lines.size(); ++i)
        painter->drawText(QRect(0, i * step, int(m_width), step), Qt::AlignLeft, m_lines.at(i));
}
