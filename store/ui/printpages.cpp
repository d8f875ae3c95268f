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

// How firmly a cut keeps what lies on either side of it together: not at
// all; between the headings above a table; between the lines of a paragraph
// (the layout draws the line above its clip in a paragraph that reaches
// into it, so a page that begins inside a paragraph holds that line hidden
// once more); between a table and its closing caption; between a table and
// the heading right above it, which are printed apart only when they do not
// fit on one page together.
enum Keep { Anywhere, AmongHeadings, InParagraph, ByCaption, ByHeading };

// A place where a page may end; a page that begins there repeats the
// header rows of heads[head] first (none for -1). A page ends at the
// furthest cut that fits among those that keep least.
//
// A cut of the heading right above a table keeps only as firmly as apart on
// a page lower than group, the height of the heading with the table's
// header rows and first row: the heading then stays at the foot of its
// page, and the next page begins at the table's top (tableTop), past the
// white space between them.
struct Cut
{
    qreal y;
    int head;
    Keep keep = Anywhere;
    Keep apart = Anywhere;
    qreal group = 0;
    qreal tableTop = 0;

    Keep keepOn(qreal height) const { return keep == ByHeading && group > height ? apart : keep; }
    // Where the page after this cut begins.
    qreal next() const { return qMax(y, tableTop); }
};

// The cuts of a laid-out document in order, its tables' header rows, its end.
struct Cuts
{
    QVector<Cut> cuts;
    QVector<PrintSlice> heads;
    qreal end = 0;

    qreal headHeight(int head) const { return head >= 0 ? heads.at(head).bottom - heads.at(head).top : 0; }
};

// Between the lines of a paragraph, and under it. Cuts fall on whole pixels,
// so that the parts of a page join without a seam.
void addBlockCuts(const QTextBlock& block, QAbstractTextDocumentLayout* layout, QVector<Cut>* cuts)
{
    const qreal top = layout->blockBoundingRect(block).top();
    const QTextLayout* lines = block.layout();
    for (int i = 0; i < lines->lineCount(); ++i)
        cuts->append({std::round(top + lines->lineAt(i).rect().bottom()), -1,
                      i + 1 < lines->lineCount() ? InParagraph : Anywhere});
}

// Between the rows of a table below its header rows, where no cell spans
// across, and under the table. The border between two rows lies halfway
// between their texts, the cells' paddings being alike above and below.
// Returns the table's top.
qreal addTableCuts(QTextTable* table, QAbstractTextDocumentLayout* layout, QVector<Cut>* cuts,
                   QVector<PrintSlice>* heads)
{
    const int rows = table->rows();
    if (rows == 0)
        return layout->frameBoundingRect(table).top();
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
    return std::floor(top);
}

// One piece of the root frame and the cuts it gave, [first, end).
struct Piece
{
    bool table = false;
    bool heading = false;
    int first = 0;
    int end = 0;
    qreal top = 0;   // of a table
};

// Headings stay with their table: the heading right above a table (only
// empty paragraphs between) goes to the page of its header and first row,
// and so do the headings above it while they fit there; the headings right
// under a table that no table follows are its caption and go to the page
// of its last row.
void keepAroundTables(const QVector<Piece>& pieces, QVector<Cut>* cuts)
{
    auto keep = [&](int from, int to, Keep level) {
        for (int c = from; c < to; ++c)
            (*cuts)[c].keep = qMax((*cuts)[c].keep, level);
    };
    for (int i = 0; i < pieces.size(); ++i) {
        if (!pieces.at(i).table)
            continue;
        if (i > 0 && pieces.at(i - 1).heading && pieces.at(i).end > pieces.at(i).first) {
            const Piece& heading = pieces.at(i - 1);
            const qreal top = heading.first > 0 ? cuts->at(heading.first - 1).next() : 0;
            for (int c = heading.first; c < heading.end; ++c) {
                (*cuts)[c].apart = cuts->at(c).keep;
                (*cuts)[c].group = cuts->at(pieces.at(i).first).y - top;
            }
            (*cuts)[heading.end - 1].tableTop = pieces.at(i).top;
        }
        for (int j = i - 1; j >= 0 && pieces.at(j).heading; --j)
            keep(pieces.at(j).first, pieces.at(j).end, j == i - 1 ? ByHeading : AmongHeadings);
        int after = i + 1;
        while (after < pieces.size() && pieces.at(after).heading)
            ++after;
        const bool caption = after > i + 1 && (after == pieces.size() || !pieces.at(after).table);
        if (caption && pieces.at(i).end > pieces.at(i).first) {
            keep(pieces.at(i).end - 1, pieces.at(i).end, ByCaption);                 // under the table
            keep(pieces.at(i + 1).first, pieces.at(after - 1).end - 1, ByCaption);   // within the caption
        }
    }
}

