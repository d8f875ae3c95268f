#include "CparamTR3.h"

#include "scheme/paramfields.h"
#include "scheme/uchrow.h"
#include "store/ui/textfit.h"
#include "store/ui/widgetmessages.h"

CparamTR3::CparamTR3(const Table& catalog, QWidget* parent)
    : QWidget(parent)
    , m_catalog(catalog)
{
    initZorvanResources();
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(OKButton, &QPushButton::clicked, this, &CparamTR3::Param_OK);
    hide();
}

CparamTR3::~CparamTR3() = default;

void CparamTR3::SetUCH(QStringList hv, QStringList mv, QStringList lv, double unom)
{
    m_hv = fullRow(hv);
    m_mv = fullRow(mv);
    m_lv = fullRow(lv);
    m_names = transformerNames(m_catalog, unom);

    setTextFromStart(KommEdit, m_hv.value(uchName));
    setTextFromStart(KommEdit_2, m_hv.value(uchName1));
    showTap(spinOtv, m_hv.value(uchNotv));
    showFlag(checkOtkl, m_hv.value(uchPodkt));
    fillTypeCombo(Markacombo, m_names, m_hv.value(uchKodEl));
    setWidgetsEnabled({KommEdit, KommEdit_2, Markacombo, spinOtv, checkOtkl}, !m_hv.isEmpty());

    showFlag(checkOtkl_2, m_mv.value(uchPodkt));
    fillTypeCombo(Markacombo_2, m_names, m_mv.value(uchKodEl));
    setWidgetsEnabled({Markacombo_2, checkOtkl_2}, !m_mv.isEmpty());

    showFlag(checkOtkl_3, m_lv.value(uchPodkt));
    fillTypeCombo(Markacombo_3, m_names, m_lv.value(uchKodEl));
    setWidgetsEnabled({Markacombo_3, checkOtkl_3}, !m_lv.isEmpty());

    // The balance flag belongs to every row; it shows the first row there is.
    m_shownBalance.clear();
    for (const QStringList* row : {&m_hv, &m_mv, &m_lv}) {
        if (!row->isEmpty()) {
            m_shownBalance = row->at(uchKbal);
            break;
        }
    }
    showFlag(checkBalance, m_shownBalance);
    checkBalance->setEnabled(!(m_hv.isEmpty() && m_mv.isEmpty() && m_lv.isEmpty()));
}

void CparamTR3::Param_OK()
{
    if (!m_hv.isEmpty()) {
        m_hv[uchName] = KommEdit->text();
        m_hv[uchName1] = KommEdit_2->text();
        m_hv[uchKodEl] = Markacombo->currentText();
        m_hv[uchNotv] = tapField(spinOtv, m_hv.at(uchNotv));
        m_hv[uchPodkt] = flagField(checkOtkl, m_hv.at(uchPodkt));
    }
    if (!m_mv.isEmpty()) {
        m_mv[uchKodEl] = Markacombo_2->currentText();
        m_mv[uchPodkt] = flagField(checkOtkl_2, m_mv.at(uchPodkt));
    }
    if (!m_lv.isEmpty()) {
        m_lv[uchKodEl] = Markacombo_3->currentText();
        m_lv[uchPodkt] = flagField(checkOtkl_3, m_lv.at(uchPodkt));
    }
    for (QStringList* row : {&m_hv, &m_mv, &m_lv}) {
        if (row->isEmpty())
            continue;
        (*row)[uchKbal] = flagField(checkBalance, m_shownBalance, row->at(uchKbal));
        emit signalOKParamButton(*row);
    }
    hide();
}
