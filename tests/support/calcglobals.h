#pragma once
// The calculation settings every calculation test starts from: those before
// any main window existed, then RES "1" of PES "1" and a 30-day period.

#include "startfolder.h"

inline void resetCalcGlobals()
{
    resetStartGlobals();
    NPES = NRES = NLIN = QStringLiteral("1");
    TmRas = 30;
    NamePeriod = QStringLiteral("Январь 2026 года");
    pNameRas.clear();
}
