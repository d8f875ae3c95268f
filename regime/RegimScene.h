#pragma once
// The scene of the regime display: the line's model with its calculated
// regime (RegimModel) and the read-only items drawn from the scheme the
// scheme editor saved for the line. It never writes a file.

#include "regimmodel.h"
#include "scheme/diagramscene.h"

#include <QGraphicsScene>
#include <QList>
#include <QStringList>
#include <QVector>

class ReadSxem;
class TransfItem;

class RegimScene : public QGraphicsScene, public RegimModel
{
    Q_OBJECT

public:
    // The line is the current selection at construction (RegimModel).
    explicit RegimScene(QObject* parent = nullptr);

    // Reads the line, runs its calculation and draws its saved scheme.
    // False when all of it succeeded.
    bool ShowModel();

    // Extent of the drawing: 800 x 600 at first, grown to hold the buses.
    int sceneWidth = 800;
    int sceneHeight = 600;

    // The drawn line sections and transformers whose key is in the line, in
    // drawing order, with their branch names and kinds (4 line section, 2 and
    // 3 two- and three-winding transformer).
    QList<QGraphicsItem*> branchItems;
    QStringList itemNames;
    QVector<int> itemKinds;

public slots:
    // Adds the items of the saved scheme to the scene (the caller clears it
    // first). 1, with a warning, when the line has no saved scheme.
    int AddGraph_();

private:
    ReadSxem readScheme() const;
    void addBuses(const ReadSxem& sxema);
    void addLines(const ReadSxem& sxema);
    void addTransformers(const ReadSxem& sxema);
    void placeTransformer(TransfItem* t, int kind, const QStringList& r, int keyField, int xktField);
    void enter(QGraphicsItem* item, int branch, int kind, double xkt, double ykt);

    // The line as the window opened on it: the scheme file and the
    // calculation read the current line, so they are read with this one.
    const LineSelection m_selection;
};
