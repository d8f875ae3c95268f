// Start-up of the main window: working folders, the warnings in the order the user meets them, the About box.

#include "shell/CTool_DMS.h"
#include "shell/CTreeZORVAN.h"
#include "shell/ZORVAN.h"
#include "shell/translations.h"
#include "startfolder.h"
#include "store/readregim.h"
#include "store/ui/widgetmessages.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
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

    // At its smallest the window still shows every control of the tree, none
    // of them over the status bar.
    void smallestWindowHidesNothing()
    {
        StartFolder folder;
        MessageRecorder messages;
        ZORVAN window(nullptr);
        window.show();
        window.resize(1, 1);
        CTreeZORVAN* tree = window.objectTree();
        QCOMPARE(tree->geometry(), QRect(6, 32, 317, 613));
        const QRect status = window.statusBar()->geometry();
        for (QWidget* w : {static_cast<QWidget*>(tree->InsertButton), static_cast<QWidget*>(tree->ChangeButton),
                           static_cast<QWidget*>(tree->LineFind), static_cast<QWidget*>(tree->FindButton),
                           static_cast<QWidget*>(tree->VxodButton)}) {
            const QRect shown(w->mapTo(&window, QPoint(0, 0)), w->size());
            QVERIFY2(window.rect().contains(shown) && !shown.intersects(status), qPrintable(w->objectName()));
        }
    }

    // While the About box stays on top, a question or warning opens above it.
    void boxesOpenAboveTheAboutBox()
    {
        StartFolder folder;
        MessageRecorder messages;
        ZORVAN window(nullptr);
        window.show();
        const auto onTop = [](QMessageBox* box) {
            const bool top = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            delete box;
            return top;
        };
        window.findChild<QAction*>("AboutPrg")->trigger();
        QVERIFY(onTop(createConfirmationBox("Сохранить текущую модель сети?", "Сохранение модели сети")));
        QVERIFY(onTop(createWarningBox("Информация", "Загружена новая сеть. Войдите в программу заново", &window)));
        aboutBox()->hide();
        QVERIFY(!onTop(createConfirmationBox("Сохранить текущую модель сети?", "Сохранение модели сети")));
    }

    // Qt's own texts are Russian. Last: the translator stays for the process.
    void standardTextsInRussian()
    {
        QVERIFY(installQtTranslations());
        QMessageBox box(QMessageBox::Question, "t", "?", QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(box.button(QMessageBox::Yes)->text().remove('&'), QString("Да"));
        QCOMPARE(box.button(QMessageBox::No)->text().remove('&'), QString("Нет"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"