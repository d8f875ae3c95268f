// Start-up of the main window: working folders, the warnings in the order the user meets them, the About box.

#include "shell/CTool_DMS.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
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

    // One window of each kind: a second request shows it again, one after it
    // closed builds a new one.
    void referenceWindows_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("wires and cables") << "Info_Line" << "KatLin_Show" << "CDlgKatLin";
        QTest::newRow("transformers") << "Info_Trans" << "KatTR_Show" << "CDlgKatTR";
        QTest::newRow("load graphs") << "" << "Grafik_Show" << "CGrafik";
    }
    void referenceWindows()
    {
        QFETCH(QString, action);
        QFETCH(QString, button);
        QFETCH(QString, dialog);
        StartFolder folder;
        MessageRecorder messages;
        ZORVAN window(nullptr);
        const auto open = [&window, &dialog] {
            QList<QDialog*> found;
            for (QDialog* d : window.findChildren<QDialog*>())
                if (d->metaObject()->className() == dialog && d->isVisible())
                    found.append(d);
            return found;
        };
        auto* push = window.findChild<QPushButton*>(button);
        QVERIFY(push->isEnabled());
        push->click();
        const QList<QDialog*> first = open();
        QCOMPARE(first.size(), 1);
        if (!action.isEmpty()) {
            auto* act = window.findChild<QAction*>(action);
            QVERIFY(act->isEnabled());
            act->trigger();
        } else {
            push->click();
        }
        QCOMPARE(open(), first);
        first.at(0)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(open().isEmpty());
        push->click();
        QCOMPARE(open().size(), 1);
        QVERIFY(!window.findChild<QAction*>("Edit_Load")->isEnabled());
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"