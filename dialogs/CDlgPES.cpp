#include "CDlgPES.h"

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
#include "store/ui/placement.h"

#include <QCloseEvent>

CDlgPES::CDlgPES(QString key, QWidget* tree)
    : QDialog(tree)
    , m_pTree(tree)
    , m_npes(NPES)
{
    Q_UNUSED(key);
    initDialogResources();
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(450, 300));

    const Table rows = ReadShablonXML(QStringLiteral("pes"), attrPES, QStringLiteral("PES"));
    for (const QStringList& row : rows) {
        if (row.value(0) != NPES)
            continue;
        m_name = row.value(1);
        setWindowTitle(m_name);
        pNameRas.append(m_name);
    }

    connect(CalcPES, &QPushButton::clicked, this, &CDlgPES::slot_CalcPES);
    connect(ShowPES, &QPushButton::clicked, this, &CDlgPES::slot_ShowPES);
    connect(ArxivSave, &QPushButton::clicked, this, &CDlgPES::slot_SaveArxiv);
    connect(ArxivPES, &QPushButton::clicked, this, &CDlgPES::slot_ArxivPES);
    connect(ParamPES, &QPushButton::clicked, this, &CDlgPES::slot_ParamPES);
    // Only a result file written by this window may go into the archive.
    ArxivSave->setEnabled(false);
}

CDlgPES::~CDlgPES()
{
    delete m_pArxiv.data();
    // The tree keeps a guarded pointer to this window and unlocks itself when
    // the window is destroyed.
}

QString CDlgPES::reportName() const
{
    return "Потери в сети 3-20 кВ " + m_name;
}

void CDlgPES::slot_CalcPES()
{
    if (m_running)
        return;
    m_running = true;
    // The report would move NRES under the run's feet between two lines.
    for (QPushButton* button : {CalcPES, ArxivSave, ParamPES})
        button->setEnabled(false);

    // The calculation reads the current selection: make it this window's PES.
    NPES = m_npes;

    // A damaged table yields no result: the reader has warned, and the
    // archive button stays disabled.
    bool resDamaged = false;
    const Table resRows = ReadShablonXML(QStringLiteral("res"), attrRES, QStringLiteral("RES"),
                                         &resDamaged);
    const CalcTables tables = resDamaged ? CalcTables() : CalcTables::read();
    if (!resDamaged && !tables.damaged) {
        // The result and its report land together or not at all.
        StagedFiles files;
        const bool stayed = runLossInWindow(
            this,
            [npes = m_npes, &resRows, &tables](const LossProgress& progress) {
                return runLossPES(npes, resRows, tables, progress);
            },
            [&](const LossCollection& run) {
                keepLines(*this, run);
                m_resNames = run.resNames;
                m_resIds = run.resIds;
                m_resBounds = run.resBounds;
                SavePoteri(files);
            });
        if (!stayed)
            return;
        SaveHtml(files);
        landLossRun(files, {ArxivSave, ShowPES}, reportName());
    }

    m_running = false;
    CalcPES->setEnabled(true);
    ParamPES->setEnabled(true);
}

void CDlgPES::SavePoteri(StagedFiles& files)
{
    LossCollection run = keptLines(*this);
    run.resNames = m_resNames;
    run.resIds = m_resIds;
    run.resBounds = m_resBounds;
    m_rows = poteriRowsPES(run, &m_sumPES);
    // PES results are archived under nres "0".
    stagePoteri(files, m_npes, QStringLiteral("0"), m_rows);
}

void CDlgPES::SaveHtml(StagedFiles& files)
{
    stageHtmlBody(files, reportName(), NamePeriod, lossReportBody(m_rows, lossCaptionPES()), 1);
}

void CDlgPES::slot_ShowPES()
{
    ShowFile(reportName(), QStringLiteral("html"));
}

void CDlgPES::slot_SaveArxiv()
{
    SaveArxiv();
}

void CDlgPES::slot_ArxivPES()
{
    // The viewer keeps this window's PES and its name, whatever is selected later.
    if (!m_pArxiv) {
        NPES = m_npes;
        pNameRas = QStringList{m_name};
        m_pArxiv = new CDlgArxiv(this, 0, m_npes, QString());
    }
    m_pArxiv->show();
    m_pArxiv->raise();
}

void CDlgPES::slot_ParamPES()
{
    if (m_running)
        return;
    NPES = m_npes;
    ParamPESReport(m_name);
}

void CDlgPES::closeEvent(QCloseEvent* event)
{
    if (m_running) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDlgPES::reject()
{
    if (m_running)
        return;
    QDialog::reject();
}
