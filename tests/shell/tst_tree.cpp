// The object tree and its editing commands, on small networks in a temporary
// working directory, with a recorder in place of the message boxes.

#include "shell/CTreeZORVAN.h"
#include "shell/ZORVAN.h"
#include "startfolder.h"
#include "store/readregim.h"
#include "testsupport.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

namespace {

// A stand-in for the PES, RES and line dialogs: it remembers its key and
// deletes itself when closed, as the real dialogs do.
class ProbeDialog : public QDialog
{
public:
    ProbeDialog(const QString& objectKey, QWidget* parent)
        : QDialog(parent), key(objectKey)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        ++created;
    }
    QString key;
    static int created;
};
int ProbeDialog::created = 0;

QByteArray xmlTable(const char* root, const QStringList& rows)
{
    QByteArray out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<";
    out += root;
    out += " created=\"01.01.2026 00:00:00\" modeling_authority=\"TARNO\">\n";
    for (const QString& row : rows)
        out += "  " + row.toUtf8() + "\n";
    out += "</";
    out += root;
    out += ">\n";
    return out;
}

QString pes(const QString& npes, const QString& name)
{
    return QString("<PES npes=\"%1\" name=\"%2\"/>").arg(npes, name);
}
QString res(const QString& npes, const QString& nres, const QString& name)
{
    return QString("<RES npes=\"%1\" nres=\"%2\" name=\"%3\" dnres=\"d\" ind_t=\"1\" temp=\"-5\"/>")
        .arg(npes, nres, name);
}
QString lin(const QString& npes, const QString& nres, const QString& nlin, const QString& name)
{
    return QString("<LIN npes=\"%1\" nres=\"%2\" nlin=\"%3\" name=\"%4\" unom=\"35\"/>")
        .arg(npes, nres, nlin, name);
}
QString uch(const QString& npes, const QString& nres, const QString& nlin, const QString& key)
{
    return QString("<UCH_LIN npes=\"%1\" nres=\"%2\" nlin=\"%3\" name=\"АС-70\" nyzln=\"1\" "
                   "nyzlk=\"2\" tip_el=\"1\" dl=\"2.5\" key=\"%4\"/>")
        .arg(npes, nres, nlin, key);
}

void writeNetwork(const TempWorkDir& dir, const QStringList& p, const QStringList& r,
                  const QStringList& l, const QStringList& u = {})
{
    dir.writeFile("pes.xml", xmlTable("net110_PES", p));
    dir.writeFile("res.xml", xmlTable("net110_RES", r));
    dir.writeFile("lines.xml", xmlTable("net110_LIN", l));
    dir.writeFile("uch_lin.xml", xmlTable("net110_uch_lin", u));
}

// Rows of a table file as "code,code|name" texts, in file order.
QStringList stored(const QString& table, const QStringList& codes, const QString& row)
{
    QStringList names = codes;
    names << "name";
    QStringList out;
    for (const QStringList& r : ReadShablonXML(table, names, row))
        out << QStringList(r.mid(0, codes.size())).join(",") + "|" + r.last();
    return out;
}

// The tree as "depth|name|key" lines in tree order.
void dump(const QAbstractItemModel* m, const QModelIndex& parent, int depth, QStringList& out)
{
    for (int row = 0; row < m->rowCount(parent); ++row) {
        const QModelIndex i = m->index(row, 0, parent);
        out << QString("%1|%2|%3").arg(depth).arg(i.data().toString(),
                                                  m->index(row, 1, parent).data().toString());
        dump(m, i, depth + 1, out);
    }
}
QStringList dump(const CTreeZORVAN& tree)
{
    QStringList out;
    dump(tree.treeModel(), QModelIndex(), 0, out);
    return out;
}

QModelIndex find(const QAbstractItemModel* m, const QString& name, const QModelIndex& parent = {})
{
    for (int row = 0; row < m->rowCount(parent); ++row) {
        const QModelIndex i = m->index(row, 0, parent);
        if (i.data().toString() == name)
            return i;
        const QModelIndex below = find(m, name, i);
        if (below.isValid())
            return below;
    }
    return {};
}

