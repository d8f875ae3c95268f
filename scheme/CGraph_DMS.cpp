#include "CGraph_DMS.h"

#include "scheme/CNavigate.h"
#include "scheme/CmenuBranch.h"
#include "scheme/CmenuNode.h"
#include "scheme/CmenuTr.h"
#include "scheme/diagramscene.h"
#include "scheme/schemerecords.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/safefile.h"
#include "store/ui/closing.h"
#include "store/ui/placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QTransform>

namespace {

// The zoom entries; the window opens on "100%".
const QStringList kScales = {"25%", "50%", "100%", "200%", "400%"};
constexpr int kScaleUnit = 2;
constexpr int kScaleLast = 4;

// The navigation picture needs a drawing at least this wide.
constexpr int kNavigableWidth = 1550;

const QString kWarningTitle = QStringLiteral("Предупреждение");

QPoint menuPlace(QPointF point, int dx, int dy)
{
    return QPoint(qRound(point.x()) + dx, qRound(point.y()) + dy);
}

} // namespace

CGraph_DMS::CGraph_DMS(QWidget* parent)
    : QWidget(nullptr)
    , m_menuNode(std::make_unique<CmenuNode>())
    , m_menuBranch(std::make_unique<CmenuBranch>())
    , m_menuTr(std::make_unique<CmenuTr>())
{
    Q_UNUSED(parent);
    initSchemeResources();
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    m_scene = new DiagramScene(this);
    m_pView->setScene(m_scene);

    connect(m_menuNode.get(), &CmenuNode::signalNodeMenu, this, &CGraph_DMS::slot_NodeExec);
    connect(m_menuBranch.get(), &CmenuBranch::signalBranchMenu, this, &CGraph_DMS::slot_BranchExec);
    connect(m_menuTr.get(), &CmenuTr::signalTrMenu, this, &CGraph_DMS::slot_TranExec);

    const QStringList& names = m_scene->selection().nameRas;
    if (names.size() >= 2)
        setWindowTitle(names.at(1));

    SaveXmLButton->setEnabled(true);
    createActions();
    createToolbars();

    m_scene->LoadModel();
    NavigateButton->setEnabled(m_scene->drawingWidth() >= kNavigableWidth);

    placeWindow(this, QPoint(2, 10), QSize(1750, 850));
    m_scaleIndex = kScaleUnit;
    ViewParam->setChecked(true);
    m_pView->setBackgroundBrush(m_scene->backgroundColor());
    m_savedDrawing = drawing();
}

CGraph_DMS* CGraph_DMS::editorOf(const QString& npes, const QString& nres, const QString& nlin)
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* editor = qobject_cast<CGraph_DMS*>(window);
        // A closed editor is hidden until it is deleted.
        if (!editor || !editor->isVisible())
            continue;
        // An editor of a deleted line that held these codes is not theirs.
        const LineSelection& line = editor->m_scene->selection();
        if (line.npes == npes && line.nres == nres && line.nlin == nlin && !editor->m_scene->lineGone())
            return editor;
    }
    return nullptr;
}

CGraph_DMS::~CGraph_DMS()
{
    for (const QPointer<CNavigate>& window : qAsConst(m_navigators))
        delete window.data();
}

void CGraph_DMS::createActions()
{
    connect(NavigateButton, &QToolButton::clicked, this, &CGraph_DMS::slot_NavigateButton);
    connect(SaveXmLButton, &QToolButton::clicked, this, &CGraph_DMS::slot_SaveGraph);
    connect(CreateSxemButton, &QToolButton::clicked, this, &CGraph_DMS::slot_CreateSxem);
    connect(UpdateButton, &QToolButton::clicked, this, &CGraph_DMS::slot_Update);
    connect(DeleteButton, &QToolButton::clicked, this, &CGraph_DMS::deleteItem);
    connect(toFrontButton, &QToolButton::clicked, this, &CGraph_DMS::bringToFront);
    connect(sendBackButton, &QToolButton::clicked, this, &CGraph_DMS::sendToBack);
    connect(ViewParam, &QCheckBox::clicked, this, &CGraph_DMS::slot_ParamShow);
    connect(m_pFindButton, &QToolButton::clicked, this, &CGraph_DMS::FindButtonTriggered);
    connect(FindLine, &QLineEdit::returnPressed, this, &CGraph_DMS::FindButtonTriggered);
    connect(Scale_plus, &QToolButton::clicked, this, &CGraph_DMS::slot_Scale_plus);
    connect(Scale_minus, &QToolButton::clicked, this, &CGraph_DMS::slot_Scale_minus);
}

