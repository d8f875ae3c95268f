#include "dialogresources.h"

#include "store/ui/widgetmessages.h"

#include <QtGlobal>

static void registerDialogIcons()
{
    Q_INIT_RESOURCE(dialogs);
}

void initDialogResources()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    initZorvanResources();
    registerDialogIcons();
}
