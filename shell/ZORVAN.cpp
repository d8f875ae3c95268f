#include "ZORVAN.h"

#include "CTool_DMS.h"
#include "CTreeZORVAN.h"
#include "reference/CDlgKatLin.h"
#include "reference/CDlgKatTR.h"
#include "reference/CGrafik.h"
#include "store/messages.h"
#include "store/readregim.h"
#include "store/ui/closing.h"
#include "store/ui/placement.h"
#include "store/ui/widgetmessages.h"
#include "store/xmlfile.h"
#include "ui_ZORVAN.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTextCodec>
#include <QXmlStreamReader>

// The icons of the main window are compiled into this static library, so
// the linker keeps them only when someone asks for them by name.
static void initShellResources()
{
    Q_INIT_RESOURCE(shell);
    initZorvanResources();
}

namespace {

const QStringList kParamsAttributes = {
    QStringLiteral("korPn"), QStringLiteral("period"), QStringLiteral("year"),
    QStringLiteral("temp"), QStringLiteral("kholi"), QStringLiteral("balance"),
    QStringLiteral("tranzit"), QStringLiteral("Izol"), QStringLiteral("Model")};

const QList<int> kDaysOfCommonYear = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31, 365};

bool isLeapYear(int year)
{
    // Every year of the range 2020-2050 follows the rule of four.
    return year % 4 == 0;
}

} // namespace

ZORVAN::ZORVAN(QWidget* parent)
    : QMainWindow(parent)
{
    initShellResources();

    m_periodNames = QStringList{
        QStringLiteral("Январь"), QStringLiteral("Февраль"), QStringLiteral("Март"),
        QStringLiteral("Апрель"), QStringLiteral("Май"), QStringLiteral("Июнь"),
        QStringLiteral("Июль"), QStringLiteral("Август"), QStringLiteral("Сентябрь"),
        QStringLiteral("Октябрь"), QStringLiteral("Ноябрь"), QStringLiteral("Декабрь"),
        QStringLiteral("Год")};

    ui = new Ui_ZORVAN;
    ui->setupUi(this);

    m_fileDlg = new CFileDlg(this);
    m_fileDlg->hide();
    connect(m_fileDlg, &CFileDlg::signalFileDialogSelected, this, &ZORVAN::slot_FilSelected);

    // Start-up picture: the About box on top for one pass of the event loop.
    m_aboutPrg = new CDlgAboutPrg(nullptr);
    m_aboutPrg->setWindowFlags(Qt::WindowStaysOnTopHint);
    // Shown later from the tool bar, it must not keep the program running
    // once the main window is closed.
    m_aboutPrg->setAttribute(Qt::WA_QuitOnClose, false);
    placeWindow(m_aboutPrg, QPoint(500, 220));
    m_aboutPrg->LineInfo->setText(QStringLiteral("Программа ЗОРВАН"));
    m_aboutPrg->show();
    QCoreApplication::processEvents();
    m_aboutPrg->hide();

    CheckDirectory();
    createActions();

    setWindowTitle(QStringLiteral("Программа ЗОРВАН"));

    LoadTree();

    g_pTextCodec = QTextCodec::codecForName("UTF-8");
    QTextCodec::setCodecForLocale(g_pTextCodec);
    OS = QStringLiteral("UNIX");
}

ZORVAN::~ZORVAN()
{
    // The About box has no parent (it is shown before the window), so it is ours to delete.
    delete m_aboutPrg;
    delete ui;
}

void ZORVAN::LoadTree()
{
    // Laid over groupBox, which keeps the place free in the layout.
    m_pTree = new CTreeZORVAN(this);
    m_pTree->show();
    m_pTree->move(6, 32);
    // The tree keeps its place and size, so the window may not become lower
    // than the tree and the status bar under it: its buttons, search line and
    // "Вход" would be cut off or cover the status text.
    const int treeBottom = m_pTree->geometry().bottom() + 1;
    setMinimumHeight(qMax(minimumHeight(), treeBottom + statusBar()->sizeHint().height()));
}

CTreeZORVAN* ZORVAN::objectTree() const
{
    return m_pTree.data();
}

void ZORVAN::CheckDirectory()
{
    ZORVAN_PATH = QDir::currentPath() + "/";
    m_settingsPath = ZORVAN_PATH + "taskparam.xml";

    // Only a folder without "net" counts as new; failures show up later
    // when a file cannot be written there.
    QDir dir(ZORVAN_PATH);
    if (!dir.exists(QStringLiteral("net"))) {
        dir.mkdir(QStringLiteral("net"));
        dir.mkdir(QStringLiteral("arxives"));
        dir.mkdir(QStringLiteral("html"));
    }
}

