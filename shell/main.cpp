#include "ZORVAN.h"
#include "objectdialogs.h"
#include "translations.h"
#include "store/ui/widgetmessages.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installQtTranslations();
    installWidgetMessages();
    registerObjectDialogs();
    // Declared after the application object, so it is destroyed before it.
    ZORVAN window(nullptr);
    window.show();
    return app.exec();
}
