#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "app/help/HelpViewer.h"

namespace {

const QString kResourceHelp = QStringLiteral(":/AYUDA9C/AYUDA9C.html");

QString fileText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

// A small help file of its own in `dir`: the contents page, the index and the pages named.
QString writeHelp(const QTemporaryDir& dir, const QString& index, const QStringList& pages) {
    const QString helpFile = dir.filePath(QStringLiteral("AYUDA.html"));
    writeFile(helpFile, QStringLiteral("<html><head><title>Contenido</title></head>"
                                       "<body><p>Temas de prueba</p></body></html>"));
    writeFile(dir.filePath(QStringLiteral("AYUDA.idx")), index);
    for (const QString& page : pages)
        writeFile(dir.filePath(page),
                  QStringLiteral("<html><body><p>Página %1</p></body></html>").arg(page));
    return helpFile;
}

quintptr keyword(const char* text) {
    return reinterpret_cast<quintptr>(text);
}

QStringList resultFiles(const HelpViewer* viewer) {
    QStringList files;
    for (int row = 0; row < viewer->searchResults()->count(); ++row)
        files << viewer->searchResults()->item(row)->data(Qt::UserRole).toString();
    return files;
}

QString shownFile(const HelpViewer* viewer) {
    const HelpTopic* topic = viewer->currentTopic();
    return topic ? topic->file : QString();
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void init() { WinHelp(nullptr, bundledHelpFile(), HELP_CONTENTS, 0); }

    void theBundledHelpLoadsWithoutFaults() {
        const HelpIndex index = HelpIndex::load(bundledHelpFile());
        QVERIFY2(index.isValid(), qPrintable(index.error()));
        QVERIFY(index.contents());
        QVERIFY(index.helpOnHelp());
    }

    // Every help context number of the menus and windows, with the menu caption its topic
    // must name and a phrase that shows it is the right topic.
    void everyContextShowsItsTopic_data() {
        QTest::addColumn<unsigned>("context");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("phrase");
        QTest::newRow("1 Archivo") << 1u << "Archivo"
                                   << "Ctrl+N";
        QTest::newRow("2 Nuevo and the study window") << 2u << "Nuevo"
                                                      << "Nivel 1 , Replica 1";
        QTest::newRow("3 Abrir") << 3u << "Abrir..."
                                 << "Abrir Documento";
        QTest::newRow("4 Cerrar") << 4u << "Cerrar"
                                  << "Guardar archivo?";
        QTest::newRow("5 Guardar") << 5u << "Guardar"
                                   << "Ctrl+G";
        QTest::newRow("6 Guardar como") << 6u << "Guardar como..."
                                        << "reemplazarlo";
        QTest::newRow("7 Imprimir") << 7u << "Imprimir..."
                                    << "Lasser";
        QTest::newRow("8 Salir") << 8u << "Salir"
                                 << "termina el programa";
        QTest::newRow("10 Cálculos") << 10u << "Cálculos"
                                     << "Aceptar replicas por nivel";
        QTest::newRow("11 results window") << 11u << "Detección y Cuantificación"
                                           << "LC = 10 · s / b";
        QTest::newRow("19 Informe and the report window") << 19u << "Informe"
                                                          << "cierran la ventana del informe";
        QTest::newRow("20 Ventana") << 20u << "Mosaico"
                                    << "Cascada";
        QTest::newRow("30 Ayuda") << 30u << "Ayuda"
                                  << "Ctrl+F1";
        QTest::newRow("31 Contenido") << 31u << "Contenido"
                                      << "F1";
        QTest::newRow("32 Buscar ayuda") << 32u << "Buscar ayuda sobre..."
                                         << "Temas encontrados";
        QTest::newRow("33 Acerca de") << 33u << "Acerca..."
                                      << "QORVAL v.w. 3.1";
    }
    void everyContextShowsItsTopic() {
        QFETCH(unsigned, context);
        QFETCH(QString, caption);
        QFETCH(QString, phrase);
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, context);
        HelpViewer* viewer = helpViewer();
        QVERIFY(viewer && viewer->isVisible());
        const HelpTopic* topic = viewer->currentTopic();
        QVERIFY2(topic, "no topic shown");
        QVERIFY(topic->contexts.contains(context));
        QVERIFY(!topic->title.isEmpty());
        QCOMPARE(viewer->browser()->documentTitle(), topic->title);
        const QString text = viewer->browser()->toPlainText();
        QVERIFY2(text.size() > 400, qPrintable(topic->file + " is too short"));
        QVERIFY2(text.contains(caption), qPrintable(caption));
        QVERIFY2(text.contains(phrase), qPrintable(phrase));
        QVERIFY(viewer->note()->isHidden());
    }

