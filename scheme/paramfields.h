#pragma once
// What the parameter pop-ups share: filling their widgets from a line-section
// row and writing them back so that a field the user did not touch leaves
// exactly as it came.

#include "store/readregim.h"

#include <QString>
#include <QStringList>

#include <initializer_list>

class QCheckBox;
class QComboBox;
class QSpinBox;
class QWidget;

// Names of the catalog rows (name first), each once, in catalog order.
QStringList catalogNames(const Table& catalog);
// Names of the transformer rows ("name", "unom") for a line of u kV: those
// whose unom lies strictly between 0.8 u and 1.2 u.
QStringList transformerNames(const Table& catalog, double u);

// Lists names and selects current; a current type that is not listed (a new
// transformer has none) is shown as an extra first entry for this opening.
void fillTypeCombo(QComboBox* combo, const QStringList& names, const QString& current);

// A box is ticked when its field is "1". Written back, the field stays as it
// came while the box shows what shown gave it; a changed box writes "1"/"0".
void showFlag(QCheckBox* box, const QString& field);
QString flagField(const QCheckBox* box, const QString& shown, const QString& original);
QString flagField(const QCheckBox* box, const QString& original);

// The tap, a whole number held within the spin box's range; untouched it
// goes back as it came.
void showTap(QSpinBox* spin, const QString& field);
QString tapField(const QSpinBox* spin, const QString& original);

// A row padded to the full set of fields; an empty row (no row) stays empty.
QStringList fullRow(QStringList row);

void setWidgetsEnabled(std::initializer_list<QWidget*> widgets, bool enabled);
