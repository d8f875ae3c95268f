#include "CTreeZORVAN.h"

#include "store/messages.h"
#include "store/readregim.h"
#include "store/ui/widgetmessages.h"

#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItemModel>

#include <algorithm>


static void initTreeResources()
{
    // The icons live in static libraries, whose resources are not registered by themselves.
    static bool done = false;
    if (done)
        return;
    done = true;
    Q_INIT_RESOURCE(tree);
    initZorvanResources();
}

namespace {

const QString kWarningTitle = QStringLiteral("Предупреждение");

// Words of the questions, indexed by level: PES, RES, line.
const QStringList kNewObject = {QStringLiteral("новый ПЭС ?"), QStringLiteral("новый РЭС ?"),
                                QStringLiteral("новую линию ?")};
const QStringList kDefaultName = {QStringLiteral("Новый ПЭС"), QStringLiteral("Новый РЭС"),
                                  QStringLiteral("Новая линия")};
const QStringList kCopyObject = {QStringLiteral("ПЭС ?"), QStringLiteral("РЭС ?"),
                                 QStringLiteral("Линия ?")};
const QStringList kDeleteObject = {QStringLiteral("ПЭС ?"), QStringLiteral("РЭС ?"),
                                   QStringLiteral("Линию ?")};
const QStringList kSortObjects = {QStringLiteral("все ПЭС"), QStringLiteral("все РЭС"),
                                  QStringLiteral("все линии")};

CTreeZORVAN::DialogFactory g_dialogFactories[3];

bool validLevel(int lvl)
{
    return lvl >= 0 && lvl <= 2;
}

// Sets NPES, NRES, NLIN from a key of the given level; true (after a
// warning) when the key has the wrong number of codes.
bool setSelectionFromKey(int lvl, const QString& objectKey)
{
    if (lvl == 0) {
        NPES = objectKey;
        return false;
    }
    if (lvl != 1 && lvl != 2)
        return false;
    const QStringList parts = objectKey.split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (parts.size() != lvl + 1) {
        ShowWarning(kWarningTitle, lvl == 1 ? QStringLiteral("Неверная кодировка РЭС")
                                            : QStringLiteral("Неверная кодировка линии"));
        return true;
    }
    NPES = parts.at(0);
    NRES = parts.at(1);
    if (lvl == 2)
        NLIN = parts.at(2);
    return false;
}

int depthOf(const QModelIndex& index)
{
    if (!index.parent().isValid())
        return 0;
    return index.parent().parent().isValid() ? 2 : 1;
}

// Every item of column 0 in tree order: a PES, its first RES, that RES's lines, ...
void collectHits(const QAbstractItemModel* model, const QModelIndex& parent, const QString& text,
                 QModelIndexList& hits)
{
    const int rows = model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (index.data().toString().contains(text, Qt::CaseInsensitive))
            hits.append(index);
        collectHits(model, index, text, hits);
    }
}

// The name an item had before the user edited it, so a refused edit can be undone.
const int kStoredNameRole = Qt::UserRole + 1;

QList<QStandardItem*> treeRow(const QString& name, const QString& objectKey)
{
    auto* nameItem = new QStandardItem(name);
    nameItem->setData(name, kStoredNameRole);
    auto* keyItem = new QStandardItem(objectKey);
    keyItem->setEditable(false);   // the key is never renamed
    return {nameItem, keyItem};
}

} // namespace

void CTreeZORVAN::setDialogFactory(int dialogLevel, DialogFactory factory)
{
    if (validLevel(dialogLevel))
        g_dialogFactories[dialogLevel] = std::move(factory);
}

