#pragma once
// A mark of one colour put into a scene, and where a window shows it: the
// navigation tests click where the user sees the mark.

#include <QColor>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QMetaType>
#include <QPalette>
#include <QPoint>
#include <QRect>
#include <QWidget>

// A colour no scheme or regime item paints.
inline QColor markColour() { return QColor(13, 201, 177); }

// A square of markColour() 60 units wide centred on centre, over every item.
inline QGraphicsRectItem* addMark(QGraphicsScene* scene, const QPointF& centre)
{
    QGraphicsRectItem* mark = scene->addRect(QRectF(centre - QPointF(30, 30), QSizeF(60, 60)), Qt::NoPen, markColour());
    mark->setZValue(1e6);
    return mark;
}

// The box around the pixels of what window paints (its own coordinates)
// whose colour passes test.
template <typename Test>
QRect shownPixels(QWidget* window, Test test)
{
    const QImage image = window->grab().toImage();
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (test(QColor(image.pixel(x, y))))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The middle of the pixels of markColour() in what window paints (its own
// coordinates); (-1, -1) when it shows none.
inline QPoint shownMark(QWidget* window)
{
    const QRect box = shownPixels(window, [](const QColor& c) { return c == markColour(); });
    // QRect::center() rounds down: the middle of an even run lies between its pixels.
    return box.isNull() ? QPoint(-1, -1)
                        : QPoint(qRound((box.left() + box.right() + 1) / 2.0), qRound((box.top() + box.bottom() + 1) / 2.0));
}

// Where a navigation test presses: the mark as shown, or the top-left or
// bottom-right pixel of the picture as shown (what is not the window's colour).
enum class Press { Mark, TopLeft, BottomRight };
Q_DECLARE_METATYPE(Press)
inline QPoint pressPoint(QWidget* window, Press press)
{
    const QColor background = window->palette().color(QPalette::Window);
    const QRect picture = shownPixels(window, [&](const QColor& c) { return c != background; });
    return press == Press::Mark ? shownMark(window) : press == Press::TopLeft ? picture.topLeft() : picture.bottomRight();
}
