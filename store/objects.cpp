// Creating, pasting, renaming, moving and deleting PES, RES and lines. Each
// operation reads every table it needs first and writes nothing when one of
// them was damaged, so a half-read table is never written back; the tables it
// changes are replaced together or not at all.

#include "readregim.h"

#include "messages.h"
#include "safefile.h"
#include "sxema.h"

#include <limits>

namespace {

const QString kInfoTitle = QStringLiteral("Информация");
const QString kWarningTitle = QStringLiteral("Предупреждение");

// Column positions shared by the network tables: npes, nres, nlin.
enum { ColPes = 0, ColRes = 1, ColLin = 2 };
const int kPesName = 1;
const int kResName = 2;
const int kLinName = 3;

// A network table file: name, attribute list and row element.
struct TableFile
{
    const char* name;
    const QStringList& names;
    const char* row;
};

const TableFile kPes{"pes", attrPES, "PES"};
const TableFile kRes{"res", attrRES, "RES"};
const TableFile kLines{"lines", attrLin, "LIN"};
const TableFile kUch{"uch_lin", attrUchLin, "UCH_LIN"};
const QString kLinesRoot = QStringLiteral("net110_LIN");
const QString kUchRoot = QStringLiteral("net110_uch_lin");

// A table with the outcome of its read.
struct Loaded
{
    Table rows;
    bool damaged = false;
};

// The objects that left their codes in this run (deleted, or a RES moved
// away), in the order they went; a moment is a count of them.
QVector<QStringList>& goneObjects()
{
    static QVector<QStringList> gone;
    return gone;
}

void noteObjectGone(const QStringList& codes)
{
    goneObjects().append(codes);
}

Loaded load(const TableFile& table)
{
    Loaded t;
    t.rows = ReadShablonXML(table.name, table.names, table.row, &t.damaged);
    return t;
}

// The scheme file is read with the tables. A damaged one must not block the
// tables (nothing in the program could repair it): it is left untouched, and
// the user learns once, after the tables changed, that the drawings did not
// follow.
void warnSxemaNotUpdated(const SxemaFile& file)
{
    if (file.xmlError)
        ShowWarning(kWarningTitle, "Ошибка чтения файла " + sxemaFilePath());
}

// A copied or cut object deleted before the paste or move.
void warnSourceGone()
{
    ShowWarning(kWarningTitle, QStringLiteral("Скопированный объект не найден: он был удален или изменен"));
}

// Every table an operation changes is staged into one set and committed
// together: all of them change, or none (safefile.h).
bool stage(StagedFiles& files, const TableFile& table, const Table& rows, const QString& root,
           bool allowEmpty = false)
{
    return stageShablonXML(files, table.name, table.names, table.row, root, rows, allowEmpty);
}

// An operation that changes one table only.
bool write(const TableFile& table, const Table& rows, const QString& root)
{
    return saveShablonXML(table.name, table.names, table.row, root, rows);
}

// Codes are compared as text; only the search for the largest sibling code
// reads them as numbers, a text that is no number counting as 0.
qlonglong codeValue(const QString& code)
{
    bool ok = false;
    const qlonglong value = code.toLongLong(&ok);
    return ok ? value : 0;
}

// The code after largest; empty when largest is already the largest integer,
// since the next object would share its code.
QString codeAfter(qlonglong largest)
{
    if (largest >= std::numeric_limits<qlonglong>::max())
        return QString();
    return QString::number(largest + 1);
}

// True (after a warning) when no new code is left.
bool noCodeLeft(const QString& code)
{
    if (!code.isEmpty())
        return false;
    ShowWarning(kWarningTitle, QStringLiteral("Нет свободного кода для нового объекта"));
    return true;
}

// A code to match in a cascade: one given code, or every code. An explicit
// marker, so that an object whose code is "0" is matched by itself only.
struct CodeMatch
{
    QString code;
    bool any = false;

