#include "CparamShow.h"

CparamShow::CparamShow(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
}

void CparamShow::Param_OK()
{
    QStringList param;
    if (checkLin_P->isChecked())
        param.append(QStringLiteral("PTK"));
    if (check_DP->isChecked())
        param.append(QStringLiteral("DP"));
    if (checkLin_I->isChecked())
        param.append(QStringLiteral("ITK"));
    if (checkLin_dU->isChecked())
        param.append(QStringLiteral("DU"));
    emit signalCheckParamButton(param);
}
