// Saving the six tables of a network model into one file and loading it back.

#include "storetest.h"

const QStringList kTables = {"pes", "res", "lines", "uch_lin", "kat_lin", "kat_tr"};

// The six table files (or their .bak copies) without their time stamps.
static QByteArrayList files(const TempWorkDir& dir, const QString& extension)
{
    QByteArrayList out;
    for (const QString& t : kTables)
        out.append(withoutStamp(dir.readFile(t + extension)));
    return out;
}

class TestModelFile : public QObject
{
    Q_OBJECT

private slots:
    // A model written by hand (empty containers, blanks around values) loads
    // over the examples, its empty catalog keeping the current one, and saves
    // back as written without "kat_lin"; the examples' model loads back
    // through a link, keeping each table's .bak.
    void saveLoadAndRefuse()
    {
        Scratch work;
        work.copyExamples();
        const QByteArrayList examples = files(work, ".xml");
        QVERIFY(CreateNet(work.filePath("net/модель")));
        const QByteArray model =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Net10 created=\"STAMP\" modeling_authority=\"TARNO\">\n"
            "  <net110_PES>\n    <PES npes=\"1\" name=\"П\"/>\n  </net110_PES>\n  <net110_RES/>\n  <net110_LIN/>\n"
            "  <net110_uch_lin/>\n  <katalog_wire110/>\n  <katalog_tr110>\n    <Trans name=\"Т\" unom=\"\" S=\"\" R=\"\" "
            "X=\"\" Px=\"\" Qx=\"\" u_otv=\"\" n_otp=\"\" uvn=\"\" unn=\"\"/>\n  </katalog_tr110>\n</Net10>\n";
        work.writeFile("net/m", QByteArray(model).replace("npes=\"1\" name=\"П\"", "npes=\" 1\" name=\" П \""));
        QCOMPARE(LoadNet(work.filePath("net/m")), 0);
        QCOMPARE(files(work, ".xml").at(4), examples.at(4));
        QFile::remove(work.filePath("kat_lin.xml"));
        QVERIFY(CreateNet(work.filePath("net/m")));
        QCOMPARE(withoutStamp(work.readFile("net/m")), model);

        for (const QString& t : kTables)
            work.writeFile(t + ".xml", "changed " + t.toUtf8());
        QVERIFY(QFile::link("модель", work.filePath("net/inside")));
        QCOMPARE(LoadNet(work.filePath("net/inside")), 0);
        QCOMPARE(files(work, ".xml"), examples);
        QCOMPARE(files(work, ".bak").join(' '), "changed " + kTables.join(" changed ").toUtf8());
        const QString saved = "Информация|Модель сети сохранена", katLin = work.filePath("kat_lin.xml");
        QCOMPARE(work.warnings(), QStringList({saved, "Предупреждение|Пустая таблица -" + katLin,
                                               "Предупреждение|Отсутствует файл -" + katLin, saved}));

        // Refused, every file as it was: a model cut short; a name leading to a
        // live table, nowhere or out of "net/" (out of the working folder too,
        // for a load); a save without a PES table, which would not load back.
        work.clear();
        work.writeFile("net/cut", "<Net10><net110_PES><PES npes=\"1\" name=\"П\"/></net110_PES><net110_RES");
        QVERIFY(QFile::link("../pes.xml", work.filePath("net/link")) && QFile::link("../gone", work.filePath("net/nowhere")));
        QTemporaryDir elsewhere;
        QFile outside(elsewhere.filePath("модель"));
        QVERIFY(outside.open(QIODevice::WriteOnly) && outside.write(work.readFile("net/m")) > 0);
        outside.close();
        QVERIFY(QFile::link(outside.fileName(), work.filePath("net/out")));
        const QMap<QString, QByteArray> before = work.files();
        QStringList expected;
        const QMap<QString, QString> loads = {{"cut", "Ошибка чтения файла "},
                                              {"link", "Файл находится вне папки net -"},
                                              {"nowhere", "Отсутствует файл -"},
                                              {"out", "Файл находится вне рабочей папки -"}};
        for (auto load = loads.cbegin(); load != loads.cend(); ++load) {
            QCOMPARE(LoadNet(work.filePath("net/" + load.key())), 1);
            expected << "Предупреждение|" + load.value() + work.filePath("net/" + load.key());
        }
        for (const QString name : {"link", "nowhere", "../pes.xml", "."}) {
            QVERIFY(!CreateNet(work.filePath("net/" + name)));
            expected << cannotCreate(work.filePath("net/" + name));
        }
        QCOMPARE(work.files(), before);
        QFile::remove(work.filePath("pes.xml"));
        QVERIFY(!CreateNet(work.filePath("net/new")));
        QVERIFY(QDir().mkpath(work.filePath("pes.xml/x")));
        QVERIFY(!CreateNet(work.filePath("net/new")));
        QVERIFY(!work.exists("net/new"));
        QCOMPARE(work.warnings(), expected << "Предупреждение|Отсутствует файл -" + work.filePath("pes.xml")
                                           << readError(work.filePath("pes.xml")));
    }
};

QTEST_GUILESS_MAIN(TestModelFile)
#include "tst_modelfile.moc"