Cuts findCuts(QTextDocument* doc)
{
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    Cuts found;
    QVector<Cut>& cuts = found.cuts;
    QVector<Piece> pieces;
    for (QTextFrame::iterator it = doc->rootFrame()->begin(); !it.atEnd(); ++it) {
        Piece piece;
        piece.first = cuts.size();
        if (QTextFrame* frame = it.currentFrame()) {
            if (auto* table = qobject_cast<QTextTable*>(frame)) {
                piece.top = addTableCuts(table, layout, &cuts, &found.heads);
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
    keepAroundTables(pieces, &cuts);
    found.end = layout->documentSize().height();
    cuts.append({found.end, -1});
    std::stable_sort(cuts.begin(), cuts.end(), [](const Cut& a, const Cut& b) { return a.y < b.y; });
    return found;
}

// The least page height on which paginate cuts no piece: the tallest line,
// or row under its table's header rows. A heading too high to go with its
// table is printed apart from it, not cut.
qreal leastPageHeight(const Cuts& found)
{
    qreal least = 0;
    Cut from{0, -1};
    for (const Cut& cut : found.cuts) {
        least = qMax(least, cut.y - from.next() + found.headHeight(from.head));
        from = cut;
    }
    return least;
}

QVector<PrintPage> paginate(const Cuts& found, qreal height)
{
    QVector<PrintPage> pages;
    // No height, no page: each page would begin where the last one did.
    if (!(height > 0))
        return pages;

    const QVector<Cut>& cuts = found.cuts;
    const qreal end = found.end;

    // The furthest cut after start and at most at limit among those of the
    // lowest keep there; null when none.
    auto furthest = [&](qreal start, qreal limit) -> const Cut* {
        auto it = std::upper_bound(cuts.cbegin(), cuts.cend(), limit, [](qreal y, const Cut& c) { return y < c.y; });
        const Cut* best = nullptr;
        while (it != cuts.cbegin() && (it - 1)->y > start + 0.5) {
            --it;
            if (!best || it->keepOn(height) < best->keepOn(height))
                best = &*it;
        }
        return best;
    };

    qreal start = 0;
    int head = -1;
    while (start < end - 0.5 || pages.isEmpty()) {
        PrintPage page;
        // The header rows stand above the rest of their table on every page;
        // only a page too low for them and the next row has the row alone.
        const qreal headHeight = found.headHeight(head);
        bool repeat = head >= 0;
        const Cut* cut = furthest(start, start + height - headHeight);
        if (!cut && repeat && (cut = furthest(start, start + height)))
            repeat = false;
        if (repeat)
            page.append(found.heads.at(head));
        qreal stop;
        qreal next;
        if (cut) {
            stop = cut->y;
            next = cut->next();
            head = cut->head;
        } else {
            // A piece taller than the page is printed on a page of its own,
            // cut where the page ends; the next page begins under it.
            const Cut* after = std::upper_bound(cuts.cbegin(), cuts.cend(), start + 0.5,
                                                [](qreal y, const Cut& c) { return y < c.y; });
            stop = start + height - (repeat ? headHeight : 0);
            next = after != cuts.cend() ? after->next() : end;
            head = after != cuts.cend() ? after->head : -1;
        }
        page.append({start, qMin(stop, end)});
        pages.append(page);
        start = next;
    }
    return pages;
}

} // namespace

QVector<PrintPage> paginate(QTextDocument* doc, qreal height)
{
    return paginate(findCuts(doc), height);
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
    const bool room = text.width() > 0 && text.height() > 0;
    // A table whose words cannot wrap any further comes out wider than the
    // page: the whole document is printed smaller, at one scale, so that its
    // widest table fits and no column is lost at the right edge. The pages
    // are cut at that scale; the page number keeps its size.
    qreal scale = 1;
    if (room) {
        doc->setTextWidth(text.width());
        const qreal width = doc->documentLayout()->documentSize().width();
        if (width > text.width())
            scale = text.width() / width;
    }
    const QRectF area(0, 0, text.width() / scale, text.height() / scale);   // in the document's units
    // Checked before painting begins, so that not even an empty page comes
    // out: a page that cannot hold each line and each row of a table under
    // its header rows would lose or cut them.
    const Cuts cuts = room ? findCuts(doc) : Cuts();
    if (!room || area.height() < leastPageHeight(cuts)) {
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
    const QVector<PrintPage> pages = paginate(cuts, area.height());

    const int first = printer->fromPage() > 0 ? qMin(printer->fromPage(), pages.size()) - 1 : 0;
    const int last = printer->toPage() > 0 ? qMin(printer->toPage(), pages.size()) - 1 : pages.size() - 1;
    for (int i = first; i <= last; ++i) {
        if (i != first)
            printer->newPage();
        painter.save();
        painter.scale(scale, scale);
        paintPage(&painter, doc, pages.at(i), area);
        painter.restore();
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, printer->height() - numberHeight, printer->width(), numberHeight),
                         Qt::AlignRight | Qt::AlignBottom, QString::number(i + 1));
    }
}