void select(CTreeZORVAN& tree, const QString& name)
{
    const QModelIndex index = find(tree.treeModel(), name);
    QVERIFY2(index.isValid(), qPrintable(name));
    tree.TreeView->setCurrentIndex(index);
}

QString currentName(const CTreeZORVAN& tree)
{
    return tree.TreeView->currentIndex().data().toString();
}

// The enabled ones of the buttons that depend on the selection and the clipboard.
QString enabledButtons(const CTreeZORVAN& t)
{
    QStringList on;
    const QList<QPair<const char*, QWidget*>> buttons = {
        {"add", t.AddButton}, {"low", t.AddLow}, {"del", t.DelButton}, {"copy", t.CopyButton},
        {"sort", t.SortButton}, {"vxod", t.VxodButton}, {"paste", t.InsertButton},
        {"move", t.ChangeButton}, {"view", t.TreeView}};
    for (const auto& b : buttons) {
        if (b.second->isEnabled())
            on << b.first;
    }
    return on.join(" ");
}

void processDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList questions(const MessageRecorder& rec)
{
    QStringList out;
    for (const RecordedMessage& m : rec.messages) {
        if (m.kind == "question")
            out << m.title + "|" + m.text;
    }
    return out;
}

} // namespace

class TestTree : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> dir;
    std::unique_ptr<MessageRecorder> rec;
    std::unique_ptr<CTreeZORVAN> tree;

    void makeTree()
    {
        tree.reset(new CTreeZORVAN(nullptr));
        tree->setAttribute(Qt::WA_DeleteOnClose, false);   // owned by the test
    }
    // Two PES; the first with RES Север (two lines with sections) and Восток,
    // the second with Юг (one line) and a RES whose code equals Север's.
    void standardNetwork()
    {
        writeNetwork(*dir, {pes("1", "Первый"), pes("2", "Второй")},
                     {res("1", "1", "Север"), res("1", "2", "Восток"), res("2", "1", "Юг")},
                     {lin("1", "1", "1", "ВЛ-1"), lin("1", "1", "2", "ВЛ-2"),
                      lin("1", "2", "1", "ВЛ-В"), lin("2", "1", "1", "ВЛ-Ю")},
                     {uch("1", "1", "1", "1"), uch("1", "1", "1", "2"), uch("1", "1", "2", "7"),
                      uch("2", "1", "1", "1")});
    }

