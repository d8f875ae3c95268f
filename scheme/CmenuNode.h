#pragma once
// The pop-up menu of a bus: adds a line section, a two-winding or a
// three-winding transformer at it.

#include "ui_CmenuNode.h"

#include <QWidget>

class CmenuNode : public QWidget, private Ui_CmenuNode
{
    Q_OBJECT

public:
    enum Code { AddLine = 0, AddTP = 1, AddTP3 = 2 };

    // A hidden pop-up window; it has no parent, so its owner deletes it.
    explicit CmenuNode(QWidget* parent = nullptr);
    ~CmenuNode() override;

signals:
    void signalNodeMenu(int code);

public slots:
    void Slot_AddLine();
    void Slot_AddTP();
    void Slot_AddTP3();
};
