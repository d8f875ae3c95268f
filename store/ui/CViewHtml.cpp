#include "CViewHtml.h"

#include "store/SaveInfo.h"
#include "store/ui/placement.h"
#include "store/ui/printpages.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopedPointer>
#include <QTextDocument>

namespace {

// A table cell narrower than its text wraps it between words only, never
// inside one: "12539.498" or "Комментарий" stay whole on screen and on paper
// (the toolkit's default breaks anywhere once a word does not fit). The
// report files stay as written; this is the document's own default.
void keepWordsWhole(QTextDocument* doc)
{
    QTextOption option = doc->defaultTextOption();
    option.setWrapMode(QTextOption::WordWrap);
    doc->setDefaultTextOption(option);
}

} // namespace

CViewHtml::CViewHtml(QString name, QString kind, QWidget* parent)
    : QWidget(parent)
{
    setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);

    connect(m_ActNext, &QPushButton::clicked, this, &CViewHtml::OnActNextClick);
    connect(m_ActPrev, &QPushButton::clicked, this, &CViewHtml::OnActPrevClick);
    connect(m_ValueFind, &QLineEdit::returnPressed, this, [this] { FindTextInEditor(false); });
    connect(m_PreviewButton, &QPushButton::clicked, this, &CViewHtml::OnPrintPreviewClick);

    placeWindow(this, QPoint(20, 20));
    setWindowTitle(name);

    // The same name mapping as the writers, so a report of "A/B" is found.
    const bool html = kind == QLatin1String("html");
    const QString path = html ? reportFilePath(name) : logFilePath(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        // Never shown, so nobody could close it: it goes by itself.
        deleteLater();
        return;
    }
    m_text = QString::fromUtf8(file.readAll());
    file.close();

    if (!m_pDoc)
        m_pDoc = new QTextDocument(this);
    // Reports carry their own body font; this one shows mainly in logs.
    QFont font = QApplication::font();
    font.setPointSize(11);
    m_pDoc->setDefaultFont(font);
    textEdit->setFont(font);
    if (html)
        m_pDoc->setHtml(m_text);
    else
        m_pDoc->setPlainText(m_text);

    // The editor gives its own wrap mode to the document it shows.
    textEdit->setWordWrapMode(QTextOption::WordWrap);
    textEdit->setDocument(m_pDoc);
    textEdit->setCurrentFont(font);
    show();
}

CViewHtml::~CViewHtml() = default;

bool CViewHtml::FindTextInEditor(bool backward)
{
    const QString needle = m_ValueFind->text();
    if (!m_pDoc || needle.isEmpty())
        return false;
    QTextDocument::FindFlags flags;
    if (backward)
        flags |= QTextDocument::FindBackward;
    const QTextCursor found = m_pDoc->find(needle, textEdit->textCursor(), flags);
    if (found.isNull() || !found.hasSelection())
        return false;
    textEdit->setTextCursor(found);
    return true;
}

void CViewHtml::OnActNextClick(bool)
{
    FindTextInEditor(false);
}

void CViewHtml::OnActPrevClick(bool)
{
    FindTextInEditor(true);
}

QTextDocument* CViewHtml::createPrintDocument() const
{
    auto* doc = new QTextDocument();
    keepWordsWhole(doc);
    doc->setHtml(textEdit->toHtml());
    return doc;
}

void CViewHtml::choosePageLayout(QPrinter* printer, QTextDocument* doc)
{
    printer->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    printer->setPageOrientation(QPageLayout::Portrait);
    const qreal pageWidth = printer->pageLayout().paintRectPixels(printer->resolution()).width();
    // Laid out on the portrait width, a table whose words cannot wrap any
    // further comes out wider than the page: it gets landscape pages.
    doc->setTextWidth(pageWidth);
    if (doc->documentLayout()->documentSize().width() > pageWidth + 0.5)
        printer->setPageOrientation(QPageLayout::Landscape);
    doc->setTextWidth(-1);
}

QPrintPreviewDialog* CViewHtml::createPrintPreview(QPrinter* printer, QTextDocument* doc)
{
    auto* dialog = new QPrintPreviewDialog(printer, nullptr);
    connect(dialog, &QPrintPreviewDialog::paintRequested, doc,
            [doc](QPrinter* target) { printDocument(doc, target); });
    return dialog;
}

void CViewHtml::OnPrintPreviewClick(bool)
{
    if (!m_pDoc)
        return;
    QPrinter printer(QPrinter::ScreenResolution);
    QScopedPointer<QTextDocument> doc(createPrintDocument());
    choosePageLayout(&printer, doc.data());
    QScopedPointer<QPrintPreviewDialog> dialog(createPrintPreview(&printer, doc.data()));
    dialog->exec();
}
