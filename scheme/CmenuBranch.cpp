#include "CmenuBranch.h"

CmenuBranch::CmenuBranch(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(DelButton, &QPushButton::clicked, this, &CmenuBranch::DelPoint_OK);
    connect(AddButton, &QPushButton::clicked, this, &CmenuBranch::AddPoint_OK);
    connect(ParamButton, &QPushButton::clicked, this, &CmenuBranch::Param_OK);
    hide();
}

CmenuBranch::~CmenuBranch() = default;

void CmenuBranch::DelPoint_OK()
{
    emit signalBranchMenu(DelPoint);
}

void CmenuBranch::AddPoint_OK()
{
    emit signalBranchMenu(AddPoint);
}

void CmenuBranch::Param_OK()
{
    emit signalBranchMenu(Param);
}
