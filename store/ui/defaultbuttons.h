#pragma once
// A dialog's push buttons are auto-default: Enter typed into any of its boxes
// would press the first button after the box (or the one last focused), so a
// number confirmed with Enter could open a window, save or start a run.

class QWidget;

// Every push button of window stops being default or auto-default: Enter in
// an input box then presses nothing. Called once the form is built.
void noDefaultButtons(QWidget* window);
