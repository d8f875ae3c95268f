#pragma once
// Where the program's windows and pop-ups open. The position and size a
// window asks for are kept when the window, its frame included, fits the
// available area of its screen (the desktop less its panels); otherwise it is
// moved inside that area and, when larger, cut down to it, so that its title
// bar and every button can be reached on a laptop screen as well.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

// wanted moved inside available; a side longer than available's is cut to it.
QRect fitInside(const QRect& wanted, const QRect& available);

// Places window as move(pos) and resize(size) would (pos is the frame's
// top-left corner, size the inside of the frame), or inside available where
// that does not fit. A window never becomes smaller than its layout allows
// nor larger than its maximum; pop-ups have no frame.
void placeWindow(QWidget* window, const QPoint& pos, const QSize& size, const QRect& available);
// The same on the screen where pos lies (the nearest one when pos lies on
// none).
void placeWindow(QWidget* window, const QPoint& pos, const QSize& size);
// The same at the window's present size.
void placeWindow(QWidget* window, const QPoint& pos);

