#include "lossrunwindow.h"

#include "CSplashScreen.h"

#include <QPointer>

#include <memory>

bool runLossInWindow(QWidget* window,
                     const std::function<LossCollection(const LossProgress&)>& calculate,
                     const std::function<void(const LossCollection&)>& store)
{
    // Guarded before the work window first lets events through: the asking
    // window may go in that very pass.
    const QPointer<QWidget> self(window);
    const std::unique_ptr<CSplashScreen> splash(CSplashScreen::start());
    if (!self)
        return false;
    const LossCollection run = calculate([&](const QString& lineName) {
        splash->showLine(lineName);
        return !self.isNull();
    });
    if (!self)
        return false;
    store(run);
    return true;
}
