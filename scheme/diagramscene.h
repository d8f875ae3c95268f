#pragma once
// The editing scene of one line's single-line scheme. It holds everything
// the editor knows about the line while its window is open: the line's rows
// of the line-section table, the drawing as last loaded, the registry of
// drawn elements and the element under the last context menu. The items
// send their right clicks to the window (queued, by slot name); the window
// decides and calls the scene's operations.

#include "scheme/graphitems.h"
#include "store/readregim.h"
#include "store/rowmerge.h"
#include "store/sxema.h"

#include <QColor>
#include <QGraphicsScene>
#include <QHash>
#include <QPoint>
#include <QPointF>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include <memory>
#include <vector>

class CparamTR2;
class CparamTR3;
class CparamUCH;

// One drawn element of the scheme.
struct SORTED_OBJECT_INF
{
    QString name;                    // empty for a node; the row's "name" otherwise
    int kind = KindNode;             // SchemeKind
    QString key;                     // node number or element key (HV key of a 3-winding unit)
    QGraphicsItem* item = nullptr;   // owned by the scene
};

// The line a scheme window works on, as the window was opened on it.
struct LineSelection
{
    QString npes, nres, nlin;
    double unom = 0.0;
    QStringList nameRas;

    static LineSelection current();  // from the program-wide globals
};

// Puts a selection into the globals for the store's readers and the layout,
// which read them, and puts the previous values back when it goes.
class ScopedSelection
{
public:
    explicit ScopedSelection(const LineSelection& selection);
    ~ScopedSelection();
    ScopedSelection(const ScopedSelection&) = delete;
    ScopedSelection& operator=(const ScopedSelection&) = delete;

private:
    LineSelection m_previous;
};

class DiagramScene : public QGraphicsScene
{
    Q_OBJECT

public:
    // parent: the editor window, receiver of the items' menu signals by the
    // slot names slot_NodeMenu, slot_BranchMenu, slot_TransMenu. The scene
    // keeps the current selection (NPES, NRES, NLIN, UNOM, pNameRas) as it
    // is now and works on that line whatever is entered later.
    explicit DiagramScene(QObject* parent = nullptr);
    ~DiagramScene() override;

    // ---- Loading ----
    // Reads the line's rows and draws its saved scheme, or an automatic
    // one when none is saved. Called once, after the scene is built. Rows
    // without a key of their own get one; each drawn element stands for
    // rows of its kind only (drawnrows.h).
    void LoadModel();
    // 0: the saved scheme (or automatic); 1: laid out anew; 2: laid out anew
    // keeping the saved place of every element the saved scheme has.
    void LoadSxems(int mode);

    // ---- Registry ----
    void OBJECT_INF(const QString& name, int kind, const QString& key, QGraphicsItem* item);
    const std::vector<std::unique_ptr<SORTED_OBJECT_INF>>& objects() const { return m_objects; }
    // Records whose key is key, in registry order; none for an empty key.
    const QVector<SORTED_OBJECT_INF*>& recordsWithKey(const QString& key) const;
    // The record of a drawn element; null for an item that is not (or no
    // longer) an element of the scheme.
    const SORTED_OBJECT_INF* recordOf(const QGraphicsItem* item) const;

    // Next free node number and key of the line (largest seen in its rows
    // or its saved drawing + 1; a key never "0", which the sections editor
    // renumbers). The node an element
    // is added at counts too: on a drawn line without rows a new node would
    // otherwise be "0", the very bus (or the supply) it hangs from.
    QString guidNode(const QString& from = QString()) const;
    QString guidBranch() const;

    TextParam* TextAdd(int x, int y, int kind, int hide, int rotated, QString text, QString name,
                       QColor color);
    static QColor getColorFromRgbString(const QString& text, bool* error);
    void moveSelectedItemsByKey(int dx, int dy);
    // Moves what hangs on bus by (dx, dy): the ends of its line sections and,
    // for a drag of the bus alone (single), its transformers; a single drag
    // moves each end by itself, so bend points stay.
    void moveAttached(BusItem* bus, double dx, double dy, bool single);

