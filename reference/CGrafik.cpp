#include "CGrafik.h"

#include "dialogs/delegate.h"
#include "store/numbers.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"

#include <QHeaderView>

namespace {
const int kHours = 24;
} // namespace

CGrafik::CGrafik(QWidget* parent)
    : QDialog(parent)
{
    initReferenceResources();
    m_attributes.append(QStringLiteral("nom"));
    for (int h = 1; h <= kHours; ++h)
        m_attributes.append("t" + QString::number(h));
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(100, 60));

    connect(DelButton, &QPushButton::clicked, this, &CGrafik::slot_delRow);
    connect(AddButton, &QPushButton::clicked, this, &CGrafik::slot_addRow);
    connect(CopyButton, &QPushButton::clicked, this, &CGrafik::slot_copyRow);
    connect(SaveButton, &QPushButton::clicked, this, &CGrafik::slot_saveGrafik);
    tableWgt->verticalHeader()->hide();
    LoadGrafik();
}

// The main window's QPointer to this dialog clears itself.
CGrafik::~CGrafik() = default;

static TableFile grafikFile(const QStringList& attributes)
{
    return TableFile{QStringLiteral("grafiki"), attributes, QStringLiteral("nomgr"),
                     QStringLiteral("grafiki")};
}

int CGrafik::LoadGrafik()
{
    tableWgt->horizontalHeader()->setStyleSheet(
        QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    const TableFile file = grafikFile(m_attributes);
    const Table rows = ReadShablonXML(file.stem, file.names, file.rowElement, &m_damagedRead);
    fillTable(tableWgt, rows, m_attributes.size());

    auto* load = new DSBDelegate(this, 0, 999.99, 0.1, 2);
    load->setWritesOnlyEdits(true);
    for (int c = 1; c <= kHours; ++c)
        tableWgt->setItemDelegateForColumn(c, load);

    tableWgt->resizeColumnsToContents();
    connect(tableWgt, &QTableWidget::cellClicked, this, &CGrafik::slot_Calc1);
    m_saved.keep(graphRows());
    return 0;
}

Table CGrafik::graphRows() const
{
    return tableRows(tableWgt, m_attributes.size());
}

bool CGrafik::writeGrafik()
{
    return m_saved.save(grafikFile(m_attributes), graphRows(), m_damagedRead, nullptr);
}

void CGrafik::slot_saveGrafik()
{
    writeGrafik();
}

void CGrafik::reject()
{
    if (m_saved.mayCloseEditor(tableWgt, [this] { return graphRows(); },
                               [this] { return writeGrafik(); }))
        QDialog::reject();
}

void CGrafik::slot_addRow()
{
    // New graphs are not numbered: the user types the number.
    const QStringList zeros = QVector<QString>(m_attributes.size(), QStringLiteral("0")).toList();
    showRow(tableWgt, appendRow(tableWgt, zeros));
}

void CGrafik::slot_copyRow()
{
    showRow(tableWgt, copyCurrentRow(tableWgt, m_attributes.size()));
}

void CGrafik::slot_delRow()
{
    deleteCurrentRow(tableWgt);
}

void CGrafik::slot_Calc1(int row, int col)
{
    Q_UNUSED(row);
    Q_UNUSED(col);
    const int current = shownCurrentRow(tableWgt);
    if (current < 0)
        return;
    double sum = 0, squares = 0, peak = 0;
    for (int h = 1; h <= kHours; ++h) {
        const double p = toNumber(cellText(tableWgt, current, h));
        sum += p;
        squares += p * p;
        peak = qMax(peak, p);
    }
    if (peak <= 0)
        return;
    // The divisor is the day's 24 hours, not the number of filled cells.
    Kz->setText("Кз= " + QString::number(sum / kHours / peak, 'f', 2));
    Tay->setText("ТАУ= " + QString::number(squares / kHours / peak / peak, 'f', 2));
    // A day whose loads sum to zero or less has no form factor.
    if (sum > 0)
        Kf2->setText("Кф2= " + QString::number(kHours * squares / sum / sum, 'f', 2));
}
