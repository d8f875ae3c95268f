#pragma once
// A temporary working directory that is also the current directory, as the
// program finds it when it is started there.

#include "testsupport.h"

#include <QDir>

class StartFolder : public TempWorkDir
{
public:
    StartFolder() : m_previousCurrent(QDir::currentPath()) { QDir::setCurrent(path()); }
    ~StartFolder() { QDir::setCurrent(m_previousCurrent); }

    // The data path the program derives from the current directory.
    QString dataPath() const { return QDir::currentPath() + "/"; }
    void makeFolder(const QString& name) const { QDir(path()).mkpath(name); }

private:
    QString m_previousCurrent;
};

// Puts the period, the coefficients, the options and the platform tag back
// to their values before any main window existed.
inline void resetStartGlobals()
{
    NamePeriod.clear();
    pMec.clear();
    pYear.clear();
    TmRas = 0;
    pHoly = 0.8;
    pT_sr = pT_RES = 20.0;
    pk_Nagr = 1.0;
    pr_Bal = p_tranz = p_Iz = 0;
    OS.clear();
}
