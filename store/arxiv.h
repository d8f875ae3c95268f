#pragma once
// The loss result "poteri.xml" and the loss archive "arxiv110.xml": one
// format, one reader and one writer for both, shared by the archive merge and
// the archive viewer.
//
//   <ArxivPot created=".." modeling_authority="TARNO">
//     <PoteriEn period="1" year="2026" npes="1" nres="2" type="000">
//       <ResArxiv id=".." name=".." lenerp="1200.500" .../>   (attrArx order)
//     </PoteriEn>
//   </ArxivPot>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

class StagedFiles;

// One record: the results of one calculation (year, period, PES, RES).
// Fields hold the attribute texts exactly as read; rows hold attrArx.size()
// items each, trimmed.
struct ResPoter
{
    QString year;
    QString period;
    QString npes;
    QString nres;
    QString type;
    QVector<QStringList> rows;
};

// Year, period, npes and nres, compared as text (white space counts); the
// type is not part of the key.
bool sameArxivKey(const ResPoter& a, const ResPoter& b);

// What a read of a result or archive file found.
struct ArxivFile
{
    bool opened = false;     // the file existed and could be read
    bool blank = false;      // zero bytes or white space only: an empty archive
    // The read is damaged: an XML error (never set for a blank file), or
    // elements under the root but not one record or row of an archive.
    bool xmlError = false;
    QVector<ResPoter> records;
    int recordElements = 0;  // "PoteriEn" elements seen, rowless ones included
    // The whole file read as one result: each field from the last "PoteriEn"
    // that carries its attribute, the rows of all of them (see resultRecord).
    ResPoter asResult;
};

// Parses archive bytes. Every "PoteriEn" starts a record carrying only its own
// attributes (a missing one reads as empty, never as the previous record's);
// the "ResArxiv" rows that follow belong to it. A "PoteriEn" without rows is
// no record. The read stops at the first XML error with what came before it.
ArxivFile parseArxiv(const QByteArray& bytes);

// Reads and parses a file once; one that is missing or cannot be read is not
// opened.
ArxivFile readArxivFile(const QString& path);

// The single record of a result file: each key attribute taken from the last
// "PoteriEn" that carries it, the rows of all of them. Returns false (and
// leaves *record as far as it got) when the file is damaged, holds no
// "PoteriEn" or no rows, or a key attribute is empty: such a result is never
// merged.
bool resultRecord(const ArxivFile& file, ResPoter* record);

// Replaces every record with the key of record in place (type and rows
// included), or appends record when there is none.
void mergeArxivRecord(QVector<ResPoter>& records, const ResPoter& record);

// Writes records whole to path (root "ArxivPot", records in order, attributes
// "period", "year", "npes", "nres", "type", rows in attrArx order). Returns
// false when the file could not be written; the old file is then untouched.
// Silent: the caller warns.
bool writeArxivFile(const QString& path, const QVector<ResPoter>& records);

// The same write staged into files, to be committed with other files
// (safefile.h); warns "Невозможно создать файл -" under title when it cannot
// be staged.
bool stageArxivFile(StagedFiles& files, const QString& path, const QVector<ResPoter>& records,
                    const QString& title = QStringLiteral("Предупреждение"));

// Merges ZORVAN_PATH + "poteri.xml" into ZORVAN_PATH + "arxiv110.xml", keeping
// the previous archive as "arxiv110.bak" (both files or neither); every
// outcome is reported through the message hook. Returns true when the archive
// was written.
bool SaveArxiv();
