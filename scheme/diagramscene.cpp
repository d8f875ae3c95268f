#include "diagramscene.h"

#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"
#include "scheme/createsxem.h"
#include "scheme/drawnrows.h"
#include "scheme/schemerecords.h"
#include "scheme/schemestyle.h"
#include "scheme/uchrow.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/ui/placement.h"

#include <QGraphicsSceneMouseEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

const QString kNewLine = QStringLiteral("Новая линия");
const QString kNewTrans = QStringLiteral("Новый тр-р");

// Label colours by the palette's use in the editor.
constexpr int kNodeLabelColor = 7;
constexpr int kLineLabelColor = 4;
constexpr int kTransLabelColor = 1;

int whole(double a)
{
    return clampedInt(std::trunc(a));
}

double number(const QStringList& record, int field)
{
    return toNumber(record.value(field));
}

// A place or size of a record, bounded as the regime display bounds it.
double place(const QStringList& record, int field)
{
    return schemeCoordinate(record.value(field));
}

// A number of a record as the single-precision value the drawing keeps.
float single(double v)
{
    return float(qBound(double(-FLT_MAX), v, double(FLT_MAX)));
}

QString plus(const QString& base, qint64 add)
{
    return QString::number(base.toLongLong() + add);
}

// The keys of a deleted element's rows.
QStringList keysOf(const QGraphicsItem* item)
{
    switch (item->type()) {
    case VLKL_Item::Type:
        return {static_cast<const VLKL_Item*>(item)->m_key};
    case Transf2::Type:
        return {static_cast<const Transf2*>(item)->m_key};
    case Transf3::Type: {
        const auto* t = static_cast<const Transf3*>(item);
        return {t->m_key, t->m_key2, t->m_key3};
    }
    default:
        return {};
    }
}

} // namespace

LineSelection LineSelection::current()
{
    return {NPES, NRES, NLIN, UNOM, pNameRas};
}

ScopedSelection::ScopedSelection(const LineSelection& selection)
    : m_previous(LineSelection::current())
{
    NPES = selection.npes;
    NRES = selection.nres;
    NLIN = selection.nlin;
    UNOM = selection.unom;
    pNameRas = selection.nameRas;
}

ScopedSelection::~ScopedSelection()
{
    NPES = m_previous.npes;
    NRES = m_previous.nres;
    NLIN = m_previous.nlin;
    UNOM = m_previous.unom;
    pNameRas = m_previous.nameRas;
}

// ---- Construction ---------------------------------------------------------------------

DiagramScene::DiagramScene(QObject* parent)
    : QGraphicsScene(parent)
    , m_selection(LineSelection::current())
    , m_window(parent)
    , m_ku(_KU(single(m_selection.unom)))
{
    registerSchemeMetaTypes();
    const QString& p = m_selection.npes;
    const QString& r = m_selection.nres;
    const QString& l = m_selection.nlin;
    m_lineTemplate = QStringList{p, r, l, kNewLine, "", "", "", "1", "", "1.", "", "", "", "", "", "0", "0", ""};
    m_transTemplate = QStringList{p, r, l, kNewTrans, "", "", "", "2", "", "", "0", "0", "0", "0", "0", "0", "0", ""};

    const Table wires = ReadShablonXML(QStringLiteral("kat_lin"), {QStringLiteral("name")}, QStringLiteral("Wire"));
    const Table trans = ReadShablonXML(QStringLiteral("kat_tr"), {QStringLiteral("name"), QStringLiteral("unom")},
                                       QStringLiteral("Trans"));
    m_popUCH = std::make_unique<CparamUCH>(wires);
    m_popTR2 = std::make_unique<CparamTR2>(trans);
    m_popTR3 = std::make_unique<CparamTR3>(trans);
    connect(m_popUCH.get(), &CparamUCH::signalOKParamButton, this, &DiagramScene::slot_ParamUCH);
    connect(m_popTR2.get(), &CparamTR2::signalOKParamButton, this, &DiagramScene::slot_ParamUCH);
    connect(m_popTR3.get(), &CparamTR3::signalOKParamButton, this, &DiagramScene::slot_ParamUCH);
}

DiagramScene::~DiagramScene()
{
    // The registry points at items: it goes before the items do.
    m_byKey.clear();
    m_byItem.clear();
    m_objects.clear();
}

// ---- Registry and helpers -----------------------------------------------------------

void DiagramScene::OBJECT_INF(const QString& name, int kind, const QString& key, QGraphicsItem* item)
{
    m_objects.push_back(std::make_unique<SORTED_OBJECT_INF>(SORTED_OBJECT_INF{name, kind, key, item}));
    SORTED_OBJECT_INF* record = m_objects.back().get();
    if (!key.isEmpty())
        m_byKey[key].append(record);
    m_byItem.insert(item, record);
}

const QVector<SORTED_OBJECT_INF*>& DiagramScene::recordsWithKey(const QString& key) const
{
    static const QVector<SORTED_OBJECT_INF*> none;
    if (key.isEmpty())
        return none;
    const auto found = m_byKey.constFind(key);
    return found == m_byKey.constEnd() ? none : found.value();
}

const SORTED_OBJECT_INF* DiagramScene::recordOf(const QGraphicsItem* item) const
{
    // Only the pointer's value is looked up: a deleted item is never read.
    return item ? m_byItem.value(item, nullptr) : nullptr;
}

