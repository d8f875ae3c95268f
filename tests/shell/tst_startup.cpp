// Start-up of the main window: working folders, the order of the start-up
// steps as the user meets them, the About box and the tool bar.

#include "shell/CTool_DMS.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTextCodec>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

namespace {

// Remembers what the program had done when each warning came up.
class StepRecorder : public MessageRecorder
{
public:
    void warning(const QString& title, const QString& text, QObject* parent) override
    {
        MessageRecorder::warning(title, text, parent);
        osAtWarning.append(OS);
        netAtWarning.append(QDir(ZORVAN_PATH).exists(QStringLiteral("net")));
    }
    QStringList osAtWarning;
    QList<bool> netAtWarning;
};

// Counts how often the About box is shown and hidden.
class AboutWatcher : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (qobject_cast<CDlgAboutPrg*>(watched)) {
            if (event->type() == QEvent::Show)
                events.append(QStringLiteral("show"));
            else if (event->type() == QEvent::Hide)
                events.append(QStringLiteral("hide"));
        }
        return false;
    }
    QStringList events;
};

CDlgAboutPrg* aboutBox()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* about = qobject_cast<CDlgAboutPrg*>(w))
            return about;
    }
    return nullptr;
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }
    void emptyFolder();
    void existingNet_data();
    void existingNet();
    void aboutBoxAtStart();
    void aboutBoxDoesNotKeepProgramAlive();
    void toolBar();
};

void TestStartup::emptyFolder()
{
    StartFolder folder;
    StepRecorder messages;
    ZORVAN window(nullptr);

    const QString dataPath = folder.dataPath();
    QCOMPARE(ZORVAN_PATH, dataPath);
    // The settings file is missing, and so are the tables of the object tree.
    QCOMPARE(messages.warnings(),
             (QStringList{"Внимание!|В рабочей директории нет файла " + dataPath + "taskparam.xml",
                          "Предупреждение|Отсутствует файл -" + dataPath + "pes.xml",
                          "Предупреждение|Отсутствует файл -" + dataPath + "res.xml",
                          "Предупреждение|Отсутствует файл -" + dataPath + "lines.xml"}));
    // The folders come first, the platform tag last.
    QCOMPARE(messages.netAtWarning, (QList<bool>{true, true, true, true}));
    QCOMPARE(messages.osAtWarning, (QStringList{QString(), QString(), QString(), QString()}));
    for (const char* name : {"net", "arxives", "html"})
        QVERIFY2(QDir(dataPath).exists(name), name);
    QVERIFY(!QFile::exists(dataPath + "taskparam.xml"));

    QCOMPARE(window.windowTitle(), QStringLiteral("Программа ЗОРВАН"));
    QCOMPARE(OS, QStringLiteral("UNIX"));
    QVERIFY(g_pTextCodec);
    QCOMPARE(QTextCodec::codecForLocale()->name(), QByteArray("UTF-8"));
}

void TestStartup::existingNet_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::newRow("net alone") << QStringList{"net"};
    QTest::newRow("net and html") << QStringList{"net", "html"};
}

void TestStartup::existingNet()
{
    QFETCH(QStringList, present);
    StartFolder folder;
    for (const QString& name : present)
        folder.makeFolder(name);
    MessageRecorder messages;
    ZORVAN window(nullptr);

    const QStringList entries = QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QStringList expected = present;
    expected.sort();
    QCOMPARE(entries, expected);
}

void TestStartup::aboutBoxAtStart()
{
    StartFolder folder;
    MessageRecorder messages;
    AboutWatcher watcher;
    qApp->installEventFilter(&watcher);
    ZORVAN window(nullptr);
    qApp->removeEventFilter(&watcher);

    // Shown as the start-up picture, then hidden before the window appears.
    QCOMPARE(watcher.events, (QStringList{"show", "hide"}));
    CDlgAboutPrg* about = aboutBox();
    QVERIFY(about);
    QVERIFY(!about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("О прогамме ЗОРВАН"));
    QCOMPARE(about->LineInfo->text(), QStringLiteral("Программа ЗОРВАН"));
    QVERIFY(about->windowFlags() & Qt::WindowStaysOnTopHint);

    // The tool bar shows the same box again.
    window.findChild<QAction*>("AboutPrg")->trigger();
    QVERIFY(about->isVisible());
    QCOMPARE(aboutBox(), about);
}

void TestStartup::aboutBoxDoesNotKeepProgramAlive()
{
    StartFolder folder;
    MessageRecorder messages;
    {
        ZORVAN window(nullptr);
        window.show();
        window.findChild<QAction*>("AboutPrg")->trigger();
        QVERIFY(aboutBox()->isVisible());

        // The toolkit decides about quitting only inside the running loop.
        int lastClosed = -1;
        QTimer::singleShot(0, &window, [&window, &lastClosed] {
            QSignalSpy spy(qApp, &QGuiApplication::lastWindowClosed);
            window.close();
            lastClosed = spy.count();
            QCoreApplication::quit();
        });
        QCoreApplication::exec();
        QCOMPARE(lastClosed, 1);
    }
    // The box goes with its window.
    QVERIFY(!aboutBox());
}

void TestStartup::toolBar()
{
    StartFolder folder;
    MessageRecorder messages;
    ZORVAN window(nullptr);

    const QList<QAction*> actions = window.findChild<QToolBar*>("mainToolBar")->actions();
    QStringList names;
    for (QAction* action : actions) {
        names.append(action->isSeparator() ? QStringLiteral("|") : action->objectName());
        // Every icon is compiled into the program.
        if (!action->isSeparator())
            QVERIFY2(!action->icon().pixmap(24, 24).isNull(), qPrintable(action->objectName()));
    }
    QCOMPARE(names, (QStringList{"Info_Trans", "Info_Line", "|", "Edit_Load", "|", "AboutPrg", "|"}));
    // Windows that do not exist yet cannot be asked for.
    QVERIFY(!window.findChild<QAction*>("Info_Trans")->isEnabled());
    QVERIFY(!window.findChild<QAction*>("Info_Line")->isEnabled());
    QVERIFY(window.findChild<QAction*>("AboutPrg")->isEnabled());
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
