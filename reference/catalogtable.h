#pragma once
// What the catalog and load-graph editors share. Their table widget is the
// only copy of the rows until the user saves: every row keeps its cells
// together whatever the user sorts, and a save writes the rows in the order
// the user sees them.

#include "store/readregim.h"

#include <QString>
#include <QStringList>

#include <functional>

class QTableWidget;
class QWidget;

// Registers the editors' icons; the forms need them before they are built.
void initReferenceResources();

// A table file as an editor reads and writes it whole.
struct TableFile
{
    QString stem;         // "kat_lin" for ZORVAN_PATH + "kat_lin.xml"
    QStringList names;    // the attributes, in column order
    QString rowElement;
    QString rootElement;
};

// Fills the table with one text item per value, rows in file order, and
// leaves it sortable by a click on a header without sorting it now. dress,
// when given, finishes each row while sorting is off.
void fillTable(QTableWidget* table, const Table& rows, int columns,
               const std::function<void(int row)>& dress = {});

// The text of a cell; a cell without an item reads as "".
QString cellText(const QTableWidget* table, int row, int column);

// The texts of cells of a row, columns 0 to columns - 1.
QStringList rowTexts(const QTableWidget* table, int row, int columns);

// The texts of every row, shown or hidden, in the table's present order.
Table tableRows(const QTableWidget* table, int columns);

// The current row when there is one and the user can see it; else -1.
int shownCurrentRow(const QTableWidget* table);

// Scrolls to the row, selects it and gives the table the focus.
void showRow(QTableWidget* table, int row, int column = 0);

// Appends a row of text items with sorting off; dress, when given, finishes
// the new row before the table sorts it in. Gives the row's final place.
int appendRow(QTableWidget* table, const QStringList& texts,
              const std::function<void(int row)>& dress = {});

// The copy of the current row the user sees, appended; gives its place, -1
// when there is no such row.
int copyCurrentRow(QTableWidget* table, int columns);

// Asks "Удалить запись" and on Yes removes the current row the user sees.
// No row is current afterwards, so none is left that the user did not pick.
// Gives the index the row had, -1 when nothing was removed.
int deleteCurrentRow(QTableWidget* table);

// The stepwise search of the catalog editors: repeated requests with the same
// text step down through the shown rows whose column holds it (any case).
// With no hit below the last one a request finds nothing and leaves the
// selection, and the next starts at the top; after a hit in the bottom row
// the next request starts at the top at once.
struct RowSearch
{
    QString text;   // lower case
    int row = 0;    // last hit, -1 after a search that found nothing
};
void findNextRow(QTableWidget* table, int column, const QString& text, RowSearch& search);

// Writes the rows over the file unless the editor's read of it was damaged;
// "Данные сохранены" only after a write that succeeded. Returns whether it wrote.
bool saveTable(const TableFile& file, const Table& rows, bool damagedRead, QWidget* parent);

// The rows an editor read or last wrote, so that closing asks only when there
// is something to lose. Rows are compared as contents, whatever their order:
// a sort, an edit undone by hand or a cell only opened and left is no change.
class SavedRows
{
public:
    void keep(const Table& rows);
    bool differ(const Table& rows) const;
    // saveTable, and the rows are the saved ones when it wrote.
    bool save(const TableFile& file, const Table& rows, bool damagedRead, QWidget* parent);
    // Whether the editor of table may close (mayClose): asks when its rows,
    // a value still being typed into a cell included, differ from these.
    bool mayCloseEditor(QTableWidget* table, const std::function<Table()>& rows,
                        const std::function<bool()>& save) const;

private:
    Table m_rows;   // sorted
};
