// The object tree and its editing commands, on small networks in a temporary
// working directory, with a recorder in place of the message boxes.

#include "shell/CTreeZORVAN.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QDialog>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QtTest>
#include <memory>

namespace {

const QStringList sectionAttrs = {"npes", "nres", "nlin", "key"};

// Rows of a table file as their chosen columns joined with ",", in file order.
QStringList stored(const QString& table, const QString& tag, const QStringList& columns)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, columns, tag))
        out << r.join(",");
    return out;
}
QStringList storedRes() { return stored("res", "RES", {"npes", "nres", "name"}); }
QStringList storedLines() { return stored("lines", "LIN", {"npes", "nres", "nlin", "name"}); }
QStringList storedSections() { return stored("uch_lin", "UCH_LIN", sectionAttrs); }

QString enabledButtons(const CTreeZORVAN& t)
{
    const char* names[] = {"add", "low", "del", "copy", "sort", "vxod", "paste", "move", "view"};
    const QWidget* widgets[] = {t.AddButton, t.AddLow, t.DelButton, t.CopyButton, t.SortButton,
                                t.VxodButton, t.InsertButton, t.ChangeButton, t.TreeView};
    QStringList on;
    for (int i = 0; i < 9; ++i)
        if (widgets[i]->isEnabled())
            on << names[i];
    return on.join(" ");
}

} // namespace