CTreeZORVAN::CTreeZORVAN(QWidget* parent)
    : QWidget(parent)
    , mainWindow(parent)
{
    initTreeResources();
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    connect(FindButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_Find);
    connect(LineFind, &QLineEdit::returnPressed, this, &CTreeZORVAN::slot_Find);
    connect(DelButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_delObj);
    connect(AddButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_addObj);
    connect(CopyButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_copyObj);
    connect(AddLow, &QPushButton::clicked, this, &CTreeZORVAN::slot_addLowObj);
    connect(InsertButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_InsertObj);
    connect(VxodButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_Vxod);
    connect(ChangeButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_ChangeObj);
    connect(SortButton, &QPushButton::clicked, this, &CTreeZORVAN::slot_SortObj);

    setLevelButtons(false);
    setClipboardButtons(false);

    LoadTree();

    TreeView->setStyleSheet(QStringLiteral(
        "QTreeView::branch:has-children:!has-siblings:closed {"
        " border-image: none; image: url(:/res/node_branch_close1.png); }"
        "QTreeView::branch:closed:has-children:has-siblings {"
        " border-image: none; image: url(:/res/node_branch_close.png); }"
        "QTreeView::branch:open:has-children:!has-siblings {"
        " border-image: none; image: url(:/res/node_branch_open1.png); }"
        "QTreeView::branch:open:has-children:has-siblings {"
        " border-image: none; image: url(:/res/node_branch_open.png); }"
        "QTreeView::branch:has-siblings:adjoins-item {"
        " border-image: url(:/res/branch_more.png) 0; }"
        "QTreeView::branch:!has-children:!has-siblings:adjoins-item {"
        " border-image: url(:/res/branch_end.png) 0; }"
        "QTreeView::branch:has-siblings:!adjoins-item {"
        " border-image: url(:/res/vline.png) 0; }"));
}

CTreeZORVAN::~CTreeZORVAN()
{
    // Close the object dialogs while the tree is still whole: a dialog that
    // unlocks the tree from its destructor must not reach a half-destroyed one.
    for (QPointer<QWidget>* dialog : {&m_pDlgLIN, &m_pDlgRES, &m_pDlgPES}) {
        if (QWidget* w = *dialog) {
            disconnect(w, nullptr, this, nullptr);
            delete w;
        }
    }
}

bool CTreeZORVAN::LoadTables()
{
    return false;
}

void CTreeZORVAN::slot_EditText()
{
}

QPointer<QWidget>& CTreeZORVAN::dialogSlot(int dialogLevel)
{
    if (dialogLevel == 0)
        return m_pDlgPES;
    if (dialogLevel == 1)
        return m_pDlgRES;
    return m_pDlgLIN;
}

QWidget* CTreeZORVAN::objectDialog(int dialogLevel) const
{
    return const_cast<CTreeZORVAN*>(this)->dialogSlot(dialogLevel).data();
}

bool CTreeZORVAN::LoadTree()
{
    const Table pes = ReadShablonXML(QStringLiteral("pes"), {QStringLiteral("npes"), QStringLiteral("name")},
                                     QStringLiteral("PES"));
    const Table res = ReadShablonXML(QStringLiteral("res"),
                                     {QStringLiteral("npes"), QStringLiteral("nres"), QStringLiteral("name")},
                                     QStringLiteral("RES"));
    const Table lines = ReadShablonXML(
        QStringLiteral("lines"),
        {QStringLiteral("npes"), QStringLiteral("nres"), QStringLiteral("nlin"), QStringLiteral("name")},
        QStringLiteral("LIN"));

    // Children grouped by their parent's codes, in file order; codes are compared as text.
    QHash<QString, QVector<int>> resOfPes;
    for (int i = 0; i < res.size(); ++i)
        resOfPes[res[i][0]].append(i);
    QHash<QPair<QString, QString>, QVector<int>> linesOfRes;
    for (int i = 0; i < lines.size(); ++i)
        linesOfRes[qMakePair(lines[i][0], lines[i][1])].append(i);

    auto* newModel = new QStandardItemModel(this);
    for (const QStringList& p : pes) {
        const QList<QStandardItem*> pesRow = treeRow(p[1], p[0]);
        newModel->appendRow(pesRow);
        for (int r : resOfPes.value(p[0])) {
            const QStringList& rr = res[r];
            const QList<QStandardItem*> resRow = treeRow(rr[2], rr[0] + "," + rr[1]);
            pesRow[0]->appendRow(resRow);
            for (int l : linesOfRes.value(qMakePair(rr[0], rr[1]))) {
                const QStringList& ll = lines[l];
                resRow[0]->appendRow(treeRow(ll[3], ll[0] + "," + ll[1] + "," + ll[2]));
            }
        }
    }

    if (QItemSelectionModel* oldSelection = TreeView->selectionModel())
        disconnect(oldSelection, nullptr, this, nullptr);
    QStandardItemModel* oldModel = model;
    model = newModel;
    TreeView->setModel(model);
    TreeView->header()->hide();
    TreeView->setColumnHidden(1, true);
    TreeView->setColumnHidden(2, true);
    TreeView->setColumnWidth(0, 120);
    TreeView->setColumnWidth(1, 70);
    connect(TreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CTreeZORVAN::TreeView_currentChanged);
    connect(model, &QStandardItemModel::itemChanged, this, &CTreeZORVAN::onItemChanged);
    delete oldModel;

    // The new model has no current item: nothing may act on the old key.
    clearSelectionState();
    return false;
}

