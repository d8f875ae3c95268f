// The settings page of the main window and "taskparam.xml": what the file
// puts into the controls and the globals, and what the page writes back.

#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

namespace {

// A start folder that also holds the (empty) network tables, so that the
// object tree reads them without the warnings about missing files.
class NetworkStartFolder : public StartFolder
{
public:
    NetworkStartFolder()
    {
        writeFile("pes.xml", "<net110_PES/>");
        writeFile("res.xml", "<net110_RES/>");
        writeFile("lines.xml", "<net110_LIN/>");
    }
};

QByteArray settingsFile(const QString& params)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<TaskTool created=\"15.01.2026 09:00:00\" modeling_authority=\"TARNO\">\n"
           "  <Params " + params.toUtf8() + "/>\n"
           "</TaskTool>\n";
}

QString statusText(ZORVAN& window)
{
    const QList<QLabel*> labels = window.statusBar()->findChildren<QLabel*>();
    return labels.size() == 1 ? labels.first()->text() : QStringLiteral("<%1 labels>").arg(labels.size());
}

template <typename T>
T* control(ZORVAN& window, const char* name)
{
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetStartGlobals(); }
    void withoutFile();
    void dayCounts_data();
    void dayCounts();
    void readIntoControls();
    void writtenBackExactly_data();
    void writtenBackExactly();
    void valuesFromFile_data();
    void valuesFromFile();
    void damagedFile();
    void controlsFeedGlobals();
    void unwritableFile();
};

void TestSettings::withoutFile()
{
    NetworkStartFolder folder;
    MessageRecorder messages;
    // Values left over from elsewhere must not survive the start.
    pHoly = 0.3;
    pk_Nagr = 1.7;
    pT_sr = pT_RES = -4.0;
    ZORVAN window(nullptr);

    QCOMPARE(TmRas, 31);
    QCOMPARE(pMec, QStringLiteral("1"));
    QCOMPARE(pYear, QStringLiteral("2023"));
    QCOMPARE(NamePeriod, QStringLiteral("Январь 2023 года"));
    QCOMPARE(pHoly, 0.8);
    QCOMPARE(pk_Nagr, 1.0);
    QCOMPARE(pT_sr, 20.0);
    QCOMPARE(pT_RES, 20.0);
    QCOMPARE(pr_Bal + p_tranz + p_Iz, 0);
    QCOMPARE(statusText(window), QStringLiteral("Расчетный период: Январь 2023 год. Модель сети  "));
}

void TestSettings::dayCounts_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("name");
    QTest::newRow("February 2023") << 1 << 2023 << 28 << "Февраль 2023 года";
    QTest::newRow("February 2024") << 1 << 2024 << 29 << "Февраль 2024 года";
    QTest::newRow("February 2032") << 1 << 2032 << 29 << "Февраль 2032 года";
    QTest::newRow("year 2024") << 12 << 2024 << 366 << "Год 2024 года";
    QTest::newRow("year 2025") << 12 << 2025 << 365 << "Год 2025 года";
    QTest::newRow("December 2024") << 11 << 2024 << 31 << "Декабрь 2024 года";
}

void TestSettings::dayCounts()
{
    QFETCH(int, month);
    QFETCH(int, year);
    QFETCH(int, days);
    QFETCH(QString, name);
    NetworkStartFolder folder;
    MessageRecorder messages;
    ZORVAN window(nullptr);
    auto* combo = control<QComboBox>(window, "MonthCombo");
    auto* period = control<QSpinBox>(window, "Period");

    // The period first, then the year ...
    combo->setCurrentIndex(month);
    period->setValue(year);
    QCOMPARE(TmRas, days);
    QCOMPARE(NamePeriod, name);
    QCOMPARE(pMec, QString::number(month + 1));
    QCOMPARE(pYear, QString::number(year));

    // ... and the year first, coming from a year of the other kind.
    combo->setCurrentIndex(0);
    period->setValue(year % 4 == 0 ? 2023 : 2028);
    period->setValue(year);
    combo->setCurrentIndex(month);
    QCOMPARE(TmRas, days);
    QCOMPARE(NamePeriod, name);
}