    void contentsAndHelpOnHelpShowTheirPages() {
        WinHelp(nullptr, bundledHelpFile(), HELP_HELPONHELP, 0);
        HelpViewer* viewer = helpViewer();
        QCOMPARE(viewer->currentTopic(), viewer->index().helpOnHelp());
        QCOMPARE(viewer->browser()->documentTitle(), QStringLiteral("Cómo usar la ayuda"));

        WinHelp(nullptr, bundledHelpFile(), HELP_CONTENTS, 0);
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QVERIFY(viewer->browser()->toPlainText().contains(
            QStringLiteral("Límite de Detección y Cuantificación del Método")));
        QCOMPARE(viewer->windowTitle(),
                 QStringLiteral("Ayuda - Límite de Detección y Cuantificación del Método"));
    }

    void anUnknownContextShowsTheContentsWithANote() {
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, 99);
        HelpViewer* viewer = helpViewer();
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QVERIFY(viewer->note()->isVisible());
        QVERIFY(viewer->note()->text().contains(QStringLiteral("contexto 99")));

        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, 5);
        QVERIFY(viewer->note()->isHidden());
    }

    void oneViewerServesEveryRequest() {
        HelpViewer* first = helpViewer();
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, 3);
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, keyword(""));
        QCOMPARE(helpViewer(), first);
        int viewers = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            viewers += qobject_cast<HelpViewer*>(window) ? 1 : 0;
        QCOMPARE(viewers, 1);
        QVERIFY(first->isWindow());
        QVERIFY(!first->isModal());
    }

    void theViewerBelongsToItsOwnersWindow() {
        auto* frame = new QWidget;
        auto* child = new QWidget(frame);
        frame->show();
        WinHelp(child, bundledHelpFile(), HELP_CONTENTS, 0);
        QPointer<HelpViewer> viewer = helpViewer();
        QCOMPARE(viewer->parentWidget(), frame);
        QVERIFY(viewer->isWindow());
        delete frame;  // the help closes with the program's frame
        QVERIFY(viewer.isNull());
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTENTS, 0);
        QVERIFY(helpViewer());
    }

    void backAndForwardRetraceTheTopicsSeen() {
        HelpViewer* viewer = helpViewer();
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, 1);
        const QString first = shownFile(viewer);
        WinHelp(nullptr, bundledHelpFile(), HELP_CONTEXT, 11);
        const QString second = shownFile(viewer);
        QVERIFY(viewer->browser()->isBackwardAvailable());
        QTest::keyClick(viewer->browser(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(shownFile(viewer), first);
        QVERIFY(viewer->browser()->isForwardAvailable());
        viewer->browser()->forward();
        QCOMPARE(shownFile(viewer), second);
    }

    void theEmptyPartialKeyOpensTheSearchOverEveryTopic() {
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, keyword(""));
        HelpViewer* viewer = helpViewer();
        QVERIFY(viewer->searchPanel()->isVisible());
        QVERIFY(viewer->searchField()->text().isEmpty());
        QCOMPARE(viewer->searchResults()->count(), viewer->index().topics().size());
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
    }

    void typingAKeywordAndPressingEnterShowsTheBestTopic() {
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, 0);
        HelpViewer* viewer = helpViewer();
        QTest::keyClicks(viewer->searchField(), QStringLiteral("cuantificacion"));
        QVERIFY(viewer->searchResults()->count() > 1);  // many pages mention it
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        QCOMPARE(viewer->currentTopic(), viewer->index().byContext(11));
    }

    void theArrowsChooseAmongTheTopicsFoundWithoutLeavingTheField() {
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, keyword("guardar"));
        HelpViewer* viewer = helpViewer();
        const QStringList found = resultFiles(viewer);
        QVERIFY(found.size() >= 3);
        QTest::keyClick(viewer->searchField(), Qt::Key_Down);
        QTest::keyClick(viewer->searchField(), Qt::Key_Down);
        QTest::keyClick(viewer->searchField(), Qt::Key_Up);
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        QCOMPARE(shownFile(viewer), found[1]);
        QCOMPARE(viewer->searchField()->text(), QStringLiteral("guardar"));
    }

    void clickingAFoundTopicShowsIt() {
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, keyword("guardar"));
        HelpViewer* viewer = helpViewer();
        QListWidget* list = viewer->searchResults();
        QVERIFY(list->count() >= 2);
        QListWidgetItem* item = list->item(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(item).center());
        QCOMPARE(shownFile(viewer), item->data(Qt::UserRole).toString());
        QCOMPARE(viewer->browser()->documentTitle(), item->text());
    }

    // The first topic found for what the analyst types; case and accents do not matter and
    // a keyword's beginning is enough.
    void theSearchRanksKeywordsFirst_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<unsigned>("context");
        QTest::newRow("without accent") << "cuantificacion" << 11u;
        QTest::newRow("upper case with accent") << "CUANTIFICACIÓN" << 11u;
        QTest::newRow("beginning of a keyword") << "cuantif" << 11u;
        QTest::newRow("keyword also found in many texts") << "mosaico" << 20u;
        QTest::newRow("shortcut") << "Ctrl+G" << 5u;
        QTest::newRow("statistic") << "r²" << 11u;
        QTest::newRow("words of a title") << "ayuda sobre" << 32u;
    }
    void theSearchRanksKeywordsFirst() {
        QFETCH(QString, typed);
        QFETCH(unsigned, context);
        const HelpIndex index = HelpIndex::load(bundledHelpFile());
        const QList<const HelpTopic*> found = index.search(typed);
        QVERIFY(!found.isEmpty());
        QCOMPARE(found.first()->file, index.byContext(context)->file);
    }

    void aWordNoTopicHoldsFindsNothing() {
        WinHelp(nullptr, bundledHelpFile(), HELP_PARTIALKEY, keyword("xilófono"));
        HelpViewer* viewer = helpViewer();
        QCOMPARE(viewer->searchResults()->count(), 0);
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);  // nothing to show, no crash
        QVERIFY(viewer->currentTopic());
    }

    void aPartialKeyThatFindsOneTopicShowsIt() {
        QTemporaryDir dir;
        const QString help = writeHelp(dir,
                                       QStringLiteral(" | AYUDA.html | Contenido | contenido\n"
                                                      "1 | alfa.html | Alfa | primera\n"
                                                      "2 | beta.html | Beta | segunda\n"),
                                       {QStringLiteral("alfa.html"), QStringLiteral("beta.html")});
        WinHelp(nullptr, help, HELP_PARTIALKEY, keyword("segun"));
        HelpViewer* viewer = helpViewer();
        QCOMPARE(resultFiles(viewer), QStringList{QStringLiteral("beta.html")});
        QCOMPARE(shownFile(viewer), QStringLiteral("beta.html"));
    }

    // Each link of a page leads to a page of the index, and each page of the folder is
    // in the index, so no topic is unreachable and no link is dead.
    void everyLinkLeadsToATopicAndEveryPageIsIndexed() {
        const HelpIndex index = HelpIndex::load(kResourceHelp);
        QVERIFY2(index.isValid(), qPrintable(index.error()));
        const QDir folder(QStringLiteral(":/AYUDA9C"));
        const QRegularExpression link(QStringLiteral("<a href=\"([^\"]*)\""));
        const QStringList pages = folder.entryList({QStringLiteral("*.html")});
        QCOMPARE(pages.size(), index.topics().size());
        for (const QString& page : pages) {
            QVERIFY2(index.byFile(page), qPrintable(page + " is not in the index"));
            const QString html = fileText(folder.filePath(page));
            for (const QRegularExpressionMatch& m : link.globalMatch(html)) {
                const QString target = m.captured(1);
                const QString file = target.section('#', 0, 0);
                const QString anchor = target.section('#', 1);
                const QString where = page + " -> " + target;
                QVERIFY2(index.byFile(file.isEmpty() ? page : file), qPrintable(where));
                if (!anchor.isEmpty()) {
                    const QString targetHtml =
                        fileText(folder.filePath(file.isEmpty() ? page : file));
                    QVERIFY2(targetHtml.contains("name=\"" + anchor + "\""), qPrintable(where));
                }
            }
        }
    }

    void theContentsLeadToEveryMenuTopic() {
        const HelpIndex index = HelpIndex::load(kResourceHelp);
        const QString contents = fileText(QStringLiteral(":/AYUDA9C/AYUDA9C.html"));
        for (const HelpTopic& topic : index.topics()) {
            if (!topic.contexts.isEmpty() || topic.helpOnHelp)
                QVERIFY2(contents.contains("href=\"" + topic.file + "\""), qPrintable(topic.file));
        }
    }

    void faultsInTheIndexAreReportedInSpanish_data() {
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("topicsLoaded");
        const QString contents = QStringLiteral(" | AYUDA.html | Contenido | contenido\n");
        QTest::newRow("field missing") << contents + "1 | alfa.html | Alfa\n"
                                       << "Línea 2 del índice" << 1;
        QTest::newRow("context not a number") << contents + "uno | alfa.html | Alfa | a\n"
                                              << "contexto «uno»" << 1;
        QTest::newRow("context given twice")
            << contents + "1 | alfa.html | Alfa | a\n1 | beta.html | Beta | b\n"
            << "Línea 3 del índice de la ayuda: contexto «1»" << 2;
        QTest::newRow("page missing") << contents + "3 | gamma.html | Gamma | g\n"
                                      << "no se encontró el tema «gamma.html»" << 1;
        QTest::newRow("no contents page") << QStringLiteral("1 | alfa.html | Alfa | a\n")
                                          << "no incluye la página de contenido" << 1;
    }
    void faultsInTheIndexAreReportedInSpanish() {
        QFETCH(QString, index);
        QFETCH(QString, fault);
        QFETCH(int, topicsLoaded);
        QTemporaryDir dir;
        const QString help =
            writeHelp(dir, index, {QStringLiteral("alfa.html"), QStringLiteral("beta.html")});
        const HelpIndex loaded = HelpIndex::load(help);
        QVERIFY(!loaded.isValid());
        QVERIFY2(loaded.error().contains(fault), qPrintable(loaded.error()));
        QCOMPARE(loaded.topics().size(), topicsLoaded);
    }

    void aMissingHelpFileIsSaidInTheViewer() {
        const QString missing = QDir::temp().filePath(QStringLiteral("no-existe/AYUDA9C.html"));
        WinHelp(nullptr, missing, HELP_CONTEXT, 2);
        HelpViewer* viewer = helpViewer();
        QVERIFY(viewer->isVisible());
        QVERIFY(viewer->note()->isVisible());
        QVERIFY(
            viewer->note()->text().contains(QStringLiteral("No se encontró el archivo de ayuda")));
        QVERIFY(!viewer->currentTopic());
    }

    void theBundledHelpFileIsAbsoluteAndExists() {
        const QFileInfo help(bundledHelpFile());
        QVERIFY(help.isAbsolute());
        QVERIFY(help.exists());
        QCOMPARE(help.fileName(), QStringLiteral("AYUDA9C.html"));
    }

    void theHelpIsFoundBesideTheProgramOrCompiledIn() {
        QTemporaryDir program;
        QCOMPARE(helpFileBeside(program.path()), kResourceHelp);
        QVERIFY(QFileInfo::exists(helpFileBeside(program.path())));

        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("AYUDA9C")));
        const QString onDisk = program.filePath(QStringLiteral("AYUDA9C/AYUDA9C.html"));
        QVERIFY(writeFile(onDisk, QStringLiteral("<html></html>")));
        QCOMPARE(helpFileBeside(program.path()), onDisk);
    }

    // The build copies the help folder next to the program; the copy must be the same
    // help the program has compiled in.
    void theProgramFolderHoldsTheSameHelp() {
        const QString copied = helpFileBeside(QStringLiteral(LDC_PROGRAM_DIR));
        QVERIFY2(!copied.startsWith(QLatin1String(":/")), "the help was not copied");
        const QDir onDisk = QFileInfo(copied).dir();
        const QDir compiled(QStringLiteral(":/AYUDA9C"));
        QCOMPARE(onDisk.entryList(QDir::Files), compiled.entryList(QDir::Files));
        for (const QString& file : compiled.entryList(QDir::Files))
            QVERIFY2(fileText(onDisk.filePath(file)) == fileText(compiled.filePath(file)),
                     qPrintable(file));
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    HelpViewerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HelpViewerTest.moc"
