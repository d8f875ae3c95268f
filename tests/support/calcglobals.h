#pragma once
// The calculation settings every calculation test starts from: RES "1" of PES
// "1", a 30-day period at 20 °C, no options set.

#include "store/readregim.h"

inline void resetCalcGlobals()
{
    NPES = QStringLiteral("1");
    NRES = QStringLiteral("1");
    NLIN = QStringLiteral("1");
    TmRas = 30;
    pT_RES = 20.0;
    pT_sr = 20.0;
    pk_Nagr = 1.0;
    pHoly = 0.8;
    pr_Bal = 0;
    p_tranz = 0;
    p_Iz = 0;
    NamePeriod = QStringLiteral("Январь 2026 года");
    pNameRas.clear();
}
