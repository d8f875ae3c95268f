#include "ZORVAN.h"
#include "store/ui/widgetmessages.h"
#include "dialogs/objectdialogs.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installWidgetMessages();
    registerObjectDialogs();
    // Declared after the application object, so it is destroyed before it.
    ZORVAN window(nullptr);
    window.show();
    return app.exec();
}
