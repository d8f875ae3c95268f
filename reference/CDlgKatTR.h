#pragma once
// Editor of the transformer catalog "kat_tr.xml": one row per transformer
// type, shown by nominal voltage class.

#include "catalogtable.h"
#include "ui_CTableKatTrans.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class CDlgKatTR : public QDialog, private Ui_CTableKatTrans
{
    Q_OBJECT

public:
    // parent is the main window, which keeps the dialog through a QPointer.
    explicit CDlgKatTR(QWidget* parent);
    ~CDlgKatTR() override;

    int LoadTrans();

public slots:
    void slot_Exit();
    void slot_saveTrans();
    void slot_addRow();
    void slot_copyRow();
    void slot_delRow();
    void slot_Find();
    void slot_UnomComboChanged(int index);
    // Closing (close box, Escape) with edits not saved asks first.
    void reject() override;

private:
    Table catalogRows() const;   // every row, shown or hidden
    bool writeCatalog();         // the save without its question; true when it wrote
    QStringList m_voltages;
    RowSearch m_search;
    QString m_unom = QStringLiteral("110");   // voltage of the shown rows and of new ones
    bool m_damagedRead = false;
    SavedRows m_saved;
};
