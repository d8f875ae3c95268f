// Start-up of the main window: working folders, the warnings in the order the user meets them, the About box.

#include "shell/CTool_DMS.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QtTest>

static CDlgAboutPrg* aboutBox()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<CDlgAboutPrg*>(w))
            return about;
    return nullptr;
}

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }

    void emptyFolder()
    {
        StartFolder folder;
        MessageRecorder messages;
        ZORVAN window(nullptr);
        const QString path = folder.dataPath();
        QCOMPARE(messages.warnings(),
                 (QStringList{"Внимание!|В рабочей директории нет файла " + path + "taskparam.xml",
                              "Предупреждение|Отсутствует файл -" + path + "pes.xml",
                              "Предупреждение|Отсутствует файл -" + path + "res.xml",
                              "Предупреждение|Отсутствует файл -" + path + "lines.xml"}));
        const auto entries = [&path] { return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
        QCOMPARE(entries(), (QStringList{"arxives", "html", "net"}));
        // With "net/" present nothing is created.
        QDir(path + "html").removeRecursively();
        ZORVAN again(nullptr);
        QCOMPARE(entries(), (QStringList{"arxives", "net"}));
    }

    void aboutBoxDoesNotKeepProgramAlive()
    {
        StartFolder folder;
        MessageRecorder messages;
        {
            ZORVAN window(nullptr);
            window.show();
            window.findChild<QAction*>("AboutPrg")->trigger();
            QVERIFY(aboutBox()->isVisible());
            QCOMPARE(aboutBox()->windowTitle(), QStringLiteral("О прогамме ЗОРВАН"));
            // The toolkit decides about quitting only inside the running loop.
            QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
            QTimer::singleShot(0, &window, [&window] { window.close(); QCoreApplication::quit(); });
            QCoreApplication::exec();
            QCOMPARE(lastClosed.count(), 1);
        }
        QVERIFY(!aboutBox());   // the box goes with its window
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"