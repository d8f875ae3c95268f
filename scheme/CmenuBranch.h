#pragma once
// The pop-up menu of a line section: adds or deletes a bend point at the
// clicked point, or opens the section's parameters.

#include "ui_CmenuBranch.h"

#include <QWidget>

class CmenuBranch : public QWidget, private Ui_CmenuBranch
{
    Q_OBJECT

public:
    enum Code { AddPoint = 0, DelPoint = 1, Param = 2 };

    // A hidden pop-up window; it has no parent, so its owner deletes it.
    explicit CmenuBranch(QWidget* parent = nullptr);
    ~CmenuBranch() override;

signals:
    void signalBranchMenu(int code);

public slots:
    void DelPoint_OK();
    void AddPoint_OK();
    void Param_OK();
};