void CTreeZORVAN::setLevelButtons(bool enable)
{
    DelButton->setEnabled(enable);
    AddButton->setEnabled(enable);
    CopyButton->setEnabled(enable);
    SortButton->setEnabled(enable);
    AddLow->setEnabled(enable);
    VxodButton->setEnabled(enable);
}

void CTreeZORVAN::setClipboardButtons(bool enable)
{
    // While a PES or RES dialog is open, nothing may re-code or add to the
    // objects it works on.
    enable = enable && !locked;
    ChangeButton->setEnabled(enable);
    InsertButton->setEnabled(enable);
}

void CTreeZORVAN::clearSelectionState()
{
    level = 0;
    key.clear();
    setLevelButtons(false);
    setClipboardButtons(false);
    // An empty tree can still receive its first PES.
    if (!locked && model && model->rowCount() == 0)
        AddButton->setEnabled(true);
}

void CTreeZORVAN::TreeView_currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    Q_UNUSED(previous);
    level = 0;
    setLevelButtons(false);
    key = QStringLiteral("1");
    level = depthOf(current);

    const QModelIndex keyIndex = current.sibling(current.row(), 1);
    if (!keyIndex.isValid())
        return;
    key = keyIndex.data().toString();

    // A find may move the selection while a dialog holds the lock; it unlocks nothing.
    if (!locked) {
        AddButton->setEnabled(true);
        DelButton->setEnabled(true);
        VxodButton->setEnabled(true);
        AddLow->setEnabled(true);
        if (level > 0) {
            CopyButton->setEnabled(true);
            SortButton->setEnabled(true);
        }
    }
    if (bufPending)
        setClipboardButtons(true);
}

bool CTreeZORVAN::modifyTree()
{
    return setSelectionFromKey(level, key);
}

void CTreeZORVAN::Refresh(bool enable)
{
    locked = !enable;
    TreeView->setEnabled(enable);
    setClipboardButtons(bufPending);
    if (!enable) {
        setLevelButtons(false);
        return;
    }
    if (TreeView->currentIndex().isValid()) {
        setLevelButtons(true);
    } else {
        setLevelButtons(false);
        AddButton->setEnabled(model && model->rowCount() == 0);
    }
}

void CTreeZORVAN::openObjectDialog(int dialogLevel)
{
    QPointer<QWidget>& dialog = dialogSlot(dialogLevel);
    if (dialog) {
        // One dialog per level: the open one is shown again, not reloaded.
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    } else if (g_dialogFactories[dialogLevel]) {
        QWidget* created = g_dialogFactories[dialogLevel](key, this);
        if (!created)
            return;
        dialog = created;
        if (dialogLevel < 2) {
            connect(created, &QObject::destroyed, this, [this, dialogLevel]() {
                if (!dialogSlot(dialogLevel == 0 ? 1 : 0))
                    Refresh(true);
            });
        }
        created->show();
    } else {
        return;   // no dialog of this level in this build
    }
    if (dialogLevel < 2)
        Refresh(false);
}

