#include "lossrunwindow.h"

#include "CSplashScreen.h"

#include <QPointer>

#include <memory>

bool runLossInWindow(QWidget* window,
                     const std::function<LossCollection(const LossProgress&)>& calculate,
                     const std::function<void(const LossCollection&)>& store)
{
    const std::unique_ptr<CSplashScreen> splash(CSplashScreen::start());
    const QPointer<QWidget> self(window);
    const LossCollection run = calculate([&](const QString& lineName) {
        splash->showLine(lineName);
        return !self.isNull();
    });
    if (!self)
        return false;
    store(run);
    return true;
}
