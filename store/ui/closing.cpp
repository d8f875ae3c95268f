#include "closing.h"

#include "store/messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QWidget>

bool mayClose(QWidget* window, bool unsaved, const std::function<bool()>& save)
{
    if (!unsaved)
        return true;
    // Another window may be closing this one (the main window, a model load,
    // an owner dialog): the user must see which window the question is about.
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->raise();
    window->activateWindow();
    switch (AskToSave(window)) {
    case SaveAnswer::Save: return save();
    case SaveAnswer::Discard: return true;
    case SaveAnswer::Cancel: break;
    }
    return false;
}

void commitCellEditor(QAbstractItemView* table)
{
    // The open editor holds its window's focus, whether that window is
    // active or not. The table ignores a widget that is none of its editors.
    QWidget* editor = table->window()->focusWidget();
    while (editor && editor->parentWidget() != table->viewport())
        editor = editor->parentWidget();
    if (!editor)
        return;
    QAbstractItemDelegate* delegate = table->itemDelegate();
    emit delegate->commitData(editor);
    emit delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool closeWindow(QWidget* window)
{
    const QPointer<QWidget> guarded(window);
    if (!guarded || !guarded->isVisible())
        return true;
    return guarded->close() || !guarded || !guarded->isVisible();
}

bool closeOtherWindows(const QWidget* except)
{
    // Closing one window may close or delete others (a dialog its children).
    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : qAsConst(windows)) {
        if (w && w != except && !closeWindow(w))
            return false;
    }
    return true;
}