void CTreeZORVAN::slot_Vxod()
{
    if (!TreeView->currentIndex().isValid())
        return;
    UROV = level;
    pNameRas.clear();
    const QStringList parts = key.split(QLatin1Char(','), Qt::KeepEmptyParts);
    switch (level) {
    case 0:
        NPES = key;
        break;
    case 1:
        if (parts.size() != 2) {
            ShowWarning(kWarningTitle, QStringLiteral("Неверная кодировка РЭС"));
            return;
        }
        NPES = parts.at(0);
        NRES = parts.at(1);
        break;
    case 2:
        if (parts.size() != 3) {
            ShowWarning(kWarningTitle, QStringLiteral("Неверная кодировка ЦП"));
            return;
        }
        NPES = parts.at(0);
        NRES = parts.at(1);
        NLIN = parts.at(2);
        break;
    default:
        return;
    }
    openObjectDialog(level);
}

void CTreeZORVAN::findText(const QString& text)
{
    LineFind->setText(text);
    slot_Find();
}

void CTreeZORVAN::slot_addObj()
{
    // Without a selected object only the first PES of an empty tree can be made.
    if (!validLevel(level) || (!TreeView->currentIndex().isValid() && model->rowCount() > 0))
        return;
    UROV = level;
    if (MsgBox("Добавить " + kNewObject[level], QStringLiteral("Добавление")))
        return;
    if (modifyTree())
        return;
    const int createdLevel = level;
    if (CreateNewObj(createdLevel) != 0)
        LoadTree();
    findText(kDefaultName[createdLevel]);
}

void CTreeZORVAN::slot_addLowObj()
{
    if (level < 0 || level >= 2 || !TreeView->currentIndex().isValid())
        return;
    UROV = level;
    if (MsgBox("Добавить " + kNewObject[level + 1], QStringLiteral("Добавление")))
        return;
    if (modifyTree())
        return;
    const int createdLevel = level + 1;
    if (CreateNewObj(createdLevel) != 0)
        LoadTree();
    findText(kDefaultName[createdLevel]);
}

void CTreeZORVAN::slot_copyObj()
{
    // Only RES and lines are copied; a PES has nowhere to be pasted.
    if (level != 1 && level != 2)
        return;
    const QModelIndex current = TreeView->currentIndex();
    if (!current.isValid())
        return;
    if (MsgBox("Сделать копию " + kCopyObject[level], QStringLiteral("Копирование")))
        return;   // the previous copy stays as it was
    const QStringList parts = key.split(QLatin1Char(','), Qt::KeepEmptyParts);
    if (parts.size() != level + 1) {
        ShowWarning(kWarningTitle, level == 1 ? QStringLiteral("Неверная кодировка РЭС")
                                              : QStringLiteral("Неверная кодировка линии"));
        return;
    }
    bufKey = parts;
    bufLevel = parts.size() - 1;
    bufName = current.sibling(current.row(), 0).data().toString();
    bufPending = true;
    ShowWarning(QStringLiteral("Информация"), bufName + " скопирован");
    setClipboardButtons(true);
}

bool CTreeZORVAN::pasteTarget(QString* target)
{
    const QModelIndex current = TreeView->currentIndex();
    if (!current.isValid() || modifyTree())
        return false;
    if (!bufPending || bufLevel != level || bufKey.size() != bufLevel + 1) {
        // A copy of another level has no place here: it is dropped.
        bufPending = false;
        setClipboardButtons(false);
        return false;
    }
    *target = current.sibling(current.row(), 0).data().toString();
    return true;
}

void CTreeZORVAN::slot_InsertObj()
{
    QString target;
    if (locked || !pasteTarget(&target))
        return;
    if (MsgBox("Добавить " + bufName + " после " + target, QStringLiteral("Вставка")))
        return;
    bufPending = false;
    InsertObj(bufKey);
    LoadTree();
    setClipboardButtons(false);
}

