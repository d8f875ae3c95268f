#include "CparamTR2.h"

#include "scheme/paramfields.h"
#include "scheme/uchrow.h"
#include "store/ui/textfit.h"
#include "store/ui/widgetmessages.h"

CparamTR2::CparamTR2(const Table& catalog, QWidget* parent)
    : QWidget(parent)
    , m_catalog(catalog)
{
    initZorvanResources();
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(OKButton, &QPushButton::clicked, this, &CparamTR2::Param_OK);
    hide();
}

CparamTR2::~CparamTR2() = default;

void CparamTR2::SetUCH(QStringList row, double unom)
{
    m_row = fullRow(row);
    setTextFromStart(KommEdit, m_row.value(uchName));
    setTextFromStart(KommEdit_2, m_row.value(uchName1));
    showTap(spinOtv, m_row.value(uchNotv));
    showFlag(checkOtkl, m_row.value(uchPodkt));
    showFlag(checkBalance, m_row.value(uchKbal));
    m_names = transformerNames(m_catalog, unom);
    fillTypeCombo(Markacombo, m_names, m_row.value(uchKodEl));
    setWidgetsEnabled({KommEdit, KommEdit_2, Markacombo, spinOtv, checkOtkl, checkBalance},
                      !m_row.isEmpty());
}

void CparamTR2::Param_OK()
{
    if (!m_row.isEmpty()) {
        m_row[uchName] = KommEdit->text();
        m_row[uchName1] = KommEdit_2->text();
        m_row[uchKodEl] = Markacombo->currentText();
        m_row[uchNotv] = tapField(spinOtv, m_row.at(uchNotv));
        m_row[uchKbal] = flagField(checkBalance, m_row.at(uchKbal));
        m_row[uchPodkt] = flagField(checkOtkl, m_row.at(uchPodkt));
        emit signalOKParamButton(m_row);
    }
    hide();
}
