#include "testsupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/mount.h>

void TempWorkDir::writeFile(const QString& name, const QByteArray& bytes) const
{
    QDir().mkpath(QFileInfo(filePath(name)).absolutePath());
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray TempWorkDir::readFile(const QString& name) const
{
    QFile file(filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool TempWorkDir::exists(const QString& name) const
{
    return QFileInfo::exists(filePath(name));
}

void TempWorkDir::copyExamples() const
{
    // Empty folders are kept in git by a hidden file, so copying files
    // brings every folder too.
    const QString source = QStringLiteral(ZORVAN_EXAMPLES_DIR "/");
    QDirIterator it(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next(), to = filePath(from.mid(source.size()));
        QDir().mkpath(QFileInfo(to).absolutePath());
        QFile::copy(from, to);
    }
}

QMap<QString, QByteArray> TempWorkDir::files() const
{
    QMap<QString, QByteArray> out;
    QDirIterator it(path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        const QString name = file.fileName().mid(path().size());
        if (name != QLatin1String(".filler"))
            out.insert(name, it.fileInfo().isDir() || !file.open(QIODevice::ReadOnly) ? QByteArray("<folder>")
                                                                                     : file.readAll());
    }
    return out;
}

QByteArray withoutStamp(QByteArray bytes)
{
    static const QRegularExpression stamp(QStringLiteral("created=\"\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\""));
    return QString::fromUtf8(bytes).replace(stamp, QStringLiteral("created=\"STAMP\"")).toUtf8();
}

SmallDisk::SmallDisk(const TempWorkDir& dir, int kilobytes)
    : m_path(dir.path())
{
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k";
    m_mounted = ::mount("tmpfs", QFile::encodeName(m_path).constData(), "tmpfs", 0, options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_path).constData(), MNT_DETACH);
}

void SmallDisk::fill() const
{
    QFile filler(m_path + ".filler");
    if (filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        for (const int size : {65536, 4096, 512, 1})   // every free byte, the last ones one by one
            while (filler.write(QByteArray(size, 'x')) == size) {
            }
}