    // ---- The element under the last menu (set by the window) ----
    // Each accepts only a live element of the scheme of the right kind, so a
    // queued menu signal of an element deleted meanwhile sets nothing; false
    // then, and the current element is cleared.
    bool setCurrentNode(const QString& name, QGraphicsItem* item);
    bool setCurrentBranch(const QString& key, QGraphicsItem* item);
    void setCurrentBranchKey(const QString& key) { m_currentBranchKey = key; }
    QString currentNodeName() const { return m_currentNodeName; }
    QGraphicsItem* currentNodeItem() const { return m_currentNodeItem; }
    QString currentBranchKey() const { return m_currentBranchKey; }
    QGraphicsItem* currentBranchItem() const { return m_currentBranchItem; }

    // ---- Editing ----
    void AddBranchPoints();
    void DelBranchPoints();
    void AddLine();
    void AddTP();
    void AddTP3();
    void DelItems();
    // 4: the line-section pop-up, 2: the two-winding pop-up, for the row of
    // the current branch key; nothing when no row of that kind has it.
    void ParamUCH(int kind, QPoint point);
    void ParamTR3(QGraphicsItem* item, QPoint point);

    // ---- State for the window and the save ----
    const LineSelection& selection() const { return m_selection; }
    // Whether the line was deleted (or its RES or PES) since the scene read it.
    bool lineGone() const;
    int voltageClass() const { return m_ku; }
    // Extent of the drawing as loaded (the navigation picture's region);
    // the scene rectangle also holds every item.
    int drawingWidth() const { return m_width; }
    int drawingHeight() const { return m_height; }
    QColor backgroundColor() const { return m_bkColor; }
    QString backgroundText() const { return m_bkText; }
    void setBackgroundText(const QString& text) { m_bkText = text; }
    bool isModified() const { return m_modified; }
    // The line's rows were changed (a cell, a row added or deleted) since
    // they were read or last written.
    bool hasUnsavedRows() const { return ownRows().changed(); }
    // The rows here differ from the file as last read or written: changed
    // here, or given keys of their own when read.
    bool rowsDifferFromFile() const;
    const Table& lineRows() const { return m_lineRows; }
    const Table& allRows() const { return m_allRows; }
    const SxemaLin& sxema() const { return m_sxema; }
    QString mode() const { return m_mode; }
    QPointF nodePosition() const { return m_nodePosition; }

