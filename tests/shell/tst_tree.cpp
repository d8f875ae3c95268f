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

    void objectDialogLocksTree_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("whileOpen");   // the buttons after a find moved to a line
        QTest::newRow("PES") << "Первый" << "";
        QTest::newRow("RES") << "Север" << "";
        QTest::newRow("a line does not lock") << "ВЛ-1" << "add low del copy sort vxod paste move view";
    }
    void objectDialogLocksTree()
    {
        QFETCH(QString, name);
        standardNetwork();
        press("ВЛ-2", tree->CopyButton);   // a pending copy, for paste and move
        press(name, tree->VxodButton);
        const QString key = tree->currentKey();
        const int level = key.count(',');
        QWidget* dialog = tree->objectDialog(level);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName() + " " + QStringList({NPES, NRES, NLIN}).mid(0, level + 1).join(',') + " "
                     + QString::number(UROV), key + " " + key + " " + QString::number(level));
        // Find moves the selection but breaks no lock; nothing may be pasted
        // into or moved out of what a PES or RES dialog works on.
        tree->LineFind->setText("ВЛ-В");
        tree->FindButton->click();
        QTEST(enabledButtons(*tree), "whileOpen");
        if (level < 2) {
            tree->slot_ChangeObj();
            tree->slot_InsertObj();
            QCOMPARE(f->rec.texts(), (QStringList{"Сделать копию Линия ?", "ВЛ-2 скопирован"}));
        }

        // "Вход" again shows the same dialog, never a second one.
        dialog->hide();
        select(name);
        tree->slot_Vxod();
        QVERIFY(dialog->isVisible() && tree->findChildren<QDialog*>().size() == 1);

        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tree->objectDialog(level) && !tree->isLocked());
        QCOMPARE(enabledButtons(*tree), QString("add low del copy sort vxod paste move view"));
    }

    // New objects beside and below the selected one, the first PES of an empty
    // tree: the question, then the new object selected, its key and the
    // buttons of its level.
    void newObjects_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("below");
        QTest::addColumn<QString>("result");
        const QString pes = ": add low del vxod view", other = ": add low del copy sort vxod view";
        QTest::newRow("first PES") << "" << false << "Добавить новый ПЭС ? Новый ПЭС 1" + pes;
        QTest::newRow("PES") << "Второй" << false << "Добавить новый ПЭС ? Новый ПЭС 3" + pes;
        QTest::newRow("RES beside a RES") << "Юг" << false << "Добавить новый РЭС ? Новый РЭС 2,2" + other;
        QTest::newRow("RES below a PES") << "Первый" << true << "Добавить новый РЭС ? Новый РЭС 1,3" + other;
        QTest::newRow("line beside a line") << "ВЛ-Ю" << false << "Добавить новую линию ? Новая линия 2,1,2" + other;
        QTest::newRow("line below a RES") << "Восток" << true << "Добавить новую линию ? Новая линия 1,2,2" + other;
        QTest::newRow("nothing below a line") << "ВЛ-1" << true << " ВЛ-1 1,1,1" + other;
    }
    void newObjects()
    {
        QFETCH(QString, name);
        QFETCH(bool, below);
        name.isEmpty() ? makeTree({}, {}, {}) : standardNetwork();
        press(name, below ? tree->AddLow : tree->AddButton);
        QTEST(f->rec.texts().join("|") + " " + current() + " " + tree->currentKey() + ": " + enabledButtons(*tree),
              "result");
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
        // A line moved before another of its RES, and found again.
        press("ВЛ-2", tree->CopyButton);
        f->rec.clear();
        press("ВЛ-1", tree->ChangeButton);
        QCOMPARE(f->rec.texts(), QStringList({"Перенести ВЛ-2 перед ВЛ-1", "Объект перемещен"}));
        QCOMPARE(storedLines().mid(0, 2), QStringList({"1,1,2,ВЛ-2", "1,1,1,ВЛ-1"}));
        QCOMPARE(tree->currentKey() + ": " + enabledButtons(*tree), QString("1,1,2: add low del copy sort vxod view"));
    }

    void clipboardStaysConsistent()
    {
        // A RES code holding "," gives a key of three codes at the RES level.
        makeTree({"1|П"}, {"1|1|Хороший", "1|2,5|Плохой"}, {"1|1|1|Л", "1|1|2|Б"});
        press("Л", tree->CopyButton);
        select("П");
        tree->slot_copyObj();        // a PES is never copied
        press("Плохой", tree->CopyButton);   // refused: wrong key
        QCOMPARE(f->rec.warnings(), QStringList({"Информация|Л скопирован", "Предупреждение|Неверная кодировка РЭС"}));
        // The line is still what paste offers; at the RES level paste ends silently.
        press("Б", tree->SortButton);   // sorting at another line keeps the pending copy
        f->rec.clear();
        f->rec.answers = {true};
        tree->InsertButton->click();
        press("Хороший", tree->InsertButton);
        QCOMPARE(f->rec.texts(), QStringList{"Добавить Л после Б"});
        QCOMPARE(storedLines(), QStringList({"1,1,2,Б", "1,1,1,Л"}));
    }

    // A name edited in the tree renames the edited object, committed by Enter
    // or by clicking away; a blank name is refused and the old one put back.
    void renameInTheEditor_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enter");
        QTest::newRow("Enter") << "Северный" << true;
        QTest::newRow("clicking away") << "Северный" << false;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << false;
    }
    void renameInTheEditor()
    {
        QFETCH(QString, name);
        QFETCH(bool, enter);
        standardNetwork();
        const QByteArray before = f->readFile("res.xml");
        const QModelIndex north = find("Север");
        tree->TreeView->setCurrentIndex(north);
        tree->TreeView->edit(north);
        auto* editor = qobject_cast<QLineEdit*>(tree->TreeView->indexWidget(north));
        QVERIFY(editor);
        editor->setText(name);
        if (enter) {
            QTest::keyClick(editor, Qt::Key_Return);
            QCoreApplication::processEvents();
        } else {
            select("ВЛ-Ю");   // commits the edit: the edited RES is renamed, not the clicked line
        }
        if (name.trimmed().isEmpty()) {   // then a name that is one still goes through
            QCOMPARE(north.data().toString(), QString("Север"));
            QCOMPARE(f->readFile("res.xml"), before);
            QCOMPARE(f->rec.warnings(), QStringList{"Предупреждение|Название объекта не может быть пустым"});
            tree->treeModel()->itemFromIndex(north)->setText("Северный");
        }
        QCOMPARE(storedRes(), QStringList({"1,1,Северный", "1,2,Восток", "2,1,Юг"}));
        QVERIFY(!(tree->treeModel()->flags(north.sibling(north.row(), 1)) & Qt::ItemIsEditable));
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
