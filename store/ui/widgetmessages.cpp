#include "widgetmessages.h"

#include "CViewHtml.h"

#include <QFont>
#include <QMessageBox>
#include <QWidget>

QMessageBox* createConfirmationBox(const QString& text, const QString& title)
{
    auto* box = new QMessageBox(nullptr);
    box->setWindowTitle(title);
    box->setText(text);
    QFont font(QStringLiteral("Arial"), 12, 75, false);
    box->setFont(font);
    box->setIcon(QMessageBox::Question);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    return box;
}

bool runConfirmationBox(QMessageBox* box)
{
    const int answer = box->exec();
    return answer != QMessageBox::Yes;
}

void WidgetMessageSink::warning(const QString& title, const QString& text, QObject* parent)
{
    QWidget* parentWidget = qobject_cast<QWidget*>(parent);
    QMessageBox::warning(parentWidget, title, text, QMessageBox::Ok);
}

bool WidgetMessageSink::question(const QString& text, const QString& title)
{
    QMessageBox* box = createConfirmationBox(text, title);
    const bool no = runConfirmationBox(box);
    delete box;
    return no;
}

void WidgetMessageSink::showFile(const QString& name, const QString& kind)
{
    // A separate top-level window per request; it deletes itself when closed
    // (or at once when its file cannot be read).
    new CViewHtml(name, kind);
}

void initZorvanResources()
{
    Q_INIT_RESOURCE(zorvan);
}

void installWidgetMessages()
{
    initZorvanResources();
    static WidgetMessageSink sink;
    setMessageSink(&sink);
}
