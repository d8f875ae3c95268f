#pragma once
// Writing files so that a full disk, a crash or a file in the way never
// leaves a short or mixed file behind. Every file the program writes goes
// through here: tables, the model, the result and the archive, the scheme
// file, the settings, reports, logs, workbooks, CSV and archive copies.
//
// One write: the contents go into a temporary file beside the target; every
// write, the flush and the sync to disk are checked; only then is the
// temporary file renamed over the target. QSaveFile::commit() alone is not
// enough: in Qt 5.15 it returns true when its buffer fails to reach a full
// disk inside commit(), and renames the short file over the original.
//
// Several writes that belong together (a model load, a delete across tables,
// a table and its ".bak") are staged into one StagedFiles and committed
// together: all or nothing, see below.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QSaveFile;

// Writes the contents of a file into out; returns false to abandon the write.
using WriteBody = std::function<bool(QIODevice& out)>;

// All-or-nothing writing of several files.
//
//   StagedFiles files;
//   if (!stageShablonXML(files, "res", ...) || !stageShablonXML(files, "lines", ...)
//       || !commitStaged(files))
//       return false;     // warned once; no file has changed
//
// stage() writes a target's new contents to a temporary file in the target's
// folder, checks every step and syncs it to disk; nothing the user sees has
// changed yet. A target that cannot be staged (a folder in its place, a file
// that may not be written, a full disk, a link that leads out of the folder
// its name is in) spoils the set: later stage() calls and commit() refuse,
// and the temporary files are discarded. commit() puts the staged files in
// place one after the other, in the order they were staged.
//
// Guarantee: when a stage() failed, no target changes. When every target was
// staged, what is left is one rename per target, which needs no free space;
// should one of them still fail (the folder changed meanwhile, an I/O error),
// the targets already replaced are put back from hard links to their previous
// versions taken before the first rename (on a file system without hard links,
// from copies made then; when such a copy cannot be made, commit() replaces
// nothing). A target that cannot be put back is listed by unrestored(); short
// of such a second failure, commit() returning false means that no target
// changed. Should the program itself end between two renames (killed, power
// lost), some targets are new and others old; the previous versions of the
// new ones then stay beside them as hidden ".<name>.prev<n>" files. Files are
// not locked: another program writing the same files meanwhile is not guarded
// against.
//
// The members of StagedFiles are silent; the store's staging functions
// (stageShablonXML, stageSxemaFile, stageArxivFile, stageHtmlBody, stageLog)
// warn when they fail, and commitStaged() warns when the commit itself fails.
//
// The object is not copyable; its destructor discards whatever was staged and
// not committed. Each path is staged at most once per set (a second stage()
// of the same path replaces the first).
class StagedFiles
{
public:
    StagedFiles();
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;

    // Stages path with the contents body writes. False when it cannot be
    // staged; failedPath() then names it.
    bool stage(const QString& path, const WriteBody& body);
    bool stageBytes(const QString& path, const QByteArray& bytes);
    // Stages copyPath as a byte copy of source as it is now (the ".bak" of a
    // file about to be replaced). A missing source stages nothing and leaves
    // an existing copyPath as it is; a source that exists but cannot be read
    // fails, naming copyPath.
    bool stageCopy(const QString& source, const QString& copyPath);

    // Puts every staged file in place; see the guarantee above. An empty set
    // commits nothing and succeeds.
    bool commit();

    bool isEmpty() const;
    bool failed() const { return m_failed; }
    // True when the set was complete and putting it in place failed.
    bool commitFailed() const { return m_commitFailed; }
    // The target that could not be staged or put in place.
    QString failedPath() const { return m_failedPath; }
    // Targets left changed after a failed commit() (see above).
    QStringList unrestored() const { return m_unrestored; }

private:
    struct Entry;
    void fail(const QString& path);
    void discard();
    bool takeRollbackCopies();
    void rollBack(std::size_t committed);
    void removeRollbackCopies();

    std::vector<std::unique_ptr<Entry>> m_entries;
    bool m_failed = false;
    bool m_commitFailed = false;
    QString m_failedPath;
    QStringList m_unrestored;
};

// commit(); when the commit itself fails, the warning "Невозможно создать
// файл -" with the failed path (title "Предупреждение"), plus one for each
// target that could not be put back. A set that failed while staging is
// refused silently: its stager has warned.
bool commitStaged(StagedFiles& files);

// The warning of a file that could not be written ("Предупреждение" unless
// the caller's own title).
void warnCannotCreate(const QString& path, const QString& title = QStringLiteral("Предупреждение"));

// Stages path with body and the previous version of path as backupPath
// (stageCopy). When either cannot be staged, warns "Невозможно создать файл -"
// with the one that failed: path, or backupPath when the copy could not be
// made (a folder in its place, say) while path itself could.
bool stageWithBackup(StagedFiles& files, const QString& path, const QString& backupPath,
                     const WriteBody& body);

// One file written safely (a set of one). Silent; the caller warns.
bool writeFileSafely(const QString& path, const WriteBody& body);
bool writeBytes(const QString& path, const QByteArray& bytes);

// The real path of path (links followed, "." and ".." resolved) when it names
// an entry directly inside folder (itself resolved); empty otherwise, and
// when folder does not exist. A path that does not exist yet resolves through
// its folder; a link that leads nowhere resolves to nothing.
QString realPathInFolder(const QString& folder, const QString& path);

// The file a write of path replaces: the real path of path when it stays in
// the folder path names; empty when it leads out of it or nowhere. Every
// write of this file refuses a path without such a target.
QString writeTarget(const QString& path);

// Why the file named path cannot be read as a file of folder, as the text of
// the warning: "Отсутствует файл -" when nothing stands under the name (a
// link that leads nowhere too); "Файл находится вне рабочей папки -" when it
// is a link that leads out of the working folder, "Файл находится вне папки
// <folder's name> -" when one leads elsewhere within it; "Ошибка чтения
// файла " when the file is there but cannot be read. Each is followed by
// path. A read refused for leading out of its folder says so, never that the
// file is missing or cannot be created.
QString readRefusal(const QString& folder, const QString& path);

// What reading a whole file found.
struct FileBytes
{
    bool exists = false;     // something stands under the name
    bool readable = false;   // a regular file, read whole
    QByteArray bytes;
};

// Reads path whole, once. A folder, a device or a file that cannot be opened
// or read to its end is not readable.
FileBytes readFileBytes(const QString& path);