void CGraph_DMS::createToolbars()
{
    sceneScaleCombo->addItems(kScales);
    sceneScaleCombo->setCurrentIndex(kScaleUnit);
    // Connected after "100%" is chosen: opening leaves the zoom factor as
    // the last scheme window left it.
    connect(sceneScaleCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            [this](int index) { sceneScaleChanged(sceneScaleCombo->itemText(index)); });
    connect(bkGroundButton, &QToolButton::clicked, this, &CGraph_DMS::bkGroundButtonTriggered);
}

// ---- Pop-up menus ---------------------------------------------------------------------
// The items' menu signals are queued: the element may be gone by now, and
// the scene accepts only a live one.

void CGraph_DMS::slot_NodeMenu(QPointF point, QString name, QGraphicsItem* item)
{
    if (!m_scene->setCurrentNode(name, item))
        return;
    placeWindow(m_menuNode.get(), menuPlace(point, 20, -40));
    m_menuNode->show();
}

void CGraph_DMS::slot_NodeExec(int code)
{
    m_menuNode->hide();
    switch (code) {
    case CmenuNode::AddLine: m_scene->AddLine(); break;
    case CmenuNode::AddTP: m_scene->AddTP(); break;
    case CmenuNode::AddTP3: m_scene->AddTP3(); break;
    default: break;
    }
}

void CGraph_DMS::slot_BranchMenu(QPointF point, QString keylink, QGraphicsItem* item)
{
    if (!m_scene->setCurrentBranch(keylink, item))
        return;
    m_menuPoint = point;
    placeWindow(m_menuBranch.get(), menuPlace(point, 20, 20));
    m_menuBranch->show();
}

void CGraph_DMS::slot_BranchExec(int code)
{
    m_menuBranch->hide();
    switch (code) {
    case CmenuBranch::AddPoint: m_scene->AddBranchPoints(); break;
    case CmenuBranch::DelPoint: m_scene->DelBranchPoints(); break;
    case CmenuBranch::Param: m_scene->ParamUCH(KindLine, menuPlace(m_menuPoint, 20, 20)); break;
    default: break;
    }
}

void CGraph_DMS::slot_TransMenu(QPointF point, QString key, QGraphicsItem* item)
{
    // Only the pointer is looked up until the item is known to live.
    if (!m_scene->recordOf(item))
        return;
    m_scene->setCurrentBranchKey(key);
    m_menuPoint = point;
    const QPoint at = menuPlace(point, 20, -20);
    if (item->type() == Transf2::Type)
        m_scene->ParamUCH(KindTransf2, at);
    else
        m_scene->ParamTR3(item, at);
}

void CGraph_DMS::slot_TranExec(int code)
{
    Q_UNUSED(code);
    m_menuTr->hide();
}

// ---- Elements -------------------------------------------------------------------------

void CGraph_DMS::deleteItem()
{
    if (m_scene->selectedItems().isEmpty())
        return;
    if (MsgBox(QStringLiteral("Вы действительно хотите удалить выбранные объекты со схемы и из базы данных?"),
               kWarningTitle))
        return;
    m_scene->DelItems();
}

void CGraph_DMS::restack(bool up)
{
    const QList<QGraphicsItem*> selected = m_scene->selectedItems();
    if (selected.isEmpty())
        return;
    QGraphicsItem* item = selected.first();
    qreal z = 0;
    for (const QGraphicsItem* other : m_scene->collidingItems(item)) {
        if (item->isAncestorOf(other))
            continue;   // its own handles
        if (up ? other->zValue() >= z : other->zValue() <= z)
            z = other->zValue() + (up ? 0.1 : -0.1);
    }
    item->setZValue(z);
}

