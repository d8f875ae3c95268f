// Printed pages of a report: cut between rows, the header rows again on each
// further page, as few pages as the rows need, headings with their tables,
// every column (a wide table printed smaller), nothing painted outside, no
// line twice; any page height ends, only a page too small for a row prints
// nothing.

#include "calc/lossrun.h"
#include "calc/netreports.h"
#include "store/SaveInfo.h"
#include "store/ui/CViewHtml.h"
#include "store/ui/printpages.h"
#include "storetest.h"

#include <QAbstractTextDocumentLayout>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintEngine>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

using Span = QPair<qreal, qreal>;   // top and bottom

// A report written by HtmlBody, read as the viewer reads it, laid out at width.
std::unique_ptr<QTextDocument> readReport(const QString& name, qreal width)
{
    QFile file(reportFilePath(name));
    auto doc = std::make_unique<QTextDocument>();
    if (file.open(QIODevice::ReadOnly))
        doc->setHtml(QString::fromUtf8(file.readAll()));
    doc->setTextWidth(width);
    return doc;
}

// A loss report of rows rows written as the program writes it, some rows of
// one text line, some of three, laid out at width.
std::unique_ptr<QTextDocument> lossReport(int rows, qreal width)
{
    QStringList body = TableHtml();
    for (int r = 0; r < rows; ++r) {
        const QString name = r % 3 ? QString("Линия %1").arg(r) : QString("Линия %1<br>с отпайками<br>на ПС").arg(r);
        body << "<tr><td>" + name + "</td>" + QString("<td>1.000</td>").repeated(8) + "</tr>";
    }
    body << "</table><h3>Температура 20.0</h3>";
    [&] { QVERIFY(HtmlBody("Отчет", "Январь 2026 года", body, 0)); }();
    return readReport("Отчет", width);
}

// The network parameters report of a RES of lines lines, as the RES dialog writes it.
std::unique_ptr<QTextDocument> paramReport(int lines, qreal width)
{
    NetSummary summary;
    for (int i = 0; i < lines; ++i)
        summary.addLine(QString("Линия %1").arg(i + 1), i % 2 ? "35" : "110", nullptr);
    summary.merge();
    [&] { QVERIFY(HtmlBody("Параметры линий по РЭС", QString(), netParamBody(NetReportKind::RES, "РЭС", summary), 2)); }();
    return readReport("Параметры линий по РЭС", width);
}

QTextTable* firstTable(QTextDocument* doc)
{
    return qobject_cast<QTextTable*>(doc->rootFrame()->childFrames().value(0));
}

// Where a cell's text stands, top to bottom.
Span cellText(QTextDocument* doc, const QTextTableCell& cell)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    return {layout->blockBoundingRect(cell.firstCursorPosition().block()).top(),
            layout->blockBoundingRect(cell.lastCursorPosition().block()).bottom()};
}

// The top and bottom of the paragraph that holds text.
Span paragraph(QTextDocument* doc, const QString& text)
{
    const QTextBlock block = doc->find(text).block();
    const QRectF box = doc->documentLayout()->blockBoundingRect(block);
    return {box.top(), box.bottom()};
}

// The page whose own part of the document (its last slice) shows y; -1 when none.
int pageShowing(const QVector<PrintPage>& pages, qreal y)
{
    for (int p = 0; p < pages.size(); ++p) {
        if (pages[p].last().top <= y && y < pages[p].last().bottom)
            return p;
    }
    return -1;
}

qreal pageHeight(const PrintPage& page)
{
    qreal height = 0;
    for (const PrintSlice& slice : page)
        height += slice.bottom - slice.top;
    return height;
}

// A printer that prints nothing and keeps, page by page, each piece of text
// painted clipped (a page's own text; its number is not): where it begins,
// in the painter's coordinates (the document's), its text, and whether it
// shows whole, inside the clip and the page. Its pages are a PDF printer's.
struct TextPrinter : QPrinter, QPaintEngine, QPrintEngine
{
    struct Piece
    {
        QPointF at;
        QString text;
        bool whole;
    };

