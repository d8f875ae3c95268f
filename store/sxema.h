#pragma once
// The file of saved line schemes, "sxemalin.xml" in the data path: one record
// "LinID" per line (its npes, nres, nlin and background colour) holding the
// drawn buses, line sections and transformers of that line.

#include <QString>
#include <QStringList>
#include <QVector>

class StagedFiles;

// Places and sizes read from a scheme file are kept within this many units,
// by the editor and the regime display alike: no arithmetic on an absurd
// value (x="3e9", a vertex of 31 digits) overflows, and every element stays
// within scroll reach.
constexpr int kMaxSchemeExtent = 10000000;

// A place or size of a scheme record read within +-kMaxSchemeExtent; text
// that is no number reads as 0.
double schemeCoordinate(const QString& text);

// Attribute names of the record and of each kind of drawn element, in the
// order they are written; item i of a row is the value of name i.
extern const QStringList sxemaKeyAttrs;      // "npes", "nres", "nlin", "background-color"
extern const QStringList sxemaNodeAttrs;     // "Node"
extern const QStringList sxemaLineAttrs;     // "Line"
extern const QStringList sxemaTransfAttrs;   // "Transf"
extern const QStringList sxemaTransf3Attrs;  // "Transf_3"

// The drawing of one line.
struct SxemaLin
{
    QStringList key;                  // npes, nres, nlin[, background colour]
    QVector<QStringList> nodes;       // "Node" rows
    QVector<QStringList> lines;       // "Line" rows
    QVector<QStringList> transf;      // "Transf" rows
    QVector<QStringList> transf3;     // "Transf_3" rows
};

// The saved scheme of the current line (NPES, NRES, NLIN), loaded by the
// constructor. No file or no record leaves every list empty and the colour
// "RGB(255,255,255)"; an XML error keeps what was loaded before it. The key
// list carries the record's codes and colour, as the record holds them.
class ReadSxem : public SxemaLin
{
public:
    ReadSxem();

    QString color = QStringLiteral("RGB(255,255,255)");
};

// Stores the record of one line: replaces the record(s) with the same npes,
// nres and nlin where they stand, or appends it. "sxemalin.bak" keeps the
// previous file. Shows "Данные сохранены" on success. Refuses a key list
// without the three codes ("Нет данных о ключе схемы") and an existing file
// whose read met an XML error (file and .bak stay as they were). Returns
// whether the file was written.
bool saveSxemaXML(SxemaLin sxema);

// The same store staged into files (safefile.h), with the same refusals and
// warnings but no success message: for a save that writes the scheme file
// together with other files. False when refused or not staged. Given
// unchanged, a record the file already holds as it is (sameSxema), or a
// drawing without elements for a line the file holds none of, stages
// nothing and sets *unchanged: the file and its .bak stay.
bool stageSxemaRecord(StagedFiles& files, SxemaLin sxema, bool* unchanged = nullptr);

// Whether two drawings hold the same key list and records, whatever the
// order of the records of a kind: a drawing taken from a scene comes in
// stacking order, which a reopened drawing changes.
bool sameSxema(const SxemaLin& a, const SxemaLin& b);

// ---- Maintenance of the whole file by the object operations ----------------------

struct SxemaFile
{
    QVector<SxemaLin> records;  // records with at least one element, file order
    // The read is damaged: an XML error, a file that exists but cannot be
    // read, or elements without one "LinID". Never rewrite from such a read.
    bool xmlError = false;
};

// Reads every record of "sxemalin.xml"; a missing or blank file gives no
// records and no error; elements outside a "LinID" belong to no record.
// Shows nothing.
SxemaFile readSxemaFile();

// Rewrites "sxemalin.xml" from records and the previous file as
// "sxemalin.bak", both or neither. Warns "Невозможно создать файл -" when it
// cannot be written.
bool writeSxemaFile(const QVector<SxemaLin>& records);

// The same write staged into files (with the same warning when it cannot be
// staged), to be committed with other files (safefile.h).
bool stageSxemaFile(StagedFiles& files, const QVector<SxemaLin>& records);

// Full path of the scheme file.
QString sxemaFilePath();
