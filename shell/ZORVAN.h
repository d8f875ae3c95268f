#pragma once
// The main window: the frame of the program. Its left part is the place of the
// object tree, its right part a tool box with the calculation settings, the
// model and archive files and the reference data; the tool bar opens the
// catalogs and the About box.

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

class CDlgAboutPrg;
class CDlgKatLin;
class CDlgKatTR;
class CFileDelDlg;
class CFileDlg;
class CGrafik;
class CTreeZORVAN;
class QCloseEvent;
class QLabel;
class Ui_ZORVAN;

class ZORVAN : public QMainWindow
{
    Q_OBJECT

public:
    explicit ZORVAN(QWidget* parent = nullptr);
    ~ZORVAN() override;

    // Data path = current directory + "/"; creates "net", "arxives" and
    // "html" there when "net" is missing.
    void CheckDirectory();
    // Connects the controls and establishes the calculation settings.
    void createActions();
    // Reads "taskparam.xml" into the settings page and the globals and puts
    // the period label into the status bar.
    void ReadTools();
    // Creates the object tree over the left part of the window.
    void LoadTree();
    CTreeZORVAN* objectTree() const;

public slots:
    // Settings page: each change goes straight into its global.
    void MonthComboChanged(int index);
    void YearChanged(int year);
    void slot_HolidayChanged(double value);
    void slot_kPnChanged(double value);
    void slot_TempMecChanged();
    void slot_checkBalance(int state);
    void slot_checkTranzit(int state);
    void slot_checkIzol(int state);
    // Writes the settings page into "taskparam.xml".
    void slot_SaveTools();

    // The catalogs and the load graphs: one window of each kind, shown
    // again while it is open and built anew (reading its file) after it closed.
    void slot_KatLinDlg();
    void slot_AboutPrg();
    void slot_KatTRDlg();
    void slot_GrafikDlg();

    // Page "Импорт и экспорт данных": network models in "net/", copies of the
    // loss archive in "arxives/". Each asks first, then opens the file dialog.
    void slot_SaveModel();
    void slot_LoadModelA();
    void slot_SaveModelA();
    void slot_LoadModel();
    void slot_DelModel();
    // The file dialog's choice, acted on by the file mode.
    void slot_FilSelected(const QString& name);

public:
    // Prepares the file dialog for one request and shows it (no nested loop).
    void File_Dlg(int mode, const QString& dir, const QString& source);
    // Replaces the delete dialog by a new one listing dir.
    void File_DelDlg(const QString& dir);

protected:
    // Closes every other window first, each asking about its own edits, then
    // asks about the settings page; one "Отмена" keeps the program running.
    void closeEvent(QCloseEvent* event) override;

private:
    // The settings page as "taskparam.xml" holds it, in the order of its attributes.
    QStringList settingsValues() const;
    bool writeSettings();   // true when the file was written
    void setDayTableForYear(int year);
    QString periodText() const;   // "<period name> <year>"

    QPointer<CTreeZORVAN> m_pTree;        // child of the window, deletes itself on close
    QPointer<CDlgKatLin> m_katLin;        // children of the window, deleted on close
    QPointer<CDlgKatTR> m_katTR;
    CDlgAboutPrg* m_aboutPrg = nullptr;   // created at start, owned
    QPointer<CGrafik> m_grafik;

    QString m_settingsPath;
    QStringList m_periodNames;            // 12 months, then "Год"
    QList<int> m_days;                    // days of each period
    QLabel* m_statusLabel = nullptr;
    int m_month = 0;                      // index of the period, 0-12
    QString m_modelName;                  // name of the last model loaded
    QStringList m_savedSettings;          // the page as read or last written
    bool m_modelLoaded = false;           // a new model replaced the tables: the run ends

    CFileDlg* m_fileDlg = nullptr;        // created at start, hidden, reused
    QPointer<CFileDelDlg> m_fileDelDlg;   // made anew for each delete request
    int m_fileMode = 0;                   // what the file dialog's choice is for, 0-3

    Ui_ZORVAN* ui = nullptr;
};
