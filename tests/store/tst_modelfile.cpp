// Saving the six tables of a network model into one file and loading it back.

#include "store/readregim.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QStringList kTables = {"pes", "res", "lines", "uch_lin", "kat_lin", "kat_tr"};

// The six table files (or their .bak copies) without their time stamps.
QByteArrayList files(const TempWorkDir& dir, const QString& extension)
{
    QByteArrayList out;
    for (const QString& t : kTables)
        out.append(withoutStamp(dir.readFile(t + extension)));
    return out;
}

} // namespace

class TestModelFile : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new TempWorkDir);
        m_dir->copyExamples();
    }

    void cleanup() { m_dir.reset(); }

    void saveThenLoadGivesBackEveryTable()
    {
        MessageRecorder rec;
        const QByteArrayList saved = files(*m_dir, ".xml");
        QVERIFY(CreateNet(m_dir->filePath("net/модель")));
        for (const QString& t : kTables)
            m_dir->writeFile(t + ".xml", "changed " + t.toUtf8());
        QCOMPARE(LoadNet(m_dir->filePath("net/модель")), 0);
        QCOMPARE(files(*m_dir, ".xml"), saved);
        QCOMPARE(files(*m_dir, ".bak").join(' '), "changed " + kTables.join(" changed ").toUtf8());
        QCOMPARE(rec.warnings(), QStringList("Информация|Модель сети сохранена"));
    }

    // A model as written by hand, empty containers too: loaded over the
    // examples with blanks around its values, saved again without "kat_lin".
    void emptyContainersAndTrimmedValues()
    {
        MessageRecorder rec;
        const QByteArray model =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Net10 created=\"STAMP\" modeling_authority=\"TARNO\">\n"
            "  <net110_PES>\n    <PES npes=\"1\" name=\"П\"/>\n  </net110_PES>\n  <net110_RES/>\n  <net110_LIN/>\n"
            "  <net110_uch_lin/>\n  <katalog_wire110/>\n  <katalog_tr110>\n    <Trans name=\"Т\" unom=\"\" S=\"\" R=\"\" "
            "X=\"\" Px=\"\" Qx=\"\" u_otv=\"\" n_otp=\"\" uvn=\"\" unn=\"\"/>\n  </katalog_tr110>\n</Net10>\n";
        const QByteArray katLin = m_dir->readFile("kat_lin.xml");
        m_dir->writeFile("net/m", QByteArray(model).replace("npes=\"1\" name=\"П\"", "npes=\" 1\" name=\" П \""));
        QCOMPARE(LoadNet(m_dir->filePath("net/m")), 0);
        QVERIFY(m_dir->readFile("pes.xml").contains("<PES npes=\"1\" name=\"П\"/>"));
        // An empty catalog keeps the current one; the other tables are the model's.
        QCOMPARE(m_dir->readFile("kat_lin.xml"), katLin);
        QFile::remove(m_dir->filePath("kat_lin.xml"));
        QVERIFY(CreateNet(m_dir->filePath("net/m")));
        QCOMPARE(withoutStamp(m_dir->readFile("net/m")), model);
        QCOMPARE(rec.warnings(), QStringList({"Предупреждение|Пустая таблица -" + m_dir->filePath("kat_lin.xml"),
                                              "Предупреждение|Отсутствует файл -" + m_dir->filePath("kat_lin.xml"),
                                              "Информация|Модель сети сохранена"}));
    }

    void badModelChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("model");
        QTest::newRow("truncated") << QByteArray("<Net10><net110_PES><PES npes=\"1\" name=\"П\"/>"
                                                 "</net110_PES><net110_RES><RES npes=\"1\" nr");
        QTest::newRow("no PES row") << QByteArray("<Net10><net110_PES/><net110_RES><RES npes=\"1\" "
                                                  "nres=\"1\"/></net110_RES></Net10>");
    }

    void badModelChangesNothing()
    {
        QFETCH(QByteArray, model);
        MessageRecorder rec;
        const QByteArrayList before = files(*m_dir, ".xml");
        m_dir->writeFile("net/m", model);
        QCOMPARE(LoadNet(m_dir->filePath("net/m")), 1);
        QCOMPARE(files(*m_dir, ".xml"), before);
        QCOMPARE(files(*m_dir, ".bak").join(), QByteArray());   // no .bak made
        QCOMPARE(rec.warnings(), QStringList("Предупреждение|Ошибка чтения файла " + m_dir->filePath("net/m")));
    }

    // A name in "net/" that is a link to a live table is neither written nor
    // read through; a model without its PES table would not load back.
    void refusedModels()
    {
        MessageRecorder rec;
        QVERIFY(QFile::link("../pes.xml", m_dir->filePath("net/link")));
        const QMap<QString, QByteArray> before = m_dir->files();
        QVERIFY(!CreateNet(m_dir->filePath("net/link")));
        QCOMPARE(LoadNet(m_dir->filePath("net/link")), 1);
        QCOMPARE(m_dir->files(), before);
        QFile::remove(m_dir->filePath("pes.xml"));
        QVERIFY(!CreateNet(m_dir->filePath("net/m")));
        QVERIFY(QDir().mkpath(m_dir->filePath("pes.xml/x")));
        QVERIFY(!CreateNet(m_dir->filePath("net/m")));
        QVERIFY(!m_dir->exists("net/m"));
        QCOMPARE(rec.warnings(), QStringList({"Предупреждение|Невозможно создать файл -" + m_dir->filePath("net/link"),
                                              "Предупреждение|Ошибка чтения файла " + m_dir->filePath("net/link"),
                                              "Предупреждение|Отсутствует файл -" + m_dir->filePath("pes.xml"),
                                              "Предупреждение|Ошибка чтения файла " + m_dir->filePath("pes.xml")}));
    }

private:
    QScopedPointer<TempWorkDir> m_dir;
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_modelfile.moc"
