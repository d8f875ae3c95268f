#include "widgetmessages.h"

#include "CViewHtml.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

namespace {

// A box shown while a window that stays on top is open (the About box, the
// work window of a run) would open beneath it, and the program would look
// frozen: such a box stays on top as well.
void keepAboveStaysOnTopWindows(QWidget* box)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (w != box && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
            box->setWindowFlag(Qt::WindowStaysOnTopHint);
            return;
        }
    }
}

QMessageBox* createQuestionBox(const QString& text, const QString& title, QWidget* parent)
{
    auto* box = new QMessageBox(parent);
    box->setWindowTitle(title);
    box->setText(text);
    QFont font(QStringLiteral("Arial"), 12, 75, false);
    box->setFont(font);
    box->setIcon(QMessageBox::Question);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    keepAboveStaysOnTopWindows(box);
    return box;
}

} // namespace

QMessageBox* createConfirmationBox(const QString& text, const QString& title)
{
    return createQuestionBox(text, title, nullptr);
}

QMessageBox* createWarningBox(const QString& title, const QString& text, QWidget* parent)
{
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    keepAboveStaysOnTopWindows(box);
    return box;
}

bool runConfirmationBox(QMessageBox* box)
{
    const int answer = box->exec();
    return answer != QMessageBox::Yes;
}

QMessageBox* createSaveQuestionBox(const QString& text, const QString& title, QWidget* window)
{
    QMessageBox* box = createQuestionBox(text, title, window);
    box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("Да"));
    box->button(QMessageBox::No)->setText(QStringLiteral("Нет"));
    box->button(QMessageBox::Cancel)->setText(QStringLiteral("Отмена"));
    box->setDefaultButton(QMessageBox::Yes);
    box->setEscapeButton(QMessageBox::Cancel);
    return box;
}

SaveAnswer runSaveQuestionBox(QMessageBox* box)
{
    switch (box->exec()) {
    case QMessageBox::Yes: return SaveAnswer::Save;
    case QMessageBox::No: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
    }
}

void WidgetMessageSink::warning(const QString& title, const QString& text, QObject* parent)
{
    QMessageBox* box = createWarningBox(title, text, qobject_cast<QWidget*>(parent));
    box->exec();
    delete box;
}

bool WidgetMessageSink::question(const QString& text, const QString& title)
{
    QMessageBox* box = createConfirmationBox(text, title);
    const bool no = runConfirmationBox(box);
    delete box;
    return no;
}

SaveAnswer WidgetMessageSink::askToSave(const QString& text, const QString& title, QObject* window)
{
    // Shown over the window it asks for, and gone with it should that window go first.
    const QPointer<QMessageBox> box = createSaveQuestionBox(text, title, qobject_cast<QWidget*>(window));
    const SaveAnswer answer = runSaveQuestionBox(box);
    delete box;
    return answer;
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