void ZORVAN::createActions()
{
    m_days = kDaysOfCommonYear;
    pk_Nagr = 1.0;
    pT_sr = 20.0;
    ui->MonthCombo->addItems(m_periodNames);

    // Connected before the file is read, so that its values reach the
    // globals the same way as the user's changes.
    connect(ui->MonthCombo, QOverload<int>::of(&QComboBox::currentIndexChanged),
            this, &ZORVAN::MonthComboChanged);
    connect(ui->Period, QOverload<int>::of(&QSpinBox::valueChanged), this, &ZORVAN::YearChanged);
    connect(ui->kHoliday, QOverload<double>::of(&QDoubleSpinBox::valueChanged),
            this, &ZORVAN::slot_HolidayChanged);
    connect(ui->TempMec, QOverload<double>::of(&QDoubleSpinBox::valueChanged),
            this, &ZORVAN::slot_TempMecChanged);
    connect(ui->kPn, QOverload<double>::of(&QDoubleSpinBox::valueChanged),
            this, &ZORVAN::slot_kPnChanged);
    connect(ui->checkBalance, &QCheckBox::stateChanged, this, &ZORVAN::slot_checkBalance);
    connect(ui->checkTranzit, &QCheckBox::stateChanged, this, &ZORVAN::slot_checkTranzit);
    connect(ui->checkIzol, &QCheckBox::stateChanged, this, &ZORVAN::slot_checkIzol);
    connect(ui->Info_Trans, &QAction::triggered, this, &ZORVAN::slot_KatTRDlg);
    connect(ui->KatTR_Show, &QPushButton::clicked, this, &ZORVAN::slot_KatTRDlg);
    connect(ui->Info_Line, &QAction::triggered, this, &ZORVAN::slot_KatLinDlg);
    connect(ui->KatLin_Show, &QPushButton::clicked, this, &ZORVAN::slot_KatLinDlg);
    connect(ui->AboutPrg, &QAction::triggered, this, &ZORVAN::slot_AboutPrg);
    connect(ui->Grafik_Show, &QPushButton::clicked, this, &ZORVAN::slot_GrafikDlg);
    connect(ui->SaveToolButt, &QPushButton::clicked, this, &ZORVAN::slot_SaveTools);
    connect(ui->Model_Save, &QPushButton::clicked, this, &ZORVAN::slot_SaveModel);
    connect(ui->Model_Load, &QPushButton::clicked, this, &ZORVAN::slot_LoadModel);
    connect(ui->Model_Save_A, &QPushButton::clicked, this, &ZORVAN::slot_SaveModelA);
    connect(ui->Model_Load_A, &QPushButton::clicked, this, &ZORVAN::slot_LoadModelA);
    connect(ui->Model_Del, &QPushButton::clicked, this, &ZORVAN::slot_DelModel);
    // Edit_Load ("Редактирование нагрузок на шинах ПС") is shown but opens
    // nothing, so the form keeps it disabled.

    m_settingsPath = ZORVAN_PATH + "taskparam.xml";
    ReadTools();

    setDayTableForYear(ui->Period->value());
    pYear = QString::number(ui->Period->value());
    pMec = QString::number(m_month + 1);
    NamePeriod = periodText() + " года";
    TmRas = m_days.at(m_month);
}

void ZORVAN::setDayTableForYear(int year)
{
    const bool leap = isLeapYear(year);
    m_days[1] = leap ? 29 : 28;
    m_days[12] = leap ? 366 : 365;
}

QString ZORVAN::periodText() const
{
    return m_periodNames.at(m_month) + " " + QString::number(ui->Period->value());
}

void ZORVAN::MonthComboChanged(int index)
{
    if (index < 0 || index >= m_periodNames.size())
        return;
    m_month = index;
    TmRas = m_days.at(index);
    NamePeriod = periodText() + " года";
    pMec = QString::number(index + 1);
}

void ZORVAN::YearChanged(int year)
{
    setDayTableForYear(year);
    TmRas = m_days.at(ui->MonthCombo->currentIndex());
    NamePeriod = periodText() + " года";
    pYear = QString::number(ui->Period->value());
}

void ZORVAN::slot_HolidayChanged(double value)
{
    pHoly = value;
}

void ZORVAN::slot_kPnChanged(double value)
{
    pk_Nagr = value;
}

