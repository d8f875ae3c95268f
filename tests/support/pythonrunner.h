#pragma once
// Runs Debian's own Python with openpyxl, the independent reader and writer
// against which our workbooks are checked.

#include <QByteArray>
#include <QString>
#include <QStringList>

// Empty when /usr/bin/python3 with openpyxl can run; otherwise the reason,
// for the test's skip message.
QString openpyxlMissing();

// Runs the script with the arguments and gives its standard output. On a
// failure (start, exit code) *error gets the reason and its error output.
QByteArray runPython(const QString& script, const QStringList& arguments, QString* error);
