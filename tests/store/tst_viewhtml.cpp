// The report viewer: what it reads, its search (case-insensitive, no wrap)
// and its print preview, on the offscreen platform.

#include "store/ui/CViewHtml.h"
#include "store/ui/widgetmessages.h"
#include "testsupport.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QtTest>

class TestViewHtml : public QObject
{
    Q_OBJECT
    TempWorkDir m_dir;

private slots:
    void initTestCase() { initZorvanResources(); }

    // Forward to the last match and no further, back to the first and no further.
    void searchWalksWithoutWrap()
    {
        m_dir.writeFile("poisk.log", "Линия а. линия б. ЛИНИЯ в. Подлиния");
        QScopedPointer<CViewHtml> viewer(new CViewHtml("poisk.log", ""));
        viewer->m_ValueFind->setText("лИНия");
        QList<int> starts;
        for (const QChar step : QStringLiteral("nnnnnpppp")) {   // next, previous
            (step == 'n' ? viewer->m_ActNext : viewer->m_ActPrev)->click();
            QCOMPARE(viewer->textEdit->textCursor().selectedText().toLower(), QStringLiteral("линия"));
            starts.append(viewer->textEdit->textCursor().selectionStart());
        }
        QCOMPARE(starts, QList<int>({0, 9, 18, 30, 30, 18, 9, 0, 0}));
    }

    // A report is found under its safe file name and printed as edited; a log
    // is shown as plain text; a viewer without its file is deleted.
    void readsTheRightFileAndPrintsIt()
    {
        m_dir.writeFile("html/Л-1_2.html", "<p>Потери <b>РЭС</b></p>");
        m_dir.writeFile("ошибки.log", "<p>как есть</p>");
        QScopedPointer<CViewHtml> log(new CViewHtml("ошибки.log", ""));
        QCOMPARE(log->textEdit->toPlainText(), QStringLiteral("<p>как есть</p>"));
        QPointer<CViewHtml> missing = new CViewHtml("нет такого", "html");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(missing.isNull());

        QScopedPointer<CViewHtml> viewer(new CViewHtml("Л-1/2", "html"));
        QVERIFY(viewer->isLoaded() && viewer->isVisible());
        QCOMPARE(viewer->windowTitle() + "|" + viewer->textEdit->toPlainText(), QStringLiteral("Л-1/2|Потери РЭС"));
        viewer->textEdit->append(QStringLiteral("ПРАВКА"));
        QScopedPointer<QTextDocument> doc(viewer->createPrintDocument());
        QCOMPARE(doc->toPlainText(), QStringLiteral("Потери РЭС\nПРАВКА"));
        QPrinter printer(QPrinter::ScreenResolution);
        QScopedPointer<QPrintPreviewDialog> dialog(CViewHtml::createPrintPreview(&printer, doc.data()));
        dialog->show();   // not exec: the preview renders its pages when shown
        auto* preview = dialog->findChild<QPrintPreviewWidget*>();
        QVERIFY(preview && preview->pageCount() >= 1);
    }

    // A cell narrower than its text wraps between words only, on screen and
    // in what is printed; a table wider than a portrait page prints landscape.
    void printLayout_data()
    {
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("orientation");
        QTest::newRow("fits a portrait page") << 3 << int(QPageLayout::Portrait);
        QTest::newRow("wider than a portrait page") << 12 << int(QPageLayout::Landscape);
    }

    void printLayout()
    {
        QFETCH(int, columns);
        const QString cell = "<td>12539.498 Комментарий</td>";
        m_dir.writeFile("html/Отчет.html", ("<table border='1' width='100%'><tr>" + cell.repeated(columns)
                                            + "</tr></table>").toUtf8());
        QScopedPointer<CViewHtml> viewer(new CViewHtml("Отчет", "html"));
        QScopedPointer<QTextDocument> print(viewer->createPrintDocument());
        QPrinter printer(QPrinter::ScreenResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        CViewHtml::choosePageOrientation(&printer, print.data());
        QTEST(int(printer.pageLayout().orientation()), "orientation");
        for (QTextDocument* doc : {viewer->textEdit->document(), print.data()}) {
            doc->setTextWidth(40);
            doc->size();   // lays the document out now
            const QTextBlock block = doc->find("12539.498").block();
            QStringList lines;
            for (int i = 0; i < block.layout()->lineCount(); ++i)
                lines.append(block.text().mid(block.layout()->lineAt(i).textStart(),
                                              block.layout()->lineAt(i).textLength()).trimmed());
            QCOMPARE(lines, (QStringList{"12539.498", "Комментарий"}));
        }
    }
};

QTEST_MAIN(TestViewHtml)
#include "tst_viewhtml.moc"
