// Closing the windows that edit rows: an untouched window closes at once; edited, it asks
// "Сохранить изменения?", and "Да" saves, "Нет" drops the edit, "Отмена" keeps the window.

#include "dialogfixture.h"
#include "dialogs/CDlgLIN.h"
#include "dialogs/CDlgRES.h"
#include "dialogs/CDlgTblUchLIN.h"
#include "dialogs/CDlgVvodRES.h"

#include <QPointer>

namespace {

// A window on the examples' line 1,1,1 or its RES, the edit it takes (typed into a cell, ended by
// key), and the file that keeps it.
struct Case
{
    QString file;
    QString marker;
    std::function<QDialog*()> open;
    std::function<void(QDialog*, Qt::Key)> edit;
};

Case windowCase(const QString& window)
{
    if (window == "monthly input")
        return {"uch_lin.xml", "wp_nagr=\"7777\"", [] { return new CDlgVvodRES("1", "1", "Заречный РЭС"); },
                [](QDialog* w, Qt::Key key) {
                    auto* t = static_cast<CDlgVvodRES*>(w)->tableWgt;
                    for (int r = 0; r < t->rowCount(); ++r)
                        if (!t->isRowHidden(r))
                            return typeInto(t, r, 13, "7777", key);
                }};
    if (window == "monthly input lines")
        return {"lines.xml", "k_for=\"1.5\"", [] { return new CDlgVvodRES("1", "1", "Заречный РЭС"); },
                [](QDialog* w, Qt::Key key) { typeInto(static_cast<CDlgVvodRES*>(w)->tableLIN, 0, 11, "1.5", key); }};
    if (window == "sections editor")
        return {"uch_lin.xml", "name1=\"EDIT2\"", [] { return new CDlgTblUchLIN(nullptr); },
                [](QDialog* w, Qt::Key key) { typeInto(static_cast<CDlgTblUchLIN*>(w)->tableWgt, 0, 4, "EDIT2", key); }};
    if (window == "line dialog")
        return {"lines.xml", "dnlin=\"Л-99\"", [] { return new CDlgLIN("1,1,1", nullptr); },
                [](QDialog* w, Qt::Key) { static_cast<CDlgLIN*>(w)->DnLIN->setText("Л-99"); }};
    return {"res.xml", "dnres=\"Д-99\"", [] { return new CDlgRES(QString(), nullptr); },
            [](QDialog* w, Qt::Key) { static_cast<CDlgRES*>(w)->DnRES->setText("Д-99"); }};
}

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        resetCalcGlobals();
        NPES = NRES = NLIN = "1";
        UNOM = 110;
    }

    void asksBeforeDroppingEdits_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("answer");   // "" for a window left untouched
        QTest::addColumn<bool>("typing");      // the value left in its cell editor, the close box pressed
        for (const char* window : {"monthly input", "sections editor", "line dialog", "RES dialog"})
            for (const char* answer : {"", "Да", "Нет", "Отмена"})
                QTest::newRow(qPrintable(QString("%1, %2").arg(window, *answer ? answer : "untouched")))
                    << window << answer << false;
        for (const char* window : {"monthly input", "monthly input lines", "sections editor"})
            QTest::newRow(qPrintable(QString("%1, still typing, Да").arg(window))) << window << "Да" << true;
    }
    void asksBeforeDroppingEdits()
    {
        QFETCH(QString, window);
        QFETCH(QString, answer);
        QFETCH(bool, typing);
        Folder f(true);
        const Case c = windowCase(window);
        QPointer<QDialog> w = c.open();
        w->show();
        if (!answer.isEmpty())
            c.edit(w, typing ? Qt::Key_unknown : Qt::Key_Return);
        f.rec.clear();
        f.rec.saveAnswers = {answer == "Да" ? SaveAnswer::Save : answer == "Нет" ? SaveAnswer::Discard : SaveAnswer::Cancel};
        typing ? void(w->close()) : QTest::keyClick(w, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        const bool asked = !f.rec.messages.isEmpty() && f.rec.messages.first().kind == "save";
        QCOMPARE(asked, !answer.isEmpty());
        QCOMPARE(f.readFile(c.file).contains(c.marker.toUtf8()), answer == "Да");
        QCOMPARE(bool(w), answer == "Отмена");
        if (w) {   // the edit is still there to be saved
            QCOMPARE(f.rec.messages.first().window.data(), static_cast<QObject*>(w));   // the window asked itself
            w->findChild<QPushButton*>(window == "monthly input" ? "SaveButt" : "SaveButton")->click();
            QVERIFY(f.readFile(c.file).contains(c.marker.toUtf8()));
            delete w;
        }
    }

    // The line dialog takes its sections editor along: the editor asks first, and "Отмена" there
    // keeps both open.
    void lineDialogClosesItsSectionsEditorFirst()
    {
        Folder f(true);
        QPointer<CDlgLIN> dlg = new CDlgLIN("1,1,1", nullptr);
        dlg->show();
        dlg->InfoUchLin->click();
        QPointer<CDlgTblUchLIN> sections = dlg->m_pTblUchLIN;
        sections->tableWgt->item(0, 4)->setText("Правка");
        f.rec.clear();
        dlg->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(dlg && sections && sections->isVisible());
        QCOMPARE(f.rec.all(), QStringList{"Сохранение|Сохранить изменения?"});
        f.rec.saveAnswers = {SaveAnswer::Discard};
        dlg->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dlg && !sections);
        QVERIFY(!f.readFile("uch_lin.xml").contains("Правка"));
    }
};

QTEST_MAIN(TestClosing)
#include "tst_closing.moc"
