#include "CDlgTblUchLIN.h"

#include "CDlgLIN.h"
#include "checkuchlin.h"
#include "delegate.h"
#include "store/SaveInfo.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/ui/closing.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"

#include <QHeaderView>
#include <QSignalBlocker>

namespace {

enum Col {
    cNpes, cNres, cNlin, cName, cName1, cBegin, cEnd, cTip, cMark, cDl, cOtv, cP, cQ, cWp, cWq,
    cKbal, cPodkt, cKey, columnCount
};

// Integer value of a cell: "3.0" is 3, text that is no number is 0.
int intOf(const QString& text)
{
    return toWholeNumber(text);
}

} // namespace

CDlgTblUchLIN::CDlgTblUchLIN(QWidget* parent)
    : QDialog(parent)
{
    initLineDialogResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(100, 60));
    m_owner = qobject_cast<CDlgLIN*>(parent);

    // The editor's own line, kept for every read and write.
    double unom = UNOM;
    if (m_owner) {
        m_npes = m_owner->lineNpes();
        m_nres = m_owner->lineNres();
        m_nlin = m_owner->lineNlin();
        unom = m_owner->lineUnom();
        m_lineName = m_owner->m_nameLIN;
        setWindowTitle("Информация по участкам линии " + m_owner->m_nameLIN);
    } else {
        m_npes = NPES;
        m_nres = NRES;
        m_nlin = NLIN;
        setWindowTitle(QStringLiteral("Информация по участкам линии "));
    }

    connect(FindButton, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_Find);
    connect(LineFind, &QLineEdit::returnPressed, this, &CDlgTblUchLIN::slot_Find);
    connect(DelButton, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_delRow);
    connect(AddButton, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_addRow);
    connect(AddTrans, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_addTrans);
    connect(CopyButton, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_copyRow);
    connect(LinesShow, &QCheckBox::clicked, this, &CDlgTblUchLIN::slot_LinesShow);
    connect(TransfShow, &QCheckBox::clicked, this, &CDlgTblUchLIN::slot_TransfShow);
    connect(SaveButton, &QPushButton::clicked, this, &CDlgTblUchLIN::slot_saveVtv);

    m_klassU = unom > 200 ? QStringLiteral("220")
             : unom < 50  ? QStringLiteral("35")
                          : QStringLiteral("110");

    tableWgt->setColumnCount(columnCount);
    const QStringList headers = {
        "npes", "nres", "nlin", "Комментарий-1", "Комментарий-2", "Начало", "Конец", "Тип",
        "Элемент", "Длина", "Ответвление", "P, МВт", "Q, мвар", "WP, мвтч", "WQ, мварч",
        "На балансе", "Откл", "Key"};
    tableWgt->setHorizontalHeaderLabels(headers);
    const QStringList tips = {"", "", "", "", "", "Номер начала ветви", "Номер конца ветви", "",
                              "Номер района"};
    for (int c = 0; c < tips.size(); ++c) {
        if (!tips.at(c).isEmpty())
            tableWgt->horizontalHeaderItem(c)->setToolTip(tips.at(c));
    }

    LoadVtv();
    tableWgt->verticalHeader()->hide();
    m_saved.keep(ownRows().now);
}

CDlgTblUchLIN::~CDlgTblUchLIN()
{
    // The line dialog keeps a QPointer to this editor, which clears itself.
}

QString CDlgTblUchLIN::cell(int row, int col) const
{
    const QTableWidgetItem* it = tableWgt->item(row, col);
    return it ? it->text() : QString();
}

void CDlgTblUchLIN::setCell(int row, int col, const QString& text)
{
    QTableWidgetItem* it = tableWgt->item(row, col);
    if (it)
        it->setText(text);
    else
        tableWgt->setItem(row, col, new QTableWidgetItem(text));
}

QStringList CDlgTblUchLIN::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < columnCount; ++c)
        texts.append(cell(row, c));
    return texts;
}

int CDlgTblUchLIN::panelRow() const
{
    return m_current.isValid() ? m_current.row() : -1;
}

