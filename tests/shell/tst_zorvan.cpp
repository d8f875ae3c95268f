// The main window: start-up, the settings page and "taskparam.xml", the About box, the reference windows.

#include "dialogs/CDlgTblUchLIN.h"
#include "shell/translations.h"
#include "shellfixture.h"
#include "store/ui/widgetmessages.h"

// Started on this settings file and empty network tables, so the tree adds no warnings.
static ZORVAN& start(Program& p, const QString& params)
{
    for (const char* t : {"pes.xml", "res.xml", "lines.xml"})
        p.writeFile(t, "<net/>");
    p.writeFile("taskparam.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<TaskTool created=\"15.01.2026 09:00:00\" modeling_authority=\"TARNO\">\n"
                                 "  <Params " + params.toUtf8() + "/>\n</TaskTool>\n");
    return p.start();
}

class TestZorvan : public QObject
{
    Q_OBJECT

private slots:
    // The folders are made once; at its smallest the window still shows the whole tree above the status bar.
    void emptyFolder()
    {
        Program p;
        p.start();
        const QString path = p.dataPath();
        QCOMPARE(p.messages.warnings(),
                 (QStringList{"Внимание!|В рабочей директории нет файла " + path + "taskparam.xml",
                              "Предупреждение|Отсутствует файл -" + path + "pes.xml",
                              "Предупреждение|Отсутствует файл -" + path + "res.xml",
                              "Предупреждение|Отсутствует файл -" + path + "lines.xml"}));
        const auto entries = [&path] { return QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); };
        QCOMPARE(entries(), (QStringList{"arxives", "html", "net"}));
        QDir(path + "html").removeRecursively();
        ZORVAN& window = p.start();
        QCOMPARE(entries(), (QStringList{"arxives", "net"}));

