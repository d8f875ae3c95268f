#include "CTreeZORVAN.h"
#include "ZORVAN.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/objectdialogs.h"
#include "store/ui/widgetmessages.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installWidgetMessages();
    // "Вход" on a line opens its working dialog.
    CTreeZORVAN::setDialogFactory(2, [](const QString& key, QWidget* parent) -> QWidget* {
        return new CDlgLIN(key, parent);
    });
    registerObjectDialogs();
    // Declared after the application object, so it is destroyed before it.
    ZORVAN window(nullptr);
    window.show();
    return app.exec();
}
