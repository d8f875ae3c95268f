#include "catalogtable.h"

#include "store/messages.h"
#include "store/ui/closing.h"
#include "store/ui/widgetmessages.h"

#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

namespace {

// Switches sorting off for its lifetime, so that the cells of a row added
// meanwhile stay together; afterwards the table sorts again by the column the
// user chose, if any.
class SortingPause
{
public:
    explicit SortingPause(QTableWidget* table)
        : m_table(table)
        , m_sorting(table->isSortingEnabled())
    {
        m_table->setSortingEnabled(false);
    }
    ~SortingPause() { m_table->setSortingEnabled(m_sorting); }
    SortingPause(const SortingPause&) = delete;
    SortingPause& operator=(const SortingPause&) = delete;

private:
    QTableWidget* m_table;
    bool m_sorting;
};

} // namespace

static bool registerReferenceIcons()
{
    initZorvanResources();
    Q_INIT_RESOURCE(reference);
    return true;
}

void initReferenceResources()
{
    // A local static is made once, on the first call.
    static const bool registered = registerReferenceIcons();
    Q_UNUSED(registered);
}

void fillTable(QTableWidget* table, const Table& rows, int columns,
               const std::function<void(int row)>& dress)
{
    table->setSortingEnabled(false);
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < columns; ++c)
            table->setItem(r, c, new QTableWidgetItem(rows.at(r).value(c)));
        if (dress)
            dress(r);
    }
    // No sort column until the user clicks a header: the rows stand as in the file.
    table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table->setSortingEnabled(true);
}

QString cellText(const QTableWidget* table, int row, int column)
{
    const QTableWidgetItem* item = table->item(row, column);
    return item ? item->text() : QString();
}

QStringList rowTexts(const QTableWidget* table, int row, int columns)
{
    QStringList texts;
    texts.reserve(columns);
    for (int c = 0; c < columns; ++c)
        texts.append(cellText(table, row, c));
    return texts;
}

Table tableRows(const QTableWidget* table, int columns)
{
    Table rows;
    rows.reserve(table->rowCount());
    for (int r = 0; r < table->rowCount(); ++r)
        rows.append(rowTexts(table, r, columns));
    return rows;
}

int shownCurrentRow(const QTableWidget* table)
{
    const int row = table->currentRow();
    if (row < 0 || row >= table->rowCount() || table->isRowHidden(row))
        return -1;
    return row;
}

void showRow(QTableWidget* table, int row, int column)
{
    if (row < 0 || row >= table->rowCount())
        return;
    if (QTableWidgetItem* item = table->item(row, column))
        table->scrollToItem(item);
    table->selectRow(row);
    table->setFocus();
}

int appendRow(QTableWidget* table, const QStringList& texts,
              const std::function<void(int row)>& dress)
{
    QPersistentModelIndex added;
    {
        const SortingPause pause(table);
        const int row = table->rowCount();
        table->insertRow(row);
        for (int c = 0; c < texts.size(); ++c)
            table->setItem(row, c, new QTableWidgetItem(texts.at(c)));
        if (dress)
            dress(row);
        added = table->model()->index(row, 0);
    }
    return added.row();
}

int copyCurrentRow(QTableWidget* table, int columns)
{
    const int source = shownCurrentRow(table);
    return source < 0 ? -1 : appendRow(table, rowTexts(table, source, columns));
}

int deleteCurrentRow(QTableWidget* table)
{
    if (MsgBox(QStringLiteral("Удалить запись"), QStringLiteral("Удаление")))
        return -1;
    const int row = shownCurrentRow(table);
    if (row < 0)
        return -1;
    table->removeRow(row);
    table->setCurrentCell(-1, -1);
    return row;
}

void findNextRow(QTableWidget* table, int column, const QString& text, RowSearch& search)
{
    const QString needle = text.toLower();
    int start = 0;
    if (needle == search.text) {
        start = search.row + 1;
    } else {
        search.text = needle;
    }
    if (start >= table->rowCount()) {
        if (table->rowCount() == 0) {
            search.row = -1;
            return;
        }
        start = 0;
    }
    for (int r = start; r < table->rowCount(); ++r) {
        if (table->isRowHidden(r) || !cellText(table, r, column).toLower().contains(needle))
            continue;
        search.row = r;
        showRow(table, r, column);
        return;
    }
    search.row = -1;
}

bool saveTable(const TableFile& file, const Table& rows, bool damagedRead, QWidget* parent)
{
    if (damagedRead) {
        // The rows after the damage never reached the table; writing it
        // would lose them.
        ShowWarning(QStringLiteral("Предупреждение"),
                    "Ошибка чтения файла " + ZORVAN_PATH + file.stem + ".xml", parent);
        return false;
    }
    if (!saveShablonXML(file.stem, file.names, file.rowElement, file.rootElement, rows))
        return false;
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"), parent);
    return true;
}

static Table sortedRows(Table rows)
{
    std::sort(rows.begin(), rows.end());
    return rows;
}

void SavedRows::keep(const Table& rows)
{
    m_rows = sortedRows(rows);
}

bool SavedRows::differ(const Table& rows) const
{
    return sortedRows(rows) != m_rows;
}

bool SavedRows::save(const TableFile& file, const Table& rows, bool damagedRead, QWidget* parent)
{
    if (!saveTable(file, rows, damagedRead, parent))
        return false;
    keep(rows);
    return true;
}

bool SavedRows::mayCloseEditor(QTableWidget* table, const std::function<Table()>& rows,
                               const std::function<bool()>& save) const
{
    commitCellEditor(table);
    return mayClose(table->window(), differ(rows()), save);
}
