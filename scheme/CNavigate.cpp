#include "CNavigate.h"

#include "store/readregim.h"
#include "store/safefile.h"
#include "store/ui/placement.h"
#include "store/ui/widgetmessages.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QGraphicsScene>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

CNavigate::CNavigate(QWidget* parent)
    : QWidget(parent)
{
    initSchemeResources();
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The window keeps to its maximum: a label as large as the picture would
    // ask for more than that, and a window whose least size passes its
    // largest is put by its inside, its title bar off the screen.
    label->setMinimumSize(1, 1);
}

CNavigate::~CNavigate() = default;

void initSchemeResources()
{
    static bool done = false;
    if (!done) {
        initZorvanResources();
        Q_INIT_RESOURCE(scheme);
        done = true;
    }
}

void CNavigate::showPicture(const QString& file, int height, const QPoint& at)
{
    // Read anew: QPixmap(file) may come from the pixmap cache, whose key (the
    // name, the second of the last change and the size) can stay the same
    // when the picture is rewritten within a second.
    QImage picture(file);
    m_pictureSize = picture.size();
    // Cut to the window, a tall picture would hide its top and bottom, and
    // the parts of the drawing there could not be reached: it is scaled to
    // the height the label has inside the form's margins.
    if (picture.height() > maximumHeight()) {
        const QMargins margins = verticalLayout->contentsMargins();
        const int room = maximumHeight() - margins.top() - margins.bottom() - 2 * (label->frameWidth() + label->margin());
        picture = picture.scaledToHeight(room, Qt::SmoothTransformation);
    }
    label->setPixmap(QPixmap::fromImage(picture));
    placeWindow(this, at, QSize(kNavigationWidth, height));
}

QPointF CNavigate::picturePoint(const QPoint& pos) const
{
    const QPixmap picture = label->pixmap(Qt::ReturnByValue);
    if (picture.isNull())
        return QPointF(pos);
    // Where QLabel paints its pixmap: contents less margin, aligned as
    // QStyle::drawItemPixmap aligns it.
    const int margin = label->margin();
    const QRect contents = label->contentsRect().adjusted(margin, margin, -margin, -margin);
    const QSize size = picture.size() / picture.devicePixelRatio();
    const QRect drawn = QStyle::alignedRect(QGuiApplication::layoutDirection(), label->alignment(), size, contents);
    const QPointF shown = QPointF(label->mapFrom(this, pos) - drawn.topLeft());
    const QSizeF full = m_pictureSize.isEmpty() ? QSizeF(size) : QSizeF(m_pictureSize);
    const QPointF point(shown.x() * full.width() / size.width(), shown.y() * full.height() / size.height());
    // A press on the frame around the picture goes to its nearest edge.
    return QPointF(qBound(0.0, point.x(), full.width()), qBound(0.0, point.y(), full.height()));
}

void CNavigate::mousePressEvent(QMouseEvent* event)
{
    emit clicked(picturePoint(event->pos()));
    QWidget::mousePressEvent(event);
}

QString navigationPicturePath()
{
    return dataFile(QStringLiteral("scene.png"));
}

namespace {

int navigationPictureHeight(int width, int height)
{
    return width > 0 && height > 0 ? int(qint64(kNavigationWidth) * height / width) : 0;
}

} // namespace

QPointF navigationScenePoint(const QPointF& point, int width, int height)
{
    const int pictureHeight = navigationPictureHeight(width, height);
    if (pictureHeight <= 0)
        return point;
    // The scene is rendered with its aspect kept, from the picture's top left
    // corner, at the smaller of the two ratios: the picture's height is cut
    // down to whole pixels.
    const qreal ratio = qMin(qreal(kNavigationWidth) / width, qreal(pictureHeight) / height);
    return point / ratio;
}

int writeNavigationPicture(QGraphicsScene* scene, int width, int height)
{
    if (!scene)
        return 0;
    const int pictureHeight = navigationPictureHeight(width, height);
    if (pictureHeight <= 0)
        return 0;
    QImage picture(kNavigationWidth, pictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        scene->render(&painter, QRectF(0, 0, kNavigationWidth, pictureHeight), QRectF(0, 0, width, height),
                      Qt::KeepAspectRatio);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QString path = navigationPicturePath();
    if (!picture.save(&buffer, "PNG") || !writeBytes(path, bytes)) {
        warnCannotCreate(path);
        return 0;
    }
    return pictureHeight;
}
