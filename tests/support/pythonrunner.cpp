#include "pythonrunner.h"

#include <QProcess>

QByteArray runPython(const QString& script, const QStringList& arguments, QString* error)
{
    error->clear();
    QProcess process;
    process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral("-c"), script} + arguments);
    // No time limit of our own: the test runner's timeout covers a hang.
    if (!process.waitForStarted(-1) || !process.waitForFinished(-1)) {
        *error = QStringLiteral("python did not run: ") + process.errorString();
        return QByteArray();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        *error = QStringLiteral("python failed: ") + QString::fromUtf8(process.readAllStandardError());
        return QByteArray();
    }
    return process.readAllStandardOutput();
}

QString openpyxlMissing()
{
    QString error;
    runPython(QStringLiteral("import openpyxl"), {}, &error);
    return error.isEmpty() ? QString() : QStringLiteral("openpyxl is missing (") + error.trimmed() + ")";
}
