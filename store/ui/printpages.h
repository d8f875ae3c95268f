#pragma once
// Printed pages of a report. The document is laid out once at the width of
// the printed area and cut between lines and between table rows, never
// through a row; a table that goes on to the next page has its header rows
// repeated at the top of that page; nothing is painted outside the printed
// area, so no table colour reaches the margins or the space under a table's
// last row on a page.

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
// high. Always at least one page.
QVector<PrintPage> paginate(QTextDocument* doc, qreal height);

// Paints page of doc into area of painter, clipped to it.
void paintPage(QPainter* painter, QTextDocument* doc, const PrintPage& page, const QRectF& area);

// Prints doc on printer (the pages it asks for, all when it asks for none),
// with the page number under the text of each page. doc is laid out anew at
// the printer's width.
void printDocument(QTextDocument* doc, QPrinter* printer);
