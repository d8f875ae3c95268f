#include "CDlgArxiv.h"

#include "arxivworkbook.h"

#include "calc/lossrun.h"
#include "store/SaveInfo.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/readregim.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"
#include "store/ui/widgetmessages.h"

#include <QHeaderView>
#include <QTableWidgetItem>

namespace {

const QString kWarningTitle = QStringLiteral("Предупреждение");

QString archivePath()
{
    return ZORVAN_PATH + QStringLiteral("arxiv110.xml");
}

} // namespace

// Outside the namespace: the resource's registration function has external linkage.
static void initArxivResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    initZorvanResources();
    Q_INIT_RESOURCE(arxiv);
}

CDlgArxiv::CDlgArxiv(QWidget* parent, int level, const QString& npes, const QString& nres)
    : QDialog(parent)
    , m_object{npes, level == 0 ? QStringLiteral("0") : nres}
    , m_names(pNameRas)
    , m_months(arxivMonthNames())
{
    initArxivResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(300, 60));

    // PES results are stored under nres "0"; the current RES follows, and
    // stays so after the viewer closes.
    if (level == 0)
        NRES = QStringLiteral("0");

    connect(ShowButton, &QPushButton::clicked, this, &CDlgArxiv::slot_showArxiv);
    connect(ShowPower, &QPushButton::clicked, this, &CDlgArxiv::slot_showPower);
    connect(DelArxiv, &QPushButton::clicked, this, &CDlgArxiv::slot_EraseArxiv);
    connect(DelButton, &QPushButton::clicked, this, &CDlgArxiv::slot_delRow);
    connect(ShowExcel, &QPushButton::clicked, this, &CDlgArxiv::slot_showExcel);
    LoadArxiv();
    tableWidget->verticalHeader()->hide();
    // A year the spin box cannot show is clamped; a change refreshes the table.
    spinBox->setValue(toInteger(pYear));
}

// The opener's QPointer forgets the viewer by itself.
CDlgArxiv::~CDlgArxiv() = default;

void CDlgArxiv::LoadArxiv()
{
    ReadArxiv();
    connect(spinBox, QOverload<int>::of(&QSpinBox::valueChanged), this, &CDlgArxiv::slot_MetodComboChanged);

    tableWidget->horizontalHeader()->setStyleSheet(QStringLiteral("::section{Background-color:rgb(190,190,190)}"));
    tableWidget->setColumnWidth(0, 110);
    tableWidget->setColumnWidth(1, 83);
    tableWidget->setRowCount(m_months.size());
    for (int i = 0; i < m_months.size(); ++i) {
        tableWidget->setItem(i, 0, new QTableWidgetItem(m_months.at(i)));
        auto* box = new QTableWidgetItem();
        box->setCheckState(Qt::Unchecked);
        tableWidget->setItem(i, 1, box);
    }
    // All thirteen periods and both columns in sight, without scrolling.
    const int frame = 2 * tableWidget->frameWidth();
    tableWidget->setMinimumSize(tableWidget->horizontalHeader()->length() + frame,
                                tableWidget->horizontalHeader()->sizeHint().height()
                                    + tableWidget->verticalHeader()->length() + frame);
    slot_MetodComboChanged(spinBox->value());
}

void CDlgArxiv::ReadArxiv()
{
    // A damaged archive warns and shows no period at all, as a removal
    // refuses it: a part of it would be summed as if it were the whole.
    QVector<RaionPot> records;
    readArxivRecords(archivePath(), &records);
    m_records += records;
}

void CDlgArxiv::slot_MetodComboChanged(int)
{
    m_year = QString::number(spinBox->value());
    const QVector<bool> periods = arxivPeriods(m_records, m_year, m_object);
    for (int i = 0; i < periods.size(); ++i) {
        QTableWidgetItem* name = tableWidget->item(i, 0);
        QTableWidgetItem* box = tableWidget->item(i, 1);
        box->setCheckState(Qt::Unchecked);
        if (periods.at(i)) {
            name->setFlags(Qt::ItemIsEnabled);
            box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        } else {
            name->setFlags(Qt::NoItemFlags);
            box->setFlags(Qt::NoItemFlags);
        }
    }
}

