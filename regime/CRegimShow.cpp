#include "CRegimShow.h"

#include "CparamShow.h"
#include "RegimScene.h"
#include "SxemaItems.h"
#include "scheme/CNavigate.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/readregim.h"
#include "store/ui/placement.h"
#include "store/ui/textfit.h"
#include "store/ui/widgetmessages.h"

#include <QColorDialog>

using Regime::BranchBand;
using Regime::NodeBand;

void initRegimeResources()
{
    static bool done = false;
    if (!done) {
        initZorvanResources();
        Q_INIT_RESOURCE(regime);
        done = true;
    }
}

namespace {

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kYellow(228, 228, 0);
const QColor kGreen(0, 178, 0);
const QColor kCyan(0, 255, 255);
const QColor kConsumer(255, 153, 204);

QColor nodeColor(NodeBand band)
{
    switch (band) {
    case NodeBand::NoValue: return kWhite;
    case NodeBand::FarBelow: return kCyan;
    case NodeBand::Below: return QColor(0, 128, 255);
    case NodeBand::Normal: return kGreen;
    case NodeBand::Above: return kYellow;
    case NodeBand::FarAbove: return kRed;
    }
    return kWhite;
}

QColor branchColor(BranchBand band)
{
    switch (band) {
    case BranchBand::NoValue: return kWhite;
    case BranchBand::NoCapacity: return QColor(28, 28, 28);
    case BranchBand::Undefined: return QColor(128, 128, 128);
    case BranchBand::Low: return kCyan;
    case BranchBand::Normal: return kGreen;
    case BranchBand::High: return kYellow;
    case BranchBand::Overloaded: return kRed;
    }
    return kWhite;
}

const QColor kBusText(0, 255, 255);
const QColor kLineText(255, 178, 102);
const QColor kTransText(102, 255, 102);

} // namespace

CRegimShow::CRegimShow(QWidget* parent)
    : QWidget(nullptr)
{
    Q_UNUSED(parent);
    initRegimeResources();
    setupUi(this);
    createActions();
    createToolbars();
    placeWindow(this, QPoint(0, 0));

    m_pScene = new RegimScene(this);
    m_pScene->setSceneRect(0, 0, 1600, 550);
    m_pView->setScene(m_pScene);
    if (pNameRas.size() > 1)
        setWindowTitle(pNameRas.at(1));

    m_pParamShow = new CparamShow(this);
    m_pParamShow->setWindowFlags(Qt::Popup | Qt::WindowTitleHint | Qt::CustomizeWindowHint
                                 | Qt::WindowCloseButtonHint);
    connect(m_pParamShow->CheckParamButton, &QPushButton::clicked, m_pParamShow, &CparamShow::Param_OK);
    m_pParamShow->hide();
    connect(m_pParamShow, &CparamShow::signalCheckParamButton, this, &CRegimShow::slot_ParamView);
    scaleIndex = 2;

    if (m_pScene->ShowModel()) {
        ShowWarning(QStringLiteral("Предупреждение"),
                    QStringLiteral("Ошибка расчета режима сети. Проверьте информацию о фидере"));
        m_failed = true;
        return;
    }
    mode = 0;
    m_pView->setBackgroundBrush(QColor(0, 0, 0));
    // The scheme has just been drawn: only colours and labels remain.
    paintRegime();
}

CRegimShow::~CRegimShow()
{
    for (const QPointer<CNavigate>& window : qAsConst(m_navigators))
        delete window.data();
}

void CRegimShow::createActions()
{
    connect(Scale_minus, &QToolButton::clicked, this, &CRegimShow::slot_Scale_minus);
    connect(Scale_plus, &QToolButton::clicked, this, &CRegimShow::slot_Scale_plus);
    connect(UrLogButton, &QToolButton::clicked, this, &CRegimShow::slot_showUR);
    connect(m_pFindButton, &QToolButton::clicked, this, &CRegimShow::FindButtonTriggered);
    connect(FindLine, &QLineEdit::returnPressed, this, &CRegimShow::FindButtonTriggered);
    connect(m_pViewButton, &QToolButton::clicked, this, &CRegimShow::ViewButtonTriggered);
    connect(NavigateButton, &QToolButton::clicked, this, &CRegimShow::slot_NavigateButton);
}