    bool matches(const QString& value) const { return any || value == code; }
};

CodeMatch exactly(const QString& code) { return {code, false}; }
const CodeMatch kAnyCode{QString(), true};

// The code for a new object: one after the largest code in column col among
// the rows under pes and res.
QString nextCode(const Table& rows, int col, const CodeMatch& pes, const CodeMatch& res)
{
    qlonglong largest = 0;
    for (const QStringList& row : rows) {
        if (pes.matches(row.value(ColPes)) && res.matches(row.value(ColRes)))
            largest = qMax(largest, codeValue(row.at(col)));
    }
    return codeAfter(largest);
}

// Removes the rows whose codes match, walking from the end; withLine: the
// table also has an "nlin" column to test. Returns the number removed.
int removeRows(Table& rows, const CodeMatch& pes, const CodeMatch& res, const CodeMatch& lin,
               bool withLine)
{
    int removed = 0;
    for (int i = rows.size() - 1; i >= 0; --i) {
        const QStringList& row = rows.at(i);
        if (pes.matches(row.at(ColPes)) && res.matches(row.at(ColRes))
            && (!withLine || lin.matches(row.at(ColLin)))) {
            rows.removeAt(i);
            ++removed;
        }
    }
    return removed;
}

int removeSchemes(QVector<SxemaLin>& records, const CodeMatch& pes, const CodeMatch& res,
                  const CodeMatch& lin)
{
    int removed = 0;
    for (int i = records.size() - 1; i >= 0; --i) {
        const QStringList& key = records.at(i).key;
        if (key.size() >= 3 && pes.matches(key.at(0)) && res.matches(key.at(1))
            && lin.matches(key.at(2))) {
            records.removeAt(i);
            ++removed;
        }
    }
    return removed;
}

// Stages the scheme file without the drawings of an object: a PES (level 0)
// or a RES (level 1) with every line under it, or one line. A damaged file is
// left untouched (warnSxemaNotUpdated). Also for a new object: a delete that
// met a damaged file left the drawings, and a new object can take the deleted
// one's codes, which must not give it a stranger's scheme.
bool stageWithoutSchemes(StagedFiles& files, SxemaFile& schemes, int level, const QString& pes,
                         const QString& res, const QString& lin)
{
    return schemes.xmlError
        || removeSchemes(schemes.records, exactly(pes), level >= 1 ? exactly(res) : kAnyCode,
                         level >= 2 ? exactly(lin) : kAnyCode) == 0
        || stageSxemaFile(files, schemes.records);
}

int indexOfLine(const Table& lines, const QString& pes, const QString& res, const QString& lin)
{
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList& row = lines.at(i);
        if (row.at(ColPes) == pes && row.at(ColRes) == res && row.at(ColLin) == lin)
            return i;
    }
    return -1;
}

int indexOfRes(const Table& res, const QString& pes, const QString& code)
{
    for (int i = 0; i < res.size(); ++i) {
        if (res.at(i).at(ColPes) == pes && res.at(i).at(ColRes) == code)
            return i;
    }
    return -1;
}

// Rows of one RES (and, when lin is given, of one line) with new codes.
Table copiedRows(const Table& rows, const QString& srcPes, const QString& srcRes,
                 const QString* srcLin, const QString& pes, const QString& res,
                 const QString* lin)
{
    Table out;
    for (const QStringList& row : rows) {
        if (row.at(ColPes) != srcPes || row.at(ColRes) != srcRes
            || (srcLin && row.at(ColLin) != *srcLin))
            continue;
        QStringList copy = row;
        copy[ColPes] = pes;
        copy[ColRes] = res;
        if (lin)
            copy[ColLin] = *lin;
        out.append(copy);
    }
    return out;
}

