#include "printpages.h"

#include "store/messages.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPaintEngine>
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
// header rows of heads[head] first (none for -1). A page ends at a soft cut
// only when no other cut fits: between a heading and the table it belongs
// to, or between a table and its closing caption.
struct Cut
{
    qreal y;
    int head;
    bool soft = false;
};

// Between the lines of a paragraph, and under it. Cuts fall on whole pixels,
// so that the parts of a page join without a seam.
void addBlockCuts(const QTextBlock& block, QAbstractTextDocumentLayout* layout, QVector<Cut>* cuts)
{
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

// One piece of the root frame and the cuts it gave, [first, end).
struct Piece
{
    bool table = false;
    bool heading = false;
    int first = 0;
    int end = 0;
};

// Headings stay with their table: the headings right above a table (only
// empty paragraphs between) go to the page of its header and first row; the
// headings right under a table that no table follows are its caption and go
// to the page of its last row.
void softenAroundTables(const QVector<Piece>& pieces, QVector<Cut>* cuts)
{
    auto soften = [&](int from, int to) {
        for (int c = from; c < to; ++c)
            (*cuts)[c].soft = true;
    };
    for (int i = 0; i < pieces.size(); ++i) {
        if (!pieces.at(i).table)
            continue;
        for (int j = i - 1; j >= 0 && pieces.at(j).heading; --j)
            soften(pieces.at(j).first, pieces.at(j).end);
        int after = i + 1;
        while (after < pieces.size() && pieces.at(after).heading)
            ++after;
        const bool caption = after > i + 1 && (after == pieces.size() || !pieces.at(after).table);
        if (caption && pieces.at(i).end > pieces.at(i).first) {
            soften(pieces.at(i).end - 1, pieces.at(i).end);                 // under the table
            soften(pieces.at(i + 1).first, pieces.at(after - 1).end - 1);   // within the caption
        }
    }
}

} // namespace

QVector<PrintPage> paginate(QTextDocument* doc, qreal height)
{
    QVector<PrintPage> pages;
    // No height, no page: each page would begin where the last one did.
    if (!(height > 0))
        return pages;

    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    QVector<Cut> cuts;
    QVector<PrintSlice> heads;
    QVector<Piece> pieces;
    for (QTextFrame::iterator it = doc->rootFrame()->begin(); !it.atEnd(); ++it) {
        Piece piece;
        piece.first = cuts.size();
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                addTableCuts(table, layout, &cuts, &heads);
                piece.table = true;
            } else {
                cuts.append({std::round(layout->frameBoundingRect(frame).bottom()), -1});
            }
        } else {
            const QTextBlock block = it.currentBlock();
            // The empty paragraphs the document keeps beside a table lie over
            // its edge, and part no heading from its table.
            if (block.length() <= 1)
                continue;
            addBlockCuts(block, layout, &cuts);
            piece.heading = block.blockFormat().headingLevel() > 0;
        }
        piece.end = cuts.size();
        pieces.append(piece);
    }
    softenAroundTables(pieces, &cuts);
    const qreal end = layout->documentSize().height();
    cuts.append({end, -1});
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.y < b.y; });

    // The furthest cut after start and at most at limit: one that is not
    // soft when there is such, else a soft one; null when none.
    auto furthest = [&](qreal start, qreal limit) -> const Cut* {
        auto it = std::upper_bound(cuts.cbegin(), cuts.cend(), limit, [](qreal y, const Cut& c) { return y < c.y; });
        const Cut* soft = nullptr;
        while (it != cuts.cbegin() && (it - 1)->y > start + 0.5) {
            --it;
            if (!it->soft)
                return &*it;
            if (!soft)
                soft = &*it;
        }
        return soft;
    };

    qreal start = 0;
    int head = -1;
    while (start < end - 0.5 || pages.isEmpty()) {
        PrintPage page;
        // A header that would fill half the page is not worth repeating; nor
        // is one that leaves no room for the row that a page of its own holds.
        const qreal headHeight = head >= 0 ? heads.at(head).bottom - heads.at(head).top : 0;
        bool repeat = head >= 0 && headHeight < height / 2;
        const Cut* cut = furthest(start, start + height - (repeat ? headHeight : 0));
        if (!cut && repeat && (cut = furthest(start, start + height)))
            repeat = false;
        if (repeat)
            page.append(heads.at(head));
        qreal stop;
        qreal next;
        if (cut) {
            stop = next = cut->y;
            head = cut->head;
        } else {
            // A piece taller than the page is printed on a page of its own,
            // cut where the page ends; the next page begins under it.
            const Cut* after = std::upper_bound(cuts.cbegin(), cuts.cend(), start + 0.5,
                                                [](qreal y, const Cut& c) { return y < c.y; });
            stop = start + height - (repeat ? headHeight : 0);
            next = after != cuts.cend() ? after->y : end;
            head = after != cuts.cend() ? after->head : -1;
        }
        page.append({start, qMin(stop, end)});
        pages.append(page);
        start = next;
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
        // The layout draws every line that touches its clip: the lines that
        // end or begin where the slice does (or half a pixel over, the cuts
        // being rounded) would go into the output again, hidden by the
        // painter's clip but there to be found and copied. A pixel inside,
        // they stay out.
        const qreal inside = qMin<qreal>(1, clip.height() / 4);
        context.clip = clip.adjusted(0, inside, 0, -inside);
        doc->documentLayout()->draw(painter, context);
        painter->restore();
        y += slice.bottom - slice.top;
    }
}

void printDocument(QTextDocument* doc, QPrinter* printer)
{
    const qreal numberHeight = QFontMetricsF(doc->defaultFont(), printer).height();
    const QRectF text(0, 0, printer->width(), printer->height() - 1.5 * numberHeight);
    // Checked before painting begins, so that not even an empty page comes out.
    if (!(text.width() > 0) || !(text.height() > 0)) {
        ShowWarning(QStringLiteral("Предупреждение"), QStringLiteral("Страница слишком мала для печати"));
        // The print preview paints through a picture engine and keeps the
        // pages it last got until a painter begins on it: it shows one empty
        // page then, not the pages of the page size before.
        if (printer->paintEngine() && printer->paintEngine()->type() == QPaintEngine::Picture)
            QPainter(printer).end();
        return;
    }
    QPainter painter(printer);
    if (!painter.isActive())
        return;
    painter.setFont(doc->defaultFont());
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