    // ---- Saving the rows ----
    // The line's rows as read (or last written) and as they are now.
    OwnRows ownRows() const;
    // False, with a warning, when the table was damaged at opening: neither
    // the rows nor a drawing made from them is stored.
    bool readWhole() const;
    // Rereads "uch_lin" and merges the changes made here into it
    // (mergeOwnRows). False, with a warning, when the reread is damaged,
    // missing or blank, or the line is gone
    // (no row of it, and no longer in "lines"): the save then writes nothing.
    bool rowsToSave(MergedRows* merged) const;
    // Whether the line still stands in "lines" (a save of the drawing alone
    // reads no more than that); warns when it does not.
    bool lineStillExists() const;
    // A key or node the merge moved on (another window took it meanwhile)
    // is given to the rows and to the drawn element or bus, its label and
    // the lines starting at it, so that the drawing and the rows stay one
    // to one.
    void takeNewNumbers(const MergedRows& merged);
    // Stages rows as the line-section table (".bak" kept) into files, to be
    // put in place together with the drawing.
    bool SaveModel(StagedFiles& files, const Table& rows) const;
    // Once merged is written, the rows as they stand here are what this
    // window read: nothing is unsaved.
    void rowsWritten(const MergedRows& merged);
    // For a save that could not keep every row (merged.lost or lostDeleted):
    // the line's rows as merged holds them (into rows) and drawn as it is
    // to be stored with them, one to one: an element whose row is gone from
    // the file left out, one whose delete was refused drawn again.
    SxemaLin drawingAfter(const MergedRows& merged, const SxemaLin& drawn, Table* rows) const;
    // Once that is written: the window shows what the file holds.
    void showWritten(const Table& rows, const SxemaLin& drawing);

public slots:
    // An edited row from a pop-up: replaces the line's row with its key.
    void slot_ParamUCH(QStringList row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;

private:
    void AddXMLGraph();
    void clearDrawing();
    void rebuildLookup();
    void fitSceneRect();
    BusItem* addBus(QPointF pos, const QRectF& rect, int width, int height, const QString& name);
    VLKL_Item* addLineItem(const QPainterPath& path, double penWidth, const QString& key,
                           const QString& startNode, const QString& name);
    void addTransf2(Transf2* item, const QString& name);
    void addTransf3(Transf3* item, const QString& name);
    // What every add does last: the scene is modified, the element labelled.
    void finishAdd(QPointF labelAt, int kind, const QString& text, const QString& name, int color);
    void connectMenu(QObject* item, const char* signal, const char* slot);
    // A row added here.
    void appendRow(const QStringList& row);
    // Gives the element of key (not a bus) the key to instead.
    void renameElementKey(const QString& key, const QString& to);
    // Gives each bus of a node in moves its new node, with its label and
    // the lines that start there.
    void renameNodes(const QHash<QString, QString>& moves);
    BusItem* currentBus() const;
    // Takes the line's rows as the file holds them as read, each with a
    // key of its own here.
    void takeRows(const Table& rows);
    // Per row read: its row here, -1 when deleted here.
    QVector<int> nowOfRead() const;
    // A drawing saved for the rows as read, each element keyed as its rows
    // are here; elements that fit no row left out.
    SxemaLin pairedWithRows(const SxemaLin& drawing) const;
    // The saved drawing of the line, or a layout when none is saved.
    void drawSaved(const ReadSxem& saved);
    // The row of an element's key when its type fits the element's kind
    // (a section for a line, a transformer for a unit); -1 otherwise.
    int rowOfElement(const QString& key, int kind) const;
    QStringList newRow(const QStringList& pattern, const QString& name, const QString& begin,
                       const QString& end, const QString& key) const;

    const LineSelection m_selection;
    QObject* m_window;
    int m_ku;
    int m_width = 800;
    int m_height = 600;
    bool m_modified = false;      // rows or elements were edited since opening
    QString m_currentNodeName;
    QString m_currentBranchKey;
    QGraphicsItem* m_currentBranchItem = nullptr;
    QGraphicsItem* m_currentNodeItem = nullptr;
    QPointF m_nodePosition;
    QColor m_bkColor;
    QString m_bkText = QStringLiteral("RGB(232,232,232)");
    QString m_mode = QStringLiteral("Select");

    std::vector<std::unique_ptr<SORTED_OBJECT_INF>> m_objects;
    QHash<QString, QVector<SORTED_OBJECT_INF*>> m_byKey;
    QHash<const QGraphicsItem*, SORTED_OBJECT_INF*> m_byItem;

    Table m_lineRows;              // the line's rows as they are here
    Table m_readRows;              // as read or last written, in the file's order
    Table m_shownRows;             // as shown then (keys given here); empty when as read
    QVector<int> m_rowOrigin;      // per row of m_lineRows: its row in m_readRows, -1 when added
    Table m_allRows;
    bool m_rowsDamaged = false;    // met an error when read: never written back
    SeenNumbers m_seen;            // the largest key and node held here
    const quint64 m_moment = objectsMoment();   // when the scene read its line
    QStringList m_lineTemplate;
    QStringList m_transTemplate;
    SxemaLin m_sxema;
    // Elements deleted here since the rows were read, as they were drawn,
    // and the key each row read that they took along had here.
    SxemaLin m_deletedDrawn;
    QHash<int, QString> m_deletedRead;

    // Built from the line rows: the row of each key (a later row wins) and
    // the keys of the rows at each node, in row order.
    QHash<QString, int> m_keyIndex;
    QHash<QString, QStringList> m_nodeLinks;

    std::unique_ptr<CparamUCH> m_popUCH;
    std::unique_ptr<CparamTR2> m_popTR2;
    std::unique_ptr<CparamTR3> m_popTR3;

    QPointF m_pressPoint;
    bool m_leftHeld = false;
};
