#pragma once
// Tables of strings to and from files a user opens in a spreadsheet program:
// an .xlsx workbook (sheet "Лист1") and a UTF-8 text file with ";" between
// the values. File names are full paths.

#include <QString>
#include <QStringList>
#include <QVector>

// Writes rows into a new workbook with the one sheet "Лист1": row i, item j of
// the table go to cell (i + 1, j + 1) as text. The file is replaced whole, so
// nothing of an older, longer export stays behind. A workbook that cannot be
// saved warns "Невозможно создать файл -" and the name; success is silent.
// Returns whether the file was written.
bool SaveXlsx(const QString& file, const QVector<QStringList>& rows);

// Reads the sheet "Лист1" (else the first sheet) from row 2 on, stopping at
// the first row whose first cell is empty after trimming, at most up to row
// 99999. Each row gives one text: its cells 1 to n, each trimmed, with ";"
// inside a value turned into ",", and each followed by ";". A missing file
// warns "Файл не найден ", a file that is no workbook "Ошибка чтения файла ";
// both give an empty list.
QStringList LoadXlsx(const QString& file, int n);

// Writes header, then one line per row with the items joined by ";", every
// line ending in a line feed, and reports the result in a message box: a
// link that leads out of the folder "Невозможно создать файл -", another
// failure "Ошибка открытия файла ".
void SaveCsv(const QString& file, const QVector<QStringList>& rows, const QString& header);

// The lines of a UTF-8 text file without their line ends, skipping those that
// begin with "*" (comments); empty lines are kept. A file that cannot be read
// warns "Ошибка чтения файла " and gives an empty list.
QStringList LoadCsv(const QString& file);