void CTreeZORVAN::slot_ChangeObj()
{
    QString target;
    if (locked || !pasteTarget(&target))
        return;
    if (MsgBox("Перенести " + bufName + " перед " + target, QStringLiteral("Перенос")))
        return;
    bufPending = false;
    if (ChangeObj(bufKey) == 0) {
        LoadTree();
        findText(bufName);
    }
    setClipboardButtons(false);
}

void CTreeZORVAN::slot_delObj()
{
    if (!validLevel(level) || !TreeView->currentIndex().isValid())
        return;
    UROV = level;
    if (MsgBox("Удалить " + kDeleteObject[level] + " и все связанные с ним объекты ? ",
               QStringLiteral("Удаление")))
        return;
    if (modifyTree())
        return;
    if (DeleteObj(level, NPES, NRES, NLIN) != 0)
        LoadTree();
}

void CTreeZORVAN::onItemChanged(QStandardItem* item)
{
    if (!item || item->column() != 0)
        return;
    const QString stored = item->data(kStoredNameRole).toString();
    if (item->text() == stored)
        return;   // unchanged, or the old name just put back
    if (item->text().trimmed().isEmpty()) {
        ShowWarning(kWarningTitle, QStringLiteral("Название объекта не может быть пустым"));
        item->setText(stored);
        return;
    }
    // The edited item names its own object: the edit may be committed after
    // another item has already become current.
    const QModelIndex index = item->index();
    const int itemLevel = depthOf(index);
    const QString itemKey = index.sibling(index.row(), 1).data().toString();
    if (setSelectionFromKey(itemLevel, itemKey))
        return;
    UpdateObj(itemLevel, item->text(), NPES, NRES, NLIN);
    item->setData(item->text(), kStoredNameRole);
}

bool CTreeZORVAN::sortTableByName(int tableLevel)
{
    struct TableInfo { QString table; const QStringList* names; QString row; QString root; int nameColumn; };
    const TableInfo infos[3] = {
        {QStringLiteral("pes"), &attrPES, QStringLiteral("PES"), QStringLiteral("net110_PES"), 1},
        {QStringLiteral("res"), &attrRES, QStringLiteral("RES"), QStringLiteral("net110_RES"), 2},
        {QStringLiteral("lines"), &attrLin, QStringLiteral("LIN"), QStringLiteral("net110_LIN"), 3},
    };
    const TableInfo& info = infos[tableLevel];
    bool xmlError = false;
    Table rows = ReadShablonXML(info.table, *info.names, info.row, &xmlError);
    if (xmlError)
        return false;   // a damaged file is never rewritten from what was read of it
    const int column = info.nameColumn;
    // By character code, so upper case comes before lower case; equal names keep their order.
    std::stable_sort(rows.begin(), rows.end(), [column](const QStringList& a, const QStringList& b) {
        return a.at(column) < b.at(column);
    });
    return saveShablonXML(info.table, *info.names, info.row, info.root, rows);
}

void CTreeZORVAN::slot_SortObj()
{
    if (!validLevel(level) || !TreeView->currentIndex().isValid())
        return;
    UROV = level;
    if (MsgBox("Отсортировать " + kSortObjects[level] + " по названию ? ", QStringLiteral("Сортировка")))
        return;
    // The selected object is found again by its name; a pending copy is left alone.
    const QModelIndex current = TreeView->currentIndex();
    const QString reselect = current.sibling(current.row(), 0).data().toString();
    sortTableByName(level);
    LoadTree();
    findText(reselect);
}

void CTreeZORVAN::slot_Find()
{
    const QString text = LineFind->text();
    QModelIndexList hits;
    if (model)
        collectHits(model, QModelIndex(), text, hits);

    if (text == findStr) {
        ++findIndex;
        // The list may have shrunk since the last search: start again from the first hit.
        if (findIndex >= hits.size())
            findIndex = 0;
    } else {
        findStr = text;
        findIndex = 0;
    }
    if (hits.isEmpty())
        return;

    const QModelIndex hit = hits.at(findIndex);
    for (QModelIndex parent = hit.parent(); parent.isValid(); parent = parent.parent())
        TreeView->expand(parent);
    TreeView->setCurrentIndex(hit);
    TreeView->scrollTo(hit);
}
