#include "CDlgKatLin.h"

#include "dialogs/delegate.h"
#include "store/numbers.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPersistentModelIndex>

namespace {

enum Col { cName, cS, cKL, cR, cX, cB, cImax, cMaterial, columnCount };

// Built on use: attrL is a global of another file, not yet made while this
// file's globals are.
TableFile katLinFile()
{
    return TableFile{QStringLiteral("kat_lin"), attrL, QStringLiteral("Wire"),
                     QStringLiteral("net110_WireInfo")};
}

} // namespace

CDlgKatLin::CDlgKatLin(QWidget* parent)
    : QDialog(parent)
{
    initReferenceResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(300, 160));

    connect(FindButton, &QPushButton::clicked, this, &CDlgKatLin::slot_Find);
    connect(LineFind, &QLineEdit::returnPressed, this, &CDlgKatLin::slot_Find);
    connect(DelButton, &QPushButton::clicked, this, &CDlgKatLin::slot_delRow);
    connect(AddButton, &QPushButton::clicked, this, &CDlgKatLin::slot_addRow);
    connect(CopyButton, &QPushButton::clicked, this, &CDlgKatLin::slot_copyRow);
    connect(SaveButton, &QPushButton::clicked, this, &CDlgKatLin::slot_saveLine);
    connect(Line_L, QOverload<double>::of(&QDoubleSpinBox::valueChanged), this,
            &CDlgKatLin::slot_Calc);

    m_materials = QStringList{QStringLiteral("Алюминий"), QStringLiteral("Медь"),
                              QStringLiteral("Сталь")};
    LoadLine();
    tableWgt->verticalHeader()->hide();
}

// The main window's QPointer to this dialog clears itself.
CDlgKatLin::~CDlgKatLin() = default;

void CDlgKatLin::slot_Exit()
{
    close();
}

int CDlgKatLin::LoadLine()
{
    tableWgt->horizontalHeader()->setStyleSheet(
        QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    const TableFile file = katLinFile();
    const Table rows = ReadShablonXML(file.stem, file.names, file.rowElement, &m_damagedRead);

    fillTable(tableWgt, rows, columnCount, [this, &rows](int r) {
        setKindAndMaterial(r, rows.at(r).value(cKL) == QLatin1String("1"));
    });

    auto* whole = new DSBDelegate(this, 0, 99999.0, 1.0, 0);
    auto* perKm = new DSBDelegate(this, 0, 19.99, 0.001, 3);
    auto* conductance = new DSBDelegate(this, 0, 999.9, 1.0, 1);
    for (DSBDelegate* d : {whole, perKm, conductance})
        d->setWritesOnlyEdits(true);
    tableWgt->setItemDelegateForColumn(cS, whole);
    tableWgt->setItemDelegateForColumn(cImax, whole);
    tableWgt->setItemDelegateForColumn(cR, perKm);
    tableWgt->setItemDelegateForColumn(cX, perKm);
    tableWgt->setItemDelegateForColumn(cB, conductance);
    // The kind is its check box and the material its combo: a text typed
    // under either would be saved unseen.
    auto* noText = new NonEditTableColumnDelegate(this);
    tableWgt->setItemDelegateForColumn(cKL, noText);
    tableWgt->setItemDelegateForColumn(cMaterial, noText);

    tableWgt->resizeColumnsToContents();
    connect(tableWgt, &QTableWidget::cellClicked, this, &CDlgKatLin::slot_Calc1);
    m_saved.keep(catalogRows());
    return 0;
}

void CDlgKatLin::setKindAndMaterial(int row, bool cable)
{
    QTableWidgetItem* kind = tableWgt->item(row, cKL);
    if (!kind) {
        kind = new QTableWidgetItem;
        tableWgt->setItem(row, cKL, kind);
    }
    kind->setText(QString());
    kind->setCheckState(cable ? Qt::Checked : Qt::Unchecked);

    QTableWidgetItem* material = tableWgt->item(row, cMaterial);
    if (!material) {
        material = new QTableWidgetItem;
        tableWgt->setItem(row, cMaterial, material);
    }
    // The cell keeps the stored value; the combo shows it and writes only
    // what the user picks. 0, negative and no number show copper, above 3 nothing.
    const int index = toInteger(material->text()) - 1;
    auto* combo = new QComboBox;
    combo->addItems(m_materials);
    combo->setCurrentIndex(index < 0 ? 1 : (index < m_materials.size() ? index : -1));
    const QPersistentModelIndex cell(tableWgt->model()->index(row, cMaterial));
    connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, cell](int picked) {
        if (QTableWidgetItem* item = tableWgt->item(cell.row(), cell.column()))
            item->setText(QString::number(picked + 1));
    });
    tableWgt->setCellWidget(row, cMaterial, combo);
}

