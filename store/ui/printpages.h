#pragma once
// Printed pages of a report. The document is laid out once at the width of
// the printed area; one that still comes out wider (a table whose words
// cannot wrap any further) is printed smaller, the whole of it at one
// scale, so that no column is lost. It is cut between lines and between
// table rows, never through a row that fits on a page; a heading goes with
// its table where they fit on a page together; a table that goes on to the
// next page has its header rows repeated at the top of that page; nothing
// is painted outside the printed area, so no table colour reaches the
// margins or the space under a table's last row on a page.

#include <QRectF>
#include <QVector>

class QPainter;
class QPrinter;
class QTextDocument;

// A stretch of the laid-out document, top to bottom.
struct PrintSlice
{
    qreal top = 0;
    qreal bottom = 0;
};
// What one page shows, one stretch under the other: a table's repeated
// header rows, then the page's own part of the document.
using PrintPage = QVector<PrintSlice>;

// The pages of doc, laid out at its present text width, each at most height
// high: at least one page, none when height is not above 0. A heading stays
// on the page of the table under it, with its header and first row, and a
// table's closing caption on the page of its last row, unless they do not
// fit on one page together (a heading then ends the page before). A piece
// taller than height (one line, one row with the header rows above it) is
// printed cut on a page of its own, and the next page begins under it.
QVector<PrintPage> paginate(QTextDocument* doc, qreal height);

// Paints page of doc into area of painter, clipped to it.
void paintPage(QPainter* painter, QTextDocument* doc, const PrintPage& page, const QRectF& area);

// Prints doc on printer (the pages it asks for, all when it asks for none),
// with the page number under the text of each page. doc is laid out anew at
// the printer's width and printed at the scale at which its widest table
// fits that width; the pages are cut at that scale, the page number keeps
// its size. A page that leaves no room for text above the page number, or
// too little for a line or for a row under its table's header rows, prints
// nothing and warns "Страница слишком мала для печати" ("Предупреждение").
void printDocument(QTextDocument* doc, QPrinter* printer);