class TestTree : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempWorkDir> dir;
    std::unique_ptr<MessageRecorder> rec;
    std::unique_ptr<CTreeZORVAN> tree;

    // Writes "code|code|name|..." rows with the given attributes.
    void writeTable(const QString& table, const QString& tag, const QStringList& attrs, const QStringList& rows)
    {
        QString out;
        for (const QString& row : rows) {
            const QStringList v = row.split('|');
            out += "<" + tag;
            for (int i = 0; i < v.size(); ++i)
                out += " " + attrs[i] + "=\"" + v[i] + "\"";
            out += "/>\n";
        }
        dir->writeFile(table + ".xml", ("<net>\n" + out + "</net>\n").toUtf8());
    }
    void makeTree(const QStringList& p, const QStringList& r, const QStringList& l, const QStringList& u = {})
    {
        writeTable("pes", "PES", attrPES, p);
        writeTable("res", "RES", attrRES, r);
        writeTable("lines", "LIN", attrLin, l);
        writeTable("uch_lin", "UCH_LIN", sectionAttrs, u);
        tree.reset(new CTreeZORVAN(nullptr));
        tree->setAttribute(Qt::WA_DeleteOnClose, false);   // owned by the test
    }
    // Two PES; the first with RES Север (two lines with sections) and Восток,
    // the second with Юг (one line), whose code equals Север's.
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
    void init()
    {
        dir.reset(new TempWorkDir);
        rec.reset(new MessageRecorder);
        rec->defaultAnswer = false;   // Yes
    }
    void cleanup()
    {
        tree.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        rec.reset();   // before the folder, which restores the data path
        dir.reset();
    }

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
        QCOMPARE(enabledButtons(*tree), QString("view"));   // nothing current yet
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
        QFETCH(QString, enabled);
        if (name.isEmpty()) {
            makeTree({}, {}, {});
        } else {
            standardNetwork();
            select(name);
        }
        QCOMPARE(tree->currentKey() + ": " + enabledButtons(*tree), enabled);
    }

    void resDialogLocksTree()
    {
        standardNetwork();
        select("ВЛ-1");
        tree->CopyButton->click();   // a pending copy keeps paste and move enabled
        select("Север");
        tree->VxodButton->click();
        QWidget* dialog = tree->objectDialog(1);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName() + " " + NPES + "," + NRES + " " + QString::number(UROV), QString("1,1 1,1 1"));
        QCOMPARE(enabledButtons(*tree), QString("paste move"));

        // Find moves the selection but breaks no lock.
        tree->LineFind->setText("ВЛ-В");
        tree->FindButton->click();
        QCOMPARE(tree->currentKey() + ": " + enabledButtons(*tree), QString("1,2,1: paste move"));

        // "Вход" again shows the same dialog, never a second one.
        dialog->hide();
        select("Север");
        tree->slot_Vxod();
        QVERIFY(dialog->isVisible());
        QCOMPARE(tree->findChildren<QDialog*>().size(), 1);

        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tree->objectDialog(1) && !tree->isLocked());
        QCOMPARE(enabledButtons(*tree), QString("add low del copy sort vxod paste move view"));
    }

    void copyAndPasteRes()
    {
        standardNetwork();
        select("Север");
        tree->CopyButton->click();
        select("Юг");
        rec->clear();
        tree->InsertButton->click();
        QCOMPARE(rec->texts().first(), QString("Добавить Север после Юг"));
        QCOMPARE(storedRes(), QStringList({"1,1,Север", "1,2,Восток", "2,1,Юг", "2,2,Север- копия"}));
        QCOMPARE(storedLines().mid(4), QStringList({"2,2,1,ВЛ-1", "2,2,2,ВЛ-2"}));
        QCOMPARE(storedSections().mid(4), QStringList({"2,2,1,1", "2,2,1,2", "2,2,2,7"}));
    }

    void clipboardStaysConsistent()
    {
        // A RES code holding "," gives a key of three codes at the RES level.
        makeTree({"1|П"}, {"1|1|Хороший", "1|2,5|Плохой"}, {"1|1|1|Л"});
        select("Л");
        tree->CopyButton->click();
        select("П");
        tree->slot_copyObj();        // a PES is never copied
        select("Плохой");
        tree->CopyButton->click();   // refused: wrong key
        QCOMPARE(rec->warnings(), QStringList({"Информация|Л скопирован", "Предупреждение|Неверная кодировка РЭС"}));
        // The line is still what paste offers; at the RES level paste ends silently.
        select("Л");
        tree->SortButton->click();   // sorting keeps the pending copy
        rec->clear();
        rec->answers = {true};
        tree->InsertButton->click();
        select("Хороший");
        tree->InsertButton->click();
        QCOMPARE(rec->texts(), QStringList{"Добавить Л после Л"});
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

    void sortByNameAcrossPes()
    {
        makeTree({"1|Первый", "2|Второй"}, {"1|1|б|d|1|-5", "2|1|в", "1|2|А", "2|2|а", "1|3|Б", "2|3|а"}, {});
        select("б");
        tree->SortButton->click();
        QCOMPARE(storedRes(), QStringList({"1,2,А", "1,3,Б", "2,2,а", "2,3,а", "1,1,б", "2,1,в"}));
        QCOMPARE(stored("res", "RES", attrRES)[4], QString("1,1,б,d,1,-5"));   // whole rows move
    }

    void deleteCascadesAndFindStartsOver()
    {
        standardNetwork();
        tree->LineFind->setText("вл");
        for (int press = 0; press < 8; ++press) {
            tree->FindButton->click();
            QCOMPARE(current(), QStringList({"ВЛ-1", "ВЛ-2", "ВЛ-В", "ВЛ-Ю"})[press % 4]);
        }
        select("Север");
        tree->DelButton->click();
        QCOMPARE(rec->texts(), QStringList{"Удалить РЭС ? и все связанные с ним объекты ? "});
        QCOMPARE(storedRes(), QStringList({"1,2,Восток", "2,1,Юг"}));   // Юг shares Север's code
        QCOMPARE(storedLines(), QStringList({"1,2,1,ВЛ-В", "2,1,1,ВЛ-Ю"}));
        QCOMPARE(storedSections(), QStringList{"2,1,1,1"});
        QCOMPARE(enabledButtons(*tree), QString("view"));   // nothing acts on the deleted key
        // Two hits are left: the next press starts again from the first.
        tree->FindButton->click();
        QCOMPARE(current(), QString("ВЛ-В"));
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
