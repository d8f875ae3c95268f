#pragma once
// Enter pressed where the user types, and what the screen shows afterwards.

#include <QAbstractSpinBox>
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

// Titles of the shown top-level windows, sorted.
inline QStringList shownWindows()
{
    QStringList titles;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            titles.append(w->windowTitle());
    }
    titles.sort();
    return titles;
}

// Shows box's window, writes text over what box holds (a line edit, or a spin
// box's own line; a null text writes nothing) and presses Enter in it. Gives
// false when the window could not be shown.
inline bool typeAndEnter(QWidget* box, const QString& text = QString())
{
    QWidget* window = box->window();
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return false;
    box->setFocus();
    auto* line = qobject_cast<QLineEdit*>(box) ? qobject_cast<QLineEdit*>(box) : box->findChild<QLineEdit*>();
    if (line && !text.isNull()) {
        line->selectAll();
        line->insert(text);
    }
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();   // what Enter queued
    return true;
}
