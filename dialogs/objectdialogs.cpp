#include "objectdialogs.h"

#include "CDlgRES.h"

#include "shell/CTreeZORVAN.h"

void registerObjectDialogs()
{
    // The tree locks itself while the RES window lives and unlocks itself
    // when the window, deleted on close, is destroyed.
    CTreeZORVAN::setDialogFactory(1, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgRES(key, parent);
    });
}
