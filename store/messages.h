#pragma once
// The one road by which the data store and the calculation talk to the user.
// The program installs real message boxes and the report viewer; tests install
// a recorder. Nothing in store/ or calc/ opens a window itself.

#include <QString>

class QObject;

// The answer to "save before closing?".
enum class SaveAnswer { Save, Discard, Cancel };

class MessageSink
{
public:
    virtual ~MessageSink() = default;
    // A warning box with one OK button; used for problems and success alike.
    // parent is the window that asks (may be null).
    virtual void warning(const QString& title, const QString& text, QObject* parent) = 0;
    // A modal Yes/No question with No as the default. Returns true for No,
    // for Escape and for closing the box.
    virtual bool question(const QString& text, const QString& title) = 0;
    // A modal question with "Да" (save), "Нет" (discard) and "Отмена";
    // Escape and closing the box answer Cancel, which loses nothing. window
    // is the window whose edits are meant; the box belongs to it.
    virtual SaveAnswer askToSave(const QString& text, const QString& title, QObject* window) = 0;
    // Show a report or log in the viewer: name is the report name (kind "html")
    // or a log's file name (kind "").
    virtual void showFile(const QString& name, const QString& kind) = 0;
};

// Installs sink (not owned) and returns the previous one. Null restores the
// default sink, which prints to stderr, answers every Yes/No question with No
// and every question about saving with Cancel.
MessageSink* setMessageSink(MessageSink* sink);
MessageSink* messageSink();

// Shortcuts through the installed sink.
void ShowWarning(const QString& title, const QString& text, QObject* parent = nullptr);
void ShowFile(const QString& name, const QString& kind);

// "Сохранить изменения?" (title "Сохранение") with "Да", "Нет", "Отмена",
// asked by window when it is closed with edits not saved.
SaveAnswer AskToSave(QObject* window);
