#include "testsupport.h"

#include "store/readregim.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

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
    const QString source = examplesPath();
    QDirIterator it(source, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = from.mid(source.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(filePath(relative));
        else
            QFile::copy(from, filePath(relative));
    }
}

QString examplesPath()
{
    return QStringLiteral(ZORVAN_EXAMPLES_DIR "/");
}

QString testDataPath()
{
    return QStringLiteral(ZORVAN_TEST_DATA_DIR "/");
}

QByteArray withoutStamp(QByteArray bytes)
{
    static const QRegularExpression stamp(
        QStringLiteral("created=\"\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d:\\d\\d\""));
    QString text = QString::fromUtf8(bytes);
    text.replace(stamp, QStringLiteral("created=\"STAMP\""));
    return text.toUtf8();
}
