// The help viewer behind the program's four help requests, on the bundled help.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include "app/help/HelpViewer.h"

namespace {

HelpViewer* request(unsigned command, quintptr data = 0, const QString& file = bundledHelpFile()) {
    WinHelp(nullptr, file, command, data);
    return helpViewer();
}

quintptr keyword(const char* text) {
    return reinterpret_cast<quintptr>(text);
}

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    // Every help context number of the menus and windows shows the topic that names the
    // menu item or window it was asked from.
    void everyContextShowsItsTopic() {
        // clang-format off
        const std::pair<unsigned, const char*> contexts[] = {
            {1, "Archivo"}, {2, "Nivel 1 , Replica 1"}, {3, "Abrir..."}, {4, "Cerrar"},
            {5, "Guardar"}, {6, "Guardar como..."}, {7, "Imprimir..."}, {8, "Salir"},
            {10, "Cálculos"}, {11, "LC = 10 · s / b"}, {19, "cierran la ventana del informe"},
            {20, "Mosaico"}, {30, "Ctrl+F1"}, {31, "Contenido"}, {32, "Buscar ayuda sobre..."},
            {33, "QORVAL v.w. 3.1"}};
        // clang-format on
        for (const auto& [context, caption] : contexts) {
            const HelpViewer* viewer = request(HELP_CONTEXT, context);
            QVERIFY(viewer->isVisible());
            QVERIFY2(viewer->currentTopic() && viewer->currentTopic()->contexts.contains(context),
                     qPrintable(QString::number(context)));
            QVERIFY2(viewer->browser()->toPlainText().contains(QString::fromUtf8(caption)),
                     caption);
            QVERIFY(viewer->note()->isHidden());
        }
    }

    void contentsHelpOnHelpAndUnknownContexts() {
        HelpViewer* viewer = request(HELP_HELPONHELP);
        QCOMPARE(viewer->browser()->documentTitle(), QStringLiteral("Cómo usar la ayuda"));
        QCOMPARE(request(HELP_CONTENTS), viewer);  // one viewer serves every request
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QCOMPARE(viewer->windowTitle(),
                 QStringLiteral("Ayuda - Límite de Detección y Cuantificación del Método"));
        request(HELP_CONTEXT, 99);
        QCOMPARE(viewer->currentTopic(), viewer->index().contents());
        QVERIFY(viewer->note()->text().contains(QStringLiteral("contexto 99")));
        QVERIFY(viewer->note()->isVisible());
    }

    void searchByKeyword() {
        // The Search command's empty keyword lists every topic.
        HelpViewer* viewer = request(HELP_PARTIALKEY, keyword(""));
        QVERIFY(viewer->searchPanel()->isVisible());
        QCOMPARE(viewer->searchResults()->count(), viewer->index().topics().size());
        // Case and accents do not matter: the keyword reads "cuantificación".
        QTest::keyClicks(viewer->searchField(), QStringLiteral("CUANTIFICACION"));
        QTest::keyClick(viewer->searchField(), Qt::Key_Return);
        QCOMPARE(viewer->currentTopic(), viewer->index().byContext(11));
        // A keyword's beginning is enough; keywords rank above pages that merely mention it.
        const std::pair<const char*, unsigned> best[] = {
            {"cuantif", 11}, {"mosaico", 20}, {"Ctrl+G", 5}, {"ayuda sobre", 32}};
        for (const auto& [typed, context] : best)
            QCOMPARE(viewer->index().search(QString::fromUtf8(typed)).value(0),
                     viewer->index().byContext(context));
        request(HELP_PARTIALKEY, keyword("xilófono"));
        QCOMPARE(viewer->searchResults()->count(), 0);
    }

    void theHelpFileIsFound() {
        const QFileInfo help(bundledHelpFile());
        QVERIFY(help.isAbsolute());
        QVERIFY(help.exists());
        const QLabel* note = request(HELP_CONTEXT, 2, help.absolutePath() + "/no.html")->note();
        QVERIFY(note->text().startsWith(QStringLiteral("No se encontró el archivo de ayuda «")));
        // Without a help folder beside the program, the copy compiled into it.
        QTemporaryDir program;
        QVERIFY(QFileInfo::exists(helpFileBeside(program.path())));
        QVERIFY(QDir(program.path()).mkdir(QStringLiteral("AYUDA9C")));
        const QString onDisk = program.filePath(QStringLiteral("AYUDA9C/AYUDA9C.html"));
        QVERIFY(writeFile(onDisk, QStringLiteral("<html></html>")));
        QCOMPARE(helpFileBeside(program.path()), onDisk);
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
