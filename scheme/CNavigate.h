#pragma once
// The navigation window of the scheme windows: a small picture of the whole
// drawing; a click in it tells where the user wants the view to go.

#include "ui_CShowReport.h"

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QWidget>

class QGraphicsScene;

class CNavigate : public QWidget, private Ui_CShowReport
{
    Q_OBJECT

public:
    // Without a parent the window stands by itself; it is deleted when closed.
    explicit CNavigate(QWidget* parent = nullptr);
    ~CNavigate() override;

    // Shows the picture in file (the navigation picture, height pixels high),
    // the window's frame at at: its scheme window's view, whose tools and
    // combos stay uncovered. A picture taller than the window is shown whole,
    // scaled down to the window's height.
    void showPicture(const QString& file, int height, const QPoint& at);

    // The point of the picture drawn under pos (the window's own coordinates),
    // in the picture's own pixels, however it is scaled on the screen. The
    // label sets the picture by its alignment inside the form's margins.
    QPointF picturePoint(const QPoint& pos) const;

signals:
    // The point of the picture under the press, in the picture's pixels.
    void clicked(QPointF pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    // The picture's size as written; empty until one is shown.
    QSize m_pictureSize;
};

// Width of the navigation picture, pixels.
constexpr int kNavigationWidth = 400;

// Renders the region (0, 0, width, height) of scene, aspect kept, into a
// picture 400 pixels wide and 400 * height / width high and writes it as
// ZORVAN_PATH + "scene.png". Returns the picture's height; 0 when there is
// nothing to show or the file could not be written ("Невозможно создать
// файл -").
int writeNavigationPicture(QGraphicsScene* scene, int width, int height);

// The scene point that the picture of a drawing width x height drawn by
// writeNavigationPicture shows at point (picture pixels).
QPointF navigationScenePoint(const QPointF& point, int width, int height);

// The data path's navigation picture.
QString navigationPicturePath();

// Registers the icons of the scheme windows and the program's own (once).
void initSchemeResources();
