#pragma once
// Program-wide state, the attribute-name lists of the tables and the table
// files: every network table and catalog is a flat XML file in the data path,
// one element per row and one attribute per column.

#include <QString>
#include <QStringList>
#include <QVector>

class QObject;
class QTextCodec;
class StagedFiles;

// A table: rows of strings; item i of a row is the value of name i of the
// attribute list the table was read with.
using Table = QVector<QStringList>;

// ---- Current selection -----------------------------------------------------
extern QString NPES;          // code of the current PES
extern QString NRES;          // code of the current RES within its PES
extern QString NLIN;          // code of the current line within its RES
extern int UROV;              // level of the entered object: 0 PES, 1 RES, 2 line
extern double UNOM;           // nominal voltage of the current line, kV
extern QStringList pNameRas;  // names of the objects of the current calculation

// ---- Calculation period and settings ----------------------------------------
extern QString NamePeriod;    // e.g. "Январь 2026 года"
extern QString pMec;          // "1".."12", "13" for the whole year
extern QString pYear;
extern int TmRas;             // days in the period
extern double pHoly;          // relative consumption of a day off
extern double pT_sr;          // mean air temperature, °C
extern double pT_RES;         // air temperature of the current RES, °C
extern double pk_Nagr;        // load correction coefficient
extern int pr_Bal;            // 1: without regard to balance ownership
extern int p_tranz;           // 1: without transit flows
extern int p_Iz;              // 1: with insulation losses of cables

// ---- Environment --------------------------------------------------------------
extern QString ZORVAN_PATH;   // working directory followed by "/"
extern QString OS;            // "UNIX" once the main window is built
extern QTextCodec* g_pTextCodec;
extern double m_iScale;       // zoom factor of the scheme views

// ---- Attribute-name lists -------------------------------------------------------
extern const QStringList attrPES;     // "pes", row "PES"
extern const QStringList attrRES;     // "res", row "RES"
extern const QStringList attrLin;     // "lines", row "LIN"
extern const QStringList attrUchLin;  // "uch_lin", row "UCH_LIN"
extern const QStringList attrL;       // "kat_lin", row "Wire"
extern const QStringList attrTR;      // "kat_tr", row "Trans"
extern const QStringList attrArx;     // rows "ResArxiv" of result and archive

// ---- Confirmation box -----------------------------------------------------------
// Modal Yes/No question, No by default. Returns true when the answer is No
// (also Escape and closing): callers abandon their action on true.
bool MsgBox(const QString& text, const QString& title);

// ---- Table files ------------------------------------------------------------------
// Reads ZORVAN_PATH + table + ".xml": every element named rowElement, wherever
// it stands, becomes a row of names.size() trimmed values. A missing file warns
// "Отсутствует файл -" and gives an empty table; a blank file or a root
// without children is an empty table, silently. The read is damaged when the file met an XML
// error (the rows before it are returned), exists but cannot be read or is no
// regular file, or holds elements under its root but not one rowElement: it
// then warns "Ошибка чтения файла " once and sets *xmlError, so that the
// caller refuses to write the table back from it.
Table ReadShablonXML(const QString& table, const QStringList& names,
                     const QString& rowElement, bool* xmlError = nullptr);

// The same read, with the same warnings, for a caller that must tell a
// missing or blank file from a table without rows.
struct TableRead
{
    Table rows;
    bool exists = false;    // something stands under the name
    bool blank = false;     // read, and zero bytes or white space only
    bool damaged = false;   // ReadShablonXML's *xmlError
};
TableRead readTable(const QString& table, const QStringList& names, const QString& rowElement);

// The first row whose leading values equal codes (npes[, nres[, nlin]]);
// -1 when there is none.
int rowWithCodes(const Table& rows, const QStringList& codes);

// A line's save that found its line gone from "lines" (deleted meanwhile)
// writes nothing and says so: "Линия не найдена в таблице линий, данные не
// сохранены". The same for a RES gone from "res": "РЭС не найден в таблице
// РЭС, данные не сохранены".
void warnLineNotFound();
void warnResNotFound(QObject* parent = nullptr);

// ---- Objects gone from under open windows --------------------------------------------
// A window notes objectsMoment() when it reads its object (PES, RES, line).
// An object deleted in the tree after that moment, or one above it, is gone
// for that window for good, even when a new object later takes its codes:
// objectGoneSince() is the question every save asks before it writes. A RES
// moved to another PES leaves its old codes the same way.
quint64 objectsMoment();
bool objectGoneSince(const QStringList& codes, quint64 moment);

// Whether the line of codes (npes, nres, nlin) still stands, for a save of
// its rows by a window that read it at moment: it has not gone since, and
// sections, the line-section table as read just now, holds a row of it, or
// else "lines" does (read only then). A line gone warns as warnLineNotFound;
// a damaged "lines" (the reader has warned) is no proof that it stands.
bool lineStillStands(const Table& sections, const QStringList& codes, quint64 moment);