void CRegimShow::createToolbars()
{
    // Filled before they are connected, so that filling calls no slot.
    m_pVidCombo->addItems({QStringLiteral("Режимные параметры"), QStringLiteral("Потери энергии"),
                           QStringLiteral("Схемные параметры")});
    m_pVidCombo->setCurrentIndex(0);
    m_pVidVLKLCombo->addItems({QStringLiteral("Загрузка ветвей, %"),
                               QStringLiteral("Падение напряжения, %"),
                               QStringLiteral("Потери активной мощности, %")});
    m_pVidVLKLCombo->setCurrentIndex(0);
    fitToItems(m_pVidCombo);
    fitToItems(m_pVidVLKLCombo);
    sceneScaleCombo->addItems({QStringLiteral("25%"), QStringLiteral("50%"), QStringLiteral("100%"),
                               QStringLiteral("200%"), QStringLiteral("400%")});
    sceneScaleCombo->setCurrentIndex(2);

    connect(m_pVidCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CRegimShow::ViewComboChanged);
    connect(m_pVidVLKLCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CRegimShow::LineViewComboChanged);
    connect(sceneScaleCombo, &QComboBox::currentTextChanged, this, &CRegimShow::sceneScaleChanged);
    connect(bkGroundButton, &QToolButton::clicked, this, &CRegimShow::bkGroundButtonTriggered);
}

// ---- colours and labels -------------------------------------------------------------

QColor CRegimShow::LimitU(int node) const
{
    return nodeColor(m_pScene->nodeBand(node));
}

QColor CRegimShow::LineKz(int branch) const
{
    return branchColor(m_pScene->branchBand(branch, lineView, false));
}

QColor CRegimShow::TrKz(int branch) const
{
    return branchColor(m_pScene->branchBand(branch, lineView, true));
}

void CRegimShow::addLabel(const QStringList& lines, const QColor& color, const QPointF& at)
{
    auto* label = new TextMS;
    label->setLines(lines);
    label->color = color;
    label->setPos(at);
    m_pScene->addItem(label);
}

void CRegimShow::ShowBusInfo(int node, const QPointF& at)
{
    if (node >= 0 && busLabels >= 0)
        addLabel(m_pScene->busText(node, mode), kBusText, at);
}

void CRegimShow::ShowLineInfo(int branch)
{
    if (branch >= 0 && lineLabels >= 0)
        addLabel(m_pScene->lineText(branch, mode, LineParam), kLineText,
                 QPointF(m_pScene->labelX.value(branch),
                         m_pScene->labelY.value(branch) + RegimModel::lineTextOffset(mode, LineParam)));
}

void CRegimShow::ShowTRInfo(int branch)
{
    if (branch >= 0 && lineLabels >= 0)
        addLabel(m_pScene->transText(branch, mode, LineParam), kTransText,
                 QPointF(m_pScene->labelX.value(branch), m_pScene->labelY.value(branch)));
}

void CRegimShow::ViewComboChanged(int newMode)
{
    mode = newMode;
    m_pScene->clear();
    m_pScene->AddGraph_();
    paintRegime();
}

void CRegimShow::paintRegime()
{
    m_pScene->ChangeVal(mode);
    const bool values = mode != Regime::Scheme;
    // Taken once: the labels added on the way are not visited.
    const QList<QGraphicsItem*> items = m_pScene->items(Qt::DescendingOrder);
    for (QGraphicsItem* item : items) {
        if (auto* bus = qgraphicsitem_cast<BussItem*>(item)) {
            if (values)
                bus->fill = LimitU(bus->node);
            else if (bus->node < 0)
                continue;
            if (bus->hide == 0)
                ShowBusInfo(bus->node, QPointF(bus->xkt, bus->ykt));
        } else if (auto* line = qgraphicsitem_cast<VLKLs_Item*>(item)) {
            const int b = line->branch;
            if (values) {
                line->color = LineKz(b);
                if (b >= 0)
                    line->setPenStyle(m_pScene->podkt.at(b));
            } else if (b >= 0) {
                line->setPenWidth(0.02 * m_pScene->shown.S.at(b));
                if (m_pScene->cable.at(b) == 1)
                    line->color = kYellow;
                if (m_pScene->kbal.at(b) == 1)
                    line->color = kConsumer;
            } else {
                line->setPenWidth(0.5);
            }
            if (line->hide == 0)
                ShowLineInfo(b);
        } else if (item->type() == Transf2s::Type || item->type() == Transf3s::Type) {
            // One label, of the first winding; each winding its own colour.
            auto* t = static_cast<TransfItem*>(item);
            auto* t3 = qgraphicsitem_cast<Transf3s*>(item);
            if (values) {
                t->hvColor = TrKz(t->branch);
                t->lvColor = TrKz(t3 ? t3->branch3 : t->branch);
                if (t3)
                    t3->mvColor = TrKz(t3->branch2);
            } else if (t->hide == 0 && t->kbal == 1) {
                t->hvColor = t->lvColor = kConsumer;
                if (t3)
                    t3->mvColor = kConsumer;
            }
            if (t->hide == 0)
                ShowTRInfo(t->branch);
            t->update();
        }
    }
    m_pScene->update(m_pScene->sceneRect());
}

