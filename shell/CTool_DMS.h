#pragma once
// Small windows of the main window: the About box (also the start-up picture)
// and the two file dialogs of the model and archive management.

#include "ui_CAboutProgramm.h"
#include "ui_CFileDelDlg.h"
#include "ui_FileDlg.h"

#include <QString>
#include <QStringList>
#include <QWidget>

class CDlgAboutPrg : public QWidget, public Ui_CAboutProgramm
{
    Q_OBJECT

public:
    explicit CDlgAboutPrg(QWidget* parent = nullptr);
    ~CDlgAboutPrg() override;
};

// Chooses or names one file of a folder. Created once by the main window,
// hidden, and prepared anew by CreateList for every request; it is shown
// without a nested event loop, so the request ends in OK().
class CFileDlg : public QWidget, public Ui_FileDlg
{
    Q_OBJECT

public:
    enum Mode { CopySource = 0, Load = 1, Save = 2 };

    explicit CFileDlg(QWidget* parent = nullptr);
    ~CFileDlg() override;

    // mode: 0 copies source under the typed name, 1 chooses a file to load,
    // 2 names a file to save; dir ends in "/".
    void CreateList(int mode, const QString& dir, const QString& source);

    QStringList m_files;   // plain files of the folder, as listed
    int m_mode = Load;
    QString m_dir;
    QString m_source;      // the file copied in mode 0

signals:
    // Mode 1: the bare name of the chosen file; mode 2: the full path to save to.
    void signalFileDialogSelected(QString name);

public slots:
    void Fill();
    void OK();
};

// Deletes one file of a folder. Lists the folder and shows itself at once.
class CFileDelDlg : public QWidget, public Ui_CFileDelDlg
{
    Q_OBJECT

public:
    explicit CFileDelDlg(const QString& dir, QWidget* parent = nullptr);
    ~CFileDelDlg() override;

    void CreateList();

    QStringList m_files;
    QString m_dir;

public slots:
    void OK();
};

// The plain files of dir (no folders), ordered by name without regard to case.
QStringList listPlainFiles(const QString& dir);

// The real path of dir + name (links followed) when it names an entry
// directly in dir (not dir itself, not a path or a link leading out of it);
// empty otherwise.
QString pathInsideFolder(const QString& dir, const QString& name);

// Byte copy of source over target through a temporary file, so the old target
// survives any failure. Each must lie in its own folder after links are
// followed. With a backup path, the target as it was goes there in the same
// all-or-nothing write (nothing when there was no target). Warns "Отсутствует
// файл -" (source missing), "Файл находится вне рабочей папки -" or "Файл
// находится вне папки ... -" (source a link leading out of its folder, see
// readRefusal), "Ошибка чтения файла " (source there but unreadable) or
// "Невозможно создать файл -" (target or backup not written) and returns
// false then.
bool copyFileReplacing(const QString& source, const QString& target, const QString& backup = QString());
