#include "printpages.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A place where a page may end; a page that begins there repeats the
// header rows of heads[head] first (none for -1).
struct Cut
{
    qreal y;
    int head;
};

// Between the lines of a paragraph, and under it. Cuts fall on whole pixels,
// so that the parts of a page join without a seam.
void addBlockCuts(const QTextBlock& block, QAbstractTextDocumentLayout* layout, QVector<Cut>* cuts)
{
    // The empty paragraphs the document keeps beside a table lie over its edge.
    if (block.length() <= 1)
        return;
    const qreal top = layout->blockBoundingRect(block).top();
    const QTextLayout* lines = block.layout();
    for (int i = 0; i < lines->lineCount(); ++i)
        cuts->append({std::round(top + lines->lineAt(i).rect().bottom()), -1});
}

// Between the rows of a table below its header rows, where no cell spans
// across, and under the table. The border between two rows lies halfway
// between their texts, the cells' paddings being alike above and below.
void addTableCuts(QTextTable* table, QAbstractTextDocumentLayout* layout, QVector<Cut>* cuts,
                  QVector<PrintSlice>* heads)
{
    const int rows = table->rows();
    if (rows == 0)
        return;
    const qreal none = std::numeric_limits<qreal>::quiet_NaN();
    QVector<qreal> textTop(rows, none), textBottom(rows, none);
    QVector<bool> spanned(rows + 1, false);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < table->columns(); ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            const qreal top = layout->blockBoundingRect(cell.firstCursorPosition().block()).top();
            const qreal bottom = layout->blockBoundingRect(cell.lastCursorPosition().block()).bottom();
            const int last = r + cell.rowSpan() - 1;
            textTop[r] = std::isnan(textTop[r]) ? top : qMin(textTop[r], top);
            textBottom[last] = std::isnan(textBottom[last]) ? bottom : qMax(textBottom[last], bottom);
            for (int b = r + 1; b <= last; ++b)
                spanned[b] = true;
        }
    }
    auto border = [&](int r) {
        return spanned[r] ? none : std::round((textBottom[r - 1] + textTop[r]) / 2);   // NaN when a side is empty
    };

    // The table's outer borders lie a cell padding and two borders (the
    // cell's and the table's) beyond its first and last texts, and a pixel
    // more is kept for the line's antialiasing.
    const QTextTableFormat format = table->format();
    const qreal edge = format.cellPadding() + format.cellSpacing() + 2 * format.border() + 1;
    const QRectF box = layout->frameBoundingRect(table);
    const qreal top = std::isnan(textTop[0]) ? box.top() : textTop[0] - edge;
    const qreal bottom = std::isnan(textBottom[rows - 1]) ? box.bottom() : textBottom[rows - 1] + edge;
    const int headRows = qBound(0, format.headerRowCount(), rows - 1);
    int head = -1;
    if (headRows > 0) {
        const qreal y = border(headRows);
        if (!std::isnan(y)) {
            heads->append({std::floor(top), y});
            head = heads->size() - 1;
        }
    }
    for (int r = headRows + 1; r < rows; ++r) {
        const qreal y = border(r);
        if (!std::isnan(y))
            cuts->append({y, head});
    }
    cuts->append({std::ceil(bottom), -1});
}

} // namespace

QVector<PrintPage> paginate(QTextDocument* doc, qreal height)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    QVector<Cut> cuts;
    QVector<PrintSlice> heads;
    for (QTextFrame::iterator it = doc->rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame))
                addTableCuts(table, layout, &cuts, &heads);
            else
                cuts.append({std::round(layout->frameBoundingRect(frame).bottom()), -1});
        } else {
            addBlockCuts(it.currentBlock(), layout, &cuts);
        }
    }
    const qreal end = layout->documentSize().height();
    cuts.append({end, -1});
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.y < b.y; });

    QVector<PrintPage> pages;
    qreal start = 0;
    int head = -1;
    while (start < end - 0.5 || pages.isEmpty()) {
        PrintPage page;
        qreal room = height;
        // A header that would fill half the page is not worth repeating.
        if (head >= 0 && heads.at(head).bottom - heads.at(head).top < height / 2) {
            page.append(heads.at(head));
            room -= heads.at(head).bottom - heads.at(head).top;
        }
        // The furthest place to end the page; a piece taller than a page is
        // cut where the page ends.
        auto after = std::upper_bound(cuts.cbegin(), cuts.cend(), start + room,
                                      [](qreal y, const Cut& c) { return y < c.y; });
        qreal stop = start + room;
        if (after != cuts.cbegin() && (after - 1)->y > start + 0.5) {
            stop = (after - 1)->y;
            head = (after - 1)->head;
        }
        page.append({start, qMin(stop, end)});
        pages.append(page);
        start = stop;
    }
    return pages;
}

void paintPage(QPainter* painter, QTextDocument* doc, const PrintPage& page, const QRectF& area)
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    qreal y = area.top();
    for (const PrintSlice& slice : page) {
        const QRectF clip(0, slice.top, area.width(), slice.bottom - slice.top);
        painter->save();
        painter->translate(area.left(), y - slice.top);
        painter->setClipRect(clip);
        context.clip = clip;
        doc->documentLayout()->draw(painter, context);
        painter->restore();
        y += slice.bottom - slice.top;
    }
}

void printDocument(QTextDocument* doc, QPrinter* printer)
{
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    painter.setFont(doc->defaultFont());
    const qreal numberHeight = QFontMetricsF(doc->defaultFont(), printer).height();
    const QRectF text(0, 0, printer->width(), printer->height() - 1.5 * numberHeight);
    doc->setTextWidth(text.width());
    const QVector<PrintPage> pages = paginate(doc, text.height());

    const int first = printer->fromPage() > 0 ? qMin(printer->fromPage(), pages.size()) - 1 : 0;
    const int last = printer->toPage() > 0 ? qMin(printer->toPage(), pages.size()) - 1 : pages.size() - 1;
    for (int i = first; i <= last; ++i) {
        if (i != first)
            printer->newPage();
        paintPage(&painter, doc, pages.at(i), text);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, printer->height() - numberHeight, printer->width(), numberHeight),
                         Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
    }
}
