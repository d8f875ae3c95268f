#include "messages.h"

#include <cstdio>

namespace {

class StderrSink final : public MessageSink
{
public:
    void warning(const QString& title, const QString& text, QObject*) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
    }
    bool question(const QString& text, const QString& title) override
    {
        std::fprintf(stderr, "%s: %s -> Нет\n", qPrintable(title), qPrintable(text));
        return true;
    }
    SaveAnswer askToSave(const QString& text, const QString& title, QObject*) override
    {
        std::fprintf(stderr, "%s: %s -> Отмена\n", qPrintable(title), qPrintable(text));
        return SaveAnswer::Cancel;
    }
    void showFile(const QString&, const QString&) override {}
};

StderrSink g_stderrSink;
MessageSink* g_sink = &g_stderrSink;

} // namespace

MessageSink* setMessageSink(MessageSink* sink)
{
    MessageSink* previous = g_sink == &g_stderrSink ? nullptr : g_sink;
    g_sink = sink ? sink : &g_stderrSink;
    return previous;
}

MessageSink* messageSink()
{
    return g_sink;
}

void ShowWarning(const QString& title, const QString& text, QObject* parent)
{
    g_sink->warning(title, text, parent);
}

void ShowFile(const QString& name, const QString& kind)
{
    g_sink->showFile(name, kind);
}

SaveAnswer AskToSave(QObject* window)
{
    return g_sink->askToSave(QStringLiteral("Сохранить изменения?"), QStringLiteral("Сохранение"), window);
}