void TestSettings::readIntoControls()
{
    NetworkStartFolder folder;
    folder.writeFile("taskparam.xml",
                     settingsFile("korPn=\"1.05\" period=\"2\" year=\"2024\" temp=\"-3.5\" kholi=\"0.75\" "
                                  "balance=\"1\" tranzit=\"0\" Izol=\"1\" Model=\"Сеть 2024.xml\""));
    MessageRecorder messages;
    ZORVAN window(nullptr);

    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(control<QDoubleSpinBox>(window, "kPn")->value(), 1.05);
    QCOMPARE(control<QComboBox>(window, "MonthCombo")->currentText(), QStringLiteral("Март"));
    QCOMPARE(control<QSpinBox>(window, "Period")->value(), 2024);
    QCOMPARE(control<QDoubleSpinBox>(window, "TempMec")->value(), -3.5);
    QCOMPARE(control<QDoubleSpinBox>(window, "kHoliday")->value(), 0.75);
    QVERIFY(control<QCheckBox>(window, "checkBalance")->isChecked());
    QVERIFY(!control<QCheckBox>(window, "checkTranzit")->isChecked());
    QVERIFY(control<QCheckBox>(window, "checkIzol")->isChecked());

    QCOMPARE(pMec, QStringLiteral("3"));
    QCOMPARE(pYear, QStringLiteral("2024"));
    QCOMPARE(TmRas, 31);
    QCOMPARE(NamePeriod, QStringLiteral("Март 2024 года"));
    QCOMPARE(pk_Nagr, 1.05);
    QCOMPARE(pT_sr, -3.5);
    QCOMPARE(pT_RES, -3.5);
    QCOMPARE(pHoly, 0.75);
    QCOMPARE(pr_Bal, 1);
    QCOMPARE(p_tranz, 0);
    QCOMPARE(p_Iz, 1);
    QCOMPARE(statusText(window),
             QStringLiteral("Расчетный период: Март 2024 год. Модель сети  Сеть 2024.xml"));
}

void TestSettings::writtenBackExactly_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("status");
    QTest::newRow("own file")
        << settingsFile("korPn=\"1.05\" period=\"2\" year=\"2024\" temp=\"-3.5\" kholi=\"0.75\" "
                        "balance=\"1\" tranzit=\"0\" Izol=\"1\" Model=\"Сеть 2024.xml\"")
        << " Расчетный период: Март 2024 год. Модель сети  Сеть 2024.xml";
    QFile example(examplesPath() + "taskparam.xml");
    QVERIFY(example.open(QIODevice::ReadOnly));
    QTest::newRow("examples") << example.readAll()
                              << " Расчетный период: Январь 2026 год. Модель сети  ";
}

void TestSettings::writtenBackExactly()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, status);
    NetworkStartFolder folder;
    folder.writeFile("taskparam.xml", file);
    MessageRecorder messages;
    ZORVAN window(nullptr);
    QVERIFY(messages.messages.isEmpty());

    control<QPushButton>(window, "SaveToolButt")->click();
    QCOMPARE(QString::fromUtf8(withoutStamp(folder.readFile("taskparam.xml"))),
             QString::fromUtf8(withoutStamp(file)));
    QVERIFY(!folder.exists("taskparam.bak"));
    QCOMPARE(messages.warnings(), QStringList{"Информация|Данные сохранены"});
    QCOMPARE(statusText(window), status);
}

void TestSettings::valuesFromFile_data()
{
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("mec");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("namePeriod");
    QTest::addColumn<double>("temperature");
    QTest::addColumn<double>("load");
    QTest::newRow("whole year")
        << "period=\"12\" year=\"2028\"" << "13" << 366 << "Год 2028 года" << 20.0 << 1.0;
    QTest::newRow("one decimal of temperature")
        << "temp=\"7.46\"" << "1" << 31 << "Январь 2023 года" << 7.5 << 1.0;
    QTest::newRow("year below range")
        << "year=\"1999\" period=\"1\"" << "2" << 29 << "Февраль 2020 года" << 20.0 << 1.0;
    QTest::newRow("month index 13")
        << "period=\"13\" year=\"2024\"" << "1" << 31 << "Январь 2024 года" << 20.0 << 1.0;
    QTest::newRow("month index -1")
        << "period=\"-1\"" << "1" << 31 << "Январь 2023 года" << 20.0 << 1.0;
    QTest::newRow("not a number")
        << "korPn=\"много\" temp=\"тепло\"" << "1" << 31 << "Январь 2023 года" << 0.0 << 0.1;
    QTest::newRow("unknown attribute")
        << "colour=\"red\" period=\"4\"" << "5" << 31 << "Май 2023 года" << 20.0 << 1.0;
}

