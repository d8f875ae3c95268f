#include "dialogresources.h"

#include "store/ui/widgetmessages.h"

#include <QtGlobal>

static void registerDialogIcons()
{
    Q_INIT_RESOURCE(dialogs);
    Q_INIT_RESOURCE(lin);   // the run, archive and save icons are the line dialog's
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
