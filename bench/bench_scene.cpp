// The scheme scene on generated lines of growing size (a tree with two- and
// three-winding transformers): loading the line and its saved scheme into the
// scene (rows, items, labels, links), and one drag step of a bus with its line
// ends and transformers, and the records a save takes from the drawn scheme.
// Reports the time per row of the load and of the save's records, which must
// not grow with the line, and the time of a drag step, which must not grow.

#include "generatedline.h"
#include "scheme/createsxem.h"
#include "scheme/diagramscene.h"
#include "scheme/schemerecords.h"
#include "store/sxema.h"

#include "windowsmain.h"

#include <QGraphicsView>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

namespace {

using namespace benchline;

// The line's rows, its saved scheme and the wire catalog.
void writeLine(const Table& rows)
{
    saveShablonXML("uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", rows);
    saveShablonXML("kat_lin", {"name"}, "Wire", "net110_WireInfo", Table{{"АС-120/19"}});
    writeSxemaFile({CreateSxem(1, &rows)});
}

void BM_LoadScene(benchmark::State& state)
{
    Workspace workspace;
    const int rows = int(state.range(0));
    writeLine(generate(rows, Shape::Transformers));
    int items = 0;
    for (auto _ : state) {
        DiagramScene scene;
        scene.LoadModel();
        items = scene.items().size();
    }
    state.counters["rows"] = rows;
    state.counters["items"] = items;
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every element with its label, as the save finds them on the scene.
void BM_SaveRecords(benchmark::State& state)
{
    Workspace workspace;
    const int rows = int(state.range(0));
    writeLine(generate(rows, Shape::Transformers));
    DiagramScene scene;
    scene.LoadModel();
    int records = 0;
    for (auto _ : state) {
        const SxemaLin drawn = drawnScheme(scene, QStringLiteral("rgb(0,0,0)"));
        records = drawn.nodes.size() + drawn.lines.size() + drawn.transf.size() + drawn.transf3.size();
    }
    state.counters["rows"] = rows;
    state.counters["records"] = records;
    state.counters["time_per_row"] =
        benchmark::Counter(rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void send(QGraphicsView& view, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, at, view.viewport()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &event);
}

void BM_BusDragStep(benchmark::State& state)
{
    Workspace workspace;
    const int rows = int(state.range(0));
    writeLine(generate(rows, Shape::Transformers));
    DiagramScene scene;
    scene.LoadModel();
    QGraphicsView view(&scene);
    view.resize(800, 600);
    view.show();
    // Node 3: sections to its parent and children, a two-winding unit.
    BusItem* hub = nullptr;
    for (const auto& record : scene.objects()) {
        if (record->kind == KindNode && record->key == QLatin1String("3"))
            hub = qgraphicsitem_cast<BusItem*>(record->item);
    }
    view.centerOn(hub);
    // Its upper left part: the right end resizes, the transformer covers
    // the lower half.
    const QPoint at = view.mapFromScene(hub->mapToScene(QPointF(2, 1)));
    const qreal startX = hub->x();
    send(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(view, QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton, Qt::LeftButton);
    if (hub->x() == startX)
        state.SkipWithError("the bus did not follow the mouse");
    int step = 1;
    for (auto _ : state) {
        send(view, QEvent::MouseMove, at + QPoint(++step % 2, 0), Qt::NoButton, Qt::LeftButton);
    }
    send(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    state.counters["rows"] = rows;
    state.counters["links"] = hub->m_links.size();
}

} // namespace

BENCHMARK(BM_LoadScene)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveRecords)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BusDragStep)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

ZORVAN_BENCHMARK_WITH_WINDOWS_MAIN()
