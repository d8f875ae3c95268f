#pragma once
// Boxes that show their whole text: a combo as wide as its longest entry, a
// line edit that shows a long name from its start.

class QComboBox;
class QLineEdit;
class QString;

// Keeps combo at least as wide as its longest entry needs, so that the
// layout never cuts an entry short. Call it after filling the combo.
void fitToItems(QComboBox* combo);

// Puts text into edit and shows it from its first character (a line edit
// scrolls to its end, where setText leaves the cursor).
void setTextFromStart(QLineEdit* edit, const QString& text);
