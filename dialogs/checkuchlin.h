#pragma once
// Topology check of one line's sections, kept apart from the sections editor
// so that it runs on plain tables.

#include "store/readregim.h"

#include <QStringList>

// Checks the rows of one line (attrUchLin order; only "nyzln", "nyzlk",
// "tip_el" and "podkt" are read) and returns the lines of the log
// "Ошибки в участках линии.log" in the order found; empty when the line is
// clean. Warnings ("Предупреждение: ...") count like errors.
QStringList checkLineSections(const Table& rows);
