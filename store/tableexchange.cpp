#include "tableexchange.h"

#include "SaveInfo.h"

#include "messages.h"
#include "readregim.h"
#include "safefile.h"
#include "workbook.h"

#include <QFile>
#include <QFileInfo>
#include <QTextCodec>
#include <QTextStream>

namespace {

const QString kErrorTitle = QStringLiteral("Ошибка");
const QString kSheetName = QStringLiteral("Лист1");
// The import never looks below this row.
constexpr int kLastImportRow = 99999;

} // namespace

bool SaveXlsx(const QString& file, const QVector<QStringList>& rows)
{
    xlsx::Document book;
    book.addSheet(kSheetName);
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList& row = rows.at(i);
        for (int j = 0; j < row.size(); ++j)
            book.write(i + 1, j + 1, row.at(j));
    }
    if (book.saveAs(osFileName(file)))
        return true;
    ShowWarning(kErrorTitle, "Невозможно создать файл -" + file);
    return false;
}

QStringList LoadXlsx(const QString& file, int n)
{
    QStringList result;
    const QString name = osFileName(file);
    if (!QFileInfo(name).isFile()) {
        ShowWarning(kErrorTitle, "Файл не найден " + file);
        return result;
    }
    xlsx::Document book;
    if (!book.load(name)) {
        ShowWarning(kErrorTitle, "Ошибка чтения файла " + file);
        return result;
    }
    if (!book.selectSheet(kSheetName))
        book.selectSheet(book.sheetNames().value(0));

    // Row 1 is the header.
    for (int row = 2; row <= kLastImportRow; ++row) {
        if (book.read(row, 1).trimmed().isEmpty())
            break;
        QString text;
        for (int column = 1; column <= n; ++column) {
            // A ";" of a comment must not give the row another part.
            QString value = book.read(row, column).trimmed();
            value.replace(QLatin1Char(';'), QLatin1Char(','));
            text += value + QLatin1Char(';');
        }
        result.append(text);
    }
    return result;
}

void SaveCsv(const QString& file, const QVector<QStringList>& rows, const QString& header)
{
    QByteArray bytes = header.toUtf8() + '\n';
    for (const QStringList& row : rows)
        bytes += row.join(QLatin1Char(';')).toUtf8() + '\n';
    const QString name = osFileName(file);
    if (!writeBytes(name, bytes)) {
        // A link that leads out of the folder is refused, not merely unopened.
        if (QFileInfo(name).isSymLink() && writeTarget(name).isEmpty())
            warnCannotCreate(file);
        else
            ShowWarning(kErrorTitle, "Ошибка открытия файла " + file);
        return;
    }
    ShowWarning(QStringLiteral("Информация"), "Данные сохранены в файл " + file);
}

QStringList LoadCsv(const QString& file)
{
    QStringList lines;
    QFile in(osFileName(file));
    if (!in.open(QIODevice::ReadOnly)) {
        ShowWarning(kErrorTitle, "Ошибка чтения файла " + file);
        return lines;
    }
    QTextStream stream(&in);
    stream.setCodec("UTF-8");
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        if (!line.startsWith(QLatin1Char('*')))
            lines.append(line);
    }
    return lines;
}
