#include "CDlgLIN.h"

#include "CDlgTblUchLIN.h"
#include "calc/lossrun.h"
#include "calc/netreports.h"
#include "calc/zorvantask.h"
#include "regime/CRegimShow.h"
#include "scheme/CGraph_DMS.h"
#include "store/messages.h"
#include "store/numbers.h"
#include "store/readregim.h"
#include "store/ui/closing.h"
#include "store/ui/defaultbuttons.h"
#include "store/ui/placement.h"
#include "store/ui/textfit.h"

#include <QCloseEvent>

namespace {

enum ResCol { rNpes, rNres, rName };
enum LinCol {
    lNpes, lNres, lNlin, lName, lDnlin, lPodkl, lUnom, lUmax, lUmin, lTgLin, lKzapol, lKfor,
    lKfree, lSost, lVlin, lIndGraf, lVidRas
};

QString flag(const QAbstractButton* box)
{
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

QString number6(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

void initLineDialogResources()
{
    static bool done = false;
    if (!done) {
        Q_INIT_RESOURCE(lin);
        done = true;
    }
}

CDlgLIN::CDlgLIN(QString key, QWidget* parent)
    : QDialog(parent)
{
    Q_UNUSED(key);
    initLineDialogResources();
    setupUi(this);
    noDefaultButtons(this);
    setAttribute(Qt::WA_DeleteOnClose);
    placeWindow(this, QPoint(100, 60));
    m_pTree = parent;
    // The dialog's own line: a later "Вход" elsewhere moves the selection but
    // never what this dialog reads, writes or calculates.
    m_npes = NPES;
    m_nres = NRES;
    m_nlin = NLIN;
    m_unom = UNOM;
    m_tRes = pT_RES;
    LoadLIN();

    connect(CalcLin, &QPushButton::clicked, this, &CDlgLIN::slot_Calc);
    connect(InfoUchLin, &QPushButton::clicked, this, &CDlgLIN::slot_InfoUCH);
    connect(ParamLin, &QPushButton::clicked, this, &CDlgLIN::slot_Param);
    connect(SxemaLin, &QPushButton::clicked, this, &CDlgLIN::slot_Sxema);
    connect(SxemaEdit, &QPushButton::clicked, this, &CDlgLIN::slot_EditSxema);
    connect(checkKF, &QCheckBox::clicked, this, &CDlgLIN::slot_Refresh);
    connect(SaveButton, &QPushButton::clicked, this, &CDlgLIN::slot_Save);
}

CDlgLIN::~CDlgLIN()
{
    // The tree and the sections editor hold QPointers to this dialog, and the
    // editor is our child: nothing is left pointing here.
}

void CDlgLIN::LoadLIN()
{
    const Table res = ReadShablonXML(QStringLiteral("res"), attrRES, QStringLiteral("RES"));
    QString title = QStringLiteral("Режимы работы на уровне линии ");
    for (const QStringList& row : res) {
        if (row.value(rNpes) != m_npes || row.value(rNres) != m_nres)
            continue;
        title += row.value(rName);
        pNameRas.append(row.value(rName));
        pT_RES = resTemperature(row);   // as the RES window shows and runs it
        break;
    }

    const Table lines = ReadShablonXML(QStringLiteral("lines"), attrLin, QStringLiteral("LIN"));
    for (const QStringList& row : lines) {
        if (row.value(lNpes) != m_npes || row.value(lNres) != m_nres || row.value(lNlin) != m_nlin)
            continue;
        m_row.read = row;
        m_nameLIN = row.value(lName);
        title += " " + m_nameLIN;
        setWindowTitle(title);
        setTextFromStart(NazvLIN, m_nameLIN);
        pNameRas.append(m_nameLIN);

        setTextFromStart(DnLIN, row.value(lDnlin));
        nomRES->setText(row.value(lNres));
        nomLIN->setText(row.value(lNlin));

        Otkl->setValue(toNumber(row.value(lPodkl)));
        Unom->setValue(toNumber(row.value(lUnom)));
        UNOM = toNumber(row.value(lUnom));
        Umax->setValue(toNumber(row.value(lUmax)));
        Umin->setValue(toNumber(row.value(lUmin)));
        tg->setValue(toNumber(row.value(lTgLin)));
        Kz->setValue(toNumber(row.value(lKzapol)));
        Kfor->setValue(toNumber(row.value(lKfor)));
        Kfree->setValue(toNumber(row.value(lKfree)));

        checkPosl->setChecked(row.value(lSost) == QLatin1String("1"));
        checkVariant->setChecked(row.value(lVlin) == QLatin1String("1"));
        checkKF->setChecked(row.value(lIndGraf) == QLatin1String("1"));
        if (row.value(lVidRas) == QLatin1String("1"))
            MetodMax->setChecked(true);
        else
            MetodMiddle->setChecked(true);
        break;
    }
    m_unom = UNOM;
    m_tRes = pT_RES;
    m_names = pNameRas;
    slot_Refresh();
    m_row.shown = currentRow();
}

void CDlgLIN::makeCurrent() const
{
    NPES = m_npes;
    NRES = m_nres;
    NLIN = m_nlin;
    UROV = 2;
    UNOM = m_unom;
    pT_RES = m_tRes;
    pNameRas = m_names;
}

void CDlgLIN::slot_Refresh()
{
    Kfor->setVisible(checkKF->isChecked());
}

QStringList CDlgLIN::currentRow() const
{
    return {m_npes, m_nres, m_nlin, NazvLIN->text(), DnLIN->text(),
            number6(Otkl->value()), number6(Unom->value()), number6(Umax->value()),
            number6(Umin->value()), number6(tg->value()), number6(Kz->value()),
            number6(Kfor->value()), number6(Kfree->value()),
            flag(checkPosl), flag(checkVariant), flag(checkKF),
            MetodMax->isChecked() ? QStringLiteral("1") : QStringLiteral("0")};
}

void CDlgLIN::slot_Save()
{
    if (MsgBox(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение")))
        return;
    saveLine();
}

bool CDlgLIN::saveLine()
{
    // The fields as shown (a stored value a field cannot show is saved as
    // the field shows it), but what other windows saved meanwhile in this
    // line's record (a coefficient, a new name from the tree) stays unless
    // it was edited here.
    m_row.now = currentRow();
    const OwnRowSave saved = saveOwnRow(QStringLiteral("lines"), attrLin, QStringLiteral("LIN"),
                                        QStringLiteral("net110_lines"), m_row, 3);
    if (saved == OwnRowSave::Missing)
        warnLineNotFound();
    if (saved != OwnRowSave::Saved)
        return false;
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"));
    return true;
}

bool CDlgLIN::lineGone() const
{
    if (!objectGoneSince({m_npes, m_nres, m_nlin}, m_row.moment))
        return false;
    warnLineNotFound();
    return true;
}

void CDlgLIN::slot_Calc()
{
    if (m_busy)
        return;
    m_busy = true;
    CalcLin->setEnabled(false);
    makeCurrent();
    {
        CalcRadial calc;
        calc.CalcUR(m_nlin, 1, 1, 1);
    }
    CalcLin->setEnabled(true);
    m_busy = false;
}

void CDlgLIN::slot_InfoUCH()
{
    if (m_pTblUchLIN) {
        m_pTblUchLIN->show();
        m_pTblUchLIN->raise();
        m_pTblUchLIN->activateWindow();
        return;
    }
    // A window opened now would take a new line of the same codes for this one.
    if (lineGone())
        return;
    makeCurrent();
    m_pTblUchLIN = new CDlgTblUchLIN(this);
    m_pTblUchLIN->show();
}

void CDlgLIN::slot_Param()
{
    makeCurrent();
    ParamLineReport(m_nameLIN);
}

void CDlgLIN::slot_Sxema()
{
    makeCurrent();
    auto* window = new CRegimShow(this);
    // It has warned already; a window without a regime is never shown.
    if (window->failed()) {
        delete window;
        return;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}

void CDlgLIN::slot_EditSxema()
{
    if (lineGone())
        return;
    // One editor per line: an open one comes to the front.
    if (CGraph_DMS* open = CGraph_DMS::editorOf(m_npes, m_nres, m_nlin)) {
        if (open->isMinimized())
            open->showNormal();
        open->raise();
        open->activateWindow();
        return;
    }
    // The editor keeps the line current now, whatever is entered later.
    makeCurrent();
    auto* editor = new CGraph_DMS(nullptr);
    editor->show();
}

void CDlgLIN::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CDlgLIN::reject()
{
    if (m_busy || !closeWindow(m_pTblUchLIN)
        || !mayClose(this, hasUnsavedEdits(), [this] { return saveLine(); }))
        return;
    QDialog::reject();
}
