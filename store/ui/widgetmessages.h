#pragma once
// Real message boxes for the running program.

#include "store/messages.h"

class QMessageBox;
class QWidget;

// Builds the confirmation box as the program shows it: no parent, Arial 12
// bold, question icon, Yes and No with No as the default. The caller runs it.
// Like every box of the program it stays on top while a window that stays on
// top is shown, so it never opens beneath one.
QMessageBox* createConfirmationBox(const QString& text, const QString& title);

// The warning box with one OK button, used for problems and success alike.
QMessageBox* createWarningBox(const QString& title, const QString& text, QWidget* parent);

// Runs the box modally: true for No, Escape and closing, false for Yes.
bool runConfirmationBox(QMessageBox* box);

// The question of a window closed with unsaved edits, as the confirmation
// box but with "Да", "Нет" and "Отмена"; "Да" is the default, Escape and
// closing the box answer "Отмена". The box belongs to window, over which it
// opens.
QMessageBox* createSaveQuestionBox(const QString& text, const QString& title, QWidget* window);
SaveAnswer runSaveQuestionBox(QMessageBox* box);

class WidgetMessageSink final : public MessageSink
{
public:
    void warning(const QString& title, const QString& text, QObject* parent) override;
    bool question(const QString& text, const QString& title) override;
    SaveAnswer askToSave(const QString& text, const QString& title, QObject* window) override;
    void showFile(const QString& name, const QString& kind) override;
};

// Registers the program's resources (icons) and installs WidgetMessageSink.
void installWidgetMessages();
void initZorvanResources();
