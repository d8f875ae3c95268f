#include "zorvantask.h"

void CalcRadial::runFlowAndTotals(int mode)
{
    Q_UNUSED(mode);
}

void CalcRadial::branchResults(int mode)
{
    Q_UNUSED(mode);
}

void CalcRadial::summaryReport()
{
}

void CalcRadial::writeErrorLog()
{
}