QVector<bool> CDlgArxiv::tickedPeriods() const
{
    QVector<bool> ticked(tableWidget->rowCount(), false);
    for (int i = 0; i < ticked.size(); ++i)
        ticked[i] = tableWidget->item(i, 1)->checkState() != Qt::Unchecked;
    return ticked;
}

void CDlgArxiv::makeCurrent() const
{
    pNameRas = m_names;
}

bool CDlgArxiv::selectAndSum(const QString& separator, ArxivSelection* selection)
{
    *selection = SelectArxiv(m_records, tickedPeriods(), m_year, m_object, separator);
    if (selection->count == 0) {
        ShowWarning(kWarningTitle, QStringLiteral("Не выбраны данные для вывода"), this);
        return false;
    }
    m_rows = SumArxivById(m_records);
    makeCurrent();
    return true;
}

void CDlgArxiv::slot_showArxiv()
{
    ArxivSelection selection;
    if (!selectAndSum(QStringLiteral(": "), &selection))
        return;
    HtmlBody(QStringLiteral("Расчет потерь электроэнергии (архив)"), selection.periodText,
             lossReportBody(m_rows, selection.notes), 1);
}

void CDlgArxiv::slot_showPower()
{
    ArxivSelection selection;
    if (!selectAndSum(QStringLiteral(":"), &selection))
        return;
    HtmlBody(QStringLiteral("Расчет потерь мощности (архив)"), selection.periodText, arxivPowerBody(m_rows), 1);
}

void CDlgArxiv::slot_showExcel()
{
    ArxivSelection selection;
    if (!selectAndSum(QStringLiteral(": "), &selection))
        return;
    const QString file = arxivWorkbookPath(m_names);
    if (!writeArxivWorkbook(file, m_rows, m_names, selection.periodText, selection.notes)) {
        ShowWarning(kWarningTitle, "Невозможно создать файл -" + file);
        return;
    }
    ShowWarning(QStringLiteral("Информация"), "Данные сохранены в файл " + file);
}

void CDlgArxiv::slot_delRow()
{
    const QVector<bool> ticked = tickedPeriods();
    const int count = SelectArxiv(m_records, ticked, m_year, m_object, QString()).count;
    const QString nothing = QStringLiteral("Не выбраны данные для удаления");
    if (count == 0) {
        ShowWarning(kWarningTitle, nothing, this);
        return;
    }
    const QString question = count == 1 ? QStringLiteral("Удалить данные за месяц?")
                                        : QStringLiteral("Удалить данные за несколько месяцев?");
    if (MsgBox(question, QStringLiteral("Удаление данных из архива")))
        return;
    SaveDelArxiv([&](QVector<RaionPot>& records) { return SelectArxiv(records, ticked, m_year, m_object, QString()).count; },
                 nothing);
}

void CDlgArxiv::slot_EraseArxiv()
{
    const QString nothing = QStringLiteral("Нет данных для удаления за выбранный год");
    if (markArxivYear(m_records, m_year) == 0) {
        ShowWarning(kWarningTitle, nothing, this);
        return;
    }
    if (MsgBox(QStringLiteral("Удалить данные за выбранный год?"), kWarningTitle))
        return;
    SaveDelArxiv([&](QVector<RaionPot>& records) { return markArxivYear(records, m_year); }, nothing);
}

void CDlgArxiv::SaveDelArxiv(const std::function<int(QVector<RaionPot>&)>& mark, const QString& nothing)
{
    const ArxivPrune result = pruneArxiv(archivePath(), ZORVAN_PATH + QStringLiteral("arxiv110.bak"), &m_records, mark);
    // The records are now those of the archive as it was reread.
    slot_MetodComboChanged(spinBox->value());
    if (result == ArxivPrune::Removed)
        ShowWarning(kWarningTitle, QStringLiteral("Данные удалены из архива"), this);
    else if (result == ArxivPrune::NothingMarked)
        ShowWarning(kWarningTitle, nothing, this);
}
