#include "lossrunwindow.h"

#include "CSplashScreen.h"

#include "store/messages.h"
#include "store/safefile.h"

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

bool landLossRun(StagedFiles& files, const QList<QWidget*>& offers, const QString& report,
                 const QString& log)
{
    const bool landed = commitStaged(files);
    for (QWidget* offer : offers)
        offer->setEnabled(landed);
    if (landed) {
        ShowFile(report, QStringLiteral("html"));
        if (!log.isEmpty())
            ShowFile(log, QString());
    }
    return landed;
}
