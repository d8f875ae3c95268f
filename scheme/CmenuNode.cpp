#include "CmenuNode.h"

CmenuNode::CmenuNode(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Popup);
    connect(AddLineButton, &QPushButton::clicked, this, &CmenuNode::Slot_AddLine);
    connect(AddTpButton, &QPushButton::clicked, this, &CmenuNode::Slot_AddTP);
    connect(AddT3Button, &QPushButton::clicked, this, &CmenuNode::Slot_AddTP3);
    hide();
}

CmenuNode::~CmenuNode() = default;

void CmenuNode::Slot_AddLine()
{
    emit signalNodeMenu(AddLine);
}

void CmenuNode::Slot_AddTP()
{
    emit signalNodeMenu(AddTP);
}

void CmenuNode::Slot_AddTP3()
{
    emit signalNodeMenu(AddTP3);
}
