#pragma once
// The loss archive as its viewer works with it: the records of one archive
// read, the periods a year holds for one PES or RES, the selection and sum of
// ticked periods, the power table and the removal of records. No window: the
// viewer and the tests call the same code.

#include "store/arxiv.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// One record of the archive and the viewer's mark on it.
struct RaionPot : ResPoter
{
    bool selected = false;
};

// The PES or RES a viewer works for; a PES result is stored under nres "0".
struct ArxivObject
{
    QString npes;
    QString nres;
};

// "январь" .. "декабрь", "год": entry i names period i + 1.
const QStringList& arxivMonthNames();

// The records of a read archive in file order. A row whose "dwpsxx" is
// exactly "0.000" shows the "dwpsumxx" text there, as archives of older
// calculations expect.
QVector<RaionPot> arxivRecords(const ArxivFile& file);

// Entry p - 1 tells whether period p holds a record of object in year; all
// texts are compared whole.
QVector<bool> arxivPeriods(const QVector<RaionPot>& records, const QString& year,
                           const ArxivObject& object);

struct ArxivSelection
{
    int count = 0;        // records selected
    QString periodText;   // each record's month name and the separator, then year + " года"
    QString notes;        // the notes of the selected records' calculation options
};

// Marks the records of the ticked periods (entry i for period i + 1) of object
// in year, period by period and within a period in file order, and clears
// every other mark.
ArxivSelection SelectArxiv(QVector<RaionPot>& records, const QVector<bool>& ticked, const QString& year,
                           const ArxivObject& object, const QString& separator);

// Marks every record of year, whatever its PES and RES; returns their count.
int markArxivYear(QVector<RaionPot>& records, const QString& year);

// The rows of the first selected record in its order. With more selected
// records every value is the sum of the rows with the same id, read through
// the one number conversion and written once with two decimals; rows that
// only later records hold are left out, a row no later record holds keeps its
// texts. One selected record keeps its texts.
QVector<QStringList> SumArxivById(const QVector<RaionPot>& records);

// The table body of the power losses (HtmlBody mode 1): header, one row per
// result row with the power drawn and the five power losses with their
// percentages, the end of the table.
QStringList arxivPowerBody(const QVector<QStringList>& rows);

// Reads the archive at path into *records (and its bytes into *bytes). A
// missing archive has no records, silently. A damaged one (an XML error, a
// file that is there but cannot be read) warns "Ошибка чтения файла " and
// the path and gives no records at all, so nothing of it is shown, summed,
// exported or written back; returns false then.
bool readArxivRecords(const QString& path, QVector<RaionPot>* records, QByteArray* bytes = nullptr);

enum class ArxivPrune { Removed, NothingMarked, Damaged, NotWritten };

// Removes records from the archive at path: rereads it just before (a merge
// made while the viewer was open stays) through readArxivRecords, gives what
// it read to *records, marks with mark and, when the read was whole and
// anything was marked, writes the others in order and the archive as read
// as bakPath, both or neither.
// A damaged read ("Ошибка чтения файла ") and a failed write ("Невозможно
// создать файл -") are reported here; the file then stays as it was.
ArxivPrune pruneArxiv(const QString& path, const QString& bakPath, QVector<RaionPot>* records,
                      const std::function<int(QVector<RaionPot>&)>& mark);
