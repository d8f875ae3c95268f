#include "schemerecords.h"

#include "scheme/diagramscene.h"

#include <QHash>
#include <QPair>

namespace {

// Fixed-point without decimals; never "-0".
QString fixed0(double v)
{
    QString text = QString::number(v, 'f', 0);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

QString general6(double v)
{
    return QString::number(v, 'g', 6);
}

using LabelKey = QPair<int, QString>;   // kind, node number or key

// xkt, ykt, hide of an element's label.
QStringList labelFields(const QHash<LabelKey, const TextParam*>& labels, int kind, const QString& name)
{
    const TextParam* label = labels.value(LabelKey(kind, name), nullptr);
    if (!label)
        return {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    return {fixed0(label->pos().x()), fixed0(label->pos().y()), QString::number(label->m_hide)};
}

} // namespace

QString rgbText(const QColor& color)
{
    return QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

SxemaLin drawnScheme(const DiagramScene& scene, const QString& background, const QSet<const QGraphicsItem*>* only)
{
    const LineSelection& line = scene.selection();
    SxemaLin out;
    out.key = QStringList{line.npes, line.nres, line.nlin, background};

    const QList<QGraphicsItem*> items = scene.items(Qt::DescendingOrder);
    // Each element's label, the first in stacking order, found once.
    QHash<LabelKey, const TextParam*> labels;
    for (const QGraphicsItem* item : items) {
        if (item->type() != TextParam::Type)
            continue;
        const auto* label = static_cast<const TextParam*>(item);
        const LabelKey key(label->m_kind, label->m_name);
        if (!labels.contains(key))
            labels.insert(key, label);
    }

    for (const QGraphicsItem* item : items) {
        if (only && !only->contains(item))
            continue;
        switch (item->type()) {
        case BusItem::Type: {
            const auto* bus = static_cast<const BusItem*>(item);
            out.nodes.append(QStringList{fixed0(bus->pos().x()), fixed0(bus->pos().y()),
                                         fixed0(bus->rect().width()), general6(bus->rect().height()),
                                         bus->m_nodeName}
                             + labelFields(labels, KindNode, bus->m_nodeName));
            break;
        }
        case VLKL_Item::Type: {
            const auto* section = static_cast<const VLKL_Item*>(item);
            QPolygonF vertices = pathVertices(section->path());
            // A path drops a step to where it stands: a section of zero
            // length keeps both its ends, so that it is drawn again.
            if (vertices.size() == 1)
                vertices.append(vertices.first());
            QStringList points;
            for (const QPointF& vertex : qAsConst(vertices)) {
                const QPointF at = section->pos() + vertex;
                points.append(fixed0(at.x()) + QLatin1Char(',') + fixed0(at.y()));
            }
            out.lines.append(QStringList{points.join(QLatin1Char(' ')), section->m_key}
                             + labelFields(labels, KindLine, section->m_key));
            break;
        }
        case Transf2::Type: {
            const auto* t = static_cast<const Transf2*>(item);
            out.transf.append(QStringList{fixed0(t->pos().x()), fixed0(t->pos().y()), QString::number(t->m_W),
                                          QString::number(t->m_H), general6(t->m_uvn), general6(t->m_unn),
                                          t->m_key}
                              + labelFields(labels, KindTransf2, t->m_key));
            break;
        }
        case Transf3::Type: {
            const auto* t = static_cast<const Transf3*>(item);
            out.transf3.append(QStringList{fixed0(t->pos().x()), fixed0(t->pos().y()), QString::number(t->m_W),
                                           QString::number(t->m_H), general6(t->m_uvn), general6(t->m_usn),
                                           general6(t->m_unn), t->m_key, t->m_key2, t->m_key3}
                               + labelFields(labels, KindTransf3, t->m_key));
            break;
        }
        default:
            break;
        }
    }
    return out;
}
