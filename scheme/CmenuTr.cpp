#include "CmenuTr.h"

CmenuTr::CmenuTr(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(ParamButton, &QPushButton::clicked, this, &CmenuTr::Param_OK);
    hide();
}

CmenuTr::~CmenuTr() = default;

void CmenuTr::Param_OK()
{
    emit signalTrMenu(Param);
}