int pasteRes(const QString& srcPes, const QString& srcRes)
{
    Loaded lines = load(kLines);
    Loaded uch = load(kUch);
    Loaded res = load(kRes);
    SxemaFile schemes = readSxemaFile();
    if (lines.damaged || uch.damaged || res.damaged)
        return 0;

    const int source = indexOfRes(res.rows, srcPes, srcRes);
    if (source < 0) {
        warnSourceGone();
        return 0;
    }
    const QString name = res.rows.at(source).at(kResName);
    const QString code = nextCode(res.rows, ColRes, exactly(NPES), kAnyCode);
    if (noCodeLeft(code))
        return 0;
    // The copy does not take the dispatcher name nor the temperature.
    res.rows.append({NPES, code, name + "- копия", QString(), QString(), QString()});
    lines.rows += copiedRows(lines.rows, srcPes, srcRes, nullptr, NPES, code, nullptr);
    uch.rows += copiedRows(uch.rows, srcPes, srcRes, nullptr, NPES, code, nullptr);

    StagedFiles files;
    if (!stage(files, kRes, res.rows, QStringLiteral("net110_RES"))
        || (!lines.rows.isEmpty() && !stage(files, kLines, lines.rows, kLinesRoot))
        || (!uch.rows.isEmpty() && !stage(files, kUch, uch.rows, kUchRoot))
        || !stageWithoutSchemes(files, schemes, 1, NPES, code, QString()) || !commitStaged(files))
        return 0;
    warnSxemaNotUpdated(schemes);
    ShowWarning(kInfoTitle, QStringLiteral("Объект добавлен"));
    return 0;
}

int pasteLine(const QString& srcPes, const QString& srcRes, const QString& srcLin)
{
    Loaded lines = load(kLines);
    Loaded uch = load(kUch);
    SxemaFile schemes = readSxemaFile();
    if (lines.damaged || uch.damaged)
        return 0;

    const int source = indexOfLine(lines.rows, srcPes, srcRes, srcLin);
    if (source < 0) {
        warnSourceGone();
        return 0;
    }

    const QString code = nextCode(lines.rows, ColLin, exactly(NPES), exactly(NRES));
    if (noCodeLeft(code))
        return 0;
    QStringList copy = lines.rows.at(source);
    copy[ColPes] = NPES;
    copy[ColRes] = NRES;
    copy[ColLin] = code;
    copy[kLinName] = copy.at(kLinName) + "- копия";
    lines.rows.append(copy);
    // The sections keep their keys: they are unique within the new line too.
    uch.rows += copiedRows(uch.rows, srcPes, srcRes, &srcLin, NPES, NRES, &code);

    StagedFiles files;
    if (!stage(files, kLines, lines.rows, kLinesRoot)
        || (!uch.rows.isEmpty() && !stage(files, kUch, uch.rows, kUchRoot))
        || !stageWithoutSchemes(files, schemes, 2, NPES, NRES, code) || !commitStaged(files))
        return 0;
    warnSxemaNotUpdated(schemes);
    ShowWarning(kInfoTitle, QStringLiteral("Объект добавлен"));
    return 0;
}

int moveRes(const QString& srcPes, const QString& srcRes)
{
    Loaded lines = load(kLines);
    Loaded uch = load(kUch);
    Loaded res = load(kRes);
    SxemaFile schemes = readSxemaFile();
    if (lines.damaged || uch.damaged || res.damaged)
        return 1;

    const int source = indexOfRes(res.rows, srcPes, srcRes);
    if (source < 0) {
        warnSourceGone();
        return 1;
    }

    const QString code = nextCode(res.rows, ColRes, exactly(NPES), kAnyCode);
    if (noCodeLeft(code))
        return 1;
    res.rows[source][ColPes] = NPES;
    res.rows[source][ColRes] = code;
    auto follow = [&](Table& rows) {
        for (QStringList& row : rows) {
            if (row.at(ColPes) == srcPes && row.at(ColRes) == srcRes) {
                row[ColPes] = NPES;
                row[ColRes] = code;
            }
        }
    };
    follow(lines.rows);
    follow(uch.rows);

    // The lines take their drawings along. A drawing left under the new codes
    // by a former object belongs to nobody now.
    int changed = removeSchemes(schemes.records, exactly(NPES), exactly(code), kAnyCode);
    for (SxemaLin& record : schemes.records) {
        if (record.key.size() >= 3 && record.key.at(0) == srcPes && record.key.at(1) == srcRes) {
            record.key[0] = NPES;
            record.key[1] = code;
            ++changed;
        }
    }

    StagedFiles files;
    if (!stage(files, kRes, res.rows, QStringLiteral("net10_RES"))
        || (!lines.rows.isEmpty() && !stage(files, kLines, lines.rows, kLinesRoot))
        || (!uch.rows.isEmpty() && !stage(files, kUch, uch.rows, kUchRoot))
        || (changed > 0 && !schemes.xmlError && !stageSxemaFile(files, schemes.records))
        || !commitStaged(files))
        return 1;
    // Windows open on the RES or its lines know it by the codes it left.
    noteObjectGone({srcPes, srcRes});
    warnSxemaNotUpdated(schemes);
    ShowWarning(kInfoTitle, QStringLiteral("Объект перемещен"));
    return 0;
}

