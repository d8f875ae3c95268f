// The settings page and "taskparam.xml": what the file sets in the controls and globals, what is written back.

#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

// A start folder with empty network tables, so the tree adds no warnings.
struct Folder : StartFolder
{
    MessageRecorder messages;
    Folder() { for (const char* t : {"pes.xml", "res.xml", "lines.xml"}) writeFile(t, "<net/>"); }
};

static QByteArray settingsFile(const QString& params)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<TaskTool created=\"15.01.2026 09:00:00\" modeling_authority=\"TARNO\">\n"
           "  <Params " + params.toUtf8() + "/>\n</TaskTool>\n";
}

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
        Folder f;
        f.writeFile("taskparam.xml", settingsFile(params));
        ZORVAN window(nullptr);
        QVERIFY(f.messages.messages.isEmpty());
        QTEST(QString("%1 %2 %3").arg(pMec).arg(TmRas).arg(NamePeriod), "period");
    }

    void writtenBackExactly()
    {
        const QByteArray file = settingsFile("korPn=\"1.05\" period=\"2\" year=\"2024\" temp=\"-3.5\" kholi=\"0.75\" "
                                             "balance=\"1\" tranzit=\"0\" Izol=\"1\" Model=\"Сеть 2024.xml\"");
        Folder f;
        f.writeFile("taskparam.xml", file);
        ZORVAN window(nullptr);
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(QString::fromUtf8(withoutStamp(f.readFile("taskparam.xml"))), QString::fromUtf8(withoutStamp(file)));
        QCOMPARE(f.messages.warnings(), QStringList{"Информация|Данные сохранены"});
        QCOMPARE(window.statusBar()->findChild<QLabel*>()->text(),
                 QString(" Расчетный период: Март 2024 год. Модель сети  Сеть 2024.xml"));
    }

    void unwritableFile()
    {
        Folder f;
        f.makeFolder("taskparam.xml");   // can be neither read nor written
        ZORVAN window(nullptr);
        f.messages.clear();
        window.findChild<QPushButton*>("SaveToolButt")->click();
        QCOMPARE(f.messages.warnings(),
                 QStringList{"Предупреждение|Невозможно создать файл -" + f.dataPath() + "taskparam.xml"});
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"