void CDlgTblUchLIN::LoadVtv()
{
    tableWgt->horizontalHeader()->setStyleSheet(
        QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    tableWgt->setSortingEnabled(false);
    fillRows(ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN")));

    LoadKatLinTR();
    if (tableWgt->rowCount() == 0)
        slot_addRow();

    for (int c : {cNpes, cNres, cNlin, cTip})
        tableWgt->hideColumn(c);
    for (int c = cDl; c < columnCount; ++c)
        tableWgt->hideColumn(c);

    connect(tableWgt, &QTableWidget::cellClicked, this, &CDlgTblUchLIN::slot_RowChanged);
    connect(tableWgt, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == cBegin || item->column() == cEnd || item->column() == cKey)
            noteNumbers(item->row());
    });
    tableWgt->resizeColumnsToContents();

    connect(Markacombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CDlgTblUchLIN::slot_MarkaChanged);
    if (!m_current.isValid())
        slot_RowChanged(0, 0);
    connect(DlinaSpin, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &CDlgTblUchLIN::slot_DlinaSpinChanged);
    connect(checkOtkl, &QCheckBox::stateChanged, this, &CDlgTblUchLIN::slot_OtklChanged);
    connect(checkBalance, &QCheckBox::stateChanged, this, &CDlgTblUchLIN::slot_BalanceChanged);
    connect(spinOtv, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int value) {
        if (panelRow() >= 0)
            setCell(panelRow(), cOtv, QString::number(value));
    });

    auto* nodes = new DSBDelegate(this, 0, 99999999, 1, 0);
    tableWgt->setItemDelegateForColumn(cBegin, nodes);
    tableWgt->setItemDelegateForColumn(cEnd, nodes);
    auto* loads = new DSBDelegate(this, -99999999, 99999999, 1, 3);
    // A cell only opened and left keeps its text: no change to save.
    for (DSBDelegate* delegate : {nodes, loads})
        delegate->setWritesOnlyEdits(true);
    for (int c = cP; c <= cWq; ++c)
        tableWgt->setItemDelegateForColumn(c, loads);
    tableWgt->setSortingEnabled(true);
}

// Rows of the line whose key is empty, "0" or repeated show keys of their
// own, so that a delete or an edit touches one element; the file gets them
// with the next save, never from opening alone.
void CDlgTblUchLIN::fillRows(const Table& file)
{
    tableWgt->setRowCount(0);
    m_read.clear();
    for (const QStringList& row : file) {
        if (row.value(cNpes) != m_npes || row.value(cNres) != m_nres || row.value(cNlin) != m_nlin)
            continue;
        QStringList own;
        for (int c = 0; c < columnCount; ++c)
            own.append(row.value(c));
        m_read.append(own);
    }
    m_shown = m_read;
    giveOwnKeys(m_shown, m_seen);
    tableWgt->setRowCount(m_read.size());
    for (int r = 0; r < m_shown.size(); ++r) {
        QStringList& shown = m_shown[r];
        if (shown.at(cTip) == QLatin1String("2"))
            shown[cDl].clear();
        for (int c = 0; c < columnCount; ++c)
            tableWgt->setItem(r, c, new QTableWidgetItem(shown.at(c)));
        tableWgt->item(r, cNpes)->setData(Qt::UserRole, r);
        noteNumbers(r);
    }
    m_rowShown.fill(1, tableWgt->rowCount());
}

void CDlgTblUchLIN::LoadKatLinTR()
{
    m_katLin = ReadShablonXML(QStringLiteral("kat_lin"), m_attrKatLin, QStringLiteral("Wire"));
    m_katTr = ReadShablonXML(QStringLiteral("kat_tr"), m_attrKatTr, QStringLiteral("Trans"));
}

void CDlgTblUchLIN::clearPanel()
{
    const QSignalBlocker b1(Markacombo), b2(DlinaSpin), b3(checkOtkl), b4(checkBalance), b5(spinOtv);
    m_current = QPersistentModelIndex();
    m_loaded = QPersistentModelIndex();
    Markacombo->clear();
    DlinaSpin->setValue(0);
    spinOtv->setValue(0);
    checkOtkl->setChecked(false);
    checkBalance->setChecked(false);
    groupBox_2->setEnabled(false);
}

void CDlgTblUchLIN::slot_RowChanged(int row, int col)
{
    Q_UNUSED(col);
    loadPanel(row, false);
}