void TestSettings::valuesFromFile()
{
    QFETCH(QString, params);
    QFETCH(QString, mec);
    QFETCH(int, days);
    QFETCH(QString, namePeriod);
    QFETCH(double, temperature);
    QFETCH(double, load);
    NetworkStartFolder folder;
    folder.writeFile("taskparam.xml", settingsFile(params));
    MessageRecorder messages;
    ZORVAN window(nullptr);

    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(pMec, mec);
    QCOMPARE(TmRas, days);
    QCOMPARE(NamePeriod, namePeriod);
    QCOMPARE(pT_sr, temperature);
    QCOMPARE(pT_RES, temperature);
    QCOMPARE(pk_Nagr, load);
}

void TestSettings::damagedFile()
{
    NetworkStartFolder folder;
    // A later Params overrides an earlier one; what follows an error is lost.
    folder.writeFile("taskparam.xml",
                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TaskTool>\n"
                     "  <Params year=\"2025\" period=\"3\" korPn=\"1.30\"/>\n"
                     "  <Params period=\"1\"/>\n"
                     "  <Params korPn=\"0.50\" <broken/>\n"
                     "  <Params temp=\"5.0\"/>\n</TaskTool>\n");
    MessageRecorder messages;
    ZORVAN window(nullptr);

    QVERIFY(messages.messages.isEmpty());
    QCOMPARE(pYear, QStringLiteral("2025"));
    QCOMPARE(pMec, QStringLiteral("2"));
    QCOMPARE(TmRas, 28);
    QCOMPARE(pk_Nagr, 1.3);
    QCOMPARE(pT_sr, 20.0);
}

void TestSettings::controlsFeedGlobals()
{
    NetworkStartFolder folder;
    MessageRecorder messages;
    ZORVAN window(nullptr);

    control<QDoubleSpinBox>(window, "TempMec")->setValue(15.5);
    QCOMPARE(pT_sr, 15.5);
    control<QDoubleSpinBox>(window, "kHoliday")->setValue(0.65);
    QCOMPARE(pHoly, 0.65);
    control<QDoubleSpinBox>(window, "kPn")->setValue(1.1);
    QCOMPARE(pk_Nagr, 1.1);
    control<QCheckBox>(window, "checkTranzit")->setChecked(true);
    QCOMPARE(p_tranz, 1);
    control<QCheckBox>(window, "checkTranzit")->setChecked(false);
    QCOMPARE(p_tranz, 0);

    // Saved: January is stored as index 0, not as its number.
    control<QPushButton>(window, "SaveToolButt")->click();
    const QByteArray saved = withoutStamp(folder.readFile("taskparam.xml"));
    QVERIFY2(saved.contains("<Params korPn=\"1.10\" period=\"0\" year=\"2023\" temp=\"15.5\" "
                            "kholi=\"0.65\" balance=\"0\" tranzit=\"0\" Izol=\"0\" Model=\"\"/>"),
             saved.constData());
}

void TestSettings::unwritableFile()
{
    NetworkStartFolder folder;
    // A folder where the file should be: it can be neither read nor written.
    folder.makeFolder("taskparam.xml");
    MessageRecorder messages;
    ZORVAN window(nullptr);
    const QString path = folder.dataPath() + "taskparam.xml";
    QCOMPARE(messages.warnings(), QStringList{"Внимание!|В рабочей директории нет файла " + path});
    messages.clear();

    control<QPushButton>(window, "SaveToolButt")->click();
    QCOMPARE(messages.warnings(), QStringList{"Предупреждение|Невозможно создать файл -" + path});
    QCOMPARE(statusText(window), QStringLiteral("Расчетный период: Январь 2023 год. Модель сети  "));
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