// New numbers are above every one the line's rows held here since opening,
// rows deleted meanwhile included: a stale window elsewhere that still knows
// a freed number never takes a new element for the old one.
QString DiagramScene::guidNode(const QString& from) const
{
    if (m_lineRows.isEmpty() && m_seen.node == 0 && from.isEmpty())
        return QStringLiteral("0");
    return QString::number(std::max<qint64>(m_seen.node, toInteger(from)) + 1);
}

QString DiagramScene::guidBranch() const
{
    return QString::number(m_seen.key + 1);
}

int DiagramScene::rowOfElement(const QString& key, int kind) const
{
    // Every row has a key of its own here; one of another kind is not the
    // element's, whatever its key.
    const int row = key.isEmpty() ? -1 : m_keyIndex.value(key, -1);
    if (row < 0)
        return -1;
    const bool section = m_lineRows.at(row).value(uchTipEl) == QLatin1String("1");
    return section == (kind == KindLine) ? row : -1;
}

QStringList DiagramScene::newRow(const QStringList& pattern, const QString& name, const QString& begin,
                                 const QString& end, const QString& key) const
{
    QStringList row = pattern;
    row[uchName] = name;
    row[uchNyzln] = begin;
    row[uchNyzlk] = end;
    row[uchKey] = key;
    return row;
}

TextParam* DiagramScene::TextAdd(int x, int y, int kind, int hide, int rotated, QString text, QString name,
                                 QColor color)
{
    auto* label = new TextParam;
    label->setLines({text.isEmpty() ? QStringLiteral("параметр") : text});
    label->setColor(hide == 1 ? paletteColor(0) : color);
    label->m_name = name;
    label->m_kind = kind;
    label->m_hide = hide;
    label->setTurned(rotated > 0);
    label->setPos(x, y);
    addItem(label);
    return label;
}

QColor DiagramScene::getColorFromRgbString(const QString& text, bool* error)
{
    if (error)
        *error = false;
    if (text == QLatin1String("transparent"))
        return QColor(0, 0, 0, 0);
    QString rest = text;
    rest.remove(QRegularExpression(QStringLiteral("rgb"), QRegularExpression::CaseInsensitiveOption));
    rest.remove(QLatin1Char('(')).remove(QLatin1Char(')')).remove(QLatin1Char(' '));
    const QStringList parts = rest.split(QLatin1Char(','));
    if (parts.size() != 3) {
        if (error)
            *error = true;
        return QColor(0, 0, 0);
    }
    auto component = [&](int i) { return qBound(0, toInteger(parts.at(i)), 255); };
    return QColor(component(0), component(1), component(2));
}

void DiagramScene::connectMenu(QObject* item, const char* signal, const char* slot)
{
    if (m_window)
        connect(item, signal, m_window, slot, Qt::QueuedConnection);
}

void DiagramScene::fitSceneRect()
{
    // The drawing extent stays as loaded (the navigation picture shows it);
    // the scene also reaches every item, so nothing lies out of scroll reach.
    QRectF area(0, 0, m_width, m_height);
    const QRectF items = itemsBoundingRect();
    if (!items.isNull()) {
        constexpr qreal margin = 50;
        area = area.united(items.adjusted(-margin, -margin, margin, margin));
    }
    setSceneRect(area.toAlignedRect());
}

void DiagramScene::moveSelectedItemsByKey(int dx, int dy)
{
    for (QGraphicsItem* item : selectedItems())
        item->moveBy(dx, dy);
}

void DiagramScene::moveAttached(BusItem* bus, double dx, double dy, bool single)
{
    for (const QString& link : qAsConst(bus->m_links)) {
        for (SORTED_OBJECT_INF* record : recordsWithKey(link)) {
            QGraphicsItem* item = record->item;
            if (record->kind == KindLine) {
                if (auto* line = qgraphicsitem_cast<VLKL_Item*>(item)) {
                    if (single)
                        line->setEndCounter(0);
                    line->setEND(dx, dy, line->m_startNode == bus->m_nodeName ? 0 : 1);
                }
            } else if (single && (record->kind == KindTransf2 || record->kind == KindTransf3)
                       && (item->type() == Transf2::Type || item->type() == Transf3::Type)) {
                item->moveBy(dx, dy);
            }
        }
    }
}

// ---- The element under the last menu -------------------------------------------------

bool DiagramScene::setCurrentNode(const QString& name, QGraphicsItem* item)
{
    const SORTED_OBJECT_INF* record = recordOf(item);
    if (!record || record->kind != KindNode || item->type() != BusItem::Type) {
        m_currentNodeName.clear();
        m_currentNodeItem = nullptr;
        return false;
    }
    m_currentNodeName = name;
    m_currentNodeItem = item;
    return true;
}

bool DiagramScene::setCurrentBranch(const QString& key, QGraphicsItem* item)
{
    const SORTED_OBJECT_INF* record = recordOf(item);
    if (!record || record->kind != KindLine || item->type() != VLKL_Item::Type) {
        m_currentBranchKey.clear();
        m_currentBranchItem = nullptr;
        return false;
    }
    m_currentBranchKey = key;
    m_currentBranchItem = item;
    return true;
}

BusItem* DiagramScene::currentBus() const
{
    return qgraphicsitem_cast<BusItem*>(m_currentNodeItem);
}

// ---- Loading --------------------------------------------------------------------------

