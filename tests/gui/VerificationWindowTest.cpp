// The verification window, opened from the Help menu with or without a study.

#include <QClipboard>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "FrameFixture.h"
#include "ScriptedDialogs.h"
#include "calc/ui/VerificationWindow.h"

class VerificationWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { startFrame(); }
    void cleanup() { stopFrame(); }

    // Available at start-up; the window shows every check passing in a table the analyst
    // cannot edit but can copy from.
    void opensWithEveryCheckPassing() {
        ScriptedDialogs dialogs;
        TRIGGER_ENABLED(frameAction("HelpVerifyItem"));
        QCOMPARE(openChildren().size(), 1);
        auto* form = qobject_cast<VerificationWindow*>(openChildren()[0]->widget());
        QVERIFY(form);
        QTableWidget* table = form->tablaVerificacion;
        QCOMPARE(table->rowCount(), 27);
        for (int r = 0; r < table->rowCount(); ++r)
            QCOMPARE(table->item(r, 6)->text(), QStringLiteral("Cumple"));
        QCOMPARE(form->lresumen->text(),
                 QStringLiteral("Verificación superada: cumplen las 27 comprobaciones."));
        QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);

        table->setRangeSelected(QTableWidgetSelectionRange(0, 1, 1, 2), true);
        form->findChild<QAction*>(QStringLiteral("copiar"))->trigger();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Pendiente\t0.991667\nLímite superior del intervalo de la "
                                "pendiente\t1.05674"));
        QVERIFY(dialogs.errors.isEmpty());
    }

    // Printed (to a PDF file chosen in the print dialog) or exported, the document lands
    // whole under its name, with nothing left beside it.
    void printsAndExportsThePdf() {
        for (const char* button : {"btnimprimir", "btnpdf"}) {
            ScriptedDialogs dialogs;
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("verificacion.pdf"));
            dialogs.saveAnswers.push_back(path);
            dialogs.printAnswers.push_back(true);
            dialogs.configurePrinter = [&](QPrinter* printer) {
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(path);
            };
            TRIGGER_ENABLED(frameAction("HelpVerifyItem"));
            auto* form = qobject_cast<VerificationWindow*>(openChildren().last()->widget());
            QTest::mouseClick(form->findChild<QPushButton*>(button), Qt::LeftButton);
            QVERIFY(dialogs.errors.isEmpty());
            QCOMPARE(dialogs.printDialogs + 2 * dialogs.saveRequests.size(),
                     qstrcmp(button, "btnimprimir") == 0 ? 1 : 2);
            QFile pdf(path);
            QVERIFY2(pdf.open(QIODevice::ReadOnly), button);
            QVERIFY(pdf.read(5) == "%PDF-");
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"verificacion.pdf"});
        }
    }
};

LDC_WIDGET_TEST_MAIN(VerificationWindowTest)
#include "VerificationWindowTest.moc"
