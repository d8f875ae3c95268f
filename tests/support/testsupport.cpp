#include "testsupport.h"

#include "store/readregim.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/mount.h>

MessageRecorder::MessageRecorder()
    : m_previous(setMessageSink(this))
{
}

MessageRecorder::~MessageRecorder()
{
    setMessageSink(m_previous);
}

void MessageRecorder::warning(const QString& title, const QString& text, QObject*)
{
    messages.append({QStringLiteral("warning"), title, text});
}

bool MessageRecorder::question(const QString& text, const QString& title)
{
    messages.append({QStringLiteral("question"), title, text});
    return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
}

void MessageRecorder::showFile(const QString& name, const QString& kind)
{
    messages.append({QStringLiteral("show"), kind, name});
}

QStringList MessageRecorder::texts() const
{
    QStringList out;
    for (const RecordedMessage& m : messages)
        out.append(m.text);
    return out;
}

QStringList MessageRecorder::warnings() const
{
    QStringList out;
    for (const RecordedMessage& m : messages) {
        if (m.kind == QLatin1String("warning"))
            out.append(m.title + "|" + m.text);
    }
    return out;
}

TempWorkDir::TempWorkDir()
    : m_previousPath(ZORVAN_PATH)
{
    ZORVAN_PATH = path();
}

TempWorkDir::~TempWorkDir()
{
    ZORVAN_PATH = m_previousPath;
}

QString TempWorkDir::path() const
{
    return m_dir.path() + "/";
}

QString TempWorkDir::filePath(const QString& name) const
{
    return path() + name;
}

void TempWorkDir::writeFile(const QString& name, const QByteArray& bytes) const
{
    const QString full = filePath(name);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile file(full);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

QByteArray TempWorkDir::readFile(const QString& name) const
{
    QFile file(filePath(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
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

QByteArray withoutStamp(QByteArray bytes)
{
    static const QRegularExpression stamp(
        QStringLiteral("created=\"\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\""));
    QString text = QString::fromUtf8(bytes);
    text.replace(stamp, QStringLiteral("created=\"STAMP\""));
    return text.toUtf8();
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
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    for (const int size : {65536, 4096, 512, 1}) {
        const QByteArray block(size, 'x');
        while (filler.write(block) == size) {
        }
    }
}

QMap<QString, QByteArray> TempWorkDir::files() const
{
    QMap<QString, QByteArray> out;
    QDirIterator it(path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next(), name = file.mid(path().size());
        if (name == QLatin1String(".filler"))
            continue;
        QFile in(file);
        out.insert(name, it.fileInfo().isDir() || !in.open(QIODevice::ReadOnly) ? QByteArray("<folder>")
                                                                                : in.readAll());
    }
    return out;
}