void ZORVAN::slot_TempMecChanged()
{
    pT_sr = ui->TempMec->value();
}

void ZORVAN::slot_checkBalance(int)
{
    pr_Bal = ui->checkBalance->isChecked() ? 1 : 0;
}

void ZORVAN::slot_checkTranzit(int)
{
    p_tranz = ui->checkTranzit->isChecked() ? 1 : 0;
}

void ZORVAN::slot_checkIzol(int)
{
    p_Iz = ui->checkIzol->isChecked() ? 1 : 0;
}

void ZORVAN::ReadTools()
{
    QFile file(m_settingsPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ShowWarning(QStringLiteral("Внимание!"),
                    QStringLiteral("В рабочей директории нет файла ") + m_settingsPath, this);
    } else {
        // Values are taken as written (no trimming); what stands before an
        // XML error is kept.
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.hasError())
                break;
            if (!xml.isStartElement() || xml.name() != QLatin1String("Params"))
                continue;
            const QXmlStreamAttributes attributes = xml.attributes();
            for (const QXmlStreamAttribute& attribute : attributes) {
                const QStringRef name = attribute.name();
                const QString value = attribute.value().toString();
                if (name == QLatin1String("korPn")) {
                    ui->kPn->setValue(value.toDouble());
                } else if (name == QLatin1String("period")) {
                    // An index the period list does not have is ignored:
                    // the period stays where it was.
                    const int index = value.toInt();
                    if (index >= 0 && index < m_periodNames.size()) {
                        m_month = index;
                        ui->MonthCombo->setCurrentIndex(index);
                    }
                } else if (name == QLatin1String("year")) {
                    ui->Period->setValue(value.toInt());
                } else if (name == QLatin1String("temp")) {
                    ui->TempMec->setValue(value.toDouble());
                } else if (name == QLatin1String("kholi")) {
                    ui->kHoliday->setValue(value.toDouble());
                } else if (name == QLatin1String("balance")) {
                    pr_Bal = value.toInt();
                } else if (name == QLatin1String("tranzit")) {
                    p_tranz = value.toInt();
                } else if (name == QLatin1String("Izol")) {
                    p_Iz = value.toInt();
                } else if (name == QLatin1String("Model")) {
                    m_modelName = value;
                }
            }
        }
        file.close();
    }

    ui->checkBalance->setChecked(pr_Bal != 0);
    ui->checkTranzit->setChecked(p_tranz != 0);
    ui->checkIzol->setChecked(p_Iz != 0);

    m_statusLabel = new QLabel(
        QStringLiteral("Расчетный период: %1 %2 год. Модель сети  %3")
            .arg(m_periodNames.at(m_month), QString::number(ui->Period->value()), m_modelName),
        this);
    statusBar()->addWidget(m_statusLabel);

    pHoly = ui->kHoliday->value();
    pT_RES = ui->TempMec->value();
    pT_sr = pT_RES;
    pk_Nagr = ui->kPn->value();
    m_savedSettings = settingsValues();
}

QStringList ZORVAN::settingsValues() const
{
    return QStringList{
        QString::number(ui->kPn->value(), 'f', 2),
        QString::number(m_month),
        QString::number(ui->Period->value()),
        QString::number(ui->TempMec->value(), 'f', 1),
        QString::number(ui->kHoliday->value(), 'f', 2),
        ui->checkBalance->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
        ui->checkTranzit->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
        ui->checkIzol->isChecked() ? QStringLiteral("1") : QStringLiteral("0"),
        m_modelName};
}

void ZORVAN::slot_SaveTools()
{
    writeSettings();
}

bool ZORVAN::writeSettings()
{
    const QStringList values = settingsValues();
    const bool written = writeXmlDocument(m_settingsPath, QStringLiteral("TaskTool"),
                                          [&values](QXmlStreamWriter& xml) {
        writeXmlRow(xml, QStringLiteral("Params"), kParamsAttributes, values);
    });
    if (!written) {
        // A settings file that was not written must not be reported as saved.
        ShowWarning(QStringLiteral("Предупреждение"),
                    QStringLiteral("Невозможно создать файл -") + m_settingsPath, this);
        return false;
    }
    m_savedSettings = values;

    m_statusLabel->setText(
        QStringLiteral(" Расчетный период: %1 %2 год. Модель сети  %3")
            .arg(m_periodNames.at(m_month), QString::number(ui->Period->value()), m_modelName));
    ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"), nullptr);
    return true;
}

