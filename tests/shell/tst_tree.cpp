// The object tree and its commands on small networks, a recorder in place of the message boxes.

#include "shell/CTreeZORVAN.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QDialog>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QtTest>
#include <memory>

static const QStringList sectionAttrs = {"npes", "nres", "nlin", "key"};

// Rows of a table file as their chosen columns joined with ",", in file order.
static QStringList stored(const QString& table, const QString& tag, const QStringList& columns)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, columns, tag))
        out << r.join(",");
    return out;
}
static QStringList storedRes() { return stored("res", "RES", {"npes", "nres", "name"}); }
static QStringList storedLines() { return stored("lines", "LIN", {"npes", "nres", "nlin", "name"}); }

// Writes rows of "|"-separated values of the first attributes, the others blank.
static void writeTable(const QString& table, const QString& tag, const QStringList& attrs, const QStringList& rows)
{
    Table t;
    for (const QString& row : rows)
        t << (row + QString("|").repeated(attrs.size() - 1 - row.count('|'))).split('|');
    saveShablonXMLAllowEmpty(table, attrs, tag, "net", t);
}

static QString enabledButtons(const CTreeZORVAN& t)
{
    const std::pair<const char*, const QWidget*> widgets[] = {
        {"add", t.AddButton}, {"low", t.AddLow}, {"del", t.DelButton}, {"copy", t.CopyButton},
        {"sort", t.SortButton}, {"vxod", t.VxodButton}, {"paste", t.InsertButton}, {"move", t.ChangeButton},
        {"view", t.TreeView}};
    QStringList on;
    for (const auto& w : widgets)
        if (w.second->isEnabled())
            on << w.first;
    return on.join(" ");
}

struct Folder : TempWorkDir { MessageRecorder rec; Folder() { rec.defaultAnswer = false; } };   // all Yes

class TestTree : public QObject
{
    Q_OBJECT

    std::unique_ptr<Folder> f;
    std::unique_ptr<CTreeZORVAN> tree;

