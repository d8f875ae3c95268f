#pragma once
// Reports and logs: every HTML report of the program is framed by HtmlBody and
// written into "html/", every text log by SaveLog into the working directory;
// both are then shown through the message hook (the report viewer).

#include <QString>
#include <QStringList>

#include "tableexchange.h"

class StagedFiles;

// A file name built from an object's name: "/", "\" and control characters
// become "_", so a report or log always lands in its own folder. The name
// itself stays as it is in titles and texts.
QString safeFileName(const QString& name);

// The name as handed to the file system by the report, log, CSV and workbook
// functions: passed through the locale's 8-bit conversion when OS is "UNIX".
QString osFileName(const QString& name);

// Where the report of name and the log of name live (the viewer reads the
// same paths): ZORVAN_PATH + "html/" + safe name + ".html", and
// ZORVAN_PATH + safe name.
QString reportFilePath(const QString& name);
QString logFilePath(const QString& name);

// The report page: common header (name, stamp, period when not empty, the
// names of pNameRas when any), for modes 0 and 1 the opening of the loss
// table, then body unchanged and the end of the page. Names are escaped.
QStringList reportLines(const QString& name, const QString& period,
                        const QStringList& body, int mode);

// The page with the heading of each table put into <thead>, so that a
// printed report repeats it on every page: the table's leading rows of
// header cells (with the empty rows their row spans need), or else a first
// row of cells all in bold. A table that has a <thead> already, or no row of
// data after its heading, stays as it is.
QString markTableHeads(const QString& page);

// Writes the report of name (creating "html/" when missing), its table
// headers marked by markTableHeads, and, when mode is not 0, shows it. A report that cannot be written warns
// "Невозможно создать файл -" and shows nothing, so an old report is never
// shown as the new one. Returns true when the report was written.
bool HtmlBody(const QString& name, const QString& period, const QStringList& body, int mode);
// The same report staged into files (safefile.h), to land with the other
// files of one operation; nothing is shown. Warns as HtmlBody when it cannot
// be staged.
bool stageHtmlBody(StagedFiles& files, const QString& name, const QString& period,
                   const QStringList& body, int mode);

// The 19 header lines of the loss table: line, energy supplied and seven loss
// columns; they follow the table opening that HtmlBody writes.
QStringList TableHtml();

// Writes the log (one line per entry, each ended by a line feed) and shows it
// as plain text. A log that cannot be written warns and shows nothing.
bool SaveLog(const QString& file, const QStringList& lines);
// The same log staged into files, not shown; warns as SaveLog.
bool stageLog(StagedFiles& files, const QString& file, const QStringList& lines);
