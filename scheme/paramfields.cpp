#include "paramfields.h"

#include "scheme/uchrow.h"
#include "store/numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSet>
#include <QSpinBox>

namespace {

QStringList uniqueNames(const Table& catalog, double u, bool byVoltage)
{
    QStringList names;
    QSet<QString> seen;
    for (const QStringList& row : catalog) {
        if (byVoltage) {
            const double unom = toNumber(row.value(1));
            if (!(unom > 0.8 * u && unom < 1.2 * u))
                continue;
        }
        const QString name = row.value(0);
        if (!seen.contains(name)) {
            seen.insert(name);
            names.append(name);
        }
    }
    return names;
}

} // namespace

QStringList catalogNames(const Table& catalog)
{
    return uniqueNames(catalog, 0.0, false);
}

QStringList transformerNames(const Table& catalog, double u)
{
    return uniqueNames(catalog, u, true);
}

void fillTypeCombo(QComboBox* combo, const QStringList& names, const QString& current)
{
    combo->clear();
    int index = names.indexOf(current);
    if (index < 0) {
        combo->addItem(current);
        index = 0;
    }
    combo->addItems(names);
    combo->setCurrentIndex(index);
}

void showFlag(QCheckBox* box, const QString& field)
{
    box->setChecked(field == QLatin1String("1"));
}

QString flagField(const QCheckBox* box, const QString& shown, const QString& original)
{
    if (box->isChecked() == (shown == QLatin1String("1")))
        return original;
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

QString flagField(const QCheckBox* box, const QString& original)
{
    return flagField(box, original, original);
}

void showTap(QSpinBox* spin, const QString& field)
{
    spin->setValue(toWholeNumber(field));
}

QString tapField(const QSpinBox* spin, const QString& original)
{
    const int shown = qBound(spin->minimum(), toWholeNumber(original), spin->maximum());
    return spin->value() == shown ? original : QString::number(spin->value());
}

QStringList fullRow(QStringList row)
{
    if (!row.isEmpty()) {
        while (row.size() < uchFieldCount)
            row.append(QString());
    }
    return row;
}

void setWidgetsEnabled(std::initializer_list<QWidget*> widgets, bool enabled)
{
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
}
