#include "CDlgKatTR.h"

#include "dialogs/delegate.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QRegularExpression>

namespace {

enum Col { cName, cUnom, cS, cR, cX, cPx, cQx, cUotv, cNotp, cUvn, cUnn, columnCount };

// Built on use: attrTR is a global of another file, not yet made while this
// file's globals are.
TableFile katTrFile()
{
    return TableFile{QStringLiteral("kat_tr"), attrTR, QStringLiteral("Trans"),
                     QStringLiteral("net10_TransInfo")};
}

// Columns of numbers typed as free text: a decimal comma is stored as a
// point, an empty cell stays empty, and text that is no number is refused.
class NumberTextDelegate : public QItemDelegate
{
public:
    using QItemDelegate::QItemDelegate;

    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override
    {
        const auto* line = qobject_cast<QLineEdit*>(editor);
        if (!line || m_refusing)
            return;
        const QString text = line->text().trimmed();
        if (text == model->data(index, Qt::EditRole).toString())
            return;
        if (text.isEmpty()) {
            model->setData(index, text, Qt::EditRole);
            return;
        }
        double value = 0;
        if (!parseTypedNumber(text, &value)) {
            // The box takes the focus from the editor, whose focus-out would
            // bring us back here.
            m_refusing = true;
            ShowWarning(QStringLiteral("Предупреждение"),
                        "Значение \"" + text + "\" не является числом", editor->window());
            m_refusing = false;
            return;
        }
        // Stored as typed, with the point and without group blanks.
        QString stored = text;
        stored.remove(QRegularExpression(QStringLiteral("\\s")));
        stored.replace(QLatin1Char(','), QLatin1Char('.'));
        model->setData(index, stored, Qt::EditRole);
    }

private:
    mutable bool m_refusing = false;
};

} // namespace

CDlgKatTR::CDlgKatTR(QWidget* parent)
    : QDialog(parent)
{
    initReferenceResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(100, 60));

    connect(FindButton, &QPushButton::clicked, this, &CDlgKatTR::slot_Find);
    connect(LineFind, &QLineEdit::returnPressed, this, &CDlgKatTR::slot_Find);
    connect(DelButton, &QPushButton::clicked, this, &CDlgKatTR::slot_delRow);
    connect(AddButton, &QPushButton::clicked, this, &CDlgKatTR::slot_addRow);
    connect(CopyButton, &QPushButton::clicked, this, &CDlgKatTR::slot_copyRow);
    connect(SaveButton, &QPushButton::clicked, this, &CDlgKatTR::slot_saveTrans);
    LoadTrans();
    tableWgt->verticalHeader()->hide();

    m_voltages = QStringList{QStringLiteral("35"), QStringLiteral("66"), QStringLiteral("110"),
                             QStringLiteral("150"), QStringLiteral("220")};
    for (const QString& u : qAsConst(m_voltages))
        UNOMcombo->addItem(u + QStringLiteral("кВ"));
    UNOMcombo->setCurrentIndex(2);
    connect(UNOMcombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &CDlgKatTR::slot_UnomComboChanged);
    slot_UnomComboChanged(2);
}

// The main window's QPointer to this dialog clears itself.
CDlgKatTR::~CDlgKatTR() = default;

void CDlgKatTR::slot_Exit()
{
    close();
}

int CDlgKatTR::LoadTrans()
{
    tableWgt->horizontalHeader()->setStyleSheet(
        QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    const TableFile file = katTrFile();
    const Table rows = ReadShablonXML(file.stem, file.names, file.rowElement, &m_damagedRead);
    fillTable(tableWgt, rows, columnCount);

    // Most 35-220 kV units are 10-250 MVA: S needs six digits of kVA; the
    // hidden unom only ever holds the filter voltages.
    auto* unom = new DSBDelegate(this, 0, 9999.0, 0.1, 3);
    auto* power = new DSBDelegate(this, 0, 999999.0, 10.0, 1);
    auto* parameters = new DSBDelegate(this, 0, 99999.0, 0.5, 2);
    auto* taps = new DSBDelegate(this, 0, 20.0, 1.0, 1);
    for (DSBDelegate* d : {unom, power, parameters, taps})
        d->setWritesOnlyEdits(true);
    tableWgt->setItemDelegateForColumn(cUnom, unom);
    tableWgt->setItemDelegateForColumn(cS, power);
    for (int c : {cR, cX, cPx, cUotv})
        tableWgt->setItemDelegateForColumn(c, parameters);
    tableWgt->setItemDelegateForColumn(cNotp, taps);
    auto* numbers = new NumberTextDelegate(this);
    for (int c : {cQx, cUvn, cUnn})
        tableWgt->setItemDelegateForColumn(c, numbers);

    tableWgt->hideColumn(cUnom);
    tableWgt->resizeColumnsToContents();
    m_saved.keep(catalogRows());
    return 0;
}

void CDlgKatTR::slot_UnomComboChanged(int index)
{
    if (index < 0 || index >= m_voltages.size())
        return;
    m_unom = m_voltages.at(index);
    for (int r = 0; r < tableWgt->rowCount(); ++r)
        tableWgt->setRowHidden(r, cellText(tableWgt, r, cUnom) != m_unom);
}

void CDlgKatTR::slot_addRow()
{
    QStringList texts = QVector<QString>(columnCount).toList();
    texts[cUnom] = m_unom;
    showRow(tableWgt, appendRow(tableWgt, texts));
}

void CDlgKatTR::slot_copyRow()
{
    // A row the filter hides is no current row of the user's.
    showRow(tableWgt, copyCurrentRow(tableWgt, columnCount));
}

void CDlgKatTR::slot_delRow()
{
    deleteCurrentRow(tableWgt);
}

void CDlgKatTR::slot_Find()
{
    findNextRow(tableWgt, cName, LineFind->text(), m_search);
}

Table CDlgKatTR::catalogRows() const
{
    return tableRows(tableWgt, columnCount);
}

bool CDlgKatTR::writeCatalog()
{
    return m_saved.save(katTrFile(), catalogRows(), m_damagedRead, this);
}

void CDlgKatTR::slot_saveTrans()
{
    if (MsgBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение")))
        return;
    writeCatalog();
}

void CDlgKatTR::reject()
{
    if (m_saved.mayCloseEditor(tableWgt, [this] { return catalogRows(); },
                               [this] { return writeCatalog(); }))
        QDialog::reject();
}
