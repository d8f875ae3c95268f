#include "objectdialogs.h"

#include "CDlgPES.h"
#include "CDlgRES.h"

#include "shell/CTreeZORVAN.h"

void registerObjectDialogs()
{
    // The tree locks itself while the PES or RES window lives and unlocks
    // itself when the window, deleted on close, is destroyed.
    CTreeZORVAN::setDialogFactory(0, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgPES(key, parent);
    });
    CTreeZORVAN::setDialogFactory(1, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgRES(key, parent);
    });
}
