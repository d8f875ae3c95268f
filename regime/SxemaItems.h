#pragma once
// Read-only items of the regime display: bus, line section, two- and
// three-winding transformer, drawn as the scheme editor draws them but with
// no handles, menus or dragging, and a multi-line label. Their type numbers
// differ from the editor's, so the two are never taken for each other.

#include <QColor>
#include <QFont>
#include <QGraphicsPathItem>
#include <QGraphicsRectItem>
#include <QObject>
#include <QString>
#include <QStringList>

// What the two- and three-winding symbols share: the size and label of
// their record, the branch of their (first) key and the outer windings.
class TransfItem : public QObject, public QGraphicsItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    void setSize(int w, int h);
    int width() const { return m_w; }
    int height() const { return m_h; }

    int kbal = 0;
    int branch = -1;
    double u_vn = 0.0, u_nn = 0.0;
    QColor hvColor, lvColor;
    QString key;
    double xkt = 0.0, ykt = 0.0;
    int hide = 0;

protected:
    int m_w = 0, m_h = 0;
};

class Transf2s : public TransfItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 11 };

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
};

class Transf3s : public TransfItem
{
    Q_OBJECT

public:
    enum { Type = UserType + 12 };

    Transf3s();

    int type() const override { return Type; }
    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int variant = 0;
    int branch2 = -1, branch3 = -1;   // of key2, key3
    double u_sn = 0.0;
    QColor mvColor;
    QString key2, key3;
};

class BussItem : public QObject, public QGraphicsRectItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    enum { Type = UserType + 14 };

    explicit BussItem(QObject* parent = nullptr);

    int type() const override { return Type; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    int kind = 1;
    int w = 0, h = 0;
    int node = -1;
    QColor fill;
    QString key;
    double unom = 0.0;
    double xkt = 0.0, ykt = 0.0;
    int hide = 0;
};

class VLKLs_Item : public QObject, public QGraphicsPathItem
{
    Q_OBJECT
    Q_INTERFACES(QGraphicsItem)

public:
    enum { Type = UserType + 15 };

    VLKLs_Item();

    int type() const override { return Type; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;
    QPainterPath shape() const override;

    void setPath(const QPainterPath& path);
    void draw(QPainter* painter, const QStyleOptionGraphicsItem* option);

    // 0 solid in the colour, 1 white dashed (disconnected), 2 and 3 thin
    // dash-dot; any other leaves the painter's pen.
    void setPenStyle(int style);
    int penStyle() const { return m_penStyle; }
    void setPenWidth(double width);
    double penWidth() const { return m_penWidth; }

    QColor color;
    int branch = -1;
    double unom = 0.0;
    double xkt = 0.0, ykt = 0.0;
    int hide = 0;
    QString key;

private:
    void updateExtent();

    int m_penStyle = 0;
    double m_penWidth = 1.0;
};

// A label of several lines; the user may drag it for the current showing.
class TextMS : public QGraphicsItem
{
public:
    TextMS();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    // Takes the lines (the first cut to 32 characters) and measures them:
    // the width of the widest line plus 20, one font height per line. A
    // later line wider than the first (a type mark under a short name, a
    // voltage drop under a short flow) is shown whole, not cut off.
    void setLines(const QStringList& lines);
    const QStringList& lines() const { return m_lines; }
    float width() const { return m_width; }
    float lineHeight() const { return m_lineHeight; }

    QColor color;

private:
    float m_width = 100.0f;
    float m_lineHeight = 10.0f;
    QStringList m_lines;
    QFont m_font;
};
