#pragma once
// Runs Debian's own Python with openpyxl, the independent reader and writer
// against which our workbooks are checked.

#include <QProcess>

// Runs the script with the arguments and gives its standard output. On a
// failure (start, exit code) *error gets the reason and its error output.
inline QByteArray runPython(const QString& script, const QStringList& arguments, QString* error)
{
    error->clear();
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    // No time limit of our own: the test runner's timeout covers a hang.
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1))
        *error = QStringLiteral("python did not run: ") + process.errorString();
    else if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        *error = QStringLiteral("python failed: ") + QString::fromUtf8(process.readAllStandardError());
    return error->isEmpty() ? process.readAllStandardOutput() : QByteArray();
}

// Empty when /usr/bin/python3 with openpyxl can run; otherwise the reason,
// for the test's skip message.
inline QString openpyxlMissing()
{
    QString error;
    runPython(QStringLiteral("import openpyxl"), {}, &error);
    return error.isEmpty() ? QString() : QStringLiteral("openpyxl is missing (") + error.trimmed() + ")";
}
