#pragma once
// Editor of the daily load graphs "grafiki.xml": one row per graph, its
// number and 24 hourly loads, with the shape coefficients of a clicked day.

#include "catalogtable.h"
#include "ui_CGrafik.h"

#include <QDialog>
#include <QStringList>

class CGrafik : public QDialog, private Ui_CGrafik
{
    Q_OBJECT

public:
    // parent is the main window, which keeps the dialog through a QPointer.
    explicit CGrafik(QWidget* parent);
    ~CGrafik() override;

    int LoadGrafik();

public slots:
    void slot_saveGrafik();
    void slot_addRow();
    void slot_delRow();
    void slot_copyRow();
    void slot_Calc1(int row, int col);
    // Closing (close box, Escape) with edits not saved asks first.
    void reject() override;

private:
    Table graphRows() const;
    bool writeGrafik();   // true when it wrote
    QStringList m_attributes;   // "nom", "t1" .. "t24"
    bool m_damagedRead = false;
    SavedRows m_saved;
};