// freshRow: a row just added, whose mark is a placeholder that the first
// catalog entry replaces; a stored mark is never replaced by showing it.
void CDlgTblUchLIN::loadPanel(int row, bool freshRow)
{
    if (row < 0 || row >= tableWgt->rowCount()) {
        clearPanel();
        return;
    }
    groupBox_2->setEnabled(true);
    m_current = QPersistentModelIndex(tableWgt->model()->index(row, 0));
    // Showing a row never writes into it: the panel is filled silently.
    const QSignalBlocker b1(Markacombo), b2(DlinaSpin), b3(checkOtkl), b4(checkBalance), b5(spinOtv);

    if (m_loaded != m_current) {
        Markacombo->clear();
        checkOtkl->setChecked(cell(row, cPodkt) == QLatin1String("1"));
        QStringList marks;
        if (intOf(cell(row, TipCol)) == 2) {
            for (const QStringList& t : qAsConst(m_katTr)) {
                if (t.value(1) == m_klassU)
                    marks.append(t.value(0));
            }
            // The working tap of the row (clamped to the box's range only
            // on screen: the row keeps its value until the box is changed).
            spinOtv->setValue(intOf(cell(row, cOtv)));
            label_4->show();
            spinOtv->show();
            DlinaSpin->hide();
            label_3->hide();
            DlinaSpin->setValue(0);
            if (freshRow)
                setCell(row, cDl, QString());
        } else {
            for (const QStringList& w : qAsConst(m_katLin))
                marks.append(w.value(0));
            DlinaSpin->setValue(toNumber(cell(row, cDl)));
            DlinaSpin->show();
            label_3->show();
            label_4->hide();
            spinOtv->hide();
            if (freshRow) {
                for (int c = cP; c <= cWq; ++c)
                    setCell(row, c, QString());
            }
        }
        Markacombo->addItems(marks);
        m_loaded = m_current;

        const QString mark = cell(row, cMark);
        const int found = Markacombo->findText(mark, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (found >= 0) {
            Markacombo->setCurrentIndex(found);
        } else if (freshRow) {
            Markacombo->setCurrentIndex(0);
            setCell(row, cMark, Markacombo->currentText());
        } else {
            // A mark the catalog no longer lists stays the row's mark.
            Markacombo->addItem(mark);
            Markacombo->setCurrentIndex(Markacombo->count() - 1);
        }
    }
    checkBalance->setChecked(cell(row, cKbal) == QLatin1String("1"));
    Markacombo->model()->sort(0);
}

void CDlgTblUchLIN::slot_MarkaChanged(int index)
{
    Q_UNUSED(index);
    if (panelRow() >= 0)
        setCell(panelRow(), cMark, Markacombo->currentText());
}

void CDlgTblUchLIN::slot_DlinaSpinChanged(double value)
{
    if (panelRow() >= 0)
        setCell(panelRow(), cDl, QString::number(value, 'f', 3));
}

void CDlgTblUchLIN::slot_OtklChanged(int state)
{
    Q_UNUSED(state);
    if (panelRow() >= 0)
        setCell(panelRow(), cPodkt, checkOtkl->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void CDlgTblUchLIN::slot_BalanceChanged(int state)
{
    Q_UNUSED(state);
    if (panelRow() >= 0)
        setCell(panelRow(), cKbal, checkBalance->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void CDlgTblUchLIN::noteNumbers(int row)
{
    m_seen.note(rowTexts(row));
}

// New numbers are above every one the line's rows held here since opening,
// rows deleted meanwhile included: a stale window elsewhere that still
// knows a freed number never takes a new element for the old one.
void CDlgTblUchLIN::CalcMaxIN()
{
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        noteNumbers(r);
    m_nextNode = m_seen.node + 1;
}

qint64 CDlgTblUchLIN::nextKey()
{
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        noteNumbers(r);
    return m_seen.key + 1;
}

void CDlgTblUchLIN::CalcNewId()
{
    m_nextKey = nextKey();
    // Sorting by the key column would move rows under the loop.
    const bool sorting = tableWgt->isSortingEnabled();
    tableWgt->setSortingEnabled(false);
    for (int r = 0; r < tableWgt->rowCount(); ++r) {
        if (intOf(cell(r, cKey)) == 0)
            setCell(r, cKey, QString::number(m_nextKey++));
    }
    tableWgt->setSortingEnabled(sorting);
}

void CDlgTblUchLIN::appendNewRow(const QString& name, const QString& type)
{
    const bool sorting = tableWgt->isSortingEnabled();
    tableWgt->setSortingEnabled(false);
    const int row = tableWgt->rowCount();
    tableWgt->insertRow(row);
    for (int c = 0; c < columnCount; ++c)
        tableWgt->setItem(row, c, new QTableWidgetItem(QStringLiteral("0")));
    setCell(row, cNpes, m_npes);
    setCell(row, cNres, m_nres);
    setCell(row, cNlin, m_nlin);
    setCell(row, cName, name);
    setCell(row, cTip, type);
    if (type == QLatin1String("1"))
        setCell(row, cMark, QStringLiteral("1."));
    m_rowShown.resize(tableWgt->rowCount());
    m_rowShown[row] = 1;

    CalcMaxIN();
    if (row == 0 && type == QLatin1String("1")) {
        setCell(row, cBegin, QStringLiteral("0"));
        setCell(row, cEnd, QStringLiteral("1"));
    } else {
        setCell(row, cBegin, QString::number(m_nextNode));
        setCell(row, cEnd, QString::number(m_nextNode + 1));
    }
    loadPanel(row, true);
    tableWgt->setSortingEnabled(sorting);
    selectPanelRow();
}

void CDlgTblUchLIN::selectPanelRow()
{
    if (panelRow() < 0)
        return;
    tableWgt->selectRow(panelRow());
    tableWgt->setFocus();
}

void CDlgTblUchLIN::slot_addRow()
{
    appendNewRow(QStringLiteral("Новая линия"), QStringLiteral("1"));
}

void CDlgTblUchLIN::slot_addTrans()
{
    appendNewRow(QStringLiteral("Новый трансформатор"), QStringLiteral("2"));
}

void CDlgTblUchLIN::slot_copyRow()
{
    const int source = panelRow();
    if (source < 0 || source >= tableWgt->rowCount())
        return;
    tableWgt->setSortingEnabled(false);
    const QStringList texts = rowTexts(source);
    const qint64 key = nextKey();
    const int row = tableWgt->rowCount();
    tableWgt->insertRow(row);
    for (int c = 0; c < columnCount; ++c)
        tableWgt->setItem(row, c, new QTableWidgetItem(texts.at(c)));
    setCell(row, cKey, QString::number(key));
    m_rowShown.resize(tableWgt->rowCount());
    m_rowShown[row] = 1;
    const QPersistentModelIndex copy(tableWgt->model()->index(row, 0));
    tableWgt->setSortingEnabled(true);
    tableWgt->selectRow(copy.row());
    tableWgt->setFocus();
}

void CDlgTblUchLIN::slot_delRow()
{
    if (MsgBox(QStringLiteral("Удалить запись"), QStringLiteral("Удаление")))
        return;
    const int row = tableWgt->currentRow();
    if (row < 0)
        return;
    noteNumbers(row);
    tableWgt->removeRow(row);
    if (row < m_rowShown.size())
        m_rowShown.remove(row);
    slot_RowChanged(tableWgt->currentRow(), 1);
}

void CDlgTblUchLIN::ShowALL()
{
    m_rowShown.fill(1, tableWgt->rowCount());
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        tableWgt->showRow(r);
    for (int c = cP; c <= cWq; ++c)
        tableWgt->hideColumn(c);
    tableWgt->resizeColumnsToContents();
}

void CDlgTblUchLIN::Filter()
{
    m_rowShown.resize(tableWgt->rowCount());
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        tableWgt->setRowHidden(r, m_rowShown.at(r) != 1);
}

void CDlgTblUchLIN::slot_LinesShow()
{
    showOnlyKind(LinesShow, TransfShow, 1);
}

void CDlgTblUchLIN::slot_TransfShow()
{
    showOnlyKind(TransfShow, LinesShow, 2);
}

void CDlgTblUchLIN::showOnlyKind(QCheckBox* own, QCheckBox* other, int tip)
{
    if (!own->isChecked()) {
        ShowALL();
        return;
    }
    other->setChecked(false);
    m_rowShown.resize(tableWgt->rowCount());
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        m_rowShown[r] = intOf(cell(r, TipCol)) == tip ? 1 : 0;
    // The transformer columns are shown with the transformers only.
    for (int c = cP; c <= cWq; ++c)
        tableWgt->setColumnHidden(c, tip != 2);
    Filter();
}

void CDlgTblUchLIN::slot_Find()
{
    const QString needle = LineFind->text().toLower();
    int start = 0;
    if (needle == m_findText)
        start = m_findRow + 1;
    else
        m_findText = needle;
    if (start >= tableWgt->rowCount())
        start = 0;
    for (int r = start; r < tableWgt->rowCount(); ++r) {
        if (tableWgt->isRowHidden(r))
            continue;
        bool hit = false;
        for (int c : {cName, cBegin, cEnd, cName1})
            hit = hit || cell(r, c).toLower().contains(needle);
        if (hit) {
            m_findRow = r;
            tableWgt->scrollToItem(tableWgt->item(r, cName));
            tableWgt->selectRow(r);
            tableWgt->setFocus();
            return;
        }
    }
    m_findRow = -1;
}

bool CDlgTblUchLIN::ChecK()
{
    if (tableWgt->rowCount() == 0) {
        ShowWarning(QStringLiteral("Предупреждение"), QStringLiteral("Для линии не заведены участки"));
        return true;
    }
    Table rows;
    rows.reserve(tableWgt->rowCount());
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        rows.append(rowTexts(r));
    const QStringList lines = checkLineSections(rows);
    if (lines.isEmpty())
        return false;
    SaveLog(QStringLiteral("Ошибки в участках линии.log"), lines);
    return true;
}

OwnRows CDlgTblUchLIN::ownRows() const
{
    OwnRows own = ownSectionRows();
    own.seen = m_seen;
    own.moment = m_moment;
    own.read = m_read;
    own.shown = m_shown;
    own.now.reserve(tableWgt->rowCount());
    own.origin.reserve(tableWgt->rowCount());
    for (int r = 0; r < tableWgt->rowCount(); ++r) {
        own.now.append(rowTexts(r));
        const QVariant origin = tableWgt->item(r, cNpes)->data(Qt::UserRole);
        own.origin.append(origin.isValid() ? origin.toInt() : -1);
    }
    return own;
}

bool CDlgTblUchLIN::hasUnsavedEdits() const
{
    return m_saved.differ(ownRows().now);
}

void CDlgTblUchLIN::checkBeforeSaving()
{
    if (ChecK())
        ShowWarning(QStringLiteral("Предупреждение"),
                    QStringLiteral("В информации об участках линии есть ошибки"));
}

void CDlgTblUchLIN::slot_saveVtv()
{
    saveRows(true);
}

bool CDlgTblUchLIN::saveRows(bool ask)
{
    // The table as it is now, read once: what other windows saved meanwhile
    // stays, even in this line's rows. A damaged file is not rewritten, and
    // a line deleted meanwhile gets no rows back: either is refused before
    // the check or any question.
    bool xmlError = false;
    const Table file = ReadShablonXML(QStringLiteral("uch_lin"), attrUchLin,
                                      QStringLiteral("UCH_LIN"), &xmlError);
    if (xmlError || !lineStillStands(file, {m_npes, m_nres, m_nlin}, m_moment))
        return false;
    checkBeforeSaving();
    if (ask && MsgBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение")))
        return false;
    return writeRows(file);
}

bool CDlgTblUchLIN::writeRows(const Table& file)
{
    CalcNewId();
    OwnRows own = ownRows();
    const MergedRows merged = mergeOwnRows(file, own);
    // A merge that changes nothing writes nothing: the .bak stays.
    if (merged.changesFile
        && !saveShablonXML(QStringLiteral("uch_lin"), attrUchLin, QStringLiteral("UCH_LIN"),
                           QStringLiteral("net110_uch_lin"), merged.table))
        return false;

    const QString line = "линия " + (m_lineName.isEmpty() ? m_nlin : m_lineName) + ": ";
    const QStringList lost = rowsNotSaved(own, merged, [&](const QStringList& row) { return line + sectionRowText(row); });
    const QStringList moved = movedNodes(own, merged);
    if (!lost.isEmpty()) {
        warnRowsNotSaved(lost, this);
        if (!moved.isEmpty())
            ShowWarning(QStringLiteral("Информация"), moved.join(QLatin1Char('\n')));
        // The rows named leave the window or take the file's values: no later
        // save or close drops them without a word.
        showRows(merged.table);
        return true;
    }
    // What was written is what this window read from now on, with the keys
    // and nodes the merge moved on. Rows keep their places in the table;
    // sorting is held off meanwhile.
    adoptWritten(own, merged);
    const bool sorting = tableWgt->isSortingEnabled();
    tableWgt->setSortingEnabled(false);
    for (int r = 0; r < tableWgt->rowCount(); ++r) {
        tableWgt->item(r, cNpes)->setData(Qt::UserRole, own.origin.at(r));
        for (int c : {cBegin, cEnd, cKey})
            setCell(r, c, own.now.at(r).value(c));
    }
    tableWgt->setSortingEnabled(sorting);
    m_read = own.read;
    m_shown = own.shown;
    m_saved.keep(own.now);
    ShowWarning(QStringLiteral("Информация"), (QStringList(QStringLiteral("Данные сохранены")) + moved).join(QLatin1Char('\n')));
    return true;
}

void CDlgTblUchLIN::showRows(const Table& file)
{
    const bool sorting = tableWgt->isSortingEnabled();
    const int panel = panelRow();
    tableWgt->setSortingEnabled(false);
    fillRows(file);
    if (LinesShow->isChecked())
        slot_LinesShow();
    else if (TransfShow->isChecked())
        slot_TransfShow();
    tableWgt->setSortingEnabled(sorting);
    loadPanel(qMin(panel, tableWgt->rowCount() - 1), false);
    m_saved.keep(ownRows().now);
}

void CDlgTblUchLIN::reject()
{
    commitCellEditor(tableWgt);
    if (!mayClose(this, hasUnsavedEdits(), [this] { return saveRows(false); }))
        return;
    QDialog::reject();
}
