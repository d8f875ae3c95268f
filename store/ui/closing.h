#pragma once
// Closing windows that hold the user's work. A window with edits not saved
// since it opened or last saved asks "Сохранить изменения?" ("Да", "Нет",
// "Отмена") before it closes; a window that owns such windows closes them
// first, each asking for itself, and stays open when one of them stays.

#include <functional>

class QAbstractItemView;
class QWidget;

// Whether window may close now. Without unsaved edits it may, silently.
// Otherwise window comes to the front and asks, the question its own: "Да"
// runs save and allows closing only when it wrote; "Нет" allows closing,
// dropping the edits; "Отмена" (and Escape) keeps the window open with its
// edits.
bool mayClose(QWidget* window, bool unsaved, const std::function<bool()>& save);

// A value still being typed into a cell of table is the user's edit too:
// its editor, if one is open, puts the value into the cell and closes, as a
// click elsewhere would. The window need not be the active one.
void commitCellEditor(QAbstractItemView* table);

// Closes window as its close box would, through its own question. True when
// it is closed or was not open; false when it stays open.
bool closeWindow(QWidget* window);

// Closes every other visible top-level window in turn; false as soon as one
// stays open (the rest are then left as they are).
bool closeOtherWindows(const QWidget* except);
