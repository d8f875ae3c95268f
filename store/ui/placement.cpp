#include "placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <climits>

namespace {

// A frame as window managers usually draw one, for when no window has been
// shown yet to tell the real one.
const QMargins kUsualFrame(4, 30, 4, 8);

// The start of a stretch length long inside [lo, lo + room): kept where it
// fits, else moved in; one longer than the room starts at lo.
int startInside(int start, int length, int lo, int room)
{
    return qMax(lo, qMin(start, lo + room - length));
}

bool isFramed(const QWidget* window)
{
    const Qt::WindowType type = window->windowType();
    return type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen
           && !window->windowFlags().testFlag(Qt::FramelessWindowHint);
}

QMargins shownFrame(const QWidget* window)
{
    const QWindow* handle = window->windowHandle();
    return handle && window->isVisible() ? handle->frameMargins() : QMargins();
}

// The window's own frame once it is shown; before that, one of another shown
// window, which the same window manager draws alike.
QMargins windowFrame(const QWidget* window)
{
    if (!isFramed(window))
        return QMargins();
    QMargins frame = shownFrame(window);
    if (!frame.isNull())
        return frame;
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != window && isFramed(other)) {
            frame = shownFrame(other);
            if (!frame.isNull())
                return frame;
        }
    }
    return kUsualFrame;
}

int distance(const QRect& area, const QPoint& p)
{
    const int dx = qMax(0, qMax(area.left() - p.x(), p.x() - area.right()));
    const int dy = qMax(0, qMax(area.top() - p.y(), p.y() - area.bottom()));
    return dx + dy;
}

QScreen* screenNear(const QPoint& pos)
{
    if (QScreen* screen = QGuiApplication::screenAt(pos))
        return screen;
    QScreen* nearest = QGuiApplication::primaryScreen();
    int best = INT_MAX;
    for (QScreen* screen : QGuiApplication::screens()) {
        const int d = distance(screen->geometry(), pos);
        if (d < best) {
            best = d;
            nearest = screen;
        }
    }
    return nearest;
}

} // namespace

QRect fitInside(const QRect& wanted, const QRect& available)
{
    const QSize size = wanted.size().boundedTo(available.size());
    return QRect(startInside(wanted.x(), size.width(), available.x(), available.width()),
                 startInside(wanted.y(), size.height(), available.y(), available.height()), size.width(),
                 size.height());
}

void placeWindow(QWidget* window, const QPoint& pos, const QSize& size, const QRect& available)
{
    // Fonts and style of a window not shown yet, which its least size needs.
    window->ensurePolished();
    const QMargins frame = windowFrame(window);
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    const QSize most = window->maximumSize();
    const QRect fitted = fitInside(QRect(pos, size.boundedTo(most).expandedTo(least).grownBy(frame)), available);
    // What the layout cannot give up stays, at the left and top edges of
    // the area, where the title bar and its buttons begin.
    const QSize inner = fitted.size().shrunkBy(frame).boundedTo(most).expandedTo(least);
    const QSize outer = inner.grownBy(frame);
    const QPoint corner(startInside(fitted.x(), outer.width(), available.x(), available.width()),
                        startInside(fitted.y(), outer.height(), available.y(), available.height()));
    if (frame.isNull()) {
        // Placed by its own rectangle: move() would take the corner for a
        // frame's, which some platforms give even a pop-up.
        window->setGeometry(QRect(corner, inner));
    } else {
        window->resize(inner);
        window->move(corner);
    }
}

void placeWindow(QWidget* window, const QPoint& pos, const QSize& size)
{
    const QScreen* screen = screenNear(pos);
    placeWindow(window, pos, size, screen ? screen->availableGeometry() : QRect(pos, size));
}

void placeWindow(QWidget* window, const QPoint& pos)
{
    placeWindow(window, pos, window->size());
}