        window.show();
        window.resize(1, 1);
        const QRect tree = window.objectTree()->geometry();
        QCOMPARE(tree, QRect(6, 32, 317, 613));
        QVERIFY(window.rect().contains(tree) && !tree.intersects(window.statusBar()->geometry()));
    }

    // Month index of the file, month number "1"-"13", days with leap years; the globals follow every control.
    void periodFromFile_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("changes");   // control=value, in turn
        QTest::addColumn<QString>("period");    // then pT_sr, pk_Nagr, pHoly
        QTest::newRow("February 2023") << "period=\"1\"" << "" << "2 28 Февраль 2023 года 20 1 0.8";
        QTest::newRow("February 2024") << "period=\"1\" year=\"2024\"" << "" << "2 29 Февраль 2024 года 20 1 0.8";
        QTest::newRow("year 2024") << "period=\"12\" year=\"2024\" temp=\"7.46\" korPn=\"1.1\""
                                   << "" << "13 366 Год 2024 года 7.5 1.1 0.8";
        QTest::newRow("month index 13") << "period=\"13\" year=\"2024\"" << "" << "1 31 Январь 2024 года 20 1 0.8";
        QTest::newRow("2024, then February") << "" << "Period=2024 MonthCombo=1" << "2 29 Февраль 2024 года 20 1 0.8";
        QTest::newRow("year, then 2025") << "period=\"12\" year=\"2024\"" << "Period=2025"
                                         << "13 365 Год 2025 года 20 1 0.8";
        QTest::newRow("coefficients") << "" << "TempMec=15.5 kPn=1.2 kHoliday=0.7"
                                      << "1 31 Январь 2023 года 15.5 1.2 0.7";
    }
    void periodFromFile()
    {
        QFETCH(QString, params);
        QFETCH(QString, changes);
        Program p;
        ZORVAN& window = start(p, params);
        QVERIFY(p.messages.messages.isEmpty());
        for (const QString& change : changes.split(' ', Qt::SkipEmptyParts)) {
            QObject* control = window.findChild<QWidget*>(change.section('=', 0, 0));
            QVERIFY(control->setProperty(control->inherits("QComboBox") ? "currentIndex" : "value",
                                         change.section('=', 1)));
        }
        QTEST(QString("%1 %2 %3 %4 %5 %6").arg(pMec).arg(TmRas).arg(NamePeriod).arg(pT_sr).arg(pk_Nagr).arg(pHoly),
              "period");
    }

    // The coefficients take a typed decimal comma, as every number the user types.
    void typedComma_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("used");   // pT_sr, pk_Nagr, pHoly
        QTest::newRow("temperature") << "TempMec" << "-12,5" << "-12.5 1 0.8";
        QTest::newRow("load correction") << "kPn" << "1,25" << "20 1.25 0.8";
        QTest::newRow("weekend consumption") << "kHoliday" << "0,75" << "20 1 0.75";
    }
    void typedComma()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        Program p;
        auto* spin = start(p, "").findChild<QDoubleSpinBox*>(box);
        spin->selectAll();
        QTest::keyClicks(spin, typed);
        QTest::keyClick(spin, Qt::Key_Return);
        QTEST(QString("%1 %2 %3").arg(pT_sr).arg(pk_Nagr).arg(pHoly), "used");
    }

    void writtenBackExactly()
    {
        Program p;
        ZORVAN& window = start(p, "korPn=\"1.05\" period=\"2\" year=\"2024\" temp=\"-3.5\" kholi=\"0.75\" "
                                  "balance=\"1\" tranzit=\"0\" Izol=\"1\" Model=\"Сеть 2024.xml\"");
        const QByteArray file = p.readFile("taskparam.xml");
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(QString::fromUtf8(withoutStamp(p.readFile("taskparam.xml"))), QString::fromUtf8(withoutStamp(file)));
        QCOMPARE(p.messages.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(window.statusBar()->findChild<QLabel*>()->text(),
                 QString(" Расчетный период: Март 2024 год. Модель сети  Сеть 2024.xml"));

        // A folder in its place can be neither read nor written: no success is claimed.
        QDir(p.path()).rename("taskparam.xml", "taskparam.old");
        p.makeFolder("taskparam.xml");
        p.messages.clear();
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(p.messages.warnings(),
                 QStringList{"Предупреждение|Невозможно создать файл -" + p.dataPath() + "taskparam.xml"});
    }

    // A box shown while the About box stays on top opens above it; the About box keeps no program alive.
    void aboutBox()
    {
        Program p;
        ZORVAN& window = p.start();
        window.show();
        window.findChild<QAction*>("AboutPrg")->trigger();
        QPointer<QWidget> about;
        for (QWidget* w : QApplication::topLevelWidgets())
            about = qobject_cast<CDlgAboutPrg*>(w) ? w : about.data();
        QVERIFY(about->isVisible());
        QCOMPARE(about->windowTitle(), QStringLiteral("О прогамме ЗОРВАН"));
        const auto onTop = [](QMessageBox* box) {   // and deletes the box
            return std::unique_ptr<QMessageBox>(box)->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        };
        QVERIFY(onTop(createConfirmationBox("Сохранить текущую модель сети?", "Сохранение модели сети")));
        QVERIFY(onTop(createWarningBox("Информация", "Загружена новая сеть. Войдите в программу заново", &window)));
        // The toolkit decides about quitting only inside the running loop.
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
        QTimer::singleShot(0, &window, [&window] { window.close(); QCoreApplication::quit(); });
        QCoreApplication::exec();
        QCOMPARE(lastClosed.count(), 1);
        about->hide();
        QVERIFY(!onTop(createConfirmationBox("Сохранить текущую модель сети?", "Сохранение модели сети")));
        p.window.reset();
        QVERIFY(!about);
    }

    // One window of each kind: a second request shows it again, one after it closed builds a new one.
    void referenceWindows_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("again");   // the action or button of the second request
        QTest::addColumn<QString>("dialog");
        QTest::newRow("wires and cables") << "KatLin_Show" << "Info_Line" << "CDlgKatLin";
        QTest::newRow("transformers") << "KatTR_Show" << "Info_Trans" << "CDlgKatTR";
        QTest::newRow("load graphs") << "Grafik_Show" << "Grafik_Show" << "CGrafik";
    }
    void referenceWindows()
    {
        QFETCH(QString, button);
        QFETCH(QString, again);
        Program p;
        ZORVAN& window = p.start();
        auto* push = window.findChild<QPushButton*>(button);
        push->click();
        QPointer<QDialog> first = window.findChild<QDialog*>();
        QVERIFY(first && first->isVisible());
        QTEST(QString(first->metaObject()->className()), "dialog");
        QObject* second = window.findChild<QObject*>(again);
        QVERIFY(second->property("enabled").toBool());
        QMetaObject::invokeMethod(second, second == push ? "click" : "trigger");
        QCOMPARE(window.findChildren<QDialog*>(), QList<QDialog*>{first});
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);   // built anew, reading its file, on the next request
        push->click();
        QVERIFY(window.findChild<QDialog*>()->isVisible());
    }

    // At exit the settings page asks when it differs from the file as read or last saved ("save"
    // presses its button); "Да" writes the file, "Нет" leaves it, "Отмена" keeps the program open.
    void settingsAtExit_data()
    {
        QTest::addColumn<QString>("changes");   // control=value, in turn
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("outcome");   // "closed" without a question, "saved", "dropped", "kept"
        QTest::newRow("untouched") << "" << int(SaveAnswer::Cancel) << "closed";
        QTest::newRow("changed back") << "TempMec=15.5 kPn=1.004 TempMec=20" << int(SaveAnswer::Cancel) << "closed";
        QTest::newRow("saved") << "checkBalance=true save" << int(SaveAnswer::Cancel) << "closed";
        QTest::newRow("temperature, Да") << "TempMec=15.5" << int(SaveAnswer::Save) << "saved";
        QTest::newRow("option, Нет") << "checkIzol=true" << int(SaveAnswer::Discard) << "dropped";
        QTest::newRow("period, Отмена") << "MonthCombo=3" << int(SaveAnswer::Cancel) << "kept";
    }
    void settingsAtExit()
    {
        QFETCH(QString, changes);
        QFETCH(int, answer);
        QFETCH(QString, outcome);
        Program p;
        ZORVAN& window = start(p, "period=\"1\" temp=\"20\"");
        window.show();
        for (const QString& change : changes.split(' ', Qt::SkipEmptyParts)) {
            if (change == "save") {
                window.findChild<QPushButton*>("SaveToolButt")->click();
                continue;
            }
            QObject* control = window.findChild<QWidget*>(change.section('=', 0, 0));
            const char* property = control->inherits("QComboBox") ? "currentIndex"
                                 : control->inherits("QCheckBox") ? "checked" : "value";
            QVERIFY(control->setProperty(property, change.section('=', 1)));
        }
        const QByteArray before = p.readFile("taskparam.xml");
        p.messages.clear();
        p.messages.saveAnswers = {SaveAnswer(answer)};
        QCOMPARE(window.close(), outcome != "kept");
        QCOMPARE(window.isVisible(), outcome == "kept");
        const QString question = "Сохранение|Сохранить изменения?";
        QCOMPARE(p.messages.all(), (outcome == "closed" ? QStringList()
                                  : outcome == "saved"  ? QStringList{question, "Информация|Данные сохранены"}
                                                        : QStringList{question}));
        QCOMPARE(p.readFile("taskparam.xml") != before, outcome == "saved");
        if (outcome == "saved")
            QVERIFY(p.readFile("taskparam.xml").contains("temp=\"15.5\""));
        if (outcome == "kept")
            QCOMPARE(window.findChild<QComboBox*>("MonthCombo")->currentIndex(), 3);
    }

    // Closing the main window closes the catalog editor first, through its own question asked in front:
    // "Отмена" there keeps the editor with its new row and the program open; "Нет" lets both close.
    void closesOtherWindowsFirst_data()
    {
        QTest::addColumn<QString>("editor");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        for (const char* editor : {"wire catalog", "sections editor"}) {
            QTest::newRow(qPrintable(QString(editor) + ", Отмена")) << editor << int(SaveAnswer::Cancel) << false;
            QTest::newRow(qPrintable(QString(editor) + ", Нет")) << editor << int(SaveAnswer::Discard) << true;
        }
        QTest::newRow("sections editor, wire catalog in front, Нет")
            << "sections editor, wire catalog in front" << int(SaveAnswer::Discard) << true;
    }
    void closesOtherWindowsFirst()
    {
        QFETCH(QString, editor);
        QFETCH(int, answer);
        QFETCH(bool, closed);
        Program p;
        ZORVAN& window = start(p, "");
        const bool catalogEditor = editor == "wire catalog", catalogInFront = editor.endsWith("in front");
        const QString file = catalogEditor ? "kat_lin.xml" : "uch_lin.xml";
        const QByteArray stored = catalogEditor
            ? QByteArray("<net110_WireInfo><Wire name=\"АС-70\" S=\"70\"/></net110_WireInfo>\n")
            : QByteArray("<net110_uch_lin><UCH_LIN npes=\"1\" nres=\"1\" nlin=\"1\" name=\"Участок\" nyzln=\"0\" "
                         "nyzlk=\"1\" tip_el=\"1\" key=\"1\"/></net110_uch_lin>\n");
        p.writeFile(file, stored);
        window.show();
        QPointer<QDialog> other;
        if (catalogEditor) {
            window.findChild<QPushButton*>("KatLin_Show")->click();
            other = window.findChild<QDialog*>();
            other->findChild<QPushButton*>("AddButton")->click();
        } else {
            NPES = NRES = NLIN = "1";
            auto* sections = new CDlgTblUchLIN(nullptr);
            sections->show();
            sections->tableWgt->item(0, 4)->setText("Правка");
            other = sections;
        }
        if (catalogInFront) {   // edited as well
            window.findChild<QPushButton*>("KatLin_Show")->click();
            window.findChild<QDialog*>()->findChild<QPushButton*>("AddButton")->click();
            QVERIFY(QTest::qWaitForWindowActive(window.findChild<QDialog*>()));
        }
        QStringList asks;   // the window of each question, when that window is in front while asked
        p.messages.onSaveQuestion = [&asks](QObject* w) {
            QCoreApplication::processEvents();   // as the shown box would
            asks.append(w && QApplication::activeWindow() == w ? w->metaObject()->className() : "behind");
        };
        p.messages.clear();
        p.messages.defaultSaveAnswer = SaveAnswer(answer);
        QCOMPARE(window.close(), closed);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(p.messages.all(), QVector<QString>(catalogInFront ? 2 : 1, "Сохранение|Сохранить изменения?").toList());
        asks.sort();
        QCOMPARE(asks, (catalogInFront ? QStringList{"CDlgKatLin", "CDlgTblUchLIN"}
                                       : QStringList{catalogEditor ? "CDlgKatLin" : "CDlgTblUchLIN"}));
        QCOMPARE(window.isVisible(), !closed);
        QCOMPARE(other.isNull(), closed);
        if (!closed && catalogEditor)
            QCOMPARE(other->findChild<QTableWidget*>("tableWgt")->rowCount(), 2);
        if (!closed && !catalogEditor)
            QCOMPARE(static_cast<CDlgTblUchLIN*>(other.data())->tableWgt->item(0, 4)->text(), QString("Правка"));
        QCOMPARE(p.readFile(file), stored);
        delete other.data();
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

QTEST_MAIN(TestZorvan)
#include "tst_zorvan.moc"
