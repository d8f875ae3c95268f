#include "safefile.h"

#include "messages.h"
#include "readregim.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <unistd.h>
#endif

namespace {

bool syncToDisk(QFileDevice& file)
{
#ifdef Q_OS_UNIX
    const int fd = file.handle();
    return fd < 0 || ::fsync(fd) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

// A hidden name beside target that is free now.
QString freeNameBeside(const QString& target, int attempt)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName()
        + QStringLiteral(".prev%1").arg(attempt);
}

bool writeNewFile(const QString& path, const QByteArray& bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    const bool written = out.write(bytes) == bytes.size() && out.flush() && syncToDisk(out);
    out.close();
    if (!written)
        out.remove();
    return written;
}

// Keeps the current target under a free hidden name: a hard link costs no
// space; where links are not supported, a copy.
QString keepPreviousVersion(const QString& target)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = freeNameBeside(target, attempt);
        if (QFileInfo(name).isSymLink() || QFileInfo::exists(name))
            continue;
#ifdef Q_OS_UNIX
        if (::link(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) == 0)
            return name;
        if (errno == EEXIST)
            continue;
#endif
        const FileBytes current = readFileBytes(target);
        if (current.readable && writeNewFile(name, current.bytes))
            return name;
        return QString();
    }
    return QString();
}

} // namespace

struct StagedFiles::Entry
{
    QString path;                      // as the caller named it
    QString target;                    // the file the rename replaces
    std::unique_ptr<QSaveFile> file;   // the staged contents
    bool existed = false;              // target existed before the commit
    QString previous;                  // its previous version while committing
};

StagedFiles::StagedFiles() = default;

StagedFiles::~StagedFiles()
{
    discard();
}

bool StagedFiles::isEmpty() const
{
    return m_entries.empty();
}

void StagedFiles::fail(const QString& path)
{
    m_failed = true;
    m_failedPath = path;
}

void StagedFiles::discard()
{
    for (const auto& entry : m_entries)
        entry->file->cancelWriting();
    m_entries.clear();
}

bool StagedFiles::stage(const QString& path, const WriteBody& body)
{
    if (m_failed)
        return false;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
        if ((*it)->path == path) {
            (*it)->file->cancelWriting();
            m_entries.erase(it);
            break;
        }
    }

    // A name can be a link: the file written is the one it leads to, and only
    // while that stays in the folder the name is in. A link named like a
    // report or a workbook never carries a write out of the working folder.
    const QString target = writeTarget(path);
    if (target.isEmpty()) {
        discard();
        fail(path);
        return false;
    }

    auto entry = std::make_unique<Entry>();
    entry->path = path;
    entry->target = target;
    entry->file = std::make_unique<QSaveFile>(target);
    QSaveFile& file = *entry->file;
    // Every step is checked, the flush before anything else: commit() would
    // not notice a buffer that failed to reach the disk.
    const bool written = file.open(QIODevice::WriteOnly) && (!body || body(file))
        && file.error() == QFileDevice::NoError && file.flush() && syncToDisk(file);
    if (!written) {
        file.cancelWriting();
        discard();
        fail(path);
        return false;
    }
    m_entries.push_back(std::move(entry));
    return true;
}

bool StagedFiles::stageBytes(const QString& path, const QByteArray& bytes)
{
    return stage(path, [&bytes](QIODevice& out) { return out.write(bytes) == bytes.size(); });
}

bool StagedFiles::stageCopy(const QString& source, const QString& copyPath)
{
    if (m_failed)
        return false;
    const FileBytes current = readFileBytes(source);
    if (!current.exists)
        return true;
    if (!current.readable) {
        discard();
        fail(copyPath);
        return false;
    }
    return stageBytes(copyPath, current.bytes);
}

bool StagedFiles::takeRollbackCopies()
{
    for (const auto& entry : m_entries) {
        entry->existed = QFileInfo::exists(entry->target);
        if (!entry->existed)
            continue;
        entry->previous = keepPreviousVersion(entry->target);
        if (entry->previous.isEmpty()) {
            fail(entry->path);
            return false;
        }
    }
    return true;
}

