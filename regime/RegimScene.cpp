#include "RegimScene.h"

#include "SxemaItems.h"
#include "calc/zorvantask.h"
#include "scheme/schemestyle.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/sxema.h"

#include <QPainterPath>

namespace {

// Field positions of the scheme records.
enum NodeField { nX, nY, nW, nH, nKey, nXkt, nYkt, nHide };
enum LineField { lPoints, lKey, lXkt, lYkt, lHide };
enum TransfField { tX, tY, tW, tH, tUvn, tUnn, tKey, tXkt };
enum Transf3Field { t3Usn = 5, t3Unn, t3Key, t3Key2, t3Key3, t3Xkt };

int size(const QString& text)
{
    return qBound(-kMaxSchemeExtent, toWholeNumber(text), kMaxSchemeExtent);
}

QColor classColor(double kv)
{
    return paletteColor(Regime::drawingClass(kv));
}

const QColor kConsumer = paletteColor(12);

} // namespace

RegimScene::RegimScene(QObject* parent)
    : QGraphicsScene(parent)
    , m_selection(LineSelection::current())
{
}

bool RegimScene::ShowModel()
{
    // One read of the tables serves the model and the calculation.
    const CalcTables tables = CalcTables::read();
    ReadModel(tables.sections);
    {
        const ScopedSelection line(m_selection);
        if (ReadRegim_(tables) != 0)
            return true;
    }
    return AddGraph_() != 0;
}

ReadSxem RegimScene::readScheme() const
{
    const ScopedSelection line(m_selection);
    return ReadSxem();
}

int RegimScene::AddGraph_()
{
    // Emptied before anything can stop this call: the caller has cleared the
    // scene, and nothing may keep pointing at the items that went with it.
    branchItems.clear();
    itemNames.clear();
    itemKinds.clear();

    const ReadSxem sxema = readScheme();
    if (sxema.nodes.isEmpty()) {
        ShowWarning(QStringLiteral("Предупреждение"),
                    QStringLiteral("В архиве схем нет сохраненной схемы. Создайте схему в редакторе схем"));
        return 1;
    }
    addBuses(sxema);
    addLines(sxema);
    addTransformers(sxema);
    setSceneRect(0, 0, sceneWidth, sceneHeight);
    return 0;
}

void RegimScene::enter(QGraphicsItem* item, int branch, int kind, double xkt, double ykt)
{
    labelX[branch] = int(xkt);
    labelY[branch] = int(ykt);
    itemNames.append(branchName.at(branch));
    itemKinds.append(kind);
    branchItems.append(item);
}

void RegimScene::addBuses(const ReadSxem& sxema)
{
    const QColor fill = classColor(unom);
    for (const QStringList& r : sxema.nodes) {
        const double x = schemeCoordinate(r.value(nX));
        const double y = schemeCoordinate(r.value(nY));
        auto* bus = new BussItem;
        bus->w = size(r.value(nW));
        bus->h = size(r.value(nH));
        bus->setRect(0, 0, bus->w, bus->h);
        bus->setBrush(fill);
        bus->setPen(QPen(QBrush(paletteColor(0)), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
        bus->setPos(x, y);
        bus->fill = fill;
        bus->unom = unom;
        bus->node = nodeMap.value(r.value(nKey), -1);
        bus->key = r.value(nKey);
        bus->xkt = schemeCoordinate(r.value(nXkt));
        bus->ykt = schemeCoordinate(r.value(nYkt));
        bus->hide = toInteger(r.value(nHide));
        addItem(bus);
        // Only the left edge is compared, as the editor's drawings expect.
        if (x > sceneWidth)
            sceneWidth = int(bus->w + x + 90);
        if (y > sceneHeight)
            sceneHeight = int(y + 90);
    }
}

void RegimScene::addLines(const ReadSxem& sxema)
{
    const int k = Regime::drawingClass(unom);
    for (const QStringList& r : sxema.lines) {
        QPainterPath path;
        int points = 0;
        for (const QString& piece : r.value(lPoints).split(QLatin1Char(' '))) {
            const QStringList xy = piece.split(QLatin1Char(','));
            if (xy.size() != 2)
                continue;
            const QPointF p(schemeCoordinate(xy.at(0)), schemeCoordinate(xy.at(1)));
            if (points++ == 0)
                path.moveTo(p);
            else
                path.lineTo(p);
        }
        if (points < 2)
            continue;
        auto* line = new VLKLs_Item;
        line->key = r.value(lKey);
        line->branch = branchMap.value(line->key, -1);
        line->xkt = schemeCoordinate(r.value(lXkt));
        line->ykt = schemeCoordinate(r.value(lYkt));
        if (line->branch >= 0) {
            enter(line, line->branch, 4, line->xkt, line->ykt);
            vertMark[line->branch] = 0;
        }
        line->setPath(path);
        line->color = paletteColor(k);
        line->setPenWidth(Regime::lineWidth(k));
        line->unom = unom;
        line->hide = toInteger(r.value(lHide));
        addItem(line);
    }
}

// What the two kinds of record give alike: x, y, w, h and the HV voltage
// lead them, the key and the label stand where the kind keeps them.
void RegimScene::placeTransformer(TransfItem* t, int kind, const QStringList& r, int keyField,
                                  int xktField)
{
    t->key = r.value(keyField);
    t->branch = branchMap.value(t->key, -1);
    t->xkt = schemeCoordinate(r.value(xktField));
    t->ykt = schemeCoordinate(r.value(xktField + 1));
    t->hide = toInteger(r.value(xktField + 2));
    if (t->branch >= 0) {
        enter(t, t->branch, kind, t->xkt, t->ykt);
        t->kbal = kbal.at(t->branch);
    }
    t->setPos(schemeCoordinate(r.value(tX)), schemeCoordinate(r.value(tY)));
    t->setSize(size(r.value(tW)), size(r.value(tH)));
    t->u_vn = toNumber(r.value(tUvn));
    t->hvColor = classColor(t->u_vn);
    t->setZValue(1100);
}

void RegimScene::addTransformers(const ReadSxem& sxema)
{
    for (const QStringList& r : sxema.transf) {
        auto* t = new Transf2s;
        placeTransformer(t, 2, r, tKey, tXkt);
        t->u_nn = toNumber(r.value(tUnn));
        t->lvColor = classColor(t->u_nn);
        if (t->kbal == 1)
            t->hvColor = t->lvColor = kConsumer;
        addItem(t);
    }

    for (const QStringList& r : sxema.transf3) {
        auto* t = new Transf3s;
        placeTransformer(t, 3, r, t3Key, t3Xkt);
        t->key2 = r.value(t3Key2);
        t->key3 = r.value(t3Key3);
        t->branch2 = branchMap.value(t->key2, -1);
        t->branch3 = branchMap.value(t->key3, -1);
        t->u_sn = toNumber(r.value(t3Usn));
        t->u_nn = toNumber(r.value(t3Unn));
        t->mvColor = classColor(t->u_sn);
        t->lvColor = classColor(t->u_nn);
        if (t->kbal == 1)
            t->hvColor = t->mvColor = t->lvColor = kConsumer;
        addItem(t);
    }
}
