#pragma once
// The workbook of the loss archive: the summed energy losses of the ticked
// periods on three sheets ("Сокращенная форма", "Полная форма", "Форма для
// отчетов") with the program's title, the objects and the period above them.

#include <QString>
#include <QStringList>
#include <QVector>

// ZORVAN_PATH + "Архив потерь " + a blank and each name + ".xlsx", with the
// characters a file name cannot carry replaced; not yet converted for the
// file system.
QString arxivWorkbookPath(const QStringList& names);

// Writes the workbook of rows (attrArx order) to file; the old file is
// replaced only by a complete workbook. Returns false when a cell could not
// be written or the file not saved.
bool writeArxivWorkbook(const QString& file, const QVector<QStringList>& rows, const QStringList& names,
                        const QString& periodText, const QString& notes);
