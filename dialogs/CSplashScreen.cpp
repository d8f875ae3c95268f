#include "CSplashScreen.h"

#include <QCoreApplication>

#include "dialogresources.h"
#include "store/ui/placement.h"

CSplashScreen::CSplashScreen(QWidget* parent)
    : QWidget(parent)
{
    initDialogResources();
    setupUi(this);
}

CSplashScreen* CSplashScreen::start()
{
    auto* splash = new CSplashScreen;
    splash->setWindowFlags(Qt::WindowStaysOnTopHint);
    // A run takes its period, coefficients and RES data from the windows
    // behind it: none of them may change them until it ends.
    splash->setWindowModality(Qt::ApplicationModal);
    placeWindow(splash, QPoint(500, 220));
    splash->m_pLabel->setText(QString());
    splash->show();
    QCoreApplication::processEvents();
    return splash;
}

void CSplashScreen::showLine(const QString& lineName)
{
    m_pLabel->setText("Расчет " + lineName);
    show();
    QCoreApplication::processEvents();
}
