#pragma once
// Editor of the wire and cable catalog "kat_lin.xml": one row per wire or
// cable mark with its cross-section, kind, parameters per km, permissible
// current and conductor material.

#include "catalogtable.h"
#include "ui_CTableKatLine.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class CDlgKatLin : public QDialog, private Ui_CTableKatLine
{
    Q_OBJECT

public:
    // parent is the main window, which keeps the dialog through a QPointer.
    explicit CDlgKatLin(QWidget* parent);
    ~CDlgKatLin() override;

    int LoadLine();
    // Selects the first row whose mark contains text (case-sensitive).
    void AddFind(const QString& text);

public slots:
    void slot_Exit();
    void slot_saveLine();
    void slot_addRow();
    void slot_copyRow();
    void slot_delRow();
    void slot_Find();
    void slot_Calc(double length);
    void slot_Calc1(int row, int col);
    // Closing (close box, Escape) with edits not saved asks first.
    void reject() override;

private:
    Table catalogRows() const;   // the rows as a save writes them
    bool writeCatalog();         // the save without its question; true when it wrote
    // Ticks the KL box of the row and puts the material combo over its cell.
    void setKindAndMaterial(int row, bool cable);
    bool isCable(int row) const;   // the KL box is ticked

    QStringList m_materials;
    RowSearch m_search;
    QString m_defaultSection = QStringLiteral("10");
    bool m_damagedRead = false;
    SavedRows m_saved;
};
