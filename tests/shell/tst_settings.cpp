// The settings page and "taskparam.xml": what the file sets in the controls and globals, what is written back.

#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QComboBox>
#include <QDoubleSpinBox>
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

    // The month index of the file, the month number "1"-"13", the days with
    // leap years; then the controls changed by hand: the globals follow at once.
    void periodFromFile_data()
    {
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("changes");   // control=value, in turn
        QTest::addColumn<QString>("period");    // then pT_sr, pk_Nagr, pHoly
        QTest::newRow("defaults") << "" << "" << "1 31 Январь 2023 года 20 1 0.8";
        QTest::newRow("February 2023") << "period=\"1\"" << "" << "2 28 Февраль 2023 года 20 1 0.8";
        QTest::newRow("February 2024") << "period=\"1\" year=\"2024\"" << "" << "2 29 Февраль 2024 года 20 1 0.8";
        QTest::newRow("year 2024") << "period=\"12\" year=\"2024\" temp=\"7.46\" korPn=\"1.1\""
                                   << "" << "13 366 Год 2024 года 7.5 1.1 0.8";
        QTest::newRow("year 2025") << "period=\"12\" year=\"2025\"" << "" << "13 365 Год 2025 года 20 1 0.8";
        QTest::newRow("month index 13") << "period=\"13\" year=\"2024\"" << "" << "1 31 Январь 2024 года 20 1 0.8";
        QTest::newRow("2024, then February") << "" << "Period=2024 MonthCombo=1" << "2 29 Февраль 2024 года 20 1 0.8";
        QTest::newRow("year, then 2025") << "period=\"12\" year=\"2024\"" << "Period=2025"
                                         << "13 365 Год 2025 года 20 1 0.8";
        QTest::newRow("coefficients") << "" << "TempMec=15.5 kPn=1.2 kHoliday=0.7" << "1 31 Январь 2023 года 15.5 1.2 0.7";
    }
    void periodFromFile()
    {
        QFETCH(QString, params);
        QFETCH(QString, changes);
        Folder f;
        f.writeFile("taskparam.xml", settingsFile(params));
        ZORVAN window(nullptr);
        QVERIFY(f.messages.messages.isEmpty());
        for (const QString& change : changes.split(' ', Qt::SkipEmptyParts)) {
            QWidget* control = window.findChild<QWidget*>(change.section('=', 0, 0));
            const QString value = change.section('=', 1);
            if (auto* combo = qobject_cast<QComboBox*>(control))
                combo->setCurrentIndex(value.toInt());
            else if (auto* spin = qobject_cast<QSpinBox*>(control))
                spin->setValue(value.toInt());
            else
                qobject_cast<QDoubleSpinBox*>(control)->setValue(value.toDouble());
        }
        QTEST(QString("%1 %2 %3 %4 %5 %6").arg(pMec).arg(TmRas).arg(NamePeriod).arg(pT_sr).arg(pk_Nagr).arg(pHoly),
              "period");
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