void CGraph_DMS::bringToFront()
{
    restack(true);
}

void CGraph_DMS::sendToBack()
{
    restack(false);
}

void CGraph_DMS::slot_ParamShow()
{
    const bool shown = ViewParam->isChecked();
    for (QGraphicsItem* item : m_scene->items()) {
        if (item->type() == TextParam::Type)
            item->setVisible(shown);
    }
}

void CGraph_DMS::slot_CreateSxem()
{
    if (MsgBox(QStringLiteral("Существующая схема будет заменена новой. Продолжить?"), kWarningTitle))
        return;
    m_scene->LoadSxems(1);
}

void CGraph_DMS::slot_Update()
{
    if (MsgBox(QStringLiteral("Обновить существующую схему?"), kWarningTitle))
        return;
    m_scene->LoadSxems(2);
}

void CGraph_DMS::FindButtonTriggered()
{
    const QString text = FindLine->text();
    if (text.isEmpty())
        return;
    for (const auto& record : m_scene->objects()) {
        if (record->kind == KindNode || !record->name.contains(text))
            continue;
        QGraphicsItem* item = record->item;
        if (record->kind == KindLine) {
            if (auto* section = qgraphicsitem_cast<VLKL_Item*>(item)) {
                // Its path is in scene coordinates around an item at the origin.
                m_pView->centerOn(section->sceneBoundingRect().center());
                section->setLineStyle(m_colorMark, section->m_penWidth);
                return;
            }
        } else if (record->kind == KindTransf2) {
            if (auto* t = qgraphicsitem_cast<Transf2*>(item)) {
                m_pView->centerOn(t->pos());
                t->m_colorHV = m_colorMark;
                t->update();
                return;
            }
        } else if (record->kind == KindTransf3) {
            if (auto* t = qgraphicsitem_cast<Transf3*>(item)) {
                m_pView->centerOn(t->pos());
                t->m_colorHV = m_colorMark;
                t->update();
                return;
            }
        }
    }
}

// ---- Zoom and background --------------------------------------------------------------

void CGraph_DMS::slot_Scale_plus()
{
    if (m_scaleIndex >= kScaleLast)
        return;
    ++m_scaleIndex;
    m_iScale *= 2;
    sceneScaleCombo->setCurrentIndex(m_scaleIndex);
}

void CGraph_DMS::slot_Scale_minus()
{
    if (m_scaleIndex <= 0)
        return;
    --m_scaleIndex;
    m_iScale /= 2;
    sceneScaleCombo->setCurrentIndex(m_scaleIndex);
}

void CGraph_DMS::sceneScaleChanged(QString scale)
{
    m_iScale = toNumber(scale.left(scale.indexOf(QLatin1Char('%')))) / 100.0;
    slot_Scale_Matrix();
}

void CGraph_DMS::slot_Scale_Matrix()
{
    m_scaleIndex = sceneScaleCombo->currentIndex();
    Scale_minus->setEnabled(m_scaleIndex != 0);
    Scale_plus->setEnabled(m_scaleIndex != kScaleLast);
    const QTransform previous = m_pView->transform();
    m_pView->setTransform(QTransform(m_iScale, 0, 0, m_iScale, previous.dx(), previous.dy()));
}

void CGraph_DMS::bkGroundButtonTriggered()
{
    // Not modal: the view follows the colour while the user browses.
    auto* dialog = new QColorDialog(m_pView->backgroundBrush().color(), this);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::currentColorChanged, this, &CGraph_DMS::slot_colorBkgSelected);
    dialog->show();
}

void CGraph_DMS::slot_colorBkgSelected(QColor colorBkg)
{
    if (colorBkg.isValid())
        m_pView->setBackgroundBrush(colorBkg);
}

// ---- Saving ---------------------------------------------------------------------------

SxemaLin CGraph_DMS::drawing() const
{
    return drawnScheme(*m_scene, rgbText(m_pView->backgroundBrush().color()));
}

void CGraph_DMS::slot_SaveGraph()
{
    saveScheme();
}

