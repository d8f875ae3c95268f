#pragma once
// The window that shows a report (kind "html") or a text log (any other kind),
// with a search line and a print preview. Created with new for each report,
// it deletes itself when closed; nobody keeps it.

#include "ui_CViewHtml.h"

#include <QString>
#include <QWidget>

class QPrinter;
class QPrintPreviewDialog;
class QTextDocument;

class CViewHtml : public QWidget, public Ui_CViewHtml
{
    Q_OBJECT

public:
    // Reads the report or log of name once and shows it; the window title is
    // name. A file that cannot be read shows nothing and the viewer deletes
    // itself at the next pass of the event loop.
    CViewHtml(QString name, QString kind, QWidget* parent = nullptr);
    ~CViewHtml() override;

    bool isLoaded() const { return m_pDoc != nullptr; }

    // Searches the document from the editor's cursor, case-insensitively, and
    // selects the match. No wrap: without a match nothing changes. Returns
    // whether a match was found.
    bool FindTextInEditor(bool backward);

    // What the print preview prints: a separate copy of what the editor holds
    // now, edits included, with words and numbers kept whole in table cells.
    // The caller owns it.
    QTextDocument* createPrintDocument() const;
    // Margins of 10 mm; portrait pages, or landscape when doc laid out on a
    // portrait page is wider than the page (a table whose cells cannot wrap
    // any further).
    static void choosePageLayout(QPrinter* printer, QTextDocument* doc);
    // The preview dialog of doc on printer, no parent, printing it as
    // printDocument does; the caller runs it and deletes it before doc.
    static QPrintPreviewDialog* createPrintPreview(QPrinter* printer, QTextDocument* doc);

public slots:
    void OnActNextClick(bool checked);
    void OnActPrevClick(bool checked);
    void OnPrintPreviewClick(bool checked);

private:
    QTextDocument* m_pDoc = nullptr;
    QString m_text;
};
