#include "store/readregim.h"
#include "store/ui/widgetmessages.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    installWidgetMessages();
    ZORVAN_PATH = QDir::currentPath() + "/";
    QLabel window(QStringLiteral("ЗОРВАН — расчет технических потерь электроэнергии"));
    window.setWindowTitle(QStringLiteral("ЗОРВАН"));
    window.setWindowIcon(QIcon(QStringLiteral(":/res/ZORVAN.png")));
    window.resize(480, 120);
    window.show();
    return app.exec();
}