bool CGraph_DMS::saveScheme()
{
    // The rows are written only when they differ from the file here
    // (changed, or given keys of their own when read); otherwise the save
    // reads no more than "lines", to learn that the line is still there.
    if (!m_scene->readWhole())
        return false;
    const bool rowsChanged = m_scene->rowsDifferFromFile();
    MergedRows merged;
    QStringList moved;   // node numbers another window took meanwhile
    if (rowsChanged) {
        if (!m_scene->rowsToSave(&merged))
            return false;
        moved = movedNodes(m_scene->ownRows(), merged);
        m_scene->takeNewNumbers(merged);
    } else if (!m_scene->lineStillExists()) {
        return false;
    }
    // A merge that leaves the table as it is writes neither it nor its .bak.
    const bool writeRows = rowsChanged && merged.changesFile;
    SxemaLin drawn = drawing();
    m_scene->setBackgroundText(drawn.key.value(3));
    // Rows another window changed or deleted meanwhile are not saved from
    // here: the drawing goes with the rows the file keeps.
    const QStringList lost = rowsNotSaved(m_scene->ownRows(), merged, sectionRowText);
    Table rowsAfter;
    if (!lost.isEmpty())
        drawn = m_scene->drawingAfter(merged, drawn, &rowsAfter);

    // Rows and drawing land together: a drawn section without its row would
    // take the same key again at the next add. A drawing that cannot be
    // stored (its file damaged or not writable; the store has warned) does
    // not hold the rows back.
    const auto stageRows = [&](StagedFiles& files) { return !writeRows || m_scene->SaveModel(files, merged.table); };
    StagedFiles files;
    if (!stageRows(files))
        return false;
    // A drawing the file holds as it is stays untouched, its .bak too.
    bool drawingAsStored = false;
    const bool withDrawing = stageSxemaRecord(files, drawn, &drawingAsStored);
    if (!withDrawing && !writeRows)
        return false;
    bool written = false;
    if (withDrawing || !files.failed()) {
        written = commitStaged(files);
    } else {
        StagedFiles rowsAlone;
        written = stageRows(rowsAlone) && commitStaged(rowsAlone);
    }
    if (!written)
        return false;

    if (!lost.isEmpty()) {
        m_scene->showWritten(rowsAfter, drawn);
        slot_ParamShow();
    } else if (rowsChanged) {
        m_scene->rowsWritten(merged);
    }
    if (withDrawing)
        m_savedDrawing = drawing();
    if (!lost.isEmpty())
        warnRowsNotSaved(lost, this);
    // A node number that moved on is said with what the save says.
    const QString movedText = moved.isEmpty() ? QString() : QLatin1Char('\n') + moved.join(QLatin1Char('\n'));
    if (!withDrawing)
        ShowWarning(kWarningTitle, QStringLiteral("Схема не сохранена, данные об участках линии сохранены") + movedText, this);
    else if (lost.isEmpty())
        ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены") + movedText);
    else if (!moved.isEmpty())
        ShowWarning(QStringLiteral("Информация"), moved.join(QLatin1Char('\n')));
    return withDrawing;
}

bool CGraph_DMS::hasUnsavedEdits() const
{
    return m_scene->hasUnsavedRows() || !sameSxema(drawing(), m_savedDrawing);
}

void CGraph_DMS::closeEvent(QCloseEvent* event)
{
    if (!mayClose(this, hasUnsavedEdits(), [this] { return saveScheme(); })) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

// ---- Navigation -----------------------------------------------------------------------

void CGraph_DMS::slot_NavigateButton()
{
    const int height = writeNavigationPicture(m_scene, m_scene->drawingWidth(), m_scene->drawingHeight());
    if (height <= 0)
        return;
    auto* window = new CNavigate;
    window->showPicture(navigationPicturePath(), height, m_pView->mapToGlobal(QPoint(0, 0)));
    connect(window, &CNavigate::clicked, this, &CGraph_DMS::slot_Navigate);
    window->show();
    m_navigators.removeAll(nullptr);
    m_navigators.append(window);
}

void CGraph_DMS::slot_Navigate(QPointF point)
{
    m_pView->centerOn(navigationScenePoint(point, m_scene->drawingWidth(), m_scene->drawingHeight()));
}
