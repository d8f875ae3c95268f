#pragma once
// Runs the calculation of line "1" over a TestNetwork handed in as tables.

#include "calc/zorvantask.h"
#include "testnetwork.h"

#include <memory>

inline std::unique_ptr<CalcRadial> calculate(const TestNetwork& net, int mode = 0,
                                             const QString& nlin = QStringLiteral("1"))
{
    CalcTables tables;
    tables.lines = net.lines;
    tables.sections = net.sections;
    tables.katLin = net.katLin;
    tables.katTr = net.katTr;
    tables.indexSections();
    auto calc = std::make_unique<CalcRadial>();
    calc->setTables(tables);
    calc->CalcUR(nlin, mode, 0, 0);
    return calc;
}