void StagedFiles::rollBack(std::size_t committed)
{
    for (std::size_t i = committed; i-- > 0;) {
        Entry& entry = *m_entries[i];
        bool restored = false;
        if (entry.existed) {
#ifdef Q_OS_UNIX
            restored = ::rename(QFile::encodeName(entry.previous).constData(),
                                QFile::encodeName(entry.target).constData()) == 0;
#endif
            if (restored)
                entry.previous.clear();
        } else {
            restored = QFile::remove(entry.target);
        }
        if (!restored)
            m_unrestored.append(entry.path);
    }
}

void StagedFiles::removeRollbackCopies()
{
    for (const auto& entry : m_entries) {
        if (!entry->previous.isEmpty())
            QFile::remove(entry->previous);
        entry->previous.clear();
    }
}

bool StagedFiles::commit()
{
    if (m_failed) {
        discard();
        return false;
    }
    // A single file needs no way back: QSaveFile leaves it as it was.
    if (m_entries.size() > 1 && !takeRollbackCopies()) {
        m_commitFailed = true;
        removeRollbackCopies();
        discard();
        return false;
    }
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (!m_entries[i]->file->commit()) {
            m_commitFailed = true;
            fail(m_entries[i]->path);
            rollBack(i);
            removeRollbackCopies();
            discard();
            return false;
        }
    }
    removeRollbackCopies();
    m_entries.clear();
    return true;
}

void warnCannotCreate(const QString& path, const QString& title)
{
    ShowWarning(title, "Невозможно создать файл -" + path);
}

bool stageWithBackup(StagedFiles& files, const QString& path, const QString& backupPath,
                     const WriteBody& body)
{
    if (files.failed())
        return false;
    // The file first, so that a folder standing in its place fails here.
    if (files.stage(path, body) && files.stageCopy(path, backupPath))
        return true;
    warnCannotCreate(files.failedPath());
    return false;
}

bool commitStaged(StagedFiles& files)
{
    const bool stagedWhole = !files.failed();
    if (files.commit())
        return true;
    if (stagedWhole) {
        warnCannotCreate(files.failedPath());
        for (const QString& path : files.unrestored())
            warnCannotCreate(path);
    }
    return false;
}

bool writeFileSafely(const QString& path, const WriteBody& body)
{
    StagedFiles files;
    return files.stage(path, body) && files.commit();
}

bool writeBytes(const QString& path, const QByteArray& bytes)
{
    StagedFiles files;
    return files.stageBytes(path, bytes) && files.commit();
}

QString realPathInFolder(const QString& folder, const QString& path)
{
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    if (realFolder.isEmpty())
        return QString();
    const QFileInfo info(path);
    QString real;
    if (info.exists()) {
        real = info.canonicalFilePath();
    } else if (info.isSymLink()) {
        return QString();   // writing would create the file wherever the link points
    } else {
        const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
        if (parent.isEmpty() || info.fileName().isEmpty())
            return QString();
        real = parent + QLatin1Char('/') + info.fileName();
    }
    const QFileInfo resolved(real);
    if (resolved.absolutePath() != realFolder || real == realFolder)
        return QString();
    return real;
}

QString writeTarget(const QString& path)
{
    return realPathInFolder(QFileInfo(path).absolutePath(), path);
}

QString readRefusal(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return "Отсутствует файл -" + path;
    if (!info.isDir() && realPathInFolder(folder, path).isEmpty()) {
        const QString work = QFileInfo(ZORVAN_PATH).canonicalFilePath();
        const QString target = info.canonicalFilePath();
        if (work.isEmpty() || !target.startsWith(work + QLatin1Char('/')))
            return "Файл находится вне рабочей папки -" + path;
        return "Файл находится вне папки " + QFileInfo(folder).fileName() + " -" + path;
    }
    return "Ошибка чтения файла " + path;
}

FileBytes readFileBytes(const QString& path)
{
    FileBytes result;
    const QFileInfo info(path);
    result.exists = info.exists() || info.isSymLink();
    if (!info.exists() || !info.isFile())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return result;
    result.bytes = file.readAll();
    result.readable = file.error() == QFileDevice::NoError;
    if (!result.readable)
        result.bytes.clear();
    return result;
}
