#pragma once
// The regime window of one line: runs the line's calculation once, when it is
// built, and shows the result on the line's saved scheme, coloured by
// threshold and labelled with the quantities the user picks. It writes no
// data file, only the navigation picture.

#include "ui_CRegimShow.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class CNavigate;
class CparamShow;
class RegimScene;

// Registers the icons of the regime window and its pop-up (once).
void initRegimeResources();

class CRegimShow : public QWidget, public Ui_CRegimShow
{
    Q_OBJECT

public:
    // Works on the current line (NPES, NRES, NLIN, UNOM) and keeps it. The
    // window is top-level whatever parent is given.
    explicit CRegimShow(QWidget* parent = nullptr);
    ~CRegimShow() override;

    // The calculation or the saved scheme failed when the window was built;
    // the user has been warned and the window must not be shown.
    bool failed() const { return m_failed; }

    RegimScene* scene() const { return m_pScene; }
    CparamShow* paramShow() const { return m_pParamShow; }

    // Colours of a node, a line section and a transformer winding by the
    // current line view; index -1 is white.
    QColor LimitU(int node) const;
    QColor LineKz(int branch) const;
    QColor TrKz(int branch) const;

    // Each adds one label to the scene, or nothing (index -1, labels off).
    void ShowBusInfo(int node, const QPointF& at);
    void ShowLineInfo(int branch);
    void ShowTRInfo(int branch);

    // ---- display state ----
    QString colorBkg = QStringLiteral("RGB(0,0,0)");
    QStringList LineParam = {QStringLiteral("PTK")};
    int mode = 0;              // 0 power, 1 energy, 2 scheme parameters
    int lineView = 0;          // 0 loading, 1 voltage drop, 2 active losses
    int busLabels = 0;         // 0 drawn, -1 none
    int lineLabels = 0;
    int nodeView = 0;
    int scaleIndex = 2;        // index of the zoom combo
    int savedLineLabels = 0;   // the line labels before a small zoom hid them
    int hiddenByZoom = 0;

public slots:
    void ViewComboChanged(int mode);
    void sceneScaleChanged(QString scale);
    void slot_Scale_minus();
    void slot_Scale_plus();
    void slot_Scale_Matrix();
    void slot_showUR();
    void NodeViewComboChanged(int view);
    void LineViewComboChanged(int view);
    void bkGroundButtonTriggered();
    void FindButtonTriggered();
    void ViewButtonTriggered();
    void slot_colorBkgSelected(QColor colorBkg);
    void slot_ParamView(QStringList LineParam);
    void slot_NavigateButton();
    void slot_Navigate(QPointF p);

private:
    void createActions();
    void createToolbars();
    // Colours and labels of the items in the scene, in the current mode.
    void paintRegime();
    void addLabel(const QStringList& lines, const QColor& color, const QPointF& at);

    RegimScene* m_pScene = nullptr;
    CparamShow* m_pParamShow = nullptr;
    // The navigation windows opened from here: closed with this window.
    QList<QPointer<CNavigate>> m_navigators;
    bool m_failed = false;
};
