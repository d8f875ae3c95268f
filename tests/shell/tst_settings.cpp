// The settings page of the main window and "taskparam.xml": what the file
// puts into the controls and the globals, and what the page writes back.

#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

namespace {

// A start folder with empty network tables, so the tree adds no warnings.
struct NetworkStartFolder : StartFolder
{
    NetworkStartFolder() { for (const char* t : {"pes.xml", "res.xml", "lines.xml"}) writeFile(t, "<net/>"); }
};

QByteArray settingsFile(const QString& params)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<TaskTool created=\"15.01.2026 09:00:00\" modeling_authority=\"TARNO\">\n"
           "  <Params " + params.toUtf8() + "/>\n</TaskTool>\n";
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }

    // The month index of the file, the month number "1"-"13", the days with leap years.
    void periodFromFile_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("period");
        QTest::newRow("defaults") << "" << "1 31 Январь 2023 года";
        QTest::newRow("February 2023") << "period=\"1\"" << "2 28 Февраль 2023 года";
        QTest::newRow("February 2024") << "period=\"1\" year=\"2024\"" << "2 29 Февраль 2024 года";
        QTest::newRow("year 2024") << "period=\"12\" year=\"2024\"" << "13 366 Год 2024 года";
        QTest::newRow("year 2025") << "period=\"12\" year=\"2025\"" << "13 365 Год 2025 года";
        QTest::newRow("month index 13") << "period=\"13\" year=\"2024\"" << "1 31 Январь 2024 года";
    }
    void periodFromFile()
    {
        QFETCH(QString, params);
        QFETCH(QString, period);
        NetworkStartFolder folder;
        folder.writeFile("taskparam.xml", settingsFile(params));
        MessageRecorder messages;
        ZORVAN window(nullptr);
        QVERIFY(messages.messages.isEmpty());
        QCOMPARE(QString("%1 %2 %3").arg(pMec).arg(TmRas).arg(NamePeriod), period);
    }

    void writtenBackExactly()
    {
        const QByteArray file = settingsFile("korPn=\"1.05\" period=\"2\" year=\"2024\" temp=\"-3.5\" kholi=\"0.75\" "
                                             "balance=\"1\" tranzit=\"0\" Izol=\"1\" Model=\"Сеть 2024.xml\"");
        NetworkStartFolder folder;
        folder.writeFile("taskparam.xml", file);
        MessageRecorder messages;
        ZORVAN window(nullptr);
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(QString::fromUtf8(withoutStamp(folder.readFile("taskparam.xml"))),
                 QString::fromUtf8(withoutStamp(file)));
        QCOMPARE(messages.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(window.statusBar()->findChild<QLabel*>()->text(),
                 QString(" Расчетный период: Март 2024 год. Модель сети  Сеть 2024.xml"));
    }

    void unwritableFile()
    {
        NetworkStartFolder folder;
        folder.makeFolder("taskparam.xml");   // can be neither read nor written
        MessageRecorder messages;
        ZORVAN window(nullptr);
        messages.clear();
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(messages.warnings(),
                 QStringList{"Предупреждение|Невозможно создать файл -" + folder.dataPath() + "taskparam.xml"});
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"