#pragma once
// What an item paints, as a user would tell it apart: each colour and the
// box its pixels fill.

#include <QGraphicsItem>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QStringList>
#include <QStyleOptionGraphicsItem>

// The item painted into an image of its bounding box and a margin; area is
// that box in item coordinates.
inline QImage paintedImage(QGraphicsItem* item, bool selected, QRect* area)
{
    *area = item->boundingRect().toAlignedRect().adjusted(-4, -4, 4, 4);
    QImage image(area->size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.translate(-area->topLeft());
    QStyleOptionGraphicsItem option;
    option.state = selected ? QStyle::State_Selected : QStyle::State_None;
    item->paint(&painter, &option, nullptr);
    painter.end();
    return image;
}

// "#rrggbb x0,y0 x1,y1 n" per colour the item paints (unselected or
// selected): the box of its pixels in item coordinates and their number,
// ordered by colour; painted without antialiasing.
inline QStringList paintedColours(QGraphicsItem* item, bool selected = false)
{
    QRect area;
    const QImage image = paintedImage(item, selected, &area);
    QMap<QRgb, QPair<QRect, int>> boxes;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) != 0) {
                boxes[pixel].first |= QRect(area.x() + x, area.y() + y, 1, 1);
                ++boxes[pixel].second;
            }
        }
    }
    QStringList out;
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it) {
        const QRect& r = it->first;
        out.append(QStringLiteral("%1 %2,%3 %4,%5 %6").arg(QColor(it.key()).name()).arg(r.left()).arg(r.top())
                       .arg(r.right()).arg(r.bottom()).arg(it->second));
    }
    return out;
}

// The x of every pixel of colour in row y of what the item paints (item coordinates).
inline QList<int> paintedInRow(QGraphicsItem* item, const QColor& colour, int y)
{
    QRect area;
    const QImage image = paintedImage(item, false, &area);
    QList<int> xs;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y - area.y()) == colour.rgba())
            xs.append(area.x() + x);
    }
    return xs;
}
