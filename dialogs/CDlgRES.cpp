#include "CDlgRES.h"

#include "CDlgVvodRES.h"
#include "dialogresources.h"
#include "lossrunwindow.h"

#include "reference/CDlgArxiv.h"

#include "calc/lossrun.h"
#include "calc/netreports.h"
#include "store/SaveInfo.h"
#include "store/arxiv.h"
#include "store/messages.h"
#include "store/readregim.h"
#include "store/safefile.h"
#include "store/ui/closing.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"
#include "store/ui/textfit.h"

#include <QCloseEvent>

namespace {

enum ResCol { rNpes, rNres, rName, rDnres, rIndT };

const QString kErrorLog = QStringLiteral("Ошибки при расчете потерь.log");

} // namespace

CDlgRES::CDlgRES(QString key, QWidget* tree)
    : QDialog(tree)
    , m_pTree(tree)
    , m_npes(NPES)
    , m_nres(NRES)
    , m_temp(pT_RES)
{
    Q_UNUSED(key);
    initDialogResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(400, 360));

    const Table rows = ReadShablonXML(QStringLiteral("res"), attrRES, QStringLiteral("RES"));
    for (const QStringList& row : rows) {
        if (row.value(rNpes) != NPES || row.value(rNres) != NRES)
            continue;
        m_row.read = row;
        m_name = row.value(rName);
        m_npes = NPES = row.value(rNpes);
        m_nres = NRES = row.value(rNres);
        checkTemp->setChecked(row.value(rIndT) == QLatin1String("1"));
        // The runs use what the spin box shows, never a value beyond its range.
        pT_RES = resTemperature(row);
        m_temp = pT_RES;
        SpinTemp->setValue(pT_RES);
        setWindowTitle("Режимы работы на уровне " + m_name);
        setTextFromStart(DnRES, row.value(rDnres));
        nomRES->setText(row.value(rNres));
        pNameRas.append(m_name);
    }

    connect(VvodRES, &QPushButton::clicked, this, &CDlgRES::slot_VvodRES);
    connect(CalcRES, &QPushButton::clicked, this, &CDlgRES::slot_CalcRES);
    connect(SaveArxRES, &QPushButton::clicked, this, &CDlgRES::slot_SaveArx);
    connect(ArxivRES, &QPushButton::clicked, this, &CDlgRES::slot_ArxivRES);
    connect(ShowRES, &QPushButton::clicked, this, &CDlgRES::slot_ShowRES);
    connect(ParamRES, &QPushButton::clicked, this, &CDlgRES::slot_ParamRES);
    connect(ErrorRES, &QPushButton::clicked, this, &CDlgRES::slot_ErrorRES);
    connect(SaveButton, &QPushButton::clicked, this, &CDlgRES::slot_Save);
    // Only a result file written by this window may go into the archive.
    SaveArxRES->setEnabled(false);
    m_row.shown = currentRow();
}

CDlgRES::~CDlgRES()
{
    delete m_pArxiv.data();
    delete m_pVvod.data();
    // The tree keeps a guarded pointer to this window and unlocks itself when
    // the window is destroyed.
}

QString CDlgRES::reportName() const
{
    return "Потери в сети 35-220 кВ " + m_name;
}

QStringList CDlgRES::currentRow() const
{
    return {m_npes, m_nres, m_name, DnRES->text(),
            checkTemp->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
            QString::number(SpinTemp->value(), 'f', 1)};
}

void CDlgRES::slot_Save()
{
    if (MsgBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение")))
        return;
    saveRes();
}

bool CDlgRES::saveRes()
{
    m_row.now = currentRow();
    m_temp = SpinTemp->value();
    pT_RES = m_temp;

    // Only the fields changed here; what other windows saved meanwhile stays.
    const OwnRowSave saved = saveOwnRow(QStringLiteral("res"), attrRES, QStringLiteral("RES"),
                                        QStringLiteral("net10_RES"), m_row, 2);
    if (saved == OwnRowSave::Missing)
        warnResNotFound();
    if (saved != OwnRowSave::Saved)
        return false;
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"));
    return true;
}

void CDlgRES::slot_CalcRES()
{
    if (m_running)
        return;
    setRunning(true);
    SaveArxRES->setEnabled(false);

    // The calculation reads the current selection: make it this window's RES.
    NPES = m_npes;
    NRES = m_nres;
    pT_RES = m_temp;

    // A damaged table yields no result: the reader has warned, and the
    // archive button stays disabled.
    const CalcTables tables = CalcTables::read();
    if (!tables.damaged) {
        int errorSum = 0;
        // The result, its report and its log land together or not at all.
        StagedFiles files;
        const bool stayed = runLossInWindow(
            this,
            [npes = m_npes, nres = m_nres, &tables](const LossProgress& progress) {
                return runLossRES(npes, nres, tables, progress);
            },
            [&](const LossCollection& run) {
                keepLines(*this, run);
                m_errors = run.errors;
                errorSum = run.errorSum;
                SavePoteri(files);
            });
        if (!stayed)
            return;
        SaveHtml(files);
        if (errorSum != 0)
            stageLog(files, kErrorLog, m_errors);
        landLossRun(files, {SaveArxRES, ShowRES, ErrorRES}, reportName(),
                    errorSum != 0 ? kErrorLog : QString());
    }

    setRunning(false);
}

void CDlgRES::setRunning(bool running)
{
    m_running = running;
    CalcRES->setEnabled(!running);
    // The RES row and the temperature the run uses stay as they are until it ends.
    groupBox->setEnabled(!running);
}

void CDlgRES::SavePoteri(StagedFiles& files)
{
    m_rows = poteriRowsRES(keptLines(*this), &m_sumRES);
    stagePoteri(files, m_npes, m_nres, m_rows);
}

void CDlgRES::SaveHtml(StagedFiles& files)
{
    stageHtmlBody(files, reportName(), NamePeriod, lossReportBody(m_rows, lossCaptionRES(pT_RES)), 1);
}

void CDlgRES::slot_ShowRES()
{
    ShowFile(reportName(), QStringLiteral("html"));
}

void CDlgRES::slot_ErrorRES()
{
    ShowFile(kErrorLog, QString());
}

void CDlgRES::slot_SaveArx()
{
    SaveArxiv();
}

void CDlgRES::slot_ArxivRES()
{
    // The viewer keeps this window's RES and its name, whatever is selected later.
    if (!m_pArxiv) {
        NPES = m_npes;
        NRES = m_nres;
        pNameRas = QStringList{m_name};
        m_pArxiv = new CDlgArxiv(this, 1, m_npes, m_nres);
    }
    m_pArxiv->show();
    m_pArxiv->raise();
}

void CDlgRES::slot_VvodRES()
{
    // One input window per RES window; it works on this window's RES.
    if (!m_pVvod) {
        NPES = m_npes;
        NRES = m_nres;
        m_pVvod = new CDlgVvodRES(m_npes, m_nres, m_name, this);
    }
    m_pVvod->show();
    m_pVvod->raise();
}

void CDlgRES::slot_ParamRES()
{
    // The report reads the current selection: make it this window's RES.
    NPES = m_npes;
    NRES = m_nres;
    ParamRESReport(m_name);
}

void CDlgRES::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDlgRES::reject()
{
    // The monthly input closes first, asking for its own edits.
    if (m_running || !closeWindow(m_pVvod)
        || !mayClose(this, hasUnsavedEdits(), [this] { return saveRes(); }))
        return;
    QDialog::reject();
}