void CRegimShow::LineViewComboChanged(int view)
{
    lineView = view;
    ViewComboChanged(mode);
}

void CRegimShow::NodeViewComboChanged(int view)
{
    nodeView = view;
    ViewComboChanged(mode);
}

void CRegimShow::ViewButtonTriggered()
{
    placeWindow(m_pParamShow, QPoint(500, 200));
    m_pParamShow->show();
}

void CRegimShow::slot_ParamView(QStringList param)
{
    busLabels = 0;
    LineParam = param;
    m_pParamShow->hide();
    ViewComboChanged(mode);
}

// ---- zoom -------------------------------------------------------------------------------

void CRegimShow::slot_Scale_minus()
{
    if (scaleIndex <= 0)
        return;
    --scaleIndex;
    m_iScale /= 2.0;
    sceneScaleCombo->setCurrentIndex(scaleIndex);
}

void CRegimShow::slot_Scale_plus()
{
    if (scaleIndex >= 4)
        return;
    ++scaleIndex;
    m_iScale *= 2.0;
    sceneScaleCombo->setCurrentIndex(scaleIndex);
}

void CRegimShow::sceneScaleChanged(QString scale)
{
    m_iScale = toNumber(scale.left(scale.indexOf(QLatin1Char('%')))) / 100.0;
    slot_Scale_Matrix();
}

void CRegimShow::slot_Scale_Matrix()
{
    scaleIndex = sceneScaleCombo->currentIndex();
    Scale_minus->setEnabled(scaleIndex != 0);
    Scale_plus->setEnabled(scaleIndex != 4);

    // Labels would only clutter a small picture; they come back from 100 % on.
    if (scaleIndex <= 1) {
        if (lineLabels >= 0) {
            savedLineLabels = lineLabels;
            hiddenByZoom = 1;
            busLabels = lineLabels = -1;
            ViewComboChanged(mode);
        }
    } else if (hiddenByZoom != 0) {
        hiddenByZoom = 0;
        lineLabels = savedLineLabels;
        busLabels = 0;
        ViewComboChanged(mode);
    }

    const QTransform old = m_pView->transform();
    QTransform scaled;
    scaled.translate(old.dx(), old.dy());
    scaled.scale(m_iScale, m_iScale);
    m_pView->setTransform(scaled);
}

// ---- log, find, background, navigation -----------------------------------------------

void CRegimShow::slot_showUR()
{
    ShowFile(QStringLiteral("Ошибки при расчете потерь.log"), QString());
}

void CRegimShow::FindButtonTriggered()
{
    const QString text = FindLine->text();
    if (text.isEmpty())
        return;
    for (int i = 0; i < m_pScene->branchItems.size(); ++i) {
        if (!m_pScene->itemNames.at(i).contains(text))
            continue;
        QGraphicsItem* item = m_pScene->branchItems.at(i);
        if (auto* line = qgraphicsitem_cast<VLKLs_Item*>(item)) {
            // A line item stands at the origin; its vertices are where it is.
            m_pView->centerOn(line->sceneBoundingRect().center());
            line->color = kRed;
        } else {
            m_pView->centerOn(item->pos());
            static_cast<TransfItem*>(item)->hvColor = kRed;
        }
        item->update();
        return;
    }
}

void CRegimShow::bkGroundButtonTriggered()
{
    auto* dialog = new QColorDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QColorDialog::currentColorChanged, this, &CRegimShow::slot_colorBkgSelected);
    dialog->show();
}

void CRegimShow::slot_colorBkgSelected(QColor color)
{
    if (!color.isValid())
        return;
    m_pView->setBackgroundBrush(color);
    colorBkg = QStringLiteral("rgb(%1,%2,%3)").arg(color.red()).arg(color.green()).arg(color.blue());
}

void CRegimShow::slot_NavigateButton()
{
    const int height = writeNavigationPicture(m_pScene, m_pScene->sceneWidth, m_pScene->sceneHeight);
    if (height <= 0)
        return;
    auto* navigate = new CNavigate;
    navigate->showPicture(navigationPicturePath(), height, m_pView->mapToGlobal(QPoint(0, 0)));
    connect(navigate, &CNavigate::clicked, this, &CRegimShow::slot_Navigate);
    navigate->show();
    m_navigators.removeAll(nullptr);
    m_navigators.append(navigate);
}

void CRegimShow::slot_Navigate(QPointF p)
{
    m_pView->centerOn(navigationScenePoint(p, m_pScene->sceneWidth, m_pScene->sceneHeight));
}
