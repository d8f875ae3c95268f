#include "startfolder.h"

#include "store/readregim.h"

#include <QDir>

StartFolder::StartFolder()
    : m_previousCurrent(QDir::currentPath())
{
    QDir::setCurrent(path());
}

StartFolder::~StartFolder()
{
    QDir::setCurrent(m_previousCurrent);
}

QString StartFolder::dataPath() const
{
    return QDir::currentPath() + "/";
}

void StartFolder::makeFolder(const QString& name) const
{
    QDir(path()).mkpath(name);
}

void resetStartGlobals()
{
    NamePeriod.clear();
    pMec.clear();
    pYear.clear();
    TmRas = 0;
    pHoly = 0.8;
    pT_sr = 20.0;
    pT_RES = 20.0;
    pk_Nagr = 1.0;
    pr_Bal = 0;
    p_tranz = 0;
    p_Iz = 0;
    OS.clear();
}
