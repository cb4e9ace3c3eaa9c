// The help viewer behind the program's four help requests, on the bundled help.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTextBrowser>

#include "FrameFixture.h"
#include "app/help/HelpViewer.h"

namespace {

HelpViewer* request(unsigned command, quintptr data = 0, const QString& file = bundledHelpFile()) {
    WinHelp(nullptr, file, command, data);
    return helpViewer();
}

quintptr keyword(const char* text) {
    return reinterpret_cast<quintptr>(text);
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
            QVERIFY2(viewer->isVisible() && viewer->note()->isHidden() && viewer->currentTopic() &&
                         viewer->currentTopic()->contexts.contains(context) &&
                         viewer->browser()->toPlainText().contains(QString::fromUtf8(caption)),
                     caption);
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
        request(HELP_CONTEXT, 2, bundledHelpFile() + ".falta");
        QVERIFY(viewer->note()->text().startsWith("No se encontró el archivo de ayuda «"));
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
        for (const auto& [typed, context] : {std::pair{"mosaico", 20}, {"ayuda sobre", 32}})
            QCOMPARE(viewer->index().search(typed).value(0), viewer->index().byContext(context));
        request(HELP_PARTIALKEY, keyword("xilófono"));
        QCOMPARE(viewer->searchResults()->count(), 0);
    }
};

LDC_WIDGET_TEST_MAIN(HelpViewerTest)

#include "HelpViewerTest.moc"