    void makeTree(const QStringList& p, const QStringList& r, const QStringList& l, const QStringList& u = {})
    {
        writeTable("pes", "PES", attrPES, p);
        writeTable("res", "RES", attrRES, r);
        writeTable("lines", "LIN", attrLin, l);
        writeTable("uch_lin", "UCH_LIN", sectionAttrs, u);
        tree.reset(new CTreeZORVAN(nullptr));
        tree->setAttribute(Qt::WA_DeleteOnClose, false);   // owned by the test
    }
    // PES 1 with Север (two lines with sections) and Восток; PES 2 with Юг, whose code is Север's.
    void standardNetwork()
    {
        makeTree({"1|Первый", "2|Второй"}, {"1|1|Север", "1|2|Восток", "2|1|Юг"},
                 {"1|1|1|ВЛ-1", "1|1|2|ВЛ-2", "1|2|1|ВЛ-В", "2|1|1|ВЛ-Ю"},
                 {"1|1|1|1", "1|1|1|2", "1|1|2|7", "2|1|1|1"});
    }
    // The name items matching a pattern, in tree order.
    QModelIndexList items(const QString& pattern = "*") const
    {
        const QStandardItemModel* m = tree->treeModel();
        return m->match(m->index(0, 0), Qt::DisplayRole, pattern, -1, Qt::MatchWildcard | Qt::MatchRecursive);
    }
    QModelIndex find(const QString& name) const { return items(name).value(0); }
    void select(const QString& name) { tree->TreeView->setCurrentIndex(find(name)); }
    void press(const QString& name, QAbstractButton* button) { select(name); button->click(); }
    QString current() const { return tree->TreeView->currentIndex().data().toString(); }

private slots:
    void initTestCase()
    {
        // Stand-ins for the object dialogs: named by their key, deleted when closed.
        for (int level = 0; level < 3; ++level)
            CTreeZORVAN::setDialogFactory(level, [](const QString& key, QWidget* parent) {
                auto* d = new QDialog(parent);
                d->setObjectName(key);
                d->setAttribute(Qt::WA_DeleteOnClose);
                return d;
            });
    }
    void init() { f.reset(new Folder); }
    void cleanup() { tree.reset(); QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); f.reset(); }

    void showsNetworkWithoutOrphans()
    {
        makeTree({"1|ПЭС-1", "2|ПЭС-2"}, {"1|1|Первый", "2|1|Южный, второй", "3|1|Сирота", "2|01|Ноль-один"},
                 {"2|1|5|ВЛ 110", "3|1|1|Сиротская", "2|1|6|ВЛ 35"});
        QStringList shown;
        for (const QModelIndex& i : items())
            shown << QString::number(i.parent().isValid() + i.parent().parent().isValid()) + "|"
                         + i.data().toString() + "|" + i.sibling(i.row(), 1).data().toString();
        QCOMPARE(shown, QStringList({"0|ПЭС-1|1", "1|Первый|1,1", "0|ПЭС-2|2", "1|Южный, второй|2,1",
                                     "2|ВЛ 110|2,1,5", "2|ВЛ 35|2,1,6", "1|Ноль-один|2,01"}));
    }

    void buttonsByLevel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("PES") << "Первый" << "1: add low del vxod view";
        QTest::newRow("RES") << "Юг" << "2,1: add low del copy sort vxod view";
        QTest::newRow("line") << "ВЛ-2" << "1,1,2: add low del copy sort vxod view";
        QTest::newRow("empty tree") << "" << ": add view";   // the first PES can be added
    }
    void buttonsByLevel()
    {
        QFETCH(QString, name);
        name.isEmpty() ? makeTree({}, {}, {}) : standardNetwork();
        select(name);
        QTEST(tree->currentKey() + ": " + enabledButtons(*tree), "enabled");
    }

    void resDialogLocksTree()
    {
        standardNetwork();
        press("ВЛ-1", tree->CopyButton);   // a pending copy keeps paste and move enabled
        press("Север", tree->VxodButton);
        QWidget* dialog = tree->objectDialog(1);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName() + " " + NPES + "," + NRES + " " + QString::number(UROV), QString("1,1 1,1 1"));
        // Find moves the selection but breaks no lock; nothing may be pasted
        // into or moved out of what the dialog works on.
        tree->LineFind->setText("ВЛ-В");
        tree->FindButton->click();
        QCOMPARE(tree->currentKey() + ": " + enabledButtons(*tree), QString("1,2,1: "));
        tree->slot_ChangeObj();
        tree->slot_InsertObj();
        QCOMPARE(f->rec.texts(), (QStringList{"Сделать копию Линия ?", "ВЛ-1 скопирован"}));

        // "Вход" again shows the same dialog, never a second one.
        dialog->hide();
        select("Север");
        tree->slot_Vxod();
        QVERIFY(dialog->isVisible() && tree->findChildren<QDialog*>().size() == 1);

        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tree->objectDialog(1) && !tree->isLocked());
        QCOMPARE(enabledButtons(*tree), QString("add low del copy sort vxod paste move view"));
    }

    void copyAndPasteRes()
    {
        standardNetwork();
        press("Север", tree->CopyButton);
        f->rec.clear();
        press("Юг", tree->InsertButton);
        QCOMPARE(f->rec.texts().first(), QString("Добавить Север после Юг"));
        QCOMPARE(storedRes(), QStringList({"1,1,Север", "1,2,Восток", "2,1,Юг", "2,2,Север- копия"}));
        QCOMPARE(storedLines().mid(4), QStringList({"2,2,1,ВЛ-1", "2,2,2,ВЛ-2"}));
        QCOMPARE(stored("uch_lin", "UCH_LIN", sectionAttrs).mid(4), QStringList({"2,2,1,1", "2,2,1,2", "2,2,2,7"}));
    }

    void clipboardStaysConsistent()
    {
        // A RES code holding "," gives a key of three codes at the RES level.
        makeTree({"1|П"}, {"1|1|Хороший", "1|2,5|Плохой"}, {"1|1|1|Л"});
        press("Л", tree->CopyButton);
        select("П");
        tree->slot_copyObj();        // a PES is never copied
        press("Плохой", tree->CopyButton);   // refused: wrong key
        QCOMPARE(f->rec.warnings(), QStringList({"Информация|Л скопирован", "Предупреждение|Неверная кодировка РЭС"}));
        // The line is still what paste offers; at the RES level paste ends silently.
        press("Л", tree->SortButton);   // sorting keeps the pending copy
        f->rec.clear();
        f->rec.answers = {true};
        tree->InsertButton->click();
        press("Хороший", tree->InsertButton);
        QCOMPARE(f->rec.texts(), QStringList{"Добавить Л после Л"});
        QCOMPARE(storedLines(), QStringList{"1,1,1,Л"});
    }

    void renameByClickingAway()
    {
        standardNetwork();
        const QModelIndex north = find("Север");
        tree->TreeView->setCurrentIndex(north);
        tree->TreeView->edit(north);
        auto* editor = qobject_cast<QLineEdit*>(tree->TreeView->indexWidget(north));
        QVERIFY(editor);
        editor->setText("Северный");
        select("ВЛ-Ю");   // commits the edit: the edited RES is renamed, not the clicked line
        QCOMPARE(storedRes(), QStringList({"1,1,Северный", "1,2,Восток", "2,1,Юг"}));
        QVERIFY(!(tree->treeModel()->flags(north.sibling(north.row(), 1)) & Qt::ItemIsEditable));
    }

    void renameRefusesBlankName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "   ";
    }
    void renameRefusesBlankName()
    {
        QFETCH(QString, name);
        standardNetwork();
        const QByteArray before = f->readFile("res.xml");
        auto* north = tree->treeModel()->itemFromIndex(find("Север"));
        north->setText(name);
        QCOMPARE(north->text(), QString("Север"));
        QCOMPARE(f->readFile("res.xml"), before);
        QCOMPARE(f->rec.warnings(), QStringList{"Предупреждение|Название объекта не может быть пустым"});
        north->setText("Северный");
        QCOMPARE(storedRes().first(), QString("1,1,Северный"));
    }

    // A damaged scheme file, which nothing in the program can repair, does not
    // stop a delete: the tables change, the file stays as it is, and the user
    // is told once.
    void deleteWithDamagedSchemeFile()
    {
        standardNetwork();
        f->writeFile("sxemalin.xml", "<SxemaLin><LinID npes=\"1\"");
        press("Север", tree->DelButton);
        QCOMPARE(storedRes(), QStringList({"1,2,Восток", "2,1,Юг"}));
        QCOMPARE(storedLines(), QStringList({"1,2,1,ВЛ-В", "2,1,1,ВЛ-Ю"}));
        QCOMPARE(f->readFile("sxemalin.xml"), QByteArray("<SxemaLin><LinID npes=\"1\""));
        QVERIFY(!f->exists("sxemalin.bak"));
        QCOMPARE(f->rec.warnings(), QStringList{"Предупреждение|Ошибка чтения файла " + f->filePath("sxemalin.xml")});
    }

    // A copy deleted before its paste: after the question the user learns why nothing happened.
    void pasteOfDeletedCopy()
    {
        standardNetwork();
        press("ВЛ-1", tree->CopyButton);
        press("ВЛ-1", tree->DelButton);
        const QStringList lines = storedLines();
        f->rec.clear();
        press("ВЛ-2", tree->InsertButton);
        QCOMPARE(f->rec.texts(), (QStringList{"Добавить ВЛ-1 после ВЛ-2",
                                              "Скопированный объект не найден: он был удален или изменен"}));
        QCOMPARE(storedLines(), lines);
    }

    void sortByNameAcrossPes()
    {
        makeTree({"1|Первый", "2|Второй"}, {"1|1|б|d|1|-5", "2|1|в", "1|2|А", "2|2|а", "1|3|Б", "2|3|а"}, {});
        press("б", tree->SortButton);
        QCOMPARE(storedRes(), QStringList({"1,2,А", "1,3,Б", "2,2,а", "2,3,а", "1,1,б", "2,1,в"}));
        QCOMPARE(stored("res", "RES", attrRES)[4], QString("1,1,б,d,1,-5"));   // whole rows move
    }

    void deleteCascadesAndFindStartsOver()
    {
        standardNetwork();
        tree->LineFind->setText("вл");
        for (int i = 0; i < 8; ++i) {
            tree->FindButton->click();
            QCOMPARE(current(), QStringList({"ВЛ-1", "ВЛ-2", "ВЛ-В", "ВЛ-Ю"})[i % 4]);
        }
        press("Север", tree->DelButton);
        QCOMPARE(f->rec.texts(), QStringList{"Удалить РЭС ? и все связанные с ним объекты ? "});
        QCOMPARE(storedRes(), QStringList({"1,2,Восток", "2,1,Юг"}));   // Юг shares Север's code
        QCOMPARE(storedLines(), QStringList({"1,2,1,ВЛ-В", "2,1,1,ВЛ-Ю"}));
        QCOMPARE(stored("uch_lin", "UCH_LIN", sectionAttrs), QStringList{"2,1,1,1"});
        QCOMPARE(enabledButtons(*tree), QString("view"));   // nothing acts on the deleted key
        // Two hits are left: the next press starts again from the first.
        tree->FindButton->click();
        QCOMPARE(current(), QString("ВЛ-В"));
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
