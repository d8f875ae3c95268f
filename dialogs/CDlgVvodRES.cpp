#include "CDlgVvodRES.h"

#include "delegate.h"
#include "dialogresources.h"

#include "store/SaveInfo.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/safefile.h"
#include "store/ui/closing.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"

#include <QHash>
#include <QHeaderView>
#include <QTableWidgetItem>

namespace {

const QString kHeaderStyle = QStringLiteral("::section{Background-color:rgb(190,190,190)}");
const QString kInfoTitle = QStringLiteral("Информация");

// Columns of the line table ("lines" order).
enum LinColumn { LinNpes = 0, LinNres = 1, LinNlin = 2, LinName = 3 };
const QVector<int> kHiddenLinColumns = {0, 1, 2, 4, 6, 7, 8, 13, 14, 15, 16};

// Columns of the node table ("uch_lin" order).
enum UchColumn {
    UchNpes = 0, UchNres = 1, UchNlin = 2, UchName = 3, UchNyzln = 5, UchNyzlk = 6,
    UchTip = 7, UchKodEl = 8, UchP = 11, UchQ = 12, UchWP = 13, UchWQ = 14, UchPodkt = 16,
    UchKey = 17
};
const QVector<int> kHiddenUchColumns = {0, 1, 2, 4, 5, 7, 9, 10, 15, 17};
// The workbook's columns A to K, taken from these node table columns.
const QVector<int> kWorkbookColumns = {UchNpes, UchNres, UchNlin, UchName, UchNyzln, UchNyzlk,
                                       UchKodEl, UchP, UchQ, UchWP, UchWQ};
const QStringList kWorkbookHeader = {"*Кодировка npes", "nres", "nzp", "название", "начало",
                                     "конец ветви", "марка", " Pнаг", "Qнаг", "WPген", "WQген"};

const QString kTransformer = QStringLiteral("2");

// Columns that name a line.
const QVector<int> kLineCodes = {LinNpes, LinNres, LinNlin};

// The workbook's columns H to K: the loads and energies.
const int kFirstLoadColumn = 7;
const int kLastLoadColumn = 10;

// A load cell as a Russian spreadsheet gives it: blanks and no-break spaces
// between digit groups, a decimal comma. The text is kept as it stands when
// it already is a number (or empty, which the tables read as 0), else kept
// as the number it spells; false when it is no number at all.
bool importedNumber(QString* text)
{
    bool plain = false;
    toNumber(*text, &plain);
    if (text->isEmpty() || plain)
        return true;
    double value = 0.0;
    if (!parseTypedNumber(*text, &value))
        return false;
    // What stands between the text and its number are group separators and a comma.
    QString number;
    for (const QChar c : qAsConst(*text)) {
        if (!c.isSpace())
            number.append(c == QLatin1Char(',') ? QLatin1Char('.') : c);
    }
    *text = number;
    return true;
}

QStringList cellTexts(const QTableWidget* table, int row)
{
    QStringList texts;
    for (int c = 0; c < table->columnCount(); ++c)
        texts.append(table->item(row, c)->text());
    return texts;
}

// Sets a cell's data, the table's sorting being off. After a sort, Qt's table
// model finds an item that moved only by a search through every cell when
// the item changes; taken out and put back, the item is known by its place.
void setCellData(QTableWidget* table, int row, int column, int role, const QVariant& value)
{
    if (table->item(row, column)->data(role) == value)
        return;
    QTableWidgetItem* item = table->takeItem(row, column);
    item->setData(role, value);
    table->setItem(row, column, item);
}

QString podktText(Qt::CheckState state)
{
    return state == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

CDlgVvodRES::CDlgVvodRES(const QString& npes, const QString& nres, const QString& name,
                         QWidget* parent)
    : QDialog(parent)
    , m_owner(parent)
    , m_npes(npes)
    , m_nres(nres)
    , m_name(name)
{
    initDialogResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(300, 160));

    connect(SaveButt, &QPushButton::clicked, this, &CDlgVvodRES::slot_saveVtv);
    connect(checkEner, &QCheckBox::clicked, this, &CDlgVvodRES::slot_CheckChanged);
    connect(Export, &QPushButton::clicked, this, &CDlgVvodRES::slot_Export);
    connect(Import, &QPushButton::clicked, this, &CDlgVvodRES::slot_Import);

    tableLIN->horizontalHeader()->setStyleSheet(kHeaderStyle);
    tableWgt->horizontalHeader()->setStyleSheet(kHeaderStyle);

    setWindowTitle("Ввод информации по линиям " + m_name);
    Export->setToolTip("Вывод информации в файл " + m_name + " - нагрузки.xlsx");
    Import->setToolTip("Считать информацию из файла " + m_name + " - нагрузки.xlsx");

    LoadVtv();
}

CDlgVvodRES::~CDlgVvodRES() = default;

QString CDlgVvodRES::workbookFile() const
{
    return ZORVAN_PATH + safeFileName(m_name) + " - нагрузки.xlsx";
}

bool CDlgVvodRES::LoadVtv()
{
    showRows(ReadShablonXML("lines", attrLin, "LIN"), ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"));

    for (int column : kHiddenLinColumns)
        tableLIN->setColumnHidden(column, true);
    for (int column : kHiddenUchColumns)
        tableWgt->setColumnHidden(column, true);
    slot_CheckChanged();

    // Every numeric cell takes a number only, a decimal comma read as a point.
    auto* podkl = new DSBDelegate(this, 0, 366, 1, 2);
    auto* coefficient = new DSBDelegate(this, 0, 1, 0.05, 2);
    auto* form = new DSBDelegate(this, 1, 2, 0.05, 2);
    // "Квых" in the range of the day-off consumption of the settings page.
    auto* dayOff = new DSBDelegate(this, 0, 2, 0.01, 2);
    tableLIN->setItemDelegateForColumn(5, podkl);
    tableLIN->setItemDelegateForColumn(9, coefficient);
    tableLIN->setItemDelegateForColumn(10, coefficient);
    tableLIN->setItemDelegateForColumn(11, form);
    tableLIN->setItemDelegateForColumn(12, dayOff);
    auto* readOnly = new NonEditTableColumnDelegate(this);
    auto* energy = new DSBDelegate(this, -999999, 999999, 1, 3);
    // A cell only opened and left keeps its text: a stored value with more
    // decimals, or beyond the editor's range, is not rounded by a click, and
    // a save does not count it as changed here.
    for (DSBDelegate* delegate : {podkl, coefficient, form, dayOff, energy})
        delegate->setWritesOnlyEdits(true);
    tableWgt->setItemDelegateForColumn(UchNyzlk, readOnly);
    tableWgt->setItemDelegateForColumn(UchKodEl, readOnly);
    for (int column : {UchP, UchQ, UchWP, UchWQ})
        tableWgt->setItemDelegateForColumn(column, energy);

    // A sort hides every hidden row again, one by one: the row header is
    // held still meanwhile, as in ShowTr (its own handler, connected when the
    // table was made, runs before these).
    QHeaderView* rowHeader = tableWgt->verticalHeader();
    connect(tableWgt->model(), &QAbstractItemModel::layoutAboutToBeChanged, rowHeader,
            [rowHeader] { rowHeader->setUpdatesEnabled(false); });
    connect(tableWgt->model(), &QAbstractItemModel::layoutChanged, rowHeader,
            [rowHeader] { rowHeader->setUpdatesEnabled(true); });
    // The user may sort the node table by a header click; until then the rows
    // stay in the order they were filled.
    tableWgt->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    tableWgt->setSortingEnabled(true);

    connect(tableLIN, &QTableWidget::cellClicked, this, &CDlgVvodRES::slot_RowChanged);
    connect(tableLIN, &QTableWidget::itemChanged, this, &CDlgVvodRES::slot_LinChanged);
    connect(tableWgt, &QTableWidget::itemChanged, this, &CDlgVvodRES::slot_UchChanged);

    tableLIN->resizeColumnsToContents();
    slot_RowChanged(0, 0);
    ShowTr();
    tableLIN->verticalHeader()->hide();
    tableWgt->verticalHeader()->hide();
    return false;
}

void CDlgVvodRES::showRows(const Table& lineRows, const Table& sectionRows)
{
    // The lines of this RES in file order, each code once: a second row with
    // the same code would be saved over the first.
    QVector<int> lineIndexes;
    QSet<QString> lineCodes;
    for (int i = 0; i < lineRows.size(); ++i) {
        const QStringList& row = lineRows.at(i);
        if (row.value(LinNpes) == m_npes && row.value(LinNres) == m_nres
            && !lineCodes.contains(row.value(LinNlin))) {
            lineCodes.insert(row.value(LinNlin));
            lineIndexes.append(i);
        }
    }
    // Sections of each line in file order, grouped in one pass over the file.
    QHash<QString, QVector<int>> sectionsOfLine;
    for (int i = 0; i < sectionRows.size(); ++i) {
        const QStringList& row = sectionRows.at(i);
        if (row.value(UchNpes) == m_npes && row.value(UchNres) == m_nres
            && lineCodes.contains(row.value(UchNlin)))
            sectionsOfLine[row.value(UchNlin)].append(i);
    }
    QVector<int> sectionIndexes;
    for (int i : lineIndexes)
        sectionIndexes += sectionsOfLine.value(lineRows.at(i).value(LinNlin));

    Table lines;
    lines.reserve(lineIndexes.size());
    for (int i : qAsConst(lineIndexes))
        lines.append(lineRows.at(i));
    Table sections;
    sections.reserve(sectionIndexes.size());
    for (int i : qAsConst(sectionIndexes))
        sections.append(sectionRows.at(i));
    m_filling = true;
    fillTable(tableLIN, lines, &m_readLines);
    fillTable(tableWgt, sections, &m_readSections);
    // "Откл" shows a box, ticked for "1": any other text shows the element
    // in service and is saved as "0".
    m_shownSections = m_readSections;
    for (int row = 0; row < tableWgt->rowCount(); ++row) {
        QTableWidgetItem* item = tableWgt->item(row, UchPodkt);
        const bool off = item->text() == "1";
        item->setCheckState(off ? Qt::Checked : Qt::Unchecked);
        item->setText(QString());
        m_shownSections[row][UchPodkt] = podktText(item->checkState());
    }
    m_filling = false;
}

void CDlgVvodRES::fillTable(QTableWidget* table, const Table& rows, Table* read)
{
    table->setSortingEnabled(false);
    table->setRowCount(rows.size());
    read->clear();
    for (int r = 0; r < rows.size(); ++r) {
        QStringList texts;
        for (int c = 0; c < table->columnCount(); ++c) {
            table->setItem(r, c, new QTableWidgetItem(rows.at(r).value(c)));
            texts.append(rows.at(r).value(c));
        }
        // The row's place in what was read travels with it when the user sorts.
        table->item(r, 0)->setData(Qt::UserRole, r);
        read->append(texts);
    }
}

int CDlgVvodRES::rowIndex(QTableWidget* table, int row)
{
    return table->item(row, 0)->data(Qt::UserRole).toInt();
}

void CDlgVvodRES::slot_RowChanged(int row, int col)
{
    Q_UNUSED(col);
    if (tableLIN->rowCount() == 0 || row < 0 || row >= tableLIN->rowCount())
        return;
    m_curLine = tableLIN->item(row, LinNlin)->text();
    ShowTr();
}

void CDlgVvodRES::ShowTr()
{
    // While it updates itself, the row header places every row anew after
    // each one hidden or shown; held still, a pass stays linear in the rows.
    QHeaderView* rowHeader = tableWgt->verticalHeader();
    rowHeader->setUpdatesEnabled(false);
    for (int row = 0; row < tableWgt->rowCount(); ++row) {
        const bool shown = tableWgt->item(row, UchNlin)->text() == m_curLine
                           && tableWgt->item(row, UchTip)->text() == kTransformer;
        tableWgt->setRowHidden(row, !shown);
    }
    rowHeader->setUpdatesEnabled(true);
    tableWgt->resizeColumnsToContents();
}

void CDlgVvodRES::slot_CheckChanged()
{
    const bool energyOnly = checkEner->isChecked();
    tableWgt->setColumnHidden(UchP, energyOnly);
    tableWgt->setColumnHidden(UchQ, energyOnly);
}

void CDlgVvodRES::slot_LinChanged(QTableWidgetItem* item)
{
    Q_UNUSED(item);
    if (!m_filling)
        m_linesChanged = true;
}

void CDlgVvodRES::slot_UchChanged(QTableWidgetItem* item)
{
    Q_UNUSED(item);
    if (!m_filling)
        m_sectionsChanged = true;
}

OwnRows CDlgVvodRES::ownLines() const
{
    OwnRows own;
    own.codes = kLineCodes;
    own.moment = m_moment;
    own.read = m_readLines;
    for (int row = 0; row < tableLIN->rowCount(); ++row) {
        own.now.append(cellTexts(tableLIN, row));
        own.origin.append(rowIndex(tableLIN, row));
    }
    return own;
}

OwnRows CDlgVvodRES::ownSections() const
{
    OwnRows own = ownSectionRows();
    own.moment = m_moment;
    own.read = m_readSections;
    own.shown = m_shownSections;
    for (int row = 0; row < tableWgt->rowCount(); ++row) {
        QStringList texts = cellTexts(tableWgt, row);
        texts[UchPodkt] = podktText(tableWgt->item(row, UchPodkt)->checkState());
        own.now.append(texts);
        own.origin.append(rowIndex(tableWgt, row));
    }
    return own;
}

bool CDlgVvodRES::linesChanged() const
{
    return m_linesChanged && ownLines().changed();
}

bool CDlgVvodRES::sectionsChanged() const
{
    return m_sectionsChanged && ownSections().changed();
}

void CDlgVvodRES::slot_saveVtv()
{
    if (MsgBox("Сохранить изменения?", "Сохранение"))
        return;
    writeChanges();
}

bool CDlgVvodRES::writeChanges()
{
    OwnRows ownL = ownLines();
    OwnRows ownS = ownSections();
    const bool lines = m_linesChanged && ownL.changed();
    const bool sections = m_sectionsChanged && ownS.changed();
    if (!lines && !sections)
        return true;

    // A RES deleted meanwhile gets nothing back. Both tables are reread
    // first; a damaged one (the reader has warned) is never rewritten, and
    // the other is then not written without it.
    bool damaged = false;
    const Table res = ReadShablonXML("res", QStringList{"npes", "nres"}, "RES", &damaged);
    if (damaged)
        return false;
    if (objectGoneSince({m_npes, m_nres}, m_moment) || rowWithCodes(res, {m_npes, m_nres}) < 0) {
        warnResNotFound(this);
        return false;
    }
    Table linesFile;
    Table sectionsFile;
    if (lines)
        linesFile = ReadShablonXML("lines", attrLin, "LIN", &damaged);
    if (!damaged && sections)
        sectionsFile = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN", &damaged);
    if (damaged)
        return false;

    const MergedRows mergedL = lines ? mergeOwnRows(linesFile, ownL) : MergedRows();
    const MergedRows mergedS = sections ? mergeOwnRows(sectionsFile, ownS) : MergedRows();

    // "lines" and "uch_lin" with their .bak land together or not at all; a
    // table the merge leaves as it is is not written, its .bak kept. A
    // refusal (an empty table) leaves the set unspoilt: it is checked here.
    StagedFiles files;
    bool staged = true;
    if (mergedL.changesFile)
        staged = stageShablonXML(files, "lines", attrLin, "LIN", "net110_lines", mergedL.table);
    if (staged && mergedS.changesFile)
        staged = stageShablonXML(files, "uch_lin", attrUchLin, "UCH_LIN", "net110_uch_lin", mergedS.table);
    if (!staged || ((mergedL.changesFile || mergedS.changesFile) && !commitStaged(files)))
        return false;

    const QStringList linesNotSaved = rowsNotSaved(ownL, mergedL, [](const QStringList& row) {
        return "линия " + row.value(LinName);
    });
    const QHash<QString, QString> names = lineNames();
    const QStringList sectionsNotSaved = rowsNotSaved(ownS, mergedS, [&names](const QStringList& row) {
        return "линия " + names.value(row.value(UchNlin), row.value(UchNlin)) + ": " + sectionRowText(row);
    });
    const auto say = [this](const QStringList& notSaved, const QString& saved) {
        if (notSaved.isEmpty())
            ShowWarning(kInfoTitle, saved, this);
        else
            warnRowsNotSaved(notSaved, this);
    };
    if (!linesNotSaved.isEmpty() || !sectionsNotSaved.isEmpty()) {
        if (lines)
            say(linesNotSaved, "Данные о линиях сохранены");
        if (sections)
            say(sectionsNotSaved, "Данные об участках линий сохранены");
        // The rows named leave the window or take the file's values; no later
        // save drops them without a word. A table not written here is read now.
        showFiles(lines ? mergedL.table : ReadShablonXML("lines", attrLin, "LIN"),
                  sections ? mergedS.table : ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN"));
        return true;
    }
    if (lines) {
        adoptRows(tableLIN, ownL, mergedL, &m_readLines);
        m_linesChanged = false;
        say(linesNotSaved, "Данные о линиях сохранены");
    }
    if (sections) {
        // Rows sorted by "Откл" would move while its texts are set: sorting
        // waits until every row has them.
        const bool sorting = tableWgt->isSortingEnabled();
        tableWgt->setSortingEnabled(false);
        adoptRows(tableWgt, ownS, mergedS, &m_readSections);
        m_shownSections = m_readSections;
        m_sectionsChanged = false;
        // The "Откл" cells show their stored text from now on.
        m_filling = true;
        for (int row = 0; row < tableWgt->rowCount(); ++row)
            setCellData(tableWgt, row, UchPodkt, Qt::DisplayRole, ownS.now.at(row).at(UchPodkt));
        m_filling = false;
        tableWgt->setSortingEnabled(sorting);
        say(sectionsNotSaved, "Данные об участках линий сохранены");
    }
    return true;
}

void CDlgVvodRES::showFiles(const Table& lineRows, const Table& sectionRows)
{
    // The RES still stands (the save has asked): the lines read now are this
    // window's, a new one among them too.
    m_moment = objectsMoment();
    const bool sorting = tableWgt->isSortingEnabled();
    showRows(lineRows, sectionRows);
    m_linesChanged = false;
    m_sectionsChanged = false;
    tableWgt->setSortingEnabled(sorting);
    // The line shown stays, while it is there.
    int row = tableLIN->rowCount() - 1;
    while (row > 0 && tableLIN->item(row, LinNlin)->text() != m_curLine)
        --row;
    slot_RowChanged(row, 0);
    ShowTr();
}

void CDlgVvodRES::adoptRows(QTableWidget* table, OwnRows& own, const MergedRows& merged, Table* read)
{
    adoptWritten(own, merged);
    // Sorting is held off meanwhile, so no row moves under the loop.
    const bool sorting = table->isSortingEnabled();
    table->setSortingEnabled(false);
    for (int row = 0; row < table->rowCount(); ++row)
        setCellData(table, row, 0, Qt::UserRole, own.origin.at(row));
    table->setSortingEnabled(sorting);
    *read = own.read;
}

void CDlgVvodRES::reject()
{
    commitCellEditor(tableLIN);
    commitCellEditor(tableWgt);
    if (!mayClose(this, hasUnsavedEdits(), [this] { return writeChanges(); }))
        return;
    QDialog::reject();
}

QHash<QString, QString> CDlgVvodRES::lineNames() const
{
    QHash<QString, QString> names;
    for (int row = 0; row < tableLIN->rowCount(); ++row)
        names.insert(tableLIN->item(row, LinNlin)->text(), tableLIN->item(row, LinName)->text());
    return names;
}

void CDlgVvodRES::slot_Export()
{
    if (MsgBox("Существующий Xlsx файл будет изменен. Продолжить?", "Сохранение в Xlsx файл"))
        return;
    // Transformers of every line of the RES, hidden rows included.
    Table rows = {kWorkbookHeader};
    for (int row = 0; row < tableWgt->rowCount(); ++row) {
        if (tableWgt->item(row, UchTip)->text() != kTransformer)
            continue;
        QStringList cells;
        for (int column : kWorkbookColumns)
            cells.append(tableWgt->item(row, column)->text());
        rows.append(cells);
    }
    SaveXlsx(workbookFile(), rows);
}

void CDlgVvodRES::slot_Import()
{
    if (MsgBox("Загрузить информацию из Xlsx файла?", "Загрузка из Xlsx файла"))
        return;
    const QStringList texts = LoadXlsx(workbookFile(), 11);
    if (texts.isEmpty())
        return;

    // Every row is read before any is applied: a cell that is no number
    // refuses the whole workbook, while a row of another shape ends the
    // import there, keeping the rows before it.
    QVector<QStringList> read;
    bool badShape = false;
    for (int i = 0; i < texts.size(); ++i) {
        QStringList parts = texts.at(i).split(QLatin1Char(';'), Qt::KeepEmptyParts);
        if (parts.size() != 12) {
            badShape = true;
            break;
        }
        for (QString& part : parts)
            part = part.trimmed();
        for (int column = kFirstLoadColumn; column <= kLastLoadColumn; ++column) {
            if (!importedNumber(&parts[column])) {
                // Data rows start at the sheet's second row.
                ShowWarning("Ошибка", QStringLiteral("Ошибка в строке %1, столбце %2: не число")
                                          .arg(i + 2).arg(QChar('A' + column)), this);
                return;
            }
        }
        read.append(parts);
    }

    // Rows stay in place while their cells change (a sorted column would move them).
    const bool sorting = tableWgt->isSortingEnabled();
    tableWgt->setSortingEnabled(false);
    QMultiHash<QString, int> rowsOfBranch;
    for (int row = 0; row < tableWgt->rowCount(); ++row) {
        rowsOfBranch.insert(tableWgt->item(row, UchNlin)->text() + QLatin1Char(',')
                                + tableWgt->item(row, UchNyzln)->text() + QLatin1Char(',')
                                + tableWgt->item(row, UchNyzlk)->text(),
                            row);
    }
    for (const QStringList& parts : qAsConst(read)) {
        // Matched by line and node numbers only: columns A, B, D and G are not read.
        const auto matches = rowsOfBranch.values(parts.at(2) + QLatin1Char(',') + parts.at(4)
                                                 + QLatin1Char(',') + parts.at(5));
        for (int row : matches) {
            setCellData(tableWgt, row, UchP, Qt::DisplayRole, parts.at(7));
            setCellData(tableWgt, row, UchQ, Qt::DisplayRole, parts.at(8));
            setCellData(tableWgt, row, UchWP, Qt::DisplayRole, parts.at(9));
            setCellData(tableWgt, row, UchWQ, Qt::DisplayRole, parts.at(10));
        }
    }
    tableWgt->setSortingEnabled(sorting);
    if (badShape)
        ShowWarning("Ошибка", "Неверный формат Xlsx файла", this);
}
