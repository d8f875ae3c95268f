// The object tree and its commands on small networks, a recorder in place of the message boxes.

#include "shellfixture.h"

// The tables by level, and the sections of the lines.
static const QStringList tables = {"pes", "res", "lines", "uch_lin"}, rowTags = {"PES", "RES", "LIN", "UCH_LIN"};
static QStringList tableAttrs(int t) { return QList<QStringList>{attrPES, attrRES, attrLin, attrUchLin}[t]; }

// Rows of a table file as their first columns joined with ",", in file order.
static QStringList stored(int table, int columns)
{
    QStringList out;
    for (const QStringList& r : ReadShablonXML(tables[table], tableAttrs(table).mid(0, columns), rowTags[table]))
        out << r.join(",");
    return out;
}
static QStringList storedRes() { return stored(1, 3); }
static QStringList storedLines() { return stored(2, 4); }

// PES 1 with Север (two lines) and Восток; PES 2 with Юг, whose code is Север's.
static const QList<QStringList> standard = {{"1|Первый", "2|Второй"}, {"1|1|Север", "1|2|Восток", "2|1|Юг"},
                                            {"1|1|1|ВЛ-1", "1|1|2|ВЛ-2", "1|2|1|ВЛ-В", "2|1|1|ВЛ-Ю"}};
static const QString allButtons = "add low del copy sort vxod paste move view";
static QString enabledButtons(const CTreeZORVAN& t)
{
    QStringList on = allButtons.split(' ');
    const QList<const QWidget*> widgets = {t.AddButton,  t.AddLow,       t.DelButton,    t.CopyButton, t.SortButton,
                                           t.VxodButton, t.InsertButton, t.ChangeButton, t.TreeView};
    for (int i = widgets.size() - 1; i >= 0; --i)
        if (!widgets[i]->isEnabled())
            on.removeAt(i);
    return on.join(' ');
}

// Stands in for the object dialogs: named by its key, deleted when closed.
static QWidget* standInDialog(const QString& key, QWidget* parent)
{
    auto* d = new QDialog(parent);
    d->setObjectName(key);
    d->setAttribute(Qt::WA_DeleteOnClose);
    return d;
}

class TestTree : public QObject
{
    Q_OBJECT

    std::unique_ptr<Program> f;
    std::unique_ptr<CTreeZORVAN> tree;