// Writes rows to ZORVAN_PATH + table + ".xml" and the previous file to
// table + ".bak", both or neither (safefile.h). Refuses an empty table
// ("Пустая таблица -") and a row shorter than names ("Структура данных
// нарушена, файл -"); a file that cannot be written warns "Невозможно создать
// файл -". A refused or failed write leaves the file and its .bak as they
// were. Returns true when the file was written.
bool saveShablonXML(const QString& table, const QStringList& names,
                    const QString& rowElement, const QString& rootElement,
                    const Table& rows);

// The same write for callers that really mean an empty table (the last object
// of a table deleted, a model without lines): zero rows write the root alone.
bool saveShablonXMLAllowEmpty(const QString& table, const QStringList& names,
                              const QString& rowElement, const QString& rootElement,
                              const Table& rows);

// Stages the same write (the table and its .bak) into files, with the same
// refusals and warnings, for an operation that writes several files at once;
// nothing is on disk before commitStaged(files). False when refused or when it
// cannot be staged (files is then spoiled).
bool stageShablonXML(StagedFiles& files, const QString& table, const QStringList& names,
                     const QString& rowElement, const QString& rootElement, const Table& rows,
                     bool allowEmpty = false);

// A window's save of its own object's row: rereads the table just before
// writing and, in the row whose first codeCount values equal those of
// row.read, sets only the fields where row.now differs from it, through the
// store's merge (rowmerge.h): what other windows saved meanwhile stays, even
// in this row, and a value only shown otherwise than read is written as
// shown unless another window changed it. A damaged table is never rewritten
// from a partial read; a row no longer in the table, or whose object was
// deleted since row.moment, writes nothing (Missing); a save
// that changes nothing writes nothing (Saved). Once Saved, row.now is what
// the window read and showed.
struct OwnRow
{
    QStringList read;    // the record as the file held it at opening or last save; empty when none
    QStringList shown;   // the record as the window showed it then
    QStringList now;     // the record as the window shows it now
    quint64 moment = objectsMoment();   // when the window was opened on it
};
enum class OwnRowSave { Saved, Damaged, Missing, Failed };
OwnRowSave saveOwnRow(const QString& table, const QStringList& names, const QString& rowElement,
                      const QString& rootElement, OwnRow& row, int codeCount);

// ZORVAN_PATH + relative name.
QString dataFile(const QString& relativeName);

// ---- Object operations ------------------------------------------------------------
// Each works on the current selection NPES, NRES, NLIN, reads the tables it
// needs once and writes nothing when one of them was damaged. A damaged
// "sxemalin.xml" is left untouched while the tables change, with the warning
// "Ошибка чтения файла " and its path. A copied object no longer in its table
// is neither pasted nor moved, with a warning. The files an operation changes
// are replaced all together or, when one cannot be written, not at all (with
// the warning "Невозможно создать файл -"); a success message follows only a
// complete write. A new code beyond the largest integer is refused ("Нет
// свободного кода для нового объекта"). Line schemes follow their lines: a
// delete removes them, a move of a RES gives them its new codes, and a new
// or pasted object drops any drawing left at its codes.

// New PES (level 0), RES in NPES (1) or line in NPES, NRES (2), coded as the
// largest sibling code + 1. Returns 1.
int CreateNewObj(int level);

// Pastes the RES (npes, nres) under NPES or the line (npes, nres, nlin) into
// NPES, NRES, with its lines and sections, under a new code and the name
// followed by "- копия"; shows "Объект добавлен". Returns 0.
int InsertObj(const QStringList& key);

// Renames the current PES, RES or line (by level). Returns 0.
int UpdateObj(int level, const QString& name, const QString& npes, const QString& nres,
              const QString& nlin);

// Moves the RES (npes, nres) under NPES with a new code, or the line
// (npes, nres, nlin) to just before the current line. Returns 0 when moved,
// 1 when not (onto itself: "Объект остается на прежнем месте").
int ChangeObj(const QStringList& key);

// Deletes the current object of the level with everything under it and the
// schemes of its lines. The last row of a table goes too. Returns 1.
int DeleteObj(int level, const QString& npes, const QString& nres, const QString& nlin);

// ---- Whole-model file ---------------------------------------------------------------
// Packs the six tables into fileName (root "Net10"); shows "Модель сети
// сохранена" after a successful write, "Невозможно создать файл -" when it
// cannot be written. Returns whether it wrote.
bool CreateNet(const QString& fileName);

// Replaces the six table files from the model file fileName (".bak" copies
// kept). Returns 0 when loaded; 1, changing nothing, when the file is missing
// ("Отсутствует файл -"), a link leading out of "net/" ("Файл находится вне
// рабочей папки -" or "Файл находится вне папки net -"), unreadable, damaged
// or holds no PES ("Ошибка чтения файла ").
int LoadNet(const QString& fileName);
