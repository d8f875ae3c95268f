#include "reports.h"

#if __has_include("store/SaveInfo.h")
#include "store/SaveInfo.h"

QStringList lossTableHeader()
{
    return TableHtml();
}

void writeHtmlReport(const QString& name, const QString& period, const QStringList& body, int mode)
{
    HtmlBody(name, period, body, mode);
}

void writeTextLog(const QString& file, const QStringList& lines)
{
    SaveLog(file, lines);
}

#else
// The store's report builder is not part of this build yet: reports and logs
// are built but not written.
QStringList lossTableHeader()
{
    return {};
}

void writeHtmlReport(const QString&, const QString&, const QStringList&, int)
{
}

void writeTextLog(const QString&, const QStringList&)
{
}
#endif
