// Parameter pop-ups of line sections and transformers.

#include "scheme/CparamTR2.h"
#include "scheme/CparamTR3.h"
#include "scheme/CparamUCH.h"

#include <QtTest>
#include <QtWidgets>

namespace {

const Table kWires = {{"АС-70"}, {"АС-95"}, {"АС-70"}};
const Table kTrans = {{"ТМН-6300/110", "110"}, {"ТМ-1000/35", "35"}, {"ТДН-10000/110", "115"}, {"ТДТН-ВН", "110"}};

QStringList uchRow(const QString& key, const QMap<QString, QString>& fields = {})
{
    QStringList row = {"1", "1", "1", "Участок", "прим.", "3", "4", "1", "АС-70", "1.5", "0",
                       "0.2", "0.1", "100", "50", "0", "0", key};
    for (auto it = fields.begin(); it != fields.end(); ++it)
        row[attrUchLin.indexOf(it.key())] = it.value();
    return row;
}

template<typename T> T* child(QWidget* popup, const char* name) { return popup->findChild<T*>(QLatin1String(name)); }

QStringList entries(QWidget* popup, const char* combo)
{
    QStringList out;
    for (int i = 0; i < child<QComboBox>(popup, combo)->count(); ++i)
        out.append(child<QComboBox>(popup, combo)->itemText(i));
    return out;
}

QStringList pressOK(QWidget* popup)
{
    QSignalSpy spy(popup, SIGNAL(signalOKParamButton(QStringList)));
    child<QPushButton>(popup, "OKButton")->click();
    QStringList rows;
    for (const QList<QVariant>& args : spy)
        rows.append(args.at(0).toStringList().join(';'));
    return rows;
}

} // namespace

class TestCparam : public QObject
{
    Q_OBJECT

private slots:
    // Untouched, a row goes back as it came but for a length its 3-decimal text holds.
    void sectionUntouched_data()
    {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("dl");
        QTest::addColumn<QStringList>("types");
        const QStringList listed = {"АС-70", "АС-95"};
        QTest::newRow("12.5") << uchRow("1", {{"dl", "12.5"}, {"kbal", "1"}}) << "12.500" << listed;
        QTest::newRow("more decimals") << uchRow("1", {{"dl", "123.4567"}}) << "123.4567" << listed;
        QTest::newRow("beyond the spin box") << uchRow("1", {{"dl", "2000000000"}}) << "2000000000.000" << listed;
        QTest::newRow("no length, no flags") << uchRow("1", {{"dl", ""}, {"kbal", ""}, {"podkt", "2"}}) << ""
                                             << listed;
        QTest::newRow("unlisted type") << uchRow("1", {{"kod_el", "АС-999"}}) << "1.500"
                                       << QStringList({"АС-999", "АС-70", "АС-95"});
        QTest::newRow("no type") << uchRow("1", {{"kod_el", ""}}) << "1.500" << QStringList({"", "АС-70", "АС-95"});
    }
    void sectionUntouched()
    {
        QFETCH(QStringList, row);
        QFETCH(QString, dl);
        CparamUCH popup(kWires);
        popup.SetUCH(uchRow("9", {{"kod_el", "АС-999"}}));
        popup.SetUCH(row);
        QTEST(entries(&popup, "Markacombo"), "types");
        row[9] = dl;
        QCOMPARE(pressOK(&popup), QStringList{row.join(';')});
        QVERIFY(popup.isHidden());
    }

    void sectionEdited()
    {
        CparamUCH popup(kWires);
        popup.SetUCH(uchRow("5", {{"dl", "123.4567"}, {"kbal", "1"}, {"podkt", ""}}));
        child<QLineEdit>(&popup, "KommEdit")->setText("Л-1");
        child<QLineEdit>(&popup, "KommEdit_2")->setText("отпайка");
        child<QComboBox>(&popup, "Markacombo")->setCurrentText("АС-95");
        auto* length = child<QDoubleSpinBox>(&popup, "DlinaSpin");
        length->selectAll();
        QTest::keyClicks(length, "1 207,25");   // a comma is a decimal point in any locale
        child<QCheckBox>(&popup, "checkOtkl")->setChecked(true);
        child<QCheckBox>(&popup, "checkBalance")->setChecked(false);
        QCOMPARE(pressOK(&popup), QStringList{uchRow("5", {{"name", "Л-1"}, {"name1", "отпайка"}, {"kod_el", "АС-95"},
                                                           {"dl", "1207.250"}, {"kbal", "0"}, {"podkt", "1"}}).join(';')});
        popup.SetUCH({});
        QVERIFY(!child<QComboBox>(&popup, "Markacombo")->isEnabled());
        QVERIFY(pressOK(&popup).isEmpty());
    }

