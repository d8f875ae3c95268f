// Printed pages of a report: cut between rows, the header rows again on each
// further page, as few pages as the rows need, nothing painted outside.

#include "store/SaveInfo.h"
#include "store/ui/printpages.h"
#include "storetest.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace {

using Span = QPair<qreal, qreal>;   // top and bottom

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
    QFile file(reportFilePath("Отчет"));
    auto doc = std::make_unique<QTextDocument>();
    if (file.open(QIODevice::ReadOnly))
        doc->setHtml(QString::fromUtf8(file.readAll()));
    doc->setTextWidth(width);
    return doc;
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

qreal pageHeight(const PrintPage& page)
{
    qreal height = 0;
    for (const PrintSlice& slice : page)
        height += slice.bottom - slice.top;
    return height;
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
            // reaches halfway to the next row's text.
            const int p = int(page - own.cbegin());
            const qreal end = r + 1 < table->rows() ? (name.second + cellText(doc.get(), table->cellAt(r + 1, 0)).first) / 2
                                                    : tableBox.bottom();
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
};

QTEST_MAIN(TestPrintPages)
#include "tst_printpages.moc"