int moveLine(const QString& srcPes, const QString& srcRes, const QString& srcLin)
{
    // Only the order of the rows changes; the sections are not read.
    Loaded lines = load(kLines);
    if (lines.damaged)
        return 1;

    const int source = indexOfLine(lines.rows, srcPes, srcRes, srcLin);
    const int target = indexOfLine(lines.rows, NPES, NRES, NLIN);
    if (source < 0)
        warnSourceGone();
    if (source < 0 || target < 0)
        return 1;
    if (source == target) {
        ShowWarning(kInfoTitle, QStringLiteral("Объект остается на прежнем месте"));
        return 1;
    }
    const QStringList row = lines.rows.takeAt(source);
    lines.rows.insert(source < target ? target - 1 : target, row);
    if (!write(kLines, lines.rows, kLinesRoot))
        return 1;
    ShowWarning(kInfoTitle, QStringLiteral("Объект перемещен"));
    return 0;
}

} // namespace

int CreateNewObj(int level)
{
    if (level < 0 || level > 2)
        return 1;
    const TableFile& table = level == 0 ? kPes : level == 1 ? kRes : kLines;
    const QString root = level == 0 ? QStringLiteral("net110_PES")
                         : level == 1 ? QStringLiteral("net110_RES") : kLinesRoot;
    Loaded t = load(table);
    SxemaFile schemes = readSxemaFile();
    if (t.damaged)
        return 1;

    // The code column of a level is the level: npes, nres, nlin.
    const QString code = nextCode(t.rows, level, level >= 1 ? exactly(NPES) : kAnyCode,
                                  level >= 2 ? exactly(NRES) : kAnyCode);
    if (noCodeLeft(code))
        return 1;
    if (level == 0) {
        t.rows.append({code, QStringLiteral("Новый ПЭС")});
    } else if (level == 1) {
        t.rows.append({NPES, code, QStringLiteral("Новый РЭС"), QString(), QString(), QString()});
    } else {
        // A 35 kV line with the usual load-graph factors; the line dialog
        // lets the user set the real ones.
        t.rows.append({NPES, NRES, code, QStringLiteral("Новая линия"),
                       QString(), "0", "35", "35", "35", "0.5", "0.5", "1.0", "0.8",
                       "0", "0", "0", "0"});
    }
    StagedFiles files;
    if (stage(files, table, t.rows, root)
        && stageWithoutSchemes(files, schemes, level, level == 0 ? code : NPES,
                               level == 1 ? code : NRES, code)
        && commitStaged(files))
        warnSxemaNotUpdated(schemes);
    return 1;
}

int InsertObj(const QStringList& key)
{
    if (key.size() == 2)
        return pasteRes(key.at(0), key.at(1));
    if (key.size() == 3)
        return pasteLine(key.at(0), key.at(1), key.at(2));
    return 0;
}

