#include "objectdialogs.h"

#include "CTreeZORVAN.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgPES.h"
#include "dialogs/CDlgRES.h"

void registerObjectDialogs()
{
    // The tree locks itself while a PES or RES window lives and unlocks
    // itself when the window, deleted on close, is destroyed.
    CTreeZORVAN::setDialogFactory(0, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgPES(key, parent);
    });
    CTreeZORVAN::setDialogFactory(1, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgRES(key, parent);
    });
    CTreeZORVAN::setDialogFactory(2, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgLIN(key, parent);
    });
}