void DiagramScene::LoadModel()
{
    clearDrawing();
    m_allRows = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"), &m_rowsDamaged);
    Table rows;
    for (const QStringList& row : qAsConst(m_allRows)) {
        if (row.value(uchNpes) == m_selection.npes && row.value(uchNres) == m_selection.nres
            && row.value(uchNlin) == m_selection.nlin)
            rows.append(row);
    }
    // The store's reader and the layout read the selection from the
    // globals: give them this scene's line.
    const ScopedSelection own(m_selection);
    const ReadSxem saved;
    // New numbers go above the drawing's too: a bus or an element drawn
    // for a row deleted meanwhile keeps its number to itself.
    noteDrawnNumbers(saved, m_seen.node, m_seen.key);
    takeRows(rows);
    drawSaved(saved);
}

void DiagramScene::takeRows(const Table& rows)
{
    m_deletedDrawn = SxemaLin();
    m_deletedRead.clear();
    m_readRows = rows;
    m_lineRows = rows;
    m_rowOrigin = sameRows(rows.size());
    // A row without a key of its own (empty, "0", repeated) gets one here,
    // shown as it is and written with the next save: a delete or a pop-up
    // then reaches its element alone.
    const bool given = !giveOwnKeys(m_lineRows, m_seen).isEmpty();
    m_shownRows = given ? m_lineRows : Table();
    rebuildLookup();
}

QVector<int> DiagramScene::nowOfRead() const
{
    QVector<int> nowOf(m_readRows.size(), -1);
    for (int i = 0; i < m_rowOrigin.size(); ++i) {
        if (m_rowOrigin.at(i) >= 0 && m_rowOrigin.at(i) < nowOf.size())
            nowOf[m_rowOrigin.at(i)] = i;
    }
    return nowOf;
}

SxemaLin DiagramScene::pairedWithRows(const SxemaLin& drawing) const
{
    return pairDrawing(drawing, m_readRows, nowOfRead(), m_lineRows);
}

void DiagramScene::drawSaved(const ReadSxem& saved)
{
    m_bkText = saved.color;
    if (!saved.nodes.isEmpty()) {
        m_sxema = pairedWithRows(saved);
    } else {
        ShowWarning(QStringLiteral("Предупреждение"),
                    QStringLiteral("В архиве схем нет сохраненной схемы. Схема будет создана автоматически"));
        const CreateSxem laid(1, &m_lineRows, &saved);
        m_sxema = laid;
        m_bkText = laid.color;
    }
    clearDrawing();
    AddXMLGraph();
}

void DiagramScene::LoadSxems(int mode)
{
    rebuildLookup();
    const ScopedSelection own(m_selection);
    const ReadSxem saved;
    noteDrawnNumbers(saved, m_seen.node, m_seen.key);
    if (mode == 0) {
        drawSaved(saved);
        return;
    }
    // The saved places are those of the elements the saved drawing holds
    // for the rows here, under the keys they have here.
    const SxemaLin kept = mode == 2 && !saved.nodes.isEmpty() ? pairedWithRows(saved) : SxemaLin();
    const CreateSxem laid(mode, &m_lineRows, &kept);
    m_sxema = laid;
    m_bkText = laid.color;
    clearDrawing();
    AddXMLGraph();
}

void DiagramScene::clearDrawing()
{
    m_byKey.clear();
    m_byItem.clear();
    m_objects.clear();
    m_currentNodeItem = nullptr;
    m_currentBranchItem = nullptr;
    clear();
}

void DiagramScene::rebuildLookup()
{
    m_keyIndex.clear();
    m_nodeLinks.clear();
    m_keyIndex.reserve(m_lineRows.size());
    for (int i = 0; i < m_lineRows.size(); ++i) {
        const QStringList& row = m_lineRows.at(i);
        const QString key = row.value(uchKey);
        if (!key.isEmpty())
            m_keyIndex.insert(key, i);
        const QString begin = row.value(uchNyzln);
        const QString end = row.value(uchNyzlk);
        // A node with no key still counts: it is labelled as a node.
        auto link = [&](const QString& node) {
            QStringList& links = m_nodeLinks[node];
            if (!key.isEmpty())
                links.append(key);
        };
        if (!begin.isEmpty())
            link(begin);
        if (!end.isEmpty() && end != begin)
            link(end);
    }
}

