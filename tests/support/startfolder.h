#pragma once
// A temporary working directory that is also the current directory, as the
// program finds it when it is started there.

#include "testsupport.h"

class StartFolder : public TempWorkDir
{
public:
    StartFolder();
    ~StartFolder();

    // The data path the program derives from the current directory.
    QString dataPath() const;
    void makeFolder(const QString& name) const;

private:
    QString m_previousCurrent;
};

// Puts the period, the coefficients, the options and the platform tag back
// to their values before any main window existed.
void resetStartGlobals();