    TextPrinter() : QPaintEngine(AllFeatures) { pdf.setOutputFormat(PdfFormat), setEngines(this, this); }
    bool begin(QPaintDevice*) override { return newPage(); }
    bool end() override { return true; }
    void updateState(const QPaintEngineState&) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        if (!painter()->hasClipping())
            return;
        const QRectF clip = painter()->clipBoundingRect();
        const qreal right = p.x() + item.width();
        const bool whole = clip.left() <= p.x() + 0.5 && right <= clip.right() + 0.5
                           && painter()->deviceTransform().map(QPointF(right, p.y())).x() <= width() + 0.5;
        pages.last().append({p, item.text(), whole});
    }
    Type type() const override { return User; }
    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override { pdf.printEngine()->setProperty(key, value); }
    QVariant property(PrintEnginePropertyKey key) const override { return pdf.printEngine()->property(key); }
    int metric(PaintDeviceMetric m) const override { return pdf.printEngine()->metric(m); }
    bool newPage() override { return pages.resize(pages.size() + 1), true; }
    bool abort() override { return false; }
    PrinterState printerState() const override { return isActive() ? Active : Idle; }

    // The height left for the text above the page number, in the units of
    // doc printed at the scale at which it fits the width.
    qreal room(QTextDocument* doc) const
    {
        const qreal scale = qMin<qreal>(1, width() / doc->documentLayout()->documentSize().width());
        return (height() - 1.5 * QFontMetricsF(doc->defaultFont(), this).height()) / scale;
    }

    QVector<QVector<Piece>> pages;
    QPrinter pdf;
};

// The height of the tallest row of doc's tables under its table's header
// rows: from the table's top (a cell padding and two borders above its
// first text) to the border under the row, halfway to the next row's text
// (the bottom as far under the last one).
qreal tallestRowUnderHeader(QTextDocument* doc)
{
    qreal tallest = 0;
    for (QTextFrame* frame : doc->rootFrame()->childFrames()) {
        auto* table = qobject_cast<QTextTable*>(frame);
        auto text = [&](int r) {
            Span span{qInf(), -qInf()};
            for (int c = 0; c < table->columns(); ++c) {
                const Span cell = cellText(doc, table->cellAt(r, c));
                span = {qMin(span.first, cell.first), qMax(span.second, cell.second)};
            }
            return span;
        };
        const QTextTableFormat format = table->format();
        const qreal edge = format.cellPadding() + format.cellSpacing() + 2 * format.border();
        const int rows = table->rows(), head = format.headerRowCount();
        auto border = [&](int r) { return r == 0 ? text(0).first - edge : r == rows ? text(r - 1).second + edge
                                                                                   : (text(r - 1).second + text(r).first) / 2; };
        for (int r = head; r < rows; ++r)
            tallest = qMax(tallest, border(head) - border(0) + border(r + 1) - border(r));
    }
    return tallest;
}

} // namespace