    // Writes the PES, RES, line and section tables, rows given as "|"-separated first values.
    void makeTree(const QList<QStringList>& rows)
    {
        for (int t = 0; t < tables.size(); ++t) {
            Table table;
            for (const QString& row : rows.value(t))
                table << (row + QString("|").repeated(tableAttrs(t).size() - 1 - row.count('|'))).split('|');
            saveShablonXMLAllowEmpty(tables[t], tableAttrs(t), rowTags[t], "net", table);
        }
        tree.reset(new CTreeZORVAN(nullptr));
        tree->setAttribute(Qt::WA_DeleteOnClose, false);   // owned by the test
    }
    // The name items matching a pattern, in tree order.
    QModelIndexList items(const QString& pattern = "*") const
    {
        const QStandardItemModel* m = tree->treeModel();
        return m->match(m->index(0, 0), Qt::DisplayRole, pattern, -1, Qt::MatchWildcard | Qt::MatchRecursive);
    }
    void select(const QString& name) { tree->TreeView->setCurrentIndex(items(name).value(0)); }
    void press(const QString& name, QAbstractButton* button) { select(name); button->click(); }
    QString current() const { return tree->TreeView->currentIndex().data().toString(); }

private slots:
    void initTestCase() { for (int level = 0; level < 3; ++level) CTreeZORVAN::setDialogFactory(level, standInDialog); }
    void init() { f.reset(new Program); f->messages.defaultAnswer = false; }   // every question answered Yes
    void cleanup() { tree.reset(); QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); f.reset(); }

    void objectDialogLocksTree_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("whileOpen");   // the buttons after a find moved to a line
        QTest::newRow("PES") << "Первый" << "";
        QTest::newRow("RES") << "Север" << "";
        QTest::newRow("a line does not lock") << "ВЛ-1" << allButtons;
    }
    void objectDialogLocksTree()
    {
        QFETCH(QString, name);
        makeTree(standard);
        press("ВЛ-2", tree->CopyButton);   // a pending copy, for paste and move
        press(name, tree->VxodButton);
        const QString key = tree->currentKey();
        const int level = key.count(',');
        QWidget* dialog = tree->objectDialog(level);
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->objectName() + " " + QStringList({NPES, NRES, NLIN}).mid(0, level + 1).join(',') + " "
                     + QString::number(UROV), key + " " + key + " " + QString::number(level));
        // Find breaks no lock; nothing is pasted into or moved out of what a PES or RES dialog works on.
        tree->LineFind->setText("ВЛ-В");
        tree->FindButton->click();
        QTEST(enabledButtons(*tree), "whileOpen");
        if (level < 2) {
            tree->slot_ChangeObj();
            tree->slot_InsertObj();
            QCOMPARE(f->messages.texts(), (QStringList{"Сделать копию Линия ?", "ВЛ-2 скопирован"}));
        }
        // "Вход" again shows the same dialog, never a second one.
        dialog->hide();
        select(name);
        tree->slot_Vxod();
        QVERIFY(dialog->isVisible() && tree->findChildren<QDialog*>().size() == 1);
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!tree->objectDialog(level) && !tree->isLocked());
        QCOMPARE(enabledButtons(*tree), allButtons);
    }

    // The question, then the new object selected, its key and the buttons of its level.
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
        name.isEmpty() ? makeTree({}) : makeTree(standard);
        press(name, below ? tree->AddLow : tree->AddButton);
        QTEST(f->messages.texts().join("|") + " " + current() + " " + tree->currentKey() + ": " + enabledButtons(*tree),
              "result");
    }

    void copyPasteAndMove()
    {
        makeTree(standard);
        press("Север", tree->CopyButton);
        f->messages.clear();
        press("Юг", tree->InsertButton);
        QCOMPARE(f->messages.texts().first(), QString("Добавить Север после Юг"));
        QCOMPARE(storedRes(), QStringList({"1,1,Север", "1,2,Восток", "2,1,Юг", "2,2,Север- копия"}));
        // A line moved before another of its RES, and found again.
        press("ВЛ-2", tree->CopyButton);
        f->messages.clear();
        press("ВЛ-1", tree->ChangeButton);
        QCOMPARE(f->messages.texts(), QStringList({"Перенести ВЛ-2 перед ВЛ-1", "Объект перемещен"}));
        QCOMPARE(storedLines().mid(0, 2), QStringList({"1,1,2,ВЛ-2", "1,1,1,ВЛ-1"}));
        QCOMPARE(tree->currentKey() + ": " + enabledButtons(*tree), QString("1,1,2: add low del copy sort vxod view"));
        // A copy deleted before its paste: after the question the user learns why nothing happened.
        press("ВЛ-1", tree->CopyButton);
        press("ВЛ-1", tree->DelButton);
        const QStringList lines = storedLines();
        f->messages.clear();
        press("ВЛ-2", tree->InsertButton);
        QCOMPARE(f->messages.texts(), (QStringList{"Добавить ВЛ-1 после ВЛ-2",
                                                   "Скопированный объект не найден: он был удален или изменен"}));
        QCOMPARE(storedLines(), lines);
    }

    // Codes are text ("01" is not "1"), orphans are hidden, a RES code holding "," is refused.
    void oddCodesAndTheClipboard()
    {
        makeTree({{"1|П", "2|ПЭС-2"}, {"1|1|Хороший, первый", "1|2,5|Плохой", "3|1|Сирота", "1|01|Ноль-один"},
                  {"1|1|5|Л", "1|1|2|Б", "3|1|1|Сиротская"}});
        QStringList shown;
        for (const QModelIndex& i : items())
            shown << QString::number(i.parent().isValid() + i.parent().parent().isValid()) + "|"
                         + i.data().toString() + "|" + i.sibling(i.row(), 1).data().toString();
        QCOMPARE(shown, QStringList({"0|П|1", "1|Хороший, первый|1,1", "2|Л|1,1,5", "2|Б|1,1,2", "1|Плохой|1,2,5",
                                     "1|Ноль-один|1,01", "0|ПЭС-2|2"}));
        QVERIFY(!(tree->treeModel()->index(0, 1).flags() & Qt::ItemIsEditable));   // a key is never renamed
        press("Л", tree->CopyButton);
        select("П");
        tree->slot_copyObj();   // a PES is never copied
        press("Плохой", tree->CopyButton);
        QCOMPARE(f->messages.warnings(),
                 QStringList({"Информация|Л скопирован", "Предупреждение|Неверная кодировка РЭС"}));
        // The line is still what paste offers; at the RES level paste ends silently.
        press("Б", tree->SortButton);   // sorting at another line keeps the pending copy
        f->messages.clear();
        f->messages.answers = {true};
        tree->InsertButton->click();
        press("Хороший*", tree->InsertButton);
        QCOMPARE(f->messages.texts(), QStringList{"Добавить Л после Б"});
        QCOMPARE(storedLines(), QStringList({"1,1,2,Б", "1,1,5,Л", "3,1,1,Сиротская"}));
    }

    // Renamed in the editor by Enter or by clicking away; a blank name is refused and the old one put back.
    void renameInTheEditor()
    {
        makeTree(standard);
        const auto rename = [this](const QString& name, bool enter) {
            select("Восто*");
            const QModelIndex east = tree->TreeView->currentIndex();
            tree->TreeView->edit(east);
            auto* editor = qobject_cast<QLineEdit*>(tree->TreeView->indexWidget(east));
            editor->setText(name);
            enter ? QTest::keyClick(editor, Qt::Key_Return) : select("ВЛ-Ю");   // the RES is renamed, not the line
            QCoreApplication::processEvents();
            return east.data().toString();
        };
        const QByteArray before = f->readFile("res.xml");
        for (const QString blank : {"", "   "})   // by Enter, then by clicking away
            QCOMPARE(rename(blank, blank.isEmpty()), QString("Восток"));
        QCOMPARE(f->readFile("res.xml"), before);
        const QString refused = "Предупреждение|Название объекта не может быть пустым";
        QCOMPARE(f->messages.warnings(), QStringList({refused, refused}));
        // Committed once the line is current, an edit still renames its own object.
        tree->treeModel()->itemFromIndex(items("Восток")[0])->setText("Восточный");
        QCOMPARE(storedRes(), QStringList({"1,1,Север", "1,2,Восточный", "2,1,Юг"}));
        QCOMPARE(rename("Восток-2", true), QString("Восток-2"));
        QCOMPARE(storedRes()[1], QString("1,2,Восток-2"));
        QCOMPARE(rename("Восток-3", false), QString("Восток-3"));
        QCOMPARE(storedRes()[1], QString("1,2,Восток-3"));
    }

    void sortByNameAcrossPes()
    {
        makeTree({{"1|Первый", "2|Второй"}, {"1|1|б|d|1|-5", "2|1|в", "1|2|А", "2|2|а", "1|3|Б", "2|3|а"}});
        press("б", tree->SortButton);
        QCOMPARE(storedRes(), QStringList({"1,2,А", "1,3,Б", "2,2,а", "2,3,а", "1,1,б", "2,1,в"}));
        QCOMPARE(stored(1, 6)[4], QString("1,1,б,d,1,-5"));   // whole rows move
    }

    // A damaged scheme file, which nothing here can repair, is left as it is and stops no delete.
    void deleteCascadesAndFindStartsOver()
    {
        makeTree(standard);
        f->writeFile("sxemalin.xml", "<SxemaLin><LinID npes=\"1\"");
        tree->LineFind->setText("вл");
        for (int i = 0; i < 8; ++i) {
            tree->FindButton->click();
            QCOMPARE(current(), QStringList({"ВЛ-1", "ВЛ-2", "ВЛ-В", "ВЛ-Ю"})[i % 4]);
        }
        press("Север", tree->DelButton);
        QCOMPARE(f->messages.texts().first(), QString("Удалить РЭС ? и все связанные с ним объекты ? "));
        QCOMPARE(f->messages.warnings(),
                 QStringList{"Предупреждение|Ошибка чтения файла " + f->filePath("sxemalin.xml")});
        QCOMPARE(storedRes(), QStringList({"1,2,Восток", "2,1,Юг"}));   // Юг shares Север's code
        QCOMPARE(f->readFile("sxemalin.xml"), QByteArray("<SxemaLin><LinID npes=\"1\""));
        QVERIFY(!f->exists("sxemalin.bak"));
        QCOMPARE(enabledButtons(*tree), QString("view"));   // nothing acts on the deleted key
        // Two hits are left: the next press starts again from the first.
        tree->FindButton->click();
        QCOMPARE(current(), QString("ВЛ-В"));
    }
};

QTEST_MAIN(TestTree)
#include "tst_tree.moc"
