#include "defaultbuttons.h"

#include <QPushButton>

void noDefaultButtons(QWidget* window)
{
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}
