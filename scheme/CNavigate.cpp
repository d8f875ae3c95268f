#include "CNavigate.h"

#include "store/readregim.h"
#include "store/safefile.h"
#include "store/ui/placement.h"
#include "store/ui/widgetmessages.h"

#include <QBuffer>
#include <QGraphicsScene>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

CNavigate::CNavigate(QWidget* parent)
    : QWidget(parent)
{
    initSchemeResources();
    setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    // The window keeps to its maximum and cuts the picture: a label as large
    // as the picture would ask for more than that, and a window whose least
    // size passes its largest is put by its inside, its title bar off the
    // screen.
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
    label->setPixmap(QPixmap(file));
    placeWindow(this, at, QSize(kNavigationWidth, height));
}

void CNavigate::mousePressEvent(QMouseEvent* event)
{
    emit clicked(QPointF(event->pos()));
    QWidget::mousePressEvent(event);
}

QString navigationPicturePath()
{
    return dataFile(QStringLiteral("scene.png"));
}

int writeNavigationPicture(QGraphicsScene* scene, int width, int height)
{
    if (!scene || width <= 0 || height <= 0)
        return 0;
    const int pictureHeight = int(qint64(kNavigationWidth) * height / width);
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