bool CDlgKatLin::isCable(int row) const
{
    const QTableWidgetItem* kind = tableWgt->item(row, cKL);
    return kind && kind->checkState() != Qt::Unchecked;
}

Table CDlgKatLin::catalogRows() const
{
    Table rows = tableRows(tableWgt, columnCount);
    for (int r = 0; r < rows.size(); ++r)
        rows[r][cKL] = isCable(r) ? QStringLiteral("1") : QStringLiteral("0");
    return rows;
}

bool CDlgKatLin::writeCatalog()
{
    return m_saved.save(katLinFile(), catalogRows(), m_damagedRead, this);
}

void CDlgKatLin::slot_saveLine()
{
    if (MsgBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение")))
        return;
    writeCatalog();
}

void CDlgKatLin::reject()
{
    if (m_saved.mayCloseEditor(tableWgt, [this] { return catalogRows(); },
                               [this] { return writeCatalog(); }))
        QDialog::reject();
}

void CDlgKatLin::slot_addRow()
{
    QStringList texts = QVector<QString>(columnCount).toList();
    texts[cS] = m_defaultSection;
    texts[cMaterial] = QStringLiteral("1");
    const int row = appendRow(tableWgt, texts, [this](int r) { setKindAndMaterial(r, false); });
    showRow(tableWgt, row);
}

void CDlgKatLin::slot_copyRow()
{
    const int source = shownCurrentRow(tableWgt);
    if (source < 0)
        return;
    // The material goes over as stored, not as the combo happens to show it.
    QStringList texts = rowTexts(tableWgt, source, columnCount);
    const bool cable = isCable(source);
    const QString mark = texts.at(cName) + QStringLiteral("-копия");
    texts[cName] = mark;
    appendRow(tableWgt, texts, [this, cable](int r) { setKindAndMaterial(r, cable); });
    AddFind(mark);
}

void CDlgKatLin::AddFind(const QString& text)
{
    for (int r = 0; r < tableWgt->rowCount(); ++r) {
        if (cellText(tableWgt, r, cName).contains(text)) {
            showRow(tableWgt, r);
            return;
        }
    }
}

void CDlgKatLin::slot_delRow()
{
    // The row that takes the place of the deleted one is the current one.
    const int row = deleteCurrentRow(tableWgt);
    if (row >= 0)
        showRow(tableWgt, qMin(row, tableWgt->rowCount() - 1));
}

void CDlgKatLin::slot_Find()
{
    findNextRow(tableWgt, cName, LineFind->text(), m_search);
}

void CDlgKatLin::slot_Calc(double length)
{
    const int row = shownCurrentRow(tableWgt);
    if (row < 0)
        return;
    const double r = toNumber(cellText(tableWgt, row, cR));
    const double x = toNumber(cellText(tableWgt, row, cX));
    const double b = toNumber(cellText(tableWgt, row, cB));
    RLin->setText("R= " + QString::number(r * length, 'f', 2));
    XLin->setText("X= " + QString::number(x * length, 'f', 2));
    // 0 - B·L: a zero B gives 0.00, not -0.00.
    BLin->setText("BC= " + QString::number(0.0 - b * length, 'f', 2));
}

void CDlgKatLin::slot_Calc1(int row, int col)
{
    Q_UNUSED(row);
    Q_UNUSED(col);
    slot_Calc(Line_L->value());
}