private slots:
    void initTestCase()
    {
        for (int level = 0; level < 3; ++level) {
            CTreeZORVAN::setDialogFactory(level, [](const QString& key, QWidget* parent) {
                return new ProbeDialog(key, parent);
            });
        }
    }
    void cleanupTestCase()
    {
        for (int level = 0; level < 3; ++level)
            CTreeZORVAN::setDialogFactory(level, nullptr);
    }
    void init()
    {
        dir.reset(new TempWorkDir);
        rec.reset(new MessageRecorder);
        rec->defaultAnswer = false;   // Yes
        NPES.clear();
        NRES.clear();
        NLIN.clear();
        UROV = -1;
    }
    void cleanup()
    {
        tree.reset();
        processDeletes();
        rec.reset();
        dir.reset();
    }

    void mainWindowHostsTreeOfExamples()
    {
        dir.reset();
        StartFolder folder;
        folder.copyExamples();
        ZORVAN window(nullptr);
        CTreeZORVAN* objects = window.objectTree();
        QVERIFY(objects);
        QCOMPARE(objects->parentWidget(), &window);
        QCOMPARE(objects->pos(), QPoint(6, 32));
        QVERIFY(objects->isVisibleTo(&window));
        const QStringList shown = dump(*objects);
        QCOMPARE(shown.first(), QString("0|Северные электрические сети|1"));
        QVERIFY(shown.contains("1|Заречный РЭС|1,1"));
        QCOMPARE(shown.filter(QRegularExpression("^2\\|")).size(), 8);   // every line of examples/
        QVERIFY(rec->warnings().isEmpty());
        // Every command icon is compiled into the program.
        for (QPushButton* b : {objects->AddButton, objects->AddLow, objects->DelButton, objects->CopyButton,
                               objects->InsertButton, objects->ChangeButton, objects->SortButton})
            QVERIFY2(!b->icon().pixmap(24, 24).isNull(), qPrintable(b->objectName()));
    }

    void showsNetworkWithoutOrphans()
    {
        writeNetwork(*dir, {pes("1", "ПЭС-1"), pes("2", "ПЭС-2")},
                     {res("1", "1", "Первый"), res("2", "1", "Южный, второй"), res("3", "1", "Сирота"),
                      res("2", "01", "Ноль-один")},
                     {lin("2", "1", "5", "ВЛ 110"), lin("3", "1", "1", "Сиротская"),
                      lin("2", "1", "6", "ВЛ 35")});
        makeTree();
        QCOMPARE(dump(*tree), QStringList({"0|ПЭС-1|1", "1|Первый|1,1", "0|ПЭС-2|2",
                                           "1|Южный, второй|2,1", "2|ВЛ 110|2,1,5", "2|ВЛ 35|2,1,6",
                                           "1|Ноль-один|2,01"}));
        QVERIFY(tree->TreeView->isHeaderHidden());
        QVERIFY(tree->TreeView->isColumnHidden(1));
        // The view starts collapsed and without a current item: only find works.
        QVERIFY(!tree->TreeView->isExpanded(find(tree->treeModel(), "ПЭС-2")));
        QCOMPARE(enabledButtons(*tree), QString("view"));
        QVERIFY(tree->FindButton->isEnabled() && tree->LineFind->isEnabled());
        QVERIFY(rec->messages.isEmpty());

        // A RES whose name holds a comma is entered normally: names never enter the key.
        select(*tree, "Южный, второй");
        tree->VxodButton->click();
        QCOMPARE(NPES, QString("2"));
        QCOMPARE(NRES, QString("1"));
        QVERIFY(rec->warnings().isEmpty());
    }

    void buttonsByLevel_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("PES") << "Первый" << 0 << "1" << "add low del vxod view";
        QTest::newRow("RES") << "Юг" << 1 << "2,1" << "add low del copy sort vxod view";
        QTest::newRow("line") << "ВЛ-2" << 2 << "1,1,2" << "add low del copy sort vxod view";
    }
    void buttonsByLevel()
    {
        QFETCH(QString, name);
        QFETCH(int, level);
        QFETCH(QString, key);
        QFETCH(QString, enabled);
        standardNetwork();
        makeTree();
        select(*tree, name);
        QCOMPARE(tree->currentLevel(), level);
        QCOMPARE(tree->currentKey(), key);
        QCOMPARE(enabledButtons(*tree), enabled);
        // Selecting changes only the tree's own state, not the current selection.
        QVERIFY(NPES.isEmpty() && NRES.isEmpty() && NLIN.isEmpty());
    }

    void newLowerObjectOnLineDoesNothing()
    {
        standardNetwork();
        makeTree();
        select(*tree, "ВЛ-1");
        const QByteArray before = dir->readFile("lines.xml");
        tree->AddLow->click();
        QVERIFY(rec->messages.isEmpty());
        QCOMPARE(dir->readFile("lines.xml"), before);
    }

    void resDialogLocksTree()
    {
        standardNetwork();
        makeTree();
        // A pending copy of a line: paste and move are enabled and must keep that state.
        select(*tree, "ВЛ-1");
        tree->CopyButton->click();
        select(*tree, "Север");
        pNameRas = QStringList{"старое"};
        tree->VxodButton->click();

        auto* dialog = dynamic_cast<ProbeDialog*>(tree->objectDialog(1));
        QVERIFY(dialog);
        QCOMPARE(dialog->key, QString("1,1"));
        QCOMPARE(dialog->parentWidget(), tree.get());
        QVERIFY(dialog->isVisible());
        QCOMPARE(UROV, 1);
        QCOMPARE(NPES + "/" + NRES, QString("1/1"));
        QVERIFY(pNameRas.isEmpty());
        QVERIFY(tree->isLocked());
        QCOMPARE(enabledButtons(*tree), QString("paste move"));
        QVERIFY(tree->FindButton->isEnabled() && tree->LineFind->isEnabled());

        // Find still moves the selection but breaks no lock.
        tree->LineFind->setText("ВЛ-В");
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("ВЛ-В"));
        QCOMPARE(tree->currentKey(), QString("1,2,1"));
        QCOMPARE(enabledButtons(*tree), QString("paste move"));

        // "Вход" again shows the same dialog, never a second one.
        const int made = ProbeDialog::created;
        dialog->hide();
        select(*tree, "Север");
        tree->slot_Vxod();
        QCOMPARE(ProbeDialog::created, made);
        QVERIFY(dialog->isVisible());

        dialog->close();
        processDeletes();
        QVERIFY(!tree->objectDialog(1));
        QVERIFY(!tree->isLocked());
        QCOMPARE(enabledButtons(*tree), QString("add low del copy sort vxod paste move view"));
    }

    void pesDialogUnlocksWithCopyDoingNothing()
    {
        standardNetwork();
        makeTree();
        select(*tree, "Второй");
        tree->VxodButton->click();
        QCOMPARE(UROV, 0);
        QCOMPARE(NPES, QString("2"));
        QVERIFY(tree->isLocked());
        delete tree->objectDialog(0);
        QVERIFY(!tree->isLocked());
        // Unlocking enables copy and sort at the PES level; a PES copy does nothing.
        QVERIFY(tree->CopyButton->isEnabled());
        tree->CopyButton->click();
        QVERIFY(rec->messages.isEmpty());
        QVERIFY(!tree->InsertButton->isEnabled());
    }

    void oneLineDialogFollowsNoOtherLine()
    {
        standardNetwork();
        makeTree();
        select(*tree, "ВЛ-1");
        tree->VxodButton->click();
        QWidget* first = tree->objectDialog(2);
        QVERIFY(first);
        QVERIFY(!tree->isLocked());   // a line dialog does not lock the tree
        select(*tree, "ВЛ-Ю");
        const int made = ProbeDialog::created;
        tree->VxodButton->click();
        QCOMPARE(tree->objectDialog(2), first);
        QCOMPARE(ProbeDialog::created, made);
        QCOMPARE(static_cast<ProbeDialog*>(first)->key, QString("1,1,1"));
        QCOMPARE(NPES + "," + NRES + "," + NLIN, QString("2,1,1"));
        QCOMPARE(UROV, 2);
    }

    void treeDeletesItsDialogs()
    {
        standardNetwork();
        makeTree();
        select(*tree, "ВЛ-1");
        tree->VxodButton->click();
        select(*tree, "Север");
        tree->VxodButton->click();
        QPointer<QWidget> line = tree->objectDialog(2);
        QPointer<QWidget> resDialog = tree->objectDialog(1);
        tree.reset();
        QVERIFY(!line && !resDialog);
    }

    void copyAndPasteRes()
    {
        standardNetwork();
        makeTree();
        select(*tree, "Север");
        tree->CopyButton->click();
        QCOMPARE(rec->warnings(), QStringList{"Информация|Север скопирован"});
        QVERIFY(tree->InsertButton->isEnabled() && tree->ChangeButton->isEnabled());

        select(*tree, "Юг");
        rec->clear();
        tree->InsertButton->click();
        QCOMPARE(questions(*rec), QStringList{"Вставка|Добавить Север после Юг"});
        QVERIFY(rec->warnings().contains("Информация|Объект добавлен"));
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"),
                 QStringList({"1,1|Север", "1,2|Восток", "2,1|Юг", "2,2|Север- копия"}));
        QCOMPARE(stored("lines", {"npes", "nres", "nlin"}, "LIN").mid(4),
                 QStringList({"2,2,1|ВЛ-1", "2,2,2|ВЛ-2"}));
        const Table sections = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        QStringList copied;
        for (const QStringList& s : sections) {
            if (s[0] == "2" && s[1] == "2")
                copied << s[2] + ":" + s[17];
        }
        QCOMPARE(copied, QStringList({"1:1", "1:2", "2:7"}));
        // The rebuilt tree holds the copy; nothing is selected and each copy serves one paste.
        QVERIFY(dump(*tree).contains("1|Север- копия|2,2"));
        QVERIFY(!tree->TreeView->currentIndex().isValid());
        QCOMPARE(enabledButtons(*tree), QString("view"));
    }

    void pasteAtOtherLevelEndsSilently()
    {
        standardNetwork();
        makeTree();
        select(*tree, "ВЛ-2");
        tree->CopyButton->click();
        select(*tree, "Юг");
        rec->clear();
        const QByteArray before = dir->readFile("lines.xml");
        tree->InsertButton->click();
        QVERIFY(rec->messages.isEmpty());
        QVERIFY(!tree->InsertButton->isEnabled() && !tree->ChangeButton->isEnabled());
        QCOMPARE(dir->readFile("lines.xml"), before);
    }

    void refusedCopyKeepsClipboard()
    {
        standardNetwork();
        makeTree();
        select(*tree, "ВЛ-2");
        tree->CopyButton->click();
        select(*tree, "Юг");
        rec->answers = {true};   // No
        tree->CopyButton->click();
        QCOMPARE(questions(*rec).last(), QString("Копирование|Сделать копию РЭС ?"));
        // The line copied before is still what paste offers, at the line level.
        select(*tree, "ВЛ-Ю");
        rec->clear();
        rec->answers = {true};
        tree->InsertButton->click();
        QCOMPARE(questions(*rec), QStringList{"Вставка|Добавить ВЛ-2 после ВЛ-Ю"});
        QVERIFY(tree->InsertButton->isEnabled());
    }

    void keyOfWrongLengthIsRefused()
    {
        // A RES code holding "," gives a key of three codes at the RES level.
        writeNetwork(*dir, {pes("1", "П")}, {res("1", "1", "Хороший"), res("1", "2,5", "Плохой")},
                     {lin("1", "1", "1", "Л")});
        makeTree();
        select(*tree, "Л");
        tree->CopyButton->click();
        select(*tree, "Плохой");
        rec->clear();
        tree->CopyButton->click();
        QVERIFY(rec->warnings().contains("Предупреждение|Неверная кодировка РЭС"));
        QVERIFY(!rec->warnings().contains("Информация|Плохой скопирован"));
        rec->clear();
        tree->VxodButton->click();
        QCOMPARE(rec->warnings(), QStringList{"Предупреждение|Неверная кодировка РЭС"});
        QVERIFY(!tree->objectDialog(1));
        QVERIFY(!tree->isLocked());
        rec->clear();
        tree->DelButton->click();
        QVERIFY(rec->warnings().contains("Предупреждение|Неверная кодировка РЭС"));
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"), QStringList({"1,1|Хороший", "1,2,5|Плохой"}));
        // The line copy is untouched by the refused RES copy.
        select(*tree, "Л");
        rec->clear();
        rec->answers = {true};
        tree->InsertButton->click();
        QCOMPARE(questions(*rec), QStringList{"Вставка|Добавить Л после Л"});
        QVERIFY(!rec->texts().contains("Объект добавлен"));
    }

    void moveResAndLine()
    {
        standardNetwork();
        makeTree();
        select(*tree, "Север");
        tree->CopyButton->click();
        select(*tree, "Юг");
        rec->clear();
        tree->ChangeButton->click();
        QCOMPARE(questions(*rec), QStringList{"Перенос|Перенести Север перед Юг"});
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"),
                 QStringList({"2,2|Север", "1,2|Восток", "2,1|Юг"}));
        // The moved RES is selected again by its name, with its new key.
        QCOMPARE(currentName(*tree), QString("Север"));
        QCOMPARE(tree->currentKey(), QString("2,2"));
        QVERIFY(!tree->InsertButton->isEnabled() && !tree->ChangeButton->isEnabled());

        // A line move only reorders rows.
        select(*tree, "ВЛ-2");
        tree->CopyButton->click();
        select(*tree, "ВЛ-1");
        tree->ChangeButton->click();
        QCOMPARE(stored("lines", {"npes", "nres", "nlin"}, "LIN"),
                 QStringList({"2,2,2|ВЛ-2", "2,2,1|ВЛ-1", "1,2,1|ВЛ-В", "2,1,1|ВЛ-Ю"}));
        QCOMPARE(currentName(*tree), QString("ВЛ-2"));
    }

    void deleteCascadesWithinItsPes()
    {
        standardNetwork();
        makeTree();
        select(*tree, "Север");
        tree->DelButton->click();
        QCOMPARE(questions(*rec),
                 QStringList{"Удаление|Удалить РЭС ? и все связанные с ним объекты ? "});
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"), QStringList({"1,2|Восток", "2,1|Юг"}));
        QCOMPARE(stored("lines", {"npes", "nres", "nlin"}, "LIN"),
                 QStringList({"1,2,1|ВЛ-В", "2,1,1|ВЛ-Ю"}));
        const Table sections = ReadShablonXML("uch_lin", attrUchLin, "UCH_LIN");
        QCOMPARE(sections.size(), 1);
        QCOMPARE(sections[0].mid(0, 3), QStringList({"2", "1", "1"}));
        // No current item: nothing may act on the deleted key.
        QVERIFY(!tree->TreeView->currentIndex().isValid());
        QCOMPARE(enabledButtons(*tree), QString("view"));
        QVERIFY(tree->currentKey().isEmpty());
    }

    void deleteKeepsPendingCopyForNextSelection()
    {
        standardNetwork();
        makeTree();
        select(*tree, "Юг");
        tree->CopyButton->click();
        select(*tree, "Восток");
        tree->DelButton->click();
        QVERIFY(!tree->InsertButton->isEnabled());
        select(*tree, "Север");
        QVERIFY(tree->InsertButton->isEnabled() && tree->ChangeButton->isEnabled());
    }

    void emptyTreeTakesFirstPes()
    {
        writeNetwork(*dir, {}, {}, {});
        makeTree();
        QCOMPARE(enabledButtons(*tree), QString("add view"));
        tree->AddButton->click();
        QCOMPARE(questions(*rec), QStringList{"Добавление|Добавить новый ПЭС ?"});
        QCOMPARE(stored("pes", {"npes"}, "PES"), QStringList{"1|Новый ПЭС"});
        QCOMPARE(currentName(*tree), QString("Новый ПЭС"));
        QCOMPARE(enabledButtons(*tree), QString("add low del vxod view"));

        // Two RES in a row: the first, then the next object named "Новый РЭС".
        tree->AddLow->click();
        QCOMPARE(tree->currentKey(), QString("1,1"));
        select(*tree, "Новый ПЭС");
        tree->AddLow->click();
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"),
                 QStringList({"1,1|Новый РЭС", "1,2|Новый РЭС"}));
        QCOMPARE(tree->currentKey(), QString("1,2"));
        // A new object of the current level beside the selected RES.
        tree->AddButton->click();
        QCOMPARE(questions(*rec).last(), QString("Добавление|Добавить новый РЭС ?"));
        QCOMPARE(stored("res", {"npes", "nres"}, "RES").size(), 3);
    }

    void renameByClickingAway()
    {
        standardNetwork();
        makeTree();
        const QModelIndex north = find(tree->treeModel(), "Север");
        tree->TreeView->setCurrentIndex(north);
        tree->TreeView->edit(north);
        auto* editor = qobject_cast<QLineEdit*>(tree->TreeView->indexWidget(north));
        QVERIFY(editor);
        editor->setText("Северный");
        // Clicking another item commits the edit: the edited RES is renamed, not the clicked one.
        select(*tree, "ВЛ-Ю");
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"),
                 QStringList({"1,1|Северный", "1,2|Восток", "2,1|Юг"}));
        QCOMPARE(stored("lines", {"npes", "nres", "nlin"}, "LIN").last(), QString("2,1,1|ВЛ-Ю"));

        // A change arriving while another item is current still names its own object.
        auto* item = tree->treeModel()->itemFromIndex(find(tree->treeModel(), "Второй"));
        item->setText("Второй ПЭС");
        QCOMPARE(stored("pes", {"npes"}, "PES"), QStringList({"1|Первый", "2|Второй ПЭС"}));
        QVERIFY(rec->messages.isEmpty());

        // The key column cannot be edited.
        const QModelIndex keyIndex = north.sibling(north.row(), 1);
        QVERIFY(!(tree->treeModel()->flags(keyIndex) & Qt::ItemIsEditable));
    }

    void sortByNameAcrossPes()
    {
        writeNetwork(*dir, {pes("1", "Первый"), pes("2", "Второй")},
                     {res("1", "1", "б"), res("2", "1", "в"), res("1", "2", "А"),
                      res("2", "2", "а"), res("1", "3", "Б"), res("2", "3", "а")},
                     {lin("1", "1", "1", "Л")});
        makeTree();
        // A pending copy survives the sort.
        select(*tree, "в");
        tree->CopyButton->click();
        select(*tree, "б");
        rec->clear();
        tree->SortButton->click();
        QCOMPARE(questions(*rec), QStringList{"Сортировка|Отсортировать все РЭС по названию ? "});
        QCOMPARE(stored("res", {"npes", "nres"}, "RES"),
                 QStringList({"1,2|А", "1,3|Б", "2,2|а", "2,3|а", "1,1|б", "2,1|в"}));
        const Table full = ReadShablonXML("res", attrRES, "RES");
        QCOMPARE(full[0].mid(3), QStringList({"d", "1", "-5"}));   // other columns travel with their row
        QCOMPARE(dump(*tree), QStringList({"0|Первый|1", "1|А|1,2", "1|Б|1,3", "1|б|1,1", "2|Л|1,1,1",
                                           "0|Второй|2", "1|а|2,2", "1|а|2,3", "1|в|2,1"}));
        QCOMPARE(currentName(*tree), QString("Б"));   // the first name holding "б", any case
        rec->clear();
        rec->answers = {true};
        select(*tree, "а");
        tree->InsertButton->click();
        QCOMPARE(questions(*rec), QStringList{"Вставка|Добавить в после а"});
    }

    void findCycles()
    {
        writeNetwork(*dir, {pes("1", "Северный")},
                     {res("1", "1", "Южный"), res("1", "2", "ПС Северная")},
                     {lin("1", "1", "1", "Ответвление на север")});
        makeTree();
        const QStringList hits = {"Северный", "Ответвление на север", "ПС Северная"};
        tree->LineFind->setText("сев");
        for (int press = 0; press < 4; ++press) {
            tree->FindButton->click();
            QCOMPARE(currentName(*tree), hits[press % 3]);
        }
        // The found item's parents are opened and it drives the buttons.
        QVERIFY(tree->TreeView->isExpanded(find(tree->treeModel(), "Южный")));
        QCOMPARE(tree->currentKey(), QString("1"));

        // Three presses, then another text: its first hit, then its second.
        tree->FindButton->click();
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), hits[2]);
        tree->LineFind->setText("ный");
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Северный"));
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Южный"));

        // A search without hits changes nothing.
        rec->clear();
        tree->LineFind->setText("нет такого");
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Южный"));
        QVERIFY(rec->messages.isEmpty());
    }

    void findAfterHitsShrink()
    {
        writeNetwork(*dir, {pes("1", "Сеть А")},
                     {res("1", "1", "Сеть Б"), res("1", "2", "Сеть В")}, {lin("1", "1", "1", "Л")});
        makeTree();
        tree->LineFind->setText("сеть");
        for (int press = 0; press < 3; ++press)
            tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Сеть В"));
        // Two of the three hits go; the next press starts again from the first hit.
        select(*tree, "Сеть В");
        tree->DelButton->click();
        select(*tree, "Сеть Б");
        tree->DelButton->click();
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Сеть А"));
        tree->FindButton->click();
        QCOMPARE(currentName(*tree), QString("Сеть А"));
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
