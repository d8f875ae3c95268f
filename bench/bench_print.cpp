// Printing the loss report of a generated PES of growing size, as the
// report viewer prints it: the document laid out at the page's width, cut
// into A4 pages and painted into a PDF file. Reports the time per line of
// the PES, which must not grow with it, and the pagination alone.

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/printpages.h"

#include "windowsmain.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QPrinter>
#include <QScopedPointer>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

const int kResCount = 4;

// The loss report of a PES of lines lines over four RES, with made-up
// results, and the document the viewer prints of it.
struct PesReport
{
    QTemporaryDir dir;
    QScopedPointer<QTextDocument> doc;
    int rows = 0;

    explicit PesReport(int lines)
    {
        ZORVAN_PATH = dir.path() + "/";
        LossCollection run;
        for (int r = 0; r < kResCount; ++r) {
            run.resNames.append(QString("РЭС %1").arg(r + 1));
            run.resIds.append(QString("1,%1").arg(r + 1));
            run.resBounds.append(run.lineTotals.size());
            for (int l = r; l < lines; l += kResCount) {
                QVector<double> totals(16);
                for (int v = 0; v < totals.size(); ++v)
                    totals[v] = 1000.0 / (v + 1) + l;
                run.lineTotals.append(totals);
                run.lineNames.append(l % 3 ? QString("ВЛ 110 кВ Линия %1").arg(l)
                                           : QString("ВЛ 35 кВ Линия %1 с отпайками на ПС Северная и ПС Южная").arg(l));
                run.lineIds.append(QString("1,%1,%2").arg(r + 1).arg(l));
                run.lineUnom.append(l % 3 ? 110 : 35);
            }
        }
        run.resBounds.append(run.lineTotals.size());
        const QVector<QStringList> result = poteriRowsPES(run);
        rows = result.size();
        const QString name = "Потери в сети 35-220 кВ ПЭС";
        HtmlBody(name, "Январь 2026 года", lossReportBody(result, lossCaptionPES()), 0);
        CViewHtml viewer(name, "html");
        doc.reset(viewer.createPrintDocument());
    }
};

PesReport& report(int lines)
{
    static std::map<int, std::unique_ptr<PesReport>> cache;
    auto& slot = cache[lines];
    if (!slot)
        slot = std::make_unique<PesReport>(lines);
    return *slot;
}

void setCounters(benchmark::State& state, int lines, int rows)
{
    using benchmark::Counter;
    state.counters["lines"] = lines;
    state.counters["rows"] = rows;
    state.counters["time_per_line"] = Counter(lines, Counter::kIsIterationInvariantRate | Counter::kInvert);
}

void BM_PrintPesReport(benchmark::State& state)
{
    const int lines = int(state.range(0));
    PesReport& pes = report(lines);
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pes.dir.filePath("report.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    for (auto _ : state)
        printDocument(pes.doc.data(), &printer);
    if (!QFileInfo(printer.outputFileName()).size())
        state.SkipWithError("nothing was printed");
    setCounters(state, lines, pes.rows);
}

// The cuts and the pages alone, on the document laid out as printed.
void BM_PaginatePesReport(benchmark::State& state)
{
    const int lines = int(state.range(0));
    PesReport& pes = report(lines);
    pes.doc->setTextWidth(700);
    paginate(pes.doc.data(), 1000);   // laid out to the end before the clock runs
    int pages = 0;
    for (auto _ : state)
        pages = paginate(pes.doc.data(), 1000).size();
    setCounters(state, lines, pes.rows);
    state.counters["pages"] = pages;
}

} // namespace

BENCHMARK(BM_PrintPesReport)->Arg(10)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaginatePesReport)->Arg(10)->Arg(100)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

ZORVAN_BENCHMARK_WITH_WINDOWS_MAIN();