BusItem* DiagramScene::addBus(QPointF pos, const QRectF& rect, int width, int height, const QString& name)
{
    const QColor color = paletteColor(m_ku);
    auto* bus = new BusItem;
    bus->setBrush(QBrush(color, Qt::SolidPattern));
    bus->setPen(QPen(paletteColor(0), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    bus->setRect(rect);
    bus->setPos(pos);
    bus->m_color = color;
    bus->m_unom = m_selection.unom;
    bus->m_nodeName = name;
    bus->m_width = width;
    bus->m_height = height;
    bus->m_shape = 1;
    connectMenu(bus, SIGNAL(NodeMenu(QPointF,QString,QGraphicsItem*)),
                SLOT(slot_NodeMenu(QPointF,QString,QGraphicsItem*)));
    addItem(bus);
    OBJECT_INF(QString(), KindNode, name, bus);
    return bus;
}

VLKL_Item* DiagramScene::addLineItem(const QPainterPath& path, double penWidth, const QString& key,
                                     const QString& startNode, const QString& name)
{
    auto* line = new VLKL_Item(path);
    line->setLineStyle(paletteColor(m_ku), penWidth);
    line->m_key = key;
    line->m_unom = m_selection.unom;
    line->m_startNode = startNode;
    addItem(line);
    connectMenu(line, SIGNAL(BranchMenu(QPointF,QString,QGraphicsItem*)),
                SLOT(slot_BranchMenu(QPointF,QString,QGraphicsItem*)));
    OBJECT_INF(name, KindLine, key, line);
    return line;
}

void DiagramScene::addTransf2(Transf2* item, const QString& name)
{
    addItem(item);
    connectMenu(item, SIGNAL(TransMenu(QPointF,QString,QGraphicsItem*)),
                SLOT(slot_TransMenu(QPointF,QString,QGraphicsItem*)));
    OBJECT_INF(name, KindTransf2, item->m_key, item);
}

void DiagramScene::addTransf3(Transf3* item, const QString& name)
{
    addItem(item);
    connectMenu(item, SIGNAL(TransMenu(QPointF,QString,QGraphicsItem*)),
                SLOT(slot_TransMenu(QPointF,QString,QGraphicsItem*)));
    OBJECT_INF(name, KindTransf3, item->m_key, item);
}

void DiagramScene::AddXMLGraph()
{
    m_bkColor = getColorFromRgbString(m_bkText, nullptr);
    const int k = m_ku;
    // A record whose key no row has is drawn without a name or start node.
    auto rowOf = [this](const QString& key) { return m_keyIndex.value(key, -1); };
    auto rowName = [&](const QString& key) {
        const int r = rowOf(key);
        return r < 0 ? QString() : m_lineRows.at(r).value(uchName);
    };

    if (m_selection.unom > 2.0) {
        for (const QStringList& rec : qAsConst(m_sxema.nodes)) {
            const double x = place(rec, 0), y = place(rec, 1), w = place(rec, 2), h = place(rec, 3);
            const QString node = rec.value(4);
            BusItem* bus = addBus(QPointF(x, y), QRectF(0, 0, w, h), whole(w), whole(h), node);
            QString text;
            const auto links = m_nodeLinks.constFind(node);
            if (links != m_nodeLinks.constEnd()) {
                text = QStringLiteral("Узел ") + node;
                for (const QString& key : links.value())
                    bus->addLink(key);
            }
            if (x > m_width)
                m_width = whole(x + w + 90);
            if (y > m_height)
                m_height = whole(y + 90);
            const int hide = whole(number(rec, 7));
            if (hide < 2) {
                double xkt = place(rec, 5), ykt = place(rec, 6);
                if (xkt == 0 && ykt == 0)
                    xkt = x - 20, ykt = y - 20;
                TextAdd(whole(xkt), whole(ykt), KindNode, hide, 0, text, node, paletteColor(kNodeLabelColor));
            }
        }
    }

    for (const QStringList& rec : qAsConst(m_sxema.lines)) {
        QPolygonF points;
        qreal largestDx = 0, largestDy = 0;
        int endDx = -1, endDy = -1;
        for (const QString& part : rec.value(0).split(QLatin1Char(' '))) {
            const QStringList xy = part.split(QLatin1Char(','));
            if (xy.size() != 2)
                continue;
            const QPointF p(single(schemeCoordinate(xy.at(0))), single(schemeCoordinate(xy.at(1))));
            if (!points.isEmpty()) {
                const qreal dx = std::abs(p.x() - points.last().x());
                const qreal dy = std::abs(p.y() - points.last().y());
                if (dx > largestDx)
                    largestDx = dx, endDx = points.size();
                if (dy > largestDy)
                    largestDy = dy, endDy = points.size();
            }
            points.append(p);
        }
        if (points.size() < 2)
            continue;  // nothing to draw, so nothing to label
        QPointF anchor(100, 100);
        bool vertical = false;
        if (endDx >= 0 || endDy >= 0) {
            vertical = !(largestDx >= largestDy || largestDx > 120);
            const int end = vertical ? endDy : endDx;
            anchor = (points.at(end - 1) + points.at(end)) / 2;
        }
        const QString key = rec.value(1);
        const int row = rowOf(key);
        const QString name = row < 0 ? QString() : m_lineRows.at(row).value(uchName);
        const QString start = row < 0 ? QString() : m_lineRows.at(row).value(uchNyzln);
        addLineItem(polylinePath(points), sceneSizes(k).penWidth, key, start, name);
        const int hide = whole(number(rec, 4));
        if (hide < 2) {
            double xkt = place(rec, 2), ykt = place(rec, 3);
            if (xkt == 0 && ykt == 0) {
                const QPointF at = anchor + (vertical ? QPointF(-2, -30) : QPointF(-35, -15));
                xkt = at.x(), ykt = at.y();
            }
            TextAdd(whole(xkt), whole(ykt), KindLine, hide, vertical ? 1 : 0, name, key,
                    paletteColor(kLineLabelColor));
        }
    }

    for (const QStringList& rec : qAsConst(m_sxema.transf)) {
        const double x = place(rec, 0), y = place(rec, 1);
        auto* t = new Transf2;
        t->setPos(x, y);
        t->m_colorHV = paletteColor(k);
        t->m_W = whole(place(rec, 2));
        t->m_H = whole(place(rec, 3));
        t->m_uvn = number(rec, 4);
        t->m_unn = number(rec, 5);
        t->m_colorLV = paletteColor(_KU(single(t->m_unn)));
        t->m_key = rec.value(6);
        t->setZValue(1100);
        const QString name = rowName(t->m_key);
        addTransf2(t, name);
        const int hide = whole(number(rec, 9));
        if (hide < 2) {
            double xkt = place(rec, 7), ykt = place(rec, 8);
            if (xkt == 0 && ykt == 0)
                xkt = x - 20, ykt = y + 80;
            TextAdd(whole(xkt), whole(ykt), KindTransf2, hide, 0, name, t->m_key, paletteColor(kTransLabelColor));
        }
    }

    for (const QStringList& rec : qAsConst(m_sxema.transf3)) {
        const double x = place(rec, 0), y = place(rec, 1);
        auto* t = new Transf3;
        t->setPos(x, y);
        t->m_W = whole(place(rec, 2));
        t->m_H = whole(place(rec, 3));
        t->m_uvn = number(rec, 4);
        t->m_usn = number(rec, 5);
        t->m_unn = number(rec, 6);
        t->m_colorHV = paletteColor(k);
        t->m_colorMV = paletteColor(_KU(single(t->m_usn)));
        t->m_colorLV = paletteColor(_KU(single(t->m_unn)));
        t->m_key = rec.value(7);
        t->m_key2 = rec.value(8);
        t->m_key3 = rec.value(9);
        t->m_variant = t->m_usn <= t->m_unn + 15 ? 1 : 0;
        t->setZValue(1100);
        const QString name = rowName(t->m_key);
        addTransf3(t, name);
        const int hide = whole(number(rec, 12));
        if (hide < 2) {
            double xkt = place(rec, 10), ykt = place(rec, 11);
            if (xkt == 0 && ykt == 0)
                xkt = x - 10, ykt = y + 80;
            TextAdd(whole(xkt), whole(ykt), KindTransf3, hide, 0, name, t->m_key, paletteColor(kTransLabelColor));
        }
    }

    fitSceneRect();
}

// ---- Editing --------------------------------------------------------------------------

void DiagramScene::AddBranchPoints()
{
    auto* line = qgraphicsitem_cast<VLKL_Item*>(m_currentBranchItem);
    if (line && line->isVisible())
        line->InsertNewPoints();
}

void DiagramScene::DelBranchPoints()
{
    auto* line = qgraphicsitem_cast<VLKL_Item*>(m_currentBranchItem);
    if (line && line->isVisible())
        line->DeletePoints();
}

void DiagramScene::appendRow(const QStringList& row)
{
    m_seen.note(row);
    m_lineRows.append(row);
    m_rowOrigin.append(-1);
}

void DiagramScene::finishAdd(QPointF labelAt, int kind, const QString& text, const QString& name, int color)
{
    m_modified = true;
    TextAdd(whole(labelAt.x()), whole(labelAt.y()), kind, 0, 0, text, name, paletteColor(color));
    rebuildLookup();
    fitSceneRect();
}

void DiagramScene::AddLine()
{
    BusItem* current = currentBus();
    if (!current)
        return;
    const QPointF p = m_nodePosition = current->pos();
    const QString node = guidNode(current->m_nodeName);
    // Drawn as its rectangle, so that it loads again as it was drawn.
    BusItem* bus = addBus(p + QPointF(195, 150), QRectF(0, 0, 20, 5), 20, 5, node);
    TextAdd(whole(p.x() + 180), whole(p.y() + 140), KindNode, 0, 0, QStringLiteral("Новый узел"), node,
            paletteColor(kNodeLabelColor));
    const QString key = guidBranch();
    bus->addLink(key);
    current->addLink(key);
    const QPolygonF path(QVector<QPointF>{p + QPointF(2, 2), p + QPointF(202, 2), p + QPointF(202, 152)});
    addLineItem(polylinePath(path), 2.0, key, current->m_nodeName, kNewLine);
    appendRow(newRow(m_lineTemplate, kNewLine, current->m_nodeName, node, key));
    finishAdd(p + QPointF(30, -20), KindLine, kNewLine, key, kLineLabelColor);
}

void DiagramScene::AddTP()
{
    BusItem* current = currentBus();
    if (!current)
        return;
    const QPointF p = m_nodePosition = current->pos();
    const SchemeStyle::ClassSizes& sizes = sceneSizes(m_ku);
    auto* t = new Transf2;
    t->setPos(p + QPointF(-15, 5));
    t->m_colorHV = paletteColor(m_ku);
    t->m_W = whole(sizes.transf2Width);
    t->m_H = whole(sizes.transf2Height);
    t->m_colorLV = paletteColor(3);
    t->m_key = guidBranch();
    t->m_uvn = m_selection.unom;
    t->m_unn = 10.0;
    addTransf2(t, kNewTrans);
    current->addLink(t->m_key);
    appendRow(newRow(m_transTemplate, kNewTrans, current->m_nodeName, guidNode(current->m_nodeName), t->m_key));
    finishAdd(p + QPointF(120, 80), KindTransf2, kNewTrans, t->m_key, kTransLabelColor);
}

void DiagramScene::AddTP3()
{
    BusItem* current = currentBus();
    if (!current)
        return;
    const QPointF p = m_nodePosition = current->pos();
    const SchemeStyle::ClassSizes& sizes = sceneSizes(m_ku);
    auto* t = new Transf3;
    t->setPos(p + QPointF(-25, 5));
    t->m_colorHV = paletteColor(m_ku);
    t->m_W = whole(sizes.transf3Width);
    t->m_H = whole(sizes.transf3Height);
    t->m_key = guidBranch();
    t->m_key2 = plus(t->m_key, 1);
    t->m_key3 = plus(t->m_key, 2);
    t->m_uvn = m_selection.unom;
    t->m_usn = 35.0;
    t->m_unn = 10.0;
    t->m_colorMV = paletteColor(5);
    t->m_colorLV = paletteColor(3);
    t->m_variant = 0;
    addTransf3(t, kNewTrans);
    current->addLink(t->m_key);
    const QString star = guidNode(current->m_nodeName);
    const QString& from = current->m_nodeName;
    appendRow(newRow(m_transTemplate, QStringLiteral("Обмотка ВН"), from, star, t->m_key));
    appendRow(newRow(m_transTemplate, QStringLiteral("Обмотка-2"), star, plus(star, 1), t->m_key2));
    appendRow(newRow(m_transTemplate, QStringLiteral("Обмотка-3"), star, plus(star, 2), t->m_key3));
    finishAdd(p + QPointF(-30, 80), KindTransf3, kNewTrans, t->m_key, kTransLabelColor);
}

void DiagramScene::DelItems()
{
    const QList<QGraphicsItem*> selected = selectedItems();
    if (selected.isEmpty())
        return;
    QSet<QString> goneKeys;
    QSet<const QGraphicsItem*> goneItems;
    // As they are drawn, to be drawn again should a save find that another
    // window changed an element meanwhile and refuse its delete.
    QSet<const QGraphicsItem*> elements;
    for (QGraphicsItem* item : selected) {
        if (!keysOf(item).isEmpty())
            elements.insert(item);
    }
    const SxemaLin drawn = drawnScheme(*this, QString(), &elements);
    m_deletedDrawn.lines += drawn.lines;
    m_deletedDrawn.transf += drawn.transf;
    m_deletedDrawn.transf3 += drawn.transf3;
    for (QGraphicsItem* item : selected) {
        item->setSelected(false);
        for (const QString& key : keysOf(item)) {
            if (!key.isEmpty())
                goneKeys.insert(key);
        }
        if (SORTED_OBJECT_INF* record = m_byItem.take(item)) {
            goneItems.insert(item);
            if (!record->key.isEmpty()) {
                auto byKey = m_byKey.find(record->key);
                if (byKey != m_byKey.end()) {
                    byKey->removeOne(record);
                    if (byKey->isEmpty())
                        m_byKey.erase(byKey);
                }
            }
        }
        removeItem(item);
        delete item;
    }
    m_objects.erase(std::remove_if(m_objects.begin(), m_objects.end(),
                                   [&](const std::unique_ptr<SORTED_OBJECT_INF>& r) { return goneItems.contains(r->item); }),
                    m_objects.end());
    m_currentNodeItem = nullptr;
    m_currentBranchItem = nullptr;
    if (goneKeys.isEmpty())
        return;

    // The deleted elements' own rows, one per key.
    QSet<int> goneRows;
    for (const QString& key : qAsConst(goneKeys)) {
        const int row = m_keyIndex.value(key, -1);
        if (row < 0)
            continue;
        goneRows.insert(row);
        if (m_rowOrigin.at(row) >= 0)
            m_deletedRead.insert(m_rowOrigin.at(row), key);
    }
    int kept = 0;
    for (int i = 0; i < m_lineRows.size(); ++i) {
        if (goneRows.contains(i))
            continue;
        m_lineRows[kept] = m_lineRows.at(i);
        m_rowOrigin[kept] = m_rowOrigin.at(i);
        ++kept;
    }
    if (kept != m_lineRows.size())
        m_modified = true;
    m_lineRows.resize(kept);
    m_rowOrigin.resize(kept);
    const QStringList keys(goneKeys.cbegin(), goneKeys.cend());
    for (const auto& record : m_objects) {
        if (record->kind == KindNode)
            if (auto* bus = qgraphicsitem_cast<BusItem*>(record->item))
                bus->removeLinks(keys);
    }
    rebuildLookup();
}

void DiagramScene::ParamUCH(int kind, QPoint point)
{
    if (kind != KindLine && kind != KindTransf2)
        return;
    const int row = rowOfElement(m_currentBranchKey, kind);
    if (row < 0)
        return;
    QWidget* popup;
    if (kind == KindLine) {
        m_popUCH->SetUCH(m_lineRows.at(row));
        popup = m_popUCH.get();
    } else {
        m_popTR2->SetUCH(m_lineRows.at(row), m_selection.unom);
        popup = m_popTR2.get();
    }
    placeWindow(popup, point);
    popup->show();
}

void DiagramScene::ParamTR3(QGraphicsItem* item, QPoint point)
{
    if (!recordOf(item))
        return;
    auto* t = qgraphicsitem_cast<Transf3*>(item);
    if (!t)
        return;
    const int hv = rowOfElement(t->m_key, KindTransf3);
    if (hv < 0)
        return;
    auto rowOf = [this](const QString& key) {
        const int r = rowOfElement(key, KindTransf3);
        return r < 0 ? QStringList() : m_lineRows.at(r);
    };
    m_popTR3->SetUCH(m_lineRows.at(hv), rowOf(t->m_key2), rowOf(t->m_key3), m_selection.unom);
    placeWindow(m_popTR3.get(), point);
    m_popTR3->show();
}

void DiagramScene::slot_ParamUCH(QStringList row)
{
    const int found = m_keyIndex.value(row.value(uchKey), -1);
    if (found < 0)
        return;
    // OK on an untouched pop-up changes nothing: at saving, only the cells
    // that differ from what was read are written.
    m_seen.note(row);
    m_lineRows[found] = row;
    m_modified = true;
}

// ---- Saving the rows -------------------------------------------------------------------

OwnRows DiagramScene::ownRows() const
{
    OwnRows own = ownSectionRows();
    own.seen = m_seen;
    own.moment = m_moment;
    own.read = m_readRows;
    own.shown = m_shownRows;
    own.now = m_lineRows;
    own.origin = m_rowOrigin;
    return own;
}

bool DiagramScene::rowsDifferFromFile() const
{
    OwnRows own = ownRows();
    own.shown.clear();
    return own.changed();
}

bool DiagramScene::lineStillExists() const
{
    return lineStillStands(Table(), {m_selection.npes, m_selection.nres, m_selection.nlin}, m_moment);
}

bool DiagramScene::lineGone() const
{
    return objectGoneSince({m_selection.npes, m_selection.nres, m_selection.nlin}, m_moment);
}

namespace {

bool tableReadError()
{
    ShowWarning(QStringLiteral("Предупреждение"), "Ошибка чтения файла " + dataFile(QStringLiteral("uch_lin.xml")));
    return false;
}

} // namespace

bool DiagramScene::readWhole() const
{
    return !m_rowsDamaged || tableReadError();
}

bool DiagramScene::rowsToSave(MergedRows* merged) const
{
    const TableRead file = readTable(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"));
    // Missing or damaged: the reader has warned. Written from such a read,
    // the table would keep this line's rows alone.
    if (!file.exists || file.damaged)
        return false;
    if (file.blank)
        return tableReadError();
    // A line without rows may still stand in "lines"; one deleted meanwhile
    // gets neither rows nor a drawing back.
    if (!lineStillStands(file.rows, {m_selection.npes, m_selection.nres, m_selection.nlin}, m_moment))
        return false;
    *merged = mergeOwnRows(file.rows, ownRows());
    return true;
}

void DiagramScene::renameElementKey(const QString& key, const QString& to)
{
    for (const auto& record : m_objects) {
        if (record->kind == KindNode)
            continue;
        QGraphicsItem* item = record->item;
        if (auto* line = qgraphicsitem_cast<VLKL_Item*>(item)) {
            if (line->m_key == key)
                line->m_key = to;
        } else if (auto* t = qgraphicsitem_cast<Transf2*>(item)) {
            if (t->m_key == key)
                t->m_key = to;
        } else if (auto* t3 = qgraphicsitem_cast<Transf3*>(item)) {
            for (QString* k : {&t3->m_key, &t3->m_key2, &t3->m_key3}) {
                if (*k == key)
                    *k = to;
            }
        }
        if (record->key == key)
            record->key = to;
    }
    for (QGraphicsItem* item : items()) {
        if (auto* label = qgraphicsitem_cast<TextParam*>(item)) {
            if (label->m_kind != KindNode && label->m_name == key)
                label->m_name = to;
        } else if (auto* bus = qgraphicsitem_cast<BusItem*>(item)) {
            for (QString& link : bus->m_links) {
                if (link == key)
                    link = to;
            }
        }
    }
}

void DiagramScene::renameNodes(const QHash<QString, QString>& moves)
{
    for (const auto& record : m_objects) {
        if (record->kind != KindNode) {
            if (auto* line = qgraphicsitem_cast<VLKL_Item*>(record->item))
                line->m_startNode = moves.value(line->m_startNode, line->m_startNode);
            continue;
        }
        if (auto* bus = qgraphicsitem_cast<BusItem*>(record->item))
            bus->m_nodeName = moves.value(bus->m_nodeName, bus->m_nodeName);
        record->key = moves.value(record->key, record->key);
    }
    for (QGraphicsItem* item : items()) {
        if (auto* label = qgraphicsitem_cast<TextParam*>(item)) {
            if (label->m_kind == KindNode)
                label->m_name = moves.value(label->m_name, label->m_name);
        }
    }
}

void DiagramScene::takeNewNumbers(const MergedRows& merged)
{
    if (merged.newKeys.isEmpty() && merged.newNodes.isEmpty())
        return;
    for (auto it = merged.newKeys.constBegin(); it != merged.newKeys.constEnd(); ++it) {
        QStringList& row = m_lineRows[it.key()];
        renameElementKey(row.value(uchKey), it.value());
        row[uchKey] = it.value();
    }
    // A node moves with its bus, the bus's label and the lines starting there.
    QHash<QString, QString> moves;
    for (auto it = merged.newNodes.constBegin(); it != merged.newNodes.constEnd(); ++it) {
        QStringList& row = m_lineRows[it.key()];
        for (auto c = it.value().constBegin(); c != it.value().constEnd(); ++c) {
            moves.insert(row.value(c.key()), c.value());
            row[c.key()] = c.value();
        }
    }
    if (!moves.isEmpty())
        renameNodes(moves);
    for (const QStringList& row : qAsConst(m_lineRows))
        m_seen.note(row);
    // The registry's lookup by key and the rows' lookup follow.
    m_byKey.clear();
    for (const auto& record : m_objects) {
        if (!record->key.isEmpty())
            m_byKey[record->key].append(record.get());
    }
    rebuildLookup();
}

bool DiagramScene::SaveModel(StagedFiles& files, const Table& rows) const
{
    return stageShablonXML(files, QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"),
                           QStringLiteral("net110_uch_lin"), rows);
}

void DiagramScene::rowsWritten(const MergedRows& merged)
{
    // From now on the rows as written are what this window read: a later
    // change by another window to a row not changed here again survives.
    OwnRows own = ownRows();
    adoptWritten(own, merged);
    m_lineRows = own.now;
    m_readRows = own.read;
    m_shownRows = own.shown;
    m_rowOrigin = own.origin;
    m_deletedDrawn = SxemaLin();
    m_deletedRead.clear();
    rebuildLookup();
}

SxemaLin DiagramScene::drawingAfter(const MergedRows& merged, const SxemaLin& drawn, Table* rows) const
{
    rows->clear();
    QHash<int, int> rowOfTable;   // row of merged.table -> its row in rows
    for (int t = 0; t < merged.table.size(); ++t) {
        const QStringList& row = merged.table.at(t);
        if (row.value(uchNpes) == m_selection.npes && row.value(uchNres) == m_selection.nres
            && row.value(uchNlin) == m_selection.nlin) {
            rowOfTable.insert(t, rows->size());
            rows->append(row);
        }
    }
    // An element whose row has left the file leaves with it; one whose
    // row another window changed takes that row as it is.
    QVector<bool> drawnRows;
    SxemaLin after = pairDrawing(drawn, *rows, sameRows(rows->size()), *rows, &drawnRows);

    // A refused delete: the element the file still holds, renumbered or on
    // other nodes, is drawn again where it was, under the key it has now.
    QHash<QString, QString> keyNow;   // the key a deleted element's row had here -> the file's
    for (int d = 0; d < merged.lostDeleted.size(); ++d) {
        const int o = merged.lostDeleted.at(d);
        const int r = rowOfTable.value(merged.lostDeletedAt.value(d, -1), -1);
        if (!m_deletedRead.contains(o) || r < 0 || drawnRows.at(r))
            continue;
        drawnRows[r] = true;
        keyNow.insert(m_deletedRead.value(o), rows->at(r).value(uchKey));
    }
    // The first key stands for the element; a winding whose row went
    // stays without one.
    const auto restore = [&](const Table& records, Table& into, int first, int last) {
        for (QStringList record : records) {
            if (!keyNow.contains(record.value(first)))
                continue;
            for (int k = first; k <= last; ++k)
                record[k] = keyNow.value(record.value(k));
            into.append(record);
        }
    };
    restore(m_deletedDrawn.lines, after.lines, 1, 1);
    restore(m_deletedDrawn.transf, after.transf, 6, 6);
    restore(m_deletedDrawn.transf3, after.transf3, 7, 9);
    return after;
}

void DiagramScene::showWritten(const Table& rows, const SxemaLin& drawing)
{
    takeRows(rows);
    m_sxema = pairedWithRows(drawing);
    clearDrawing();
    AddXMLGraph();
}

// ---- Keys and mouse -------------------------------------------------------------------

void DiagramScene::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_A: moveSelectedItemsByKey(-10, 0); break;
    case Qt::Key_D: moveSelectedItemsByKey(10, 0); break;
    case Qt::Key_W: moveSelectedItemsByKey(0, -10); break;
    case Qt::Key_Z: moveSelectedItemsByKey(0, 10); break;
    default: break;
    }
    QGraphicsScene::keyPressEvent(event);
}

void DiagramScene::mousePressEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_leftHeld = true;
        m_pressPoint = event->scenePos();
        if (m_mode == QLatin1String("Move") && items(event->scenePos()).isEmpty()) {
            m_mode = QStringLiteral("Select");
            clearSelection();
        }
    }
    QGraphicsScene::mousePressEvent(event);
}

void DiagramScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event)
{
    if (!m_leftHeld || m_mode != QLatin1String("Move")) {
        QGraphicsScene::mouseMoveEvent(event);
        return;
    }
    const QPointF step = event->scenePos() - m_pressPoint;
    m_pressPoint = event->scenePos();
    const QList<QGraphicsItem*> selected = selectedItems();
    // Every line a moved bus touches starts the step afresh, selected or
    // not: it moves whole exactly when both its buses move.
    for (QGraphicsItem* item : selected) {
        if (auto* bus = qgraphicsitem_cast<BusItem*>(item)) {
            for (const QString& link : qAsConst(bus->m_links)) {
                for (SORTED_OBJECT_INF* record : recordsWithKey(link)) {
                    if (record->kind == KindLine)
                        if (auto* line = qgraphicsitem_cast<VLKL_Item*>(record->item))
                            line->setEndCounter(0);
                }
            }
        }
    }
    for (QGraphicsItem* item : selected) {
        switch (item->type()) {
        case Transf2::Type:
        case Transf3::Type:
        case TextParam::Type:
            item->moveBy(step.x(), step.y());
            break;
        case BusItem::Type:
            moveAttached(static_cast<BusItem*>(item), step.x(), step.y(), false);
            item->moveBy(step.x(), step.y());
            break;
        default:
            break;
        }
    }
}

void DiagramScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_leftHeld = false;
    QGraphicsScene::mouseReleaseEvent(event);
    // From the selection the release leaves (a Ctrl click selects on release).
    m_mode = selectedItems().size() >= 2 ? QStringLiteral("Move") : QStringLiteral("Select");
}