    // The types are those of the voltage passed in, whatever UNOM says.
    void twoWinding_data()
    {
        QTest::addColumn<QString>("tap");
        QTest::addColumn<int>("shown");
        QTest::addColumn<int>("set");       // a new tap, or the shown one
        QTest::addColumn<QString>("written");
        QTest::newRow("beyond the range") << "25" << 19 << 19 << "25";
        QTest::newRow("fraction") << "2.5" << 2 << 2 << "2.5";
        QTest::newRow("changed") << "2.5" << 2 << -7 << "-7";
    }
    void twoWinding()
    {
        QFETCH(QString, tap);
        QFETCH(int, set);
        QFETCH(QString, written);
        UNOM = 35;
        CparamTR2 popup(kTrans + Table{{"Т-88", "88"}, {"Т-131", "131.9"}, {"Т-132", "132"}});   // 88 and 132 are out
        QStringList row = uchRow("7", {{"tip_el", "2"}, {"kod_el", ""}, {"n_otv", tap}});
        popup.SetUCH(row, 110);
        for (const char* field : {"KommEdit", "KommEdit_2", "Markacombo", "spinOtv", "checkOtkl", "checkBalance"})
            QVERIFY2(child<QWidget>(&popup, field)->isEnabled(), field);
        QTEST(child<QSpinBox>(&popup, "spinOtv")->value(), "shown");
        child<QSpinBox>(&popup, "spinOtv")->setValue(set);
        QCOMPARE(entries(&popup, "Markacombo"), QStringList({"", "ТМН-6300/110", "ТДН-10000/110", "ТДТН-ВН", "Т-131"}));
        row[10] = written;
        QCOMPARE(pressOK(&popup), QStringList{row.join(';')});
    }

    // A winding without a row is disabled and sent nowhere.
    void threeWinding()
    {
        CparamTR3 popup(kTrans);
        const QStringList hv = uchRow("4", {{"kod_el", "ТДТН-ВН"}, {"n_otv", "-2"}});
        const QStringList mv = uchRow("5", {{"name", "СН"}, {"kod_el", "ТМН-6300/110"}, {"n_otv", "3"}, {"podkt", "1"}});
        const QStringList lv = uchRow("6", {{"name", "НН"}, {"kod_el", "ТМ-1000/35"}});
        popup.SetUCH(hv, mv, lv, 110);
        QCOMPARE(entries(&popup, "Markacombo_3"), QStringList({"ТМ-1000/35", "ТМН-6300/110", "ТДН-10000/110", "ТДТН-ВН"}));
        child<QLineEdit>(&popup, "KommEdit")->setText("Т-1");
        child<QComboBox>(&popup, "Markacombo_2")->setCurrentText("ТДН-10000/110");
        child<QCheckBox>(&popup, "checkOtkl_3")->setChecked(true);
        child<QCheckBox>(&popup, "checkBalance")->setChecked(true);
        QCOMPARE(pressOK(&popup), QStringList({
            uchRow("4", {{"name", "Т-1"}, {"kod_el", "ТДТН-ВН"}, {"n_otv", "-2"}, {"kbal", "1"}}).join(';'),
            uchRow("5", {{"name", "СН"}, {"kod_el", "ТДН-10000/110"}, {"n_otv", "3"}, {"kbal", "1"}, {"podkt", "1"}}).join(';'),
            uchRow("6", {{"name", "НН"}, {"kod_el", "ТМ-1000/35"}, {"kbal", "1"}, {"podkt", "1"}}).join(';')}));

        popup.SetUCH(hv, {}, lv, 110);
        QVERIFY(!child<QComboBox>(&popup, "Markacombo_2")->isEnabled());
        QVERIFY(child<QComboBox>(&popup, "Markacombo_3")->isEnabled());
        QCOMPARE(pressOK(&popup), QStringList({hv.join(';'), lv.join(';')}));
    }
};

QTEST_MAIN(TestCparam)
#include "tst_cparam.moc"
