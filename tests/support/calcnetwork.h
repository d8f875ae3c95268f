#pragma once
// The tables of a TestNetwork as a calculation takes them, and the
// calculation of line "1" over them.

#include "calc/zorvantask.h"
#include "testnetwork.h"

#include <memory>

inline CalcTables calcTables(const TestNetwork& net)
{
    CalcTables tables;
    tables.lines = net.lines;
    tables.sections = net.sections;
    tables.katLin = net.katLin;
    tables.katTr = net.katTr;
    tables.indexSections();
    return tables;
}

inline std::unique_ptr<CalcRadial> calculate(const TestNetwork& net, int mode = 0, const QString& nlin = "1")
{
    auto calc = std::make_unique<CalcRadial>();
    calc->setTables(calcTables(net));
    calc->CalcUR(nlin, mode, 0, 0);
    return calc;
}
