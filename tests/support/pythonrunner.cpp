#include "pythonrunner.h"

#include <QFileInfo>
#include <QProcess>

namespace {
const QString kPython = QStringLiteral("/usr/bin/python3");
}

QByteArray runPython(const QString& script, const QStringList& arguments, QString* error)
{
    error->clear();
    QProcess process;
    process.start(kPython, QStringList{QStringLiteral("-c"), script} + arguments);
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
    if (!QFileInfo(kPython).isExecutable())
        return kPython + QStringLiteral(" is missing");
    QString error;
    runPython(QStringLiteral("import openpyxl"), {}, &error);
    return error.isEmpty() ? QString() : QStringLiteral("openpyxl is missing (") + error.trimmed() + ")";
}
