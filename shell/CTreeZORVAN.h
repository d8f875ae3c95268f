#pragma once
// The object tree: PES, their RES and the RES's lines, with the commands that
// create, copy, paste, move, delete, rename, sort and find objects, and the
// "Вход" button that opens the working dialog of the selected object.

#include "ui_CTreeZORVAN.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QModelIndex;
class QStandardItem;
class QStandardItemModel;

class CTreeZORVAN : public QWidget, public Ui_CTreeZORVAN
{
    Q_OBJECT

public:
    // Creates the working dialog of an object of one level (0 PES, 1 RES,
    // 2 line) for the object's key, with the tree as parent. The dialog
    // should delete itself when closed; the tree keeps only a QPointer to it.
    // A PES or RES dialog locks the tree while it lives: the tree unlocks
    // itself when that dialog is destroyed, so the dialog need not call
    // Refresh(true) (doing so as well is harmless).
    using DialogFactory = std::function<QWidget*(const QString& key, QWidget* parent)>;
    static void setDialogFactory(int level, DialogFactory factory);

    explicit CTreeZORVAN(QWidget* parent = nullptr);
    ~CTreeZORVAN() override;

    // Rebuilds the model from "pes", "res" and "lines". Always false.
    bool LoadTree();
    // Splits the key of the selected object into NPES, NRES, NLIN.
    // false: codes set; true: the key does not fit its level (warned).
    bool modifyTree();
    // Enables or disables the tree view and the buttons a PES or RES dialog locks.
    void Refresh(bool enable);
    bool LoadTables();

    int currentLevel() const { return level; }
    QString currentKey() const { return key; }
    bool isLocked() const { return locked; }
    // The open dialog of a level, null when none is open.
    QWidget* objectDialog(int dialogLevel) const;
    QStandardItemModel* treeModel() const { return model; }

public slots:
    void slot_Vxod();
    void slot_addObj();
    void slot_addLowObj();
    void slot_copyObj();
    void slot_InsertObj();
    void slot_ChangeObj();
    void slot_delObj();
    void slot_SortObj();
    void slot_EditText();
    void slot_Find();
    void onItemChanged(QStandardItem* item);
    void TreeView_currentChanged(const QModelIndex& current, const QModelIndex& previous);

private:
    QPointer<QWidget>& dialogSlot(int dialogLevel);
    void openObjectDialog(int dialogLevel);
    void setLevelButtons(bool enable);
    void clearSelectionState();
    void setClipboardButtons(bool enable);
    // Whether the confirmed copy may go next to the current object (its name
    // into target); the selection follows the current key first.
    bool pasteTarget(QString* target);
    void findText(const QString& text);
    bool sortTableByName(int tableLevel);

    QStandardItemModel* model = nullptr;
    int level = 0;
    QString key;
    QPointer<QWidget> m_pDlgRES;
    QPointer<QWidget> m_pDlgPES;
    QPointer<QWidget> m_pDlgLIN;
    QStringList bufKey;        // codes of the copied object
    QString bufName;           // its name
    int bufLevel = 0;          // its level (1 RES, 2 line)
    bool bufPending = false;   // a confirmed copy not yet pasted or moved
    QString findStr;           // text of the previous search
    int findIndex = 0;         // position of the shown hit
    bool locked = false;       // a PES or RES dialog is open
    QWidget* mainWindow = nullptr;
};
