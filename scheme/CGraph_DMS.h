#pragma once
// The scheme editor window of one line: the editing scene in a view, the
// toolbar (save, new layout, update, delete, front and back, labels, find,
// zoom, background, navigation) and the pop-up menus of buses and line
// sections. It works on the line that was current when it opened.

#include "store/sxema.h"
#include "ui_CGraph_DMS.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class CmenuBranch;
class CmenuNode;
class CmenuTr;
class CNavigate;
class DiagramScene;
class QGraphicsItem;

class CGraph_DMS : public QWidget, public Ui_CGraph_DMS
{
    Q_OBJECT

public:
    // Always a top-level window, whatever parent is given; deleted when it
    // closes. Reads the current line and draws its scheme at once.
    explicit CGraph_DMS(QWidget* parent = nullptr);
    ~CGraph_DMS() override;

    // The open editor of the line (npes, nres, nlin), or null. A line has
    // one editor at a time: the drawing is saved whole, so a second one
    // would undo the first one's moves and deletions.
    static CGraph_DMS* editorOf(const QString& npes, const QString& nres, const QString& nlin);

    DiagramScene* scene() const { return m_scene; }
    CmenuNode* nodeMenu() const { return m_menuNode.get(); }
    CmenuBranch* branchMenu() const { return m_menuBranch.get(); }
    int scaleIndex() const { return m_scaleIndex; }
    // Rows or drawing changed since opening or the last save.
    bool hasUnsavedEdits() const;

public slots:
    void slot_NodeExec(int code);
    void slot_BranchExec(int code);
    void slot_TranExec(int code);
    void slot_NodeMenu(QPointF point, QString name, QGraphicsItem* item);
    void slot_BranchMenu(QPointF point, QString keylink, QGraphicsItem* item);
    void slot_TransMenu(QPointF point, QString key, QGraphicsItem* item);
    void deleteItem();
    void bringToFront();
    void sendToBack();
    void sceneScaleChanged(QString scale);
    void slot_Scale_minus();
    void slot_Scale_plus();
    void slot_Scale_Matrix();
    void bkGroundButtonTriggered();
    void slot_colorBkgSelected(QColor colorBkg);
    void slot_SaveGraph();
    void slot_NavigateButton();
    void slot_Navigate(QPointF point);
    void slot_ParamShow();
    void slot_CreateSxem();
    void slot_Update();
    void FindButtonTriggered();

protected:
    // With rows or the drawing changed since the last save, asks whether to
    // save first ("Да", "Нет", "Отмена"); it closes after "Нет", or once
    // "Да" has saved both.
    void closeEvent(QCloseEvent* event) override;

private:
    // The drawing as the save would store it now.
    SxemaLin drawing() const;
    // The save command: the rows changed here merged into the table as it is
    // now, and the drawing, both together. When only the drawing cannot be
    // stored the rows are written alone (and the window still holds unsaved
    // work). Returns whether both were written.
    bool saveScheme();
    void createActions();
    void createToolbars();
    // Raises (up) or lowers the first selected item past what it overlaps.
    void restack(bool up);

    QColor m_colorMark{255, 0, 0};
    QPointF m_menuPoint;
    int m_scaleIndex = 2;
    // Pop-up windows without a parent: deleted with this window.
    std::unique_ptr<CmenuNode> m_menuNode;
    std::unique_ptr<CmenuBranch> m_menuBranch;
    std::unique_ptr<CmenuTr> m_menuTr;
    DiagramScene* m_scene = nullptr;
    QList<QPointer<CNavigate>> m_navigators;
    SxemaLin m_savedDrawing;   // as opened or last saved
};
