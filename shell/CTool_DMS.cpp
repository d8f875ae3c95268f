#include "CTool_DMS.h"

#include "store/messages.h"
#include "store/readregim.h"
#include "store/safefile.h"
#include "store/ui/placement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kWarningTitle = QStringLiteral("Предупреждение");
const QString kNothingChosen = QStringLiteral("Файл не выбран");

bool isSameFile(const QString& a, const QString& b)
{
    const QFileInfo fa(a);
    const QFileInfo fb(b);
    if (QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath()))
        return true;
    // A folder reached through a link can still lead back to the same file.
    const QString ca = fa.canonicalFilePath();
    return !ca.isEmpty() && ca == fb.canonicalFilePath();
}

} // namespace

QStringList listPlainFiles(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString pathInsideFolder(const QString& dir, const QString& name)
{
    return realPathInFolder(dir, QDir(dir).absoluteFilePath(name));
}

bool copyFileReplacing(const QString& source, const QString& target, const QString& backup)
{
    // Each file stays in its own folder: a link there that leads elsewhere
    // (to a live table, say) is neither read nor written through.
    const QString sourceFolder = QFileInfo(source).absolutePath();
    const FileBytes in = readFileBytes(realPathInFolder(sourceFolder, source));
    if (!in.readable) {
        ShowWarning(kWarningTitle, readRefusal(sourceFolder, source));
        return false;
    }
    const QString targetPath = realPathInFolder(QFileInfo(target).absolutePath(), target);
    if (targetPath.isEmpty()) {
        warnCannotCreate(target);
        return false;
    }
    StagedFiles files;
    if (!backup.isEmpty()) {
        const QString backupPath = realPathInFolder(QFileInfo(backup).absolutePath(), backup);
        if (backupPath.isEmpty() || !files.stageCopy(targetPath, backupPath)) {
            warnCannotCreate(backup);
            return false;
        }
    }
    if (!files.stageBytes(targetPath, in.bytes)) {
        warnCannotCreate(target);
        return false;
    }
    return commitStaged(files);
}

CDlgAboutPrg::CDlgAboutPrg(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
}

CDlgAboutPrg::~CDlgAboutPrg() = default;

CFileDlg::CFileDlg(QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    connect(OKButt, &QPushButton::clicked, this, &CFileDlg::OK);
    connect(FileList, &QListWidget::clicked, this, &CFileDlg::Fill);
}

CFileDlg::~CFileDlg() = default;

void CFileDlg::CreateList(int mode, const QString& dir, const QString& source)
{
    m_mode = mode;
    m_dir = dir;
    m_source = source;
    FileList->clear();
    lineEdit->clear();

    if (mode == Load) {
        label->setText(QStringLiteral("Выберите нужный файл и нажмите ОК"));
        setWindowTitle(QStringLiteral("Загрузка файла"));
        lineEdit->hide();
    } else {
        label->setText(QStringLiteral("Введите имя файла в строке и нажмите ОК"));
        setWindowTitle(QStringLiteral("Сохранение файла"));
        lineEdit->show();
    }

    m_files = listPlainFiles(dir);
    FileList->addItems(m_files);
    if (!m_files.isEmpty())
        lineEdit->setText(m_files.first());
}

void CFileDlg::Fill()
{
    if (QListWidgetItem* item = FileList->currentItem())
        lineEdit->setText(item->text());
}

void CFileDlg::OK()
{
    // A load takes the chosen row; a save or copy takes the name in the line,
    // which a click on a row fills.
    QString name;
    if (m_mode == Load) {
        const QList<QListWidgetItem*> selected = FileList->selectedItems();
        if (!selected.isEmpty())
            name = selected.first()->text();
    } else {
        name = lineEdit->text();
    }
    hide();
    QWidget* owner = parentWidget();

    // A blank name would make the folder itself the target.
    if (name.trimmed().isEmpty()) {
        ShowWarning(QString(), kNothingChosen, owner);
        return;
    }
    if (m_mode == Load) {
        emit signalFileDialogSelected(name);
        return;
    }

    const QString typed = m_dir + name;
    if (m_mode == CopySource && isSameFile(typed, m_source)) {
        ShowWarning(QStringLiteral("Ошибка"), QStringLiteral("Нельзя скопировать файл в себя"), owner);
        return;
    }
    // A typed name leading out of the folder ("../pes.xml") could overwrite a
    // live table or write outside the working directory.
    const QString target = pathInsideFolder(m_dir, name);
    if (target.isEmpty()) {
        ShowWarning(kWarningTitle, "Невозможно создать файл -" + typed, owner);
        return;
    }
    if (m_mode == Save) {
        emit signalFileDialogSelected(target);
        return;
    }
    if (copyFileReplacing(m_source, target))
        ShowWarning(QStringLiteral("Информация"), QStringLiteral("Данные сохранены"), owner);
}

CFileDelDlg::CFileDelDlg(const QString& dir, QWidget* parent)
    : QWidget(parent)
    , m_dir(dir)
{
    setupUi(this);
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    connect(OKButt, &QPushButton::clicked, this, &CFileDelDlg::OK);
    CreateList();
    placeWindow(this, QPoint(120, 120));
    show();
}

CFileDelDlg::~CFileDelDlg() = default;

void CFileDelDlg::CreateList()
{
    FileList->clear();
    m_files = listPlainFiles(m_dir);
    FileList->addItems(m_files);
}

void CFileDelDlg::OK()
{
    if (MsgBox(QStringLiteral("Удаление"), QStringLiteral("Удалить данные?")))
        return;
    const QList<QListWidgetItem*> selected = FileList->selectedItems();
    if (selected.isEmpty())
        ShowWarning(QString(), kNothingChosen, this);
    else
        QFile::remove(m_dir + selected.first()->text());
    close();
}
