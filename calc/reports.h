#pragma once
// The calculation writes its reports and its error log through the store's
// report builder; these three calls are the only road to it.

#include <QString>
#include <QStringList>

QStringList lossTableHeader();
void writeHtmlReport(const QString& name, const QString& period, const QStringList& body, int mode);
void writeTextLog(const QString& file, const QStringList& lines);