int UpdateObj(int level, const QString& name, const QString&, const QString&, const QString&)
{
    if (level == 0) {
        Loaded pes = load(kPes);
        if (pes.damaged)
            return 0;
        for (QStringList& row : pes.rows) {
            if (row.at(ColPes) == NPES) {
                row[kPesName] = name;
                break;
            }
        }
        write(kPes, pes.rows, QStringLiteral("net10_PES"));
    } else if (level == 1) {
        Loaded res = load(kRes);
        if (res.damaged)
            return 0;
        const int i = indexOfRes(res.rows, NPES, NRES);
        if (i >= 0)
            res.rows[i][kResName] = name;
        write(kRes, res.rows, QStringLiteral("net10_RES"));
    } else if (level == 2) {
        Loaded lines = load(kLines);
        if (lines.damaged)
            return 0;
        const int i = indexOfLine(lines.rows, NPES, NRES, NLIN);
        if (i >= 0)
            lines.rows[i][kLinName] = name;
        write(kLines, lines.rows, kLinesRoot);
    }
    return 0;
}

int ChangeObj(const QStringList& key)
{
    if (key.size() == 2)
        return moveRes(key.at(0), key.at(1));
    if (key.size() == 3)
        return moveLine(key.at(0), key.at(1), key.at(2));
    return 1;
}

int DeleteObj(int level, const QString&, const QString&, const QString&)
{
    if (level < 0 || level > 2)
        return 1;

    Loaded pes;
    Loaded res;
    if (level == 0)
        pes = load(kPes);
    if (level <= 1)
        res = load(kRes);
    Loaded lines = load(kLines);
    Loaded uch = load(kUch);
    SxemaFile schemes = readSxemaFile();
    if (pes.damaged || res.damaged || lines.damaged || uch.damaged)
        return 1;

    const CodeMatch p = exactly(NPES);
    const CodeMatch r = level == 0 ? kAnyCode : exactly(NRES);
    const CodeMatch l = level <= 1 ? kAnyCode : exactly(NLIN);

    // A table from which the last row went is written empty: the object is
    // gone, not kept for want of rows. Every changed file is replaced
    // together, so a failed delete leaves no lines without their RES.
    StagedFiles files;
    if (level == 0) {
        bool removed = false;
        for (int i = 0; i < pes.rows.size(); ++i) {
            if (pes.rows.at(i).at(ColPes) == NPES) {
                pes.rows.removeAt(i);
                removed = true;
                break;
            }
        }
        if ((removed || !pes.rows.isEmpty())
            && !stage(files, kPes, pes.rows, QStringLiteral("net10_PES"), removed))
            return 1;
    }
    if (level <= 1 && removeRows(res.rows, p, r, l, false) > 0
        && !stage(files, kRes, res.rows, QStringLiteral("net10_RES"), true))
        return 1;
    if (removeRows(lines.rows, p, r, l, true) > 0 && !stage(files, kLines, lines.rows, kLinesRoot, true))
        return 1;
    if (removeRows(uch.rows, p, r, l, true) > 0 && !stage(files, kUch, uch.rows, kUchRoot, true))
        return 1;
    // The drawings go with their lines, or a line that later receives a freed
    // code would open with a stranger's scheme.
    if (!stageWithoutSchemes(files, schemes, level, NPES, NRES, NLIN))
        return 1;
    if (commitStaged(files)) {
        QStringList codes{NPES};
        if (level >= 1)
            codes.append(NRES);
        if (level == 2)
            codes.append(NLIN);
        noteObjectGone(codes);
        warnSxemaNotUpdated(schemes);
    }
    return 1;
}

quint64 objectsMoment()
{
    return quint64(goneObjects().size());
}

bool objectGoneSince(const QStringList& codes, quint64 moment)
{
    const QVector<QStringList>& gone = goneObjects();
    for (int i = int(qMin<quint64>(moment, quint64(gone.size()))); i < gone.size(); ++i) {
        const QStringList& object = gone.at(i);
        // The object itself, or the RES or PES it belongs to.
        if (object.size() <= codes.size() && codes.mid(0, object.size()) == object)
            return true;
    }
    return false;
}