void ZORVAN::closeEvent(QCloseEvent* event)
{
    const bool mayEnd = closeOtherWindows(this)
        && mayClose(this, settingsValues() != m_savedSettings, [this] { return writeSettings(); });
    // After a model load the tree shows tables that are gone: the program
    // ends whatever the question on the settings was answered.
    if (mayEnd || m_modelLoaded)
        event->accept();
    else
        event->ignore();
}

void ZORVAN::File_Dlg(int mode, const QString& dir, const QString& source)
{
    m_fileDlg->CreateList(mode, dir, source);
    placeWindow(m_fileDlg, QPoint(400, 200));
    m_fileDlg->show();
    m_fileDlg->raise();
}

void ZORVAN::File_DelDlg(const QString& dir)
{
    delete m_fileDelDlg;
    m_fileDelDlg = new CFileDelDlg(dir, this);
}

void ZORVAN::slot_SaveModel()
{
    if (MsgBox(QStringLiteral("Сохранить текущую модель сети?"),
               QStringLiteral("Сохранение модели сети")))
        return;
    m_fileMode = 0;
    File_Dlg(CFileDlg::Save, ZORVAN_PATH + "net/", QString());
}

void ZORVAN::slot_LoadModel()
{
    if (MsgBox(QStringLiteral("Текущая модель сети будет заменена новой. Продолжить?"),
               QStringLiteral("Загрузка новой модели сети")))
        return;
    m_fileMode = 1;
    File_Dlg(CFileDlg::Load, ZORVAN_PATH + "net/", QString());
}

void ZORVAN::slot_SaveModelA()
{
    if (MsgBox(QStringLiteral("Сохранить текущий архив?"), QStringLiteral("Сохранение архива потерь")))
        return;
    // The dialog copies the archive itself; its choice needs nothing more here.
    m_fileMode = 2;
    File_Dlg(CFileDlg::CopySource, ZORVAN_PATH + "arxives/", ZORVAN_PATH + "arxiv110.xml");
}

void ZORVAN::slot_LoadModelA()
{
    if (MsgBox(QStringLiteral("Текущий архив потерь будет заменен новым. Продолжить?"),
               QStringLiteral("Загрузка нового архива потерь")))
        return;
    m_fileMode = 3;
    File_Dlg(CFileDlg::Load, ZORVAN_PATH + "arxives/", QString());
}

void ZORVAN::slot_DelModel()
{
    File_DelDlg(ZORVAN_PATH + "net/");
}

void ZORVAN::slot_FilSelected(const QString& name)
{
    switch (m_fileMode) {
    case 0:
        // name is the full path inside "net/"; the model file is written
        // through a temporary file, so a failure keeps the old one.
        CreateNet(name);
        break;
    case 1: {
        m_fileDlg->hide();
        // Every other window holds rows of the model in force; each closes
        // before the load, asking about its edits, so that none can save them
        // over the new model. One left open stops the load.
        if (!closeOtherWindows(this))
            return;
        // A failed load has changed no table and warned itself: the old model
        // and its name stay in force and the program stays open.
        if (LoadNet(ZORVAN_PATH + "net/" + name) != 0)
            return;
        ShowWarning(QStringLiteral("Информация"),
                    QStringLiteral("Загружена новая сеть. Войдите в программу заново"), this);
        m_modelName = name;
        m_modelLoaded = true;
        slot_SaveTools();
        // The tree still shows the old model, so the whole program ends here.
        close();
        break;
    }
    case 3:
        m_fileDlg->hide();
        // The archive replaced stays as "arxiv110.bak", as after a merge: its
        // periods may be in no saved copy.
        if (copyFileReplacing(ZORVAN_PATH + "arxives/" + name, ZORVAN_PATH + "arxiv110.xml",
                              ZORVAN_PATH + "arxiv110.bak"))
            ShowWarning(QStringLiteral("Информация"), QStringLiteral("Загружен новый архив"), this);
        break;
    default:
        break;
    }
}

namespace {

template <class Dialog>
void showOwnDialog(QPointer<Dialog>& dialog, QWidget* parent)
{
    if (!dialog)
        dialog = new Dialog(parent);
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

void ZORVAN::slot_KatLinDlg()
{
    showOwnDialog(m_katLin, this);
}

void ZORVAN::slot_KatTRDlg()
{
    showOwnDialog(m_katTR, this);
}

void ZORVAN::slot_GrafikDlg()
{
    showOwnDialog(m_grafik, this);
}

void ZORVAN::slot_AboutPrg()
{
    m_aboutPrg->show();
    m_aboutPrg->raise();
}
