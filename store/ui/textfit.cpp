#include "textfit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>

void fitToItems(QComboBox* combo)
{
    const QFontMetrics metrics = combo->fontMetrics();
    int text = 0;
    for (int i = 0; i < combo->count(); ++i)
        text = qMax(text, metrics.horizontalAdvance(combo->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    // The style's frame and arrow around the text, and the pixel the label
    // keeps free at either end of its field.
    const QSize needed = combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                          QSize(text + 2, metrics.height()), combo);
    combo->setMinimumWidth(needed.width());
}

void setTextFromStart(QLineEdit* edit, const QString& text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}