class TestPrintPages : public QObject
{
    Q_OBJECT

private slots:
    // Every row stands whole on one page; a page that goes on with the table
    // begins with its header rows; no page holds more than its height, and a
    // page ends only where the next row would not fit.
    void cutsBetweenRows_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("low pages") << 420;
        QTest::newRow("header over half the page") << 360;
        QTest::newRow("A4 landscape") << 680;
    }
    void cutsBetweenRows()
    {
        QFETCH(int, height);
        Scratch work;
        const auto doc = lossReport(40, 1000);
        QTextTable* table = firstTable(doc.get());
        QVERIFY(table && table->format().headerRowCount() == 4 && table->rows() == 44);
        const QVector<PrintPage> pages = paginate(doc.get(), height);
        QVERIFY(pages.size() > 1);

        const QRectF tableBox = doc->documentLayout()->frameBoundingRect(table);
        QVector<PrintSlice> own;   // each page's own part of the document
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pageHeight(pages[p]) <= height);
            own.append(pages[p].last());
            const bool inTable = own[p].top > tableBox.top() + 1 && own[p].top < tableBox.bottom() - 1;
            QCOMPARE(pages[p].size(), inTable ? 2 : 1);
            if (inTable)   // the header: the table's top border to its first data row
                QVERIFY(pages[p][0].top > tableBox.top() - 10
                        && pages[p][0].bottom < cellText(doc.get(), table->cellAt(4, 0)).first);
            QCOMPARE(own[p].top, p ? own[p - 1].bottom : 0.0);   // nothing left out, nothing twice
        }
        QCOMPARE(own.last().bottom, doc->documentLayout()->documentSize().height());

        for (int r = 4; r < table->rows(); ++r) {
            const Span name = cellText(doc.get(), table->cellAt(r, 0));
            const auto page = std::find_if(own.cbegin(), own.cend(),
                                           [&](const PrintSlice& s) { return s.top <= name.first && name.first < s.bottom; });
            QVERIFY(page != own.cend());
            for (int c = 0; c < table->columns(); ++c) {
                const Span text = cellText(doc.get(), table->cellAt(r, c));
                QVERIFY2(page->top <= text.first && text.second <= page->bottom, qPrintable(QString("row %1").arg(r)));
            }
            // A row that starts a page did not fit on the page before: it
            // reaches halfway to the next row's text; the last one takes
            // the caption under the table along.
            const int p = int(page - own.cbegin());
            const qreal end = r + 1 < table->rows() ? (name.second + cellText(doc.get(), table->cellAt(r + 1, 0)).first) / 2
                                                    : paragraph(doc.get(), "Температура 20.0").second;
            if (p > 0 && name.first - page->top < 10)
                QVERIFY(pageHeight(pages[p - 1]) + end - page->top > height);
        }
    }

    // Painted into the middle of a white sheet, every page keeps its colour
    // to the area it is given and, within it, to its own rows: under the last
    // one only white shows, as in the margins.
    void paintsNothingOutside()
    {
        Scratch work;
        const auto doc = lossReport(40, 800);
        const QVector<PrintPage> pages = paginate(doc.get(), 600);
        QVERIFY(pages.size() > 2 && pages[2].size() == 2);   // the header rows again
        const QRect area(40, 40, 800, 600);
        for (const PrintPage& page : pages) {
            QImage sheet(880, 680, QImage::Format_RGB32);
            sheet.fill(Qt::white);
            {
                QPainter painter(&sheet);
                paintPage(&painter, doc.get(), page, area);
            }
            const QRect used(area.topLeft(), QSize(area.width(), qCeil(pageHeight(page)) + 1));
            int coloured = 0, outside = 0;
            for (int y = 0; y < sheet.height(); ++y) {
                for (int x = 0; x < sheet.width(); ++x) {
                    const bool white = sheet.pixel(x, y) == qRgb(255, 255, 255);
                    coloured += !white;
                    outside += !white && !used.contains(x, y);
                }
            }
            QVERIFY(coloured > 0);
            QCOMPARE(outside, 0);
        }
    }

    // No page without height; a page lower than a line or a row still ends:
    // what does not fit is printed cut on a page of its own, each row of the
    // table beginning a page, and the pages go down the document.
    void endsOnAnyHeight_data()
    {
        QTest::addColumn<qreal>("height");
        QTest::newRow("below 0") << -20.0;
        QTest::newRow("0") << 0.0;
        QTest::newRow("a thousandth of a pixel") << 0.001;
        QTest::newRow("1 pixel") << 1.0;
        QTest::newRow("under a line") << 12.0;
        QTest::newRow("not two rows") << 40.0;
    }
    void endsOnAnyHeight()
    {
        QFETCH(qreal, height);
        Scratch work;
        const auto doc = lossReport(40, 1000);
        const QVector<PrintPage> pages = paginate(doc.get(), height);
        if (height <= 0) {
            QCOMPARE(pages.size(), 0);
            return;
        }
        QVERIFY(!pages.isEmpty());
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY(pageHeight(pages[p]) <= height + 1e-9);
            QVERIFY(p == 0 || pages[p].last().top > pages[p - 1].last().top);
        }
        // The first data row goes with the header rows above it.
        QTextTable* table = firstTable(doc.get());
        for (int r = 5; r < table->rows(); ++r) {
            const qreal top = cellText(doc.get(), table->cellAt(r, 0)).first;
            const auto begins = std::find_if(pages.cbegin(), pages.cend(), [&](const PrintPage& page) {
                return page.last().top <= top && top - page.last().top < 10;
            });
            QVERIFY2(begins != pages.cend(), qPrintable(QString("row %1").arg(r)));
        }
    }

    // A heading stands on the page of its table's header and first row, a
    // closing caption on the page of the table's last row, whatever the
    // page's height (as long as they fit on one page together).
    void headingsStayWithTheirTables_data()
    {
        QTest::addColumn<int>("height");
        for (int height = 200; height <= 900; height += 13)
            QTest::newRow(qPrintable(QString::number(height))) << height;
    }
    void headingsStayWithTheirTables()
    {
        QFETCH(int, height);
        Scratch work;
        const auto param = paramReport(12, 700);
        const QList<QTextFrame*> tables = param->rootFrame()->childFrames();
        QCOMPARE(tables.size(), 3);
        const QVector<PrintPage> pages = paginate(param.get(), height);
        const QStringList headings = {"Обобщенные характеристики сети",
                                      "Количество и мощность трансформаторов с разбивкой по типовым мощностям",
                                      "Длины участков линий с разбивкой по сечениям, км"};
        for (int t = 0; t < 3; ++t) {
            auto* table = qobject_cast<QTextTable*>(tables[t]);
            const int firstRow = table->format().headerRowCount();
            const Span heading = paragraph(param.get(), headings[t]);
            const Span row = cellText(param.get(), table->cellAt(firstRow, 0));
            QVERIFY(heading.second <= row.first);
            if (row.second - heading.first > height / 2)
                continue;   // may rightly part on a low page
            QVERIFY2(pageShowing(pages, heading.first) == pageShowing(pages, row.second - 1), qPrintable(headings[t]));
        }

        const auto losses = lossReport(40, 1000);
        const QVector<PrintPage> lossPages = paginate(losses.get(), height);
        QTextTable* table = firstTable(losses.get());
        const Span caption = paragraph(losses.get(), "Температура 20.0");
        const Span lastRow = cellText(losses.get(), table->cellAt(table->rows() - 1, 0));
        QVERIFY(lastRow.second <= caption.first);
        // Under the header rows again, they may not fit on a low page (the
        // borders and paddings take a few pixels more than the texts).
        const qreal header = cellText(losses.get(), table->cellAt(4, 0)).first - losses->documentLayout()->frameBoundingRect(table).top();
        if (header + caption.second - lastRow.first + 10 <= height)
            QCOMPARE(pageShowing(lossPages, caption.second - 1), pageShowing(lossPages, lastRow.first));
    }

    // A page with no room for text above its number, or too little for a
    // table's header and a row (a pixel too little, or more), prints nothing
    // and says so; a page with a little more room prints, though the heading
    // right above the table does not fit on it with the header and first
    // row: the heading ends the first page, under the report's title, and
    // the table begins the next.
    void printsOnAnyPage_data()
    {
        QTest::addColumn<qreal>("heightMm");   // 0: a page over the tallest row under its header by
        QTest::addColumn<qreal>("over");       // so many pixels, none of them wasted on margins
        QTest::addColumn<bool>("printed");
        QTest::newRow("24 mm, 4 mm inside the margins") << 24.0 << 0.0 << false;
        QTest::newRow("20 mm, no room inside the margins") << 20.0 << 0.0 << false;
        QTest::newRow("40 mm, too low for a header and a row") << 40.0 << 0.0 << false;
        QTest::newRow("a pixel too low for a row under its header") << 0.0 << -1.0 << false;
        QTest::newRow("room for the rows, not for the heading with them") << 0.0 << 2.0 << true;
        QTest::newRow("150 mm") << 150.0 << 0.0 << true;
        QTest::newRow("A4") << 297.0 << 0.0 << true;
    }
    void printsOnAnyPage()
    {
        QFETCH(qreal, heightMm);
        QFETCH(qreal, over);
        QFETCH(bool, printed);
        Scratch work;
        const auto doc = lossReport(40, 1200);
        TextPrinter printer;
        if (heightMm > 0) {
            printer.setPageSize(QPageSize(QSizeF(210, heightMm), QPageSize::Millimeter));
            printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        } else {
            printer.setResolution(72);   // a point to a pixel
            const qreal number = 1.5 * QFontMetricsF(doc->defaultFont(), &printer).height();
            printer.setPageSize(QPageSize(QSize(1200, qCeil(tallestRowUnderHeader(doc.get()) + over + number)), "", QPageSize::ExactMatch));
            printer.setPageMargins(QMarginsF(), QPageLayout::Point);
        }
        work.clear();
        printDocument(doc.get(), &printer);
        QCOMPARE(work.warnings(), printed ? QStringList() : QStringList("Предупреждение|Страница слишком мала для печати"));
        QCOMPARE(printer.pages.isEmpty(), !printed);
        if (heightMm == 0 && printed) {
            QVERIFY(printer.pages.size() > 1);
            QVERIFY(printer.pages[0].value(printer.pages[0].size() - 1).text.startsWith("Расчетный период"));
            QVERIFY(printer.pages[1].value(0).text.startsWith("Линия"));
        }
    }

    // The preview of a page made too small shows no page of the page size
    // before: one empty page.
    void previewOfATooSmallPage()
    {
        Scratch work;
        const auto doc = paramReport(12, 700);
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QPrintPreviewWidget preview(&printer);
        connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* target) { printDocument(doc.get(), target); });
        preview.updatePreview();
        QVERIFY(preview.pageCount() > 1);
        printer.setPageMargins(QMarginsF(10, 150, 10, 150), QPageLayout::Millimeter);
        work.clear();
        preview.updatePreview();
        QCOMPARE(work.warnings(), QStringList("Предупреждение|Страница слишком мала для печати"));
        QCOMPARE(preview.pageCount(), 1);
    }

    // The example network's RES loss reports and line parameters reports,
    // printed as the viewer prints them on A4 with all four margins alike:
    // each line of text whole on one page with every number it holds, a
    // table's header rows on each page of its rows and the heading right
    // above a table on the page of its first row (or the page before, where
    // they cannot share one). The warning comes, with nothing printed, only
    // where a row cannot fit under its table's header rows. Whatever width
    // the document was laid out at before, it is printed at the printer's.
    void printsEveryLineOnce_data()
    {
        QTest::addColumn<QString>("nres");
        QTest::addColumn<bool>("losses");
        QTest::addColumn<int>("margin");
        QTest::addColumn<bool>("landscape");
        for (const char* nres : {"1", "3"})
            for (bool losses : {true, false})
                for (int margin : {10, 25, 40, 50, 60, 64, 70, 82, 95})
                    for (bool landscape : {false, true})
                        if (losses || *nres == '3' || margin <= 60)
                            QTest::addRow("%s, RES %s, %d mm, %s", losses ? "losses" : "line", nres, margin,
                                          landscape ? "landscape" : "portrait")
                                << QString(nres) << losses << margin << landscape;
    }
    void printsEveryLineOnce()
    {
        QFETCH(QString, nres);
        QFETCH(bool, losses);
        QFETCH(int, margin);
        QFETCH(bool, landscape);
        Scratch work;
        work.copyExamples();
        const auto restore = qScopeGuard([] { pNameRas.clear(); });
        const QString res = nres == "1" ? "Заречный РЭС" : "Приозерный РЭС";
        NPES = "1", NRES = nres, NLIN = "1", pMec = "1", pYear = "2026", TmRas = 31, pNameRas = QStringList{res};
        const QString line = nres == "1" ? "ВЛ 110 кВ Заречная - Сосновка с отпайками"
                                         : "ВЛ 110 кВ Приозерная - Рыбацкая с отпайкой на ПС Лесная";
        const QString name = losses ? "Потери в сети 35-220 кВ " + res : "Параметры линии " + line;
        QVERIFY(losses ? HtmlBody(name, "Январь 2026 года", lossReportBody(poteriRowsRES(runLossRES("1", nres, CalcTables::read())),
                                                                           lossCaptionRES(-14.5)), 0)
                       : ParamLineReport(line));
        QScopedPointer<CViewHtml> viewer(new CViewHtml(name, "html"));
        QScopedPointer<QTextDocument> doc(viewer->createPrintDocument());
        TextPrinter printer;
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
        doc->setTextWidth(margin < 40 ? -1 : landscape ? 3000 : 300);   // unwrapped, wider, narrower
        work.clear();
        printDocument(doc.data(), &printer);
        QCOMPARE(doc->textWidth(), qreal(printer.width()));
        if (!work.warnings().isEmpty()) {
            QCOMPARE(work.warnings(), QStringList("Предупреждение|Страница слишком мала для печати"));
            QCOMPARE(printer.pages.size(), 0);
            QVERIFY(tallestRowUnderHeader(doc.data()) > printer.room(doc.data()) - 2);
            return;
        }

        QHash<int, QTextTable*> headings;   // by the paragraph's block number
        for (QTextFrame* table : doc->rootFrame()->childFrames()) {
            QTextBlock above = table->firstCursorPosition().block().previous();
            while (above.length() <= 1)
                above = above.previous();
            headings.insert(above.blockNumber(), qobject_cast<QTextTable*>(table));
        }
        QHash<QTextTable*, QVector<int>> rowPages, headerPages, headingPages;
        const QRegularExpression notDigits("\\D+");   // every number, digit run by digit run
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            const QPointF at = doc->documentLayout()->blockBoundingRect(block).topLeft();
            QTextTable* table = QTextCursor(block).currentTable();
            const bool header = table && table->cellAt(block.position()).row() < table->format().headerRowCount();
            for (int i = 0; i < block.layout()->lineCount(); ++i) {
                const QTextLine line = block.layout()->lineAt(i);
                const QString text = block.text().mid(line.textStart(), line.textLength());
                if (text.trimmed().isEmpty())
                    continue;
                QVector<int> pages;
                QString printed;
                for (int p = 0; p < printer.pages.size(); ++p)
                    for (const TextPrinter::Piece& piece : printer.pages[p])
                        if (piece.whole && line.rect().translated(at).contains(piece.at)) {
                            printed += piece.text;
                            if (!pages.contains(p))
                                pages.append(p);
                        }
                QVERIFY2(header || pages.size() == 1, qPrintable(text));
                if (!header)
                    QCOMPARE(printed.split(notDigits, Qt::SkipEmptyParts), text.split(notDigits, Qt::SkipEmptyParts));
                auto& seen = header ? headerPages[table] : table ? rowPages[table] : headingPages[headings.value(block.blockNumber())];
                for (int p : pages)
                    if (!seen.contains(p))
                        seen.append(p);
            }
        }
        for (QTextTable* table : rowPages.keys()) {
            QCOMPARE(headerPages[table], rowPages[table]);
            const int first = rowPages[table].first();
            QVERIFY(headingPages[table] == QVector<int>{first} || headingPages[table] == QVector<int>{first - 1});
        }
    }
};

QTEST_MAIN(TestPrintPages)
#include "tst_printpages.moc"
