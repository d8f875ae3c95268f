#pragma once
// What every test shares: a recorder in place of message boxes, and a
// temporary working directory that becomes the data path.

#include "store/messages.h"
#include "store/readregim.h"

#include <QMap>
#include <QPointer>
#include <QTemporaryDir>

#include <functional>

struct RecordedMessage
{
    QString kind;   // "warning", "question", "save" or "show"
    QString title;  // the kind of a "show" request for the viewer
    QString text;
    QPointer<QObject> window;   // the window a warning or a "save" question belongs to
};

// Installs itself as the message sink for its lifetime. Questions are
// answered from answers (true = No) in turn, then with defaultAnswer; the
// question about saving before closing (kind "save") from saveAnswers, then
// with defaultSaveAnswer; onSaveQuestion sees the window of each as it is asked.
class MessageRecorder : public MessageSink
{
public:
    MessageRecorder() : m_previous(setMessageSink(this)) {}
    ~MessageRecorder() override { setMessageSink(m_previous); }

    void warning(const QString& title, const QString& text, QObject* parent) override { messages.append({"warning", title, text, parent}); }
    bool question(const QString& text, const QString& title) override
    {
        messages.append({"question", title, text, nullptr});
        return answers.isEmpty() ? defaultAnswer : answers.takeFirst();
    }
    SaveAnswer askToSave(const QString& text, const QString& title, QObject* window) override
    {
        if (onSaveQuestion)
            onSaveQuestion(window);
        messages.append({"save", title, text, window});
        return saveAnswers.isEmpty() ? defaultSaveAnswer : saveAnswers.takeFirst();
    }
    void showFile(const QString& name, const QString& kind) override { messages.append({"show", kind, name, nullptr}); }

    QList<RecordedMessage> messages;
    QList<bool> answers;
    bool defaultAnswer = true;
    QList<SaveAnswer> saveAnswers;
    SaveAnswer defaultSaveAnswer = SaveAnswer::Cancel;
    std::function<void(QObject*)> onSaveQuestion;

    QStringList texts() const   // texts of every message, in order
    {
        QStringList out;
        for (const RecordedMessage& m : messages)
            out.append(m.text);
        return out;
    }
    QStringList warnings() const   // "title|text" of each warning
    {
        QStringList out;
        for (const RecordedMessage& m : messages)
            if (m.kind == QLatin1String("warning"))
                out.append(m.title + "|" + m.text);
        return out;
    }
    QStringList all() const   // "title|text" of every message, in order; a shown file's title is its kind
    {
        QStringList out;
        for (const RecordedMessage& m : messages)
            out.append(m.title + "|" + m.text);
        return out;
    }
    void clear() { messages.clear(); }

private:
    MessageSink* m_previous;
};

// A fresh directory set as ZORVAN_PATH ("<dir>/") for the lifetime of the
// object; the previous data path comes back afterwards.
class TempWorkDir
{
public:
    TempWorkDir() : m_previousPath(ZORVAN_PATH) { ZORVAN_PATH = path(); }
    ~TempWorkDir() { ZORVAN_PATH = m_previousPath; }

    QString path() const { return m_dir.path() + "/"; }
    QString filePath(const QString& name) const { return path() + name; }
    void writeFile(const QString& name, const QByteArray& bytes) const;   // its folders made
    QByteArray readFile(const QString& name) const;
    bool exists(const QString& name) const;
    // Copies every file of the project's examples/ (with its folders) here.
    void copyExamples() const;
    // Every file and folder here, hidden ones too, by relative name; a folder
    // reads as "<folder>". Temporary files left behind would show here.
    QMap<QString, QByteArray> files() const;

private:
    QTemporaryDir m_dir;
    QString m_previousPath;
};

// The document text with its "created" stamp replaced by "STAMP", so that
// written files can be compared byte for byte.
QByteArray withoutStamp(QByteArray bytes);

// A small tmpfs mounted over a TempWorkDir for the lifetime of the object, so
// that a test can fill the disk under the data path. Mounting needs root:
// check mounted() and skip otherwise. Destroy it before the TempWorkDir.
class SmallDisk
{
public:
    SmallDisk(const TempWorkDir& dir, int kilobytes);
    ~SmallDisk();

    bool mounted() const { return m_mounted; }
    // Fills every free byte with the file ".filler", which files() leaves out.
    void fill() const;

private:
    QString m_path;
    bool m_mounted = false;
};
