#pragma once
// The navigation window of the scheme windows: a small picture of the whole
// drawing; a click in it tells where the user wants the view to go.

#include "ui_CShowReport.h"

#include <QPoint>
#include <QPointF>
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
    // combos stay uncovered.
    void showPicture(const QString& file, int height, const QPoint& at);

signals:
    // The press position in the window's own coordinates.
    void clicked(QPointF pos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Width of the navigation picture, pixels.
constexpr int kNavigationWidth = 400;

// Renders the region (0, 0, width, height) of scene, aspect kept, into a
// picture 400 pixels wide and 400 * height / width high and writes it as
// ZORVAN_PATH + "scene.png". Returns the picture's height; 0 when there is
// nothing to show or the file could not be written ("Невозможно создать
// файл -").
int writeNavigationPicture(QGraphicsScene* scene, int width, int height);

// The data path's navigation picture.
QString navigationPicturePath();

// Registers the icons of the scheme windows and the program's own (once).
void initSchemeResources();
