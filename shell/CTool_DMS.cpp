#include "CTool_DMS.h"

CDlgAboutPrg::CDlgAboutPrg(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
}

CDlgAboutPrg::~CDlgAboutPrg() = default;
