#include "CparamUCH.h"

#include "scheme/paramfields.h"
#include "scheme/uchrow.h"
#include "store/numbers.h"
#include "store/ui/textfit.h"
#include "store/ui/widgetmessages.h"

namespace {

// An untouched length goes back as its 3-decimal text when that text holds
// the same value ("12.5" becomes "12.500"), otherwise as it came, so that a
// length the spin box would round or clamp is never changed by opening it.
QString untouchedLength(const QString& original)
{
    bool ok = false;
    const double value = toNumber(original, &ok);
    const QString fixed = QString::number(value, 'f', 3);
    return ok && toNumber(fixed) == value ? fixed : original;
}

} // namespace

CparamUCH::CparamUCH(const Table& catalog, QWidget* parent)
    : QWidget(parent)
    , m_catalog(catalog)
{
    initZorvanResources();
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(OKButton, &QPushButton::clicked, this, &CparamUCH::Param_OK);
    hide();
}

CparamUCH::~CparamUCH() = default;

void CparamUCH::SetUCH(QStringList row)
{
    m_row = fullRow(row);
    setTextFromStart(KommEdit, m_row.value(uchName));
    setTextFromStart(KommEdit_2, m_row.value(uchName1));
    DlinaSpin->setValue(toNumber(m_row.value(uchDl)));
    m_shownLength = DlinaSpin->value();
    showFlag(checkOtkl, m_row.value(uchPodkt));
    showFlag(checkBalance, m_row.value(uchKbal));
    m_names = catalogNames(m_catalog);
    fillTypeCombo(Markacombo, m_names, m_row.value(uchKodEl));
    setWidgetsEnabled({KommEdit, KommEdit_2, Markacombo, DlinaSpin, checkOtkl, checkBalance},
                      !m_row.isEmpty());
}

void CparamUCH::Param_OK()
{
    if (!m_row.isEmpty()) {
        m_row[uchName] = KommEdit->text();
        m_row[uchName1] = KommEdit_2->text();
        m_row[uchKodEl] = Markacombo->currentText();
        m_row[uchDl] = DlinaSpin->value() == m_shownLength
            ? untouchedLength(m_row.at(uchDl))
            : QString::number(DlinaSpin->value(), 'f', 3);
        m_row[uchKbal] = flagField(checkBalance, m_row.at(uchKbal));
        m_row[uchPodkt] = flagField(checkOtkl, m_row.at(uchPodkt));
        emit signalOKParamButton(m_row);
    }
    hide();
}
