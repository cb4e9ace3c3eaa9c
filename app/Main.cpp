#include "app/Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "app/HelpRequest.h"
#include "app/Hint.h"
#include "app/SpeedButton.h"
#include "app/Ufacerca.h"
#include "app/Ufshow.h"
#include "app/WindowPlacement.h"
#include "app/help/HelpViewer.h"
#include "calc/ui/ResultsCommand.h"
#include "calc/ui/ValidationCommand.h"
#include "calc/ui/VerificationWindow.h"
#include "files/ui/FileCommands.h"
#include "files/ui/StudyHistoryWindow.h"
#include "report/ui/ReportCommands.h"

QPointer<TMainForm> MainForm;

namespace {

constexpr int kBarHeight = 33;

// The size a child window opened with, which Cascade gives back to it.
constexpr char kOpeningSizeProperty[] = "ldcOpeningSize";

const QString kModified = QStringLiteral("Modificado");

unsigned helpContextOf(const QObject* object) {
    return object ? object->property(kHelpContextProperty).toUInt() : 0;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent),
      m_fileCommands(new FileCommands(*this)),
      m_resultsCommand(new ResultsCommand(*this, m_calibrationRecord)),
      m_reportCommands(new ReportCommands(*this, m_calibrationRecord)),
      m_validationCommand(new ValidationCommand(*this)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(
        QStringLiteral("Límite de Detección y Cuantificación del Método(Curva de "
                       "calibración) "));

    createMenus();

    auto* client = new QWidget(this);
    auto* column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    setCentralWidget(client);

    createSpeedBar();
    column->addWidget(SpeedBar);

    ClientArea = new QMdiArea(client);
    ClientArea->setObjectName(QStringLiteral("ClientArea"));
    ClientArea->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    ClientArea->setBackground(QColor(128, 128, 128));
    ClientArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ClientArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    column->addWidget(ClientArea, 1);

    createStatusBar();
    column->addWidget(StatusBar);

    resize(800, 600);
    applyCommandState(CommandTransition::StartUp);
}

QAction* TMainForm::addItem(QMenu* menu, const char* name, const QString& caption,
                            const QKeySequence& shortcut, unsigned helpContext,
                            const QString& hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    if (helpContext)
        action->setProperty(kHelpContextProperty, helpContext);
    setHint(action, hint);
    menu->addAction(action);
    return action;
}

QMenu* TMainForm::addMenu(QMenu* parent, const char* name, const QString& caption,
                          unsigned helpContext, const QString& hint) {
    auto* menu = new QMenu(caption, this);
    menu->setObjectName(QLatin1String(name));
    menu->menuAction()->setObjectName(QLatin1String(name));
    if (helpContext)
        menu->menuAction()->setProperty(kHelpContextProperty, helpContext);
    setHint(menu->menuAction(), hint);
    if (parent)
        parent->addMenu(menu);
    else
        menuBar()->addMenu(menu);
    menu->installEventFilter(this);
    return menu;
}

void TMainForm::createMenus() {
    menuBar()->setObjectName(QStringLiteral("MainMenu"));
    menuBar()->installEventFilter(this);
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QLatin1String(name));
    };
    const QString archivo = QStringLiteral("Archivo|");

    FileMenu = addMenu(nullptr, "FileMenu", QStringLiteral("&Archivo"), 1,
                       QStringLiteral("Crea,abre,guarda e imrpime un archivo"));
    FileNewItem = addItem(FileMenu, "FileNewItem", QStringLiteral("&Nuevo"),
                          QKeySequence(Qt::CTRL | Qt::Key_N), 2,
                          archivo + QStringLiteral("Crea un nuevo archivo"));
    FileOpenItem = addItem(FileMenu, "FileOpenItem", QStringLiteral("&Abrir..."),
                           QKeySequence(Qt::CTRL | Qt::Key_A), 3,
                           archivo + QStringLiteral("Abre un archivo ya existente"));
    mnuclose = addItem(FileMenu, "mnuclose", QStringLiteral("C&errar"), {}, 4,
                       archivo + QStringLiteral("Cierra la ventana activa"));
    separator(FileMenu, "N2");
    FileSaveItem = addItem(FileMenu, "FileSaveItem", QStringLiteral("&Guardar"),
                           QKeySequence(Qt::CTRL | Qt::Key_G), 5,
                           archivo + QStringLiteral("Guarda el archivo"));
    FileSaveAsItem =
        addItem(FileMenu, "FileSaveAsItem", QStringLiteral("Guardar &como..."), {}, 6,
                archivo + QStringLiteral("Guarda el archivo con un nuevo nombre y/o trayectoria"));
    separator(FileMenu, "N1");
    FilePrintItem = addMenu(FileMenu, "FilePrintItem", QStringLiteral("&Imprimir..."), 7,
                            archivo + QStringLiteral("Imprime el archivo actual"));
    printLasser = addItem(FilePrintItem, "printLasser", QStringLiteral("Lasser"), {}, 0,
                          QStringLiteral("Imprime en Lasser"));
    PrintDeskjet = addItem(FilePrintItem, "PrintDeskjet", QStringLiteral("Deskjet"), {}, 0,
                           QStringLiteral("Imprime en Deskjet"));
    FileExportRecordItem =
        addItem(FileMenu, "FileExportRecordItem", QStringLiteral("Exportar registro PDF…"), {}, 7,
                archivo + QStringLiteral("Guarda el registro completo del estudio en un PDF"));
    // Available with the print submenu, as the layouts' items are.
    printValidacion =
        addItem(FilePrintItem, "printValidacion", QStringLiteral("Validación estadística"), {}, 0,
                QStringLiteral("Imprime la validación estadística"));
    separator(FileMenu, "N4");
    FileExitItem = addItem(FileMenu, "FileExitItem", QStringLiteral("&Salir"), {}, 8,
                           QStringLiteral("Salir del módulo VIRTANO"));

    mnucalculos = addMenu(nullptr, "mnucalculos", QStringLiteral("&Cálculos"), 10,
                          QStringLiteral("Cálculos de Precisión del sistema"));
    mnudunet =
        addItem(mnucalculos, "mnudunet", QStringLiteral("&Detección y Cuantificación"), {}, 11,
                QStringLiteral("Cálculos|Límite de detección y cuantificación del método"));
    mnuinforme = addItem(mnucalculos, "mnuinforme", QStringLiteral("&Informe"), {}, 19,
                         QStringLiteral("Cálculos|Presenta datos y resultados"));
    mnuvalidacion =
        addItem(mnucalculos, "mnuvalidacion", QStringLiteral("&Validación estadística"), {},
                kHelpValidationWindow,
                QStringLiteral("Cálculos|Límites por cada enfoque, linealidad y recuperación"));

    // A plain menu: it does not list the open child windows.
    WindowMenu = addMenu(nullptr, "WindowMenu", QStringLiteral("&Ventana"), 20,
                         QStringLiteral("Arregla las ventanas presentes"));
    WindowTileItem = addItem(WindowMenu, "WindowTileItem", QStringLiteral("&Mosaico"), {}, 20,
                             QStringLiteral("Ventana|Arregla las ventanas en mosaico"));
    WindowCascadeItem = addItem(WindowMenu, "WindowCascadeItem", QStringLiteral("&Cascada"), {}, 20,
                                QStringLiteral("Ventana|Arregla las ventanas en cascada"));

    HelpMenu = addMenu(nullptr, "HelpMenu", QStringLiteral("A&yuda"), 30,
                       QStringLiteral("Ayuda del módulo KEBO"));
    HelpContentsItem = addItem(HelpMenu, "HelpContentsItem", QStringLiteral("&Contenido"),
                               QKeySequence(Qt::Key_F1), 31,
                               QStringLiteral("Ayuda|Presenta el contenido de la ayuda"));
    HelpSearchItem =
        addItem(HelpMenu, "HelpSearchItem", QStringLiteral("&Buscar ayuda sobre..."),
                QKeySequence(Qt::CTRL | Qt::Key_F1), 32, QStringLiteral("Ayuda|Busca ayuda sobre"));
    HelpHowToUseItem = addItem(HelpMenu, "HelpHowToUseItem", QStringLiteral("Como &usar  la ayuda"),
                               {}, 0, QStringLiteral("Ayuda|Como usar la ayuda"));
    HelpVerifyItem = addItem(
        HelpMenu, "HelpVerifyItem", QStringLiteral("&Verificación del programa"), {},
        kHelpVerificationWindow,
        QStringLiteral("Verificación|Comprueba los cálculos con datos de referencia publicados"));
    HelpHistoryItem =
        addItem(HelpMenu, "HelpHistoryItem", QStringLiteral("&Historial del estudio"), {},
                kHelpStudyHistory,
                QStringLiteral("Ayuda|Presenta el registro de auditoría del estudio abierto"));
    separator(HelpMenu, "N3");
    HelpAboutItem = addItem(HelpMenu, "HelpAboutItem", QStringLiteral("&Acerca..."), {}, 33,
                            QStringLiteral("Ayuda|Presenta información del programa"));

    FileCommands* files = m_fileCommands;
    connect(FileNewItem, &QAction::triggered, files, &FileCommands::FileNew);
    connect(FileOpenItem, &QAction::triggered, files, &FileCommands::fileopen);
    connect(mnuclose, &QAction::triggered, files, &FileCommands::mnucloseClick);
    connect(FileSaveItem, &QAction::triggered, files,
            [files, item = FileSaveItem] { files->FileSave(item); });
    connect(FileSaveAsItem, &QAction::triggered, files,
            [files, item = FileSaveAsItem] { files->FileSaveAs(item); });
    connect(FileExitItem, &QAction::triggered, this, &TMainForm::FileExit);
    connect(mnudunet, &QAction::triggered, m_resultsCommand, &ResultsCommand::mnudunetClick);
    connect(mnuinforme, &QAction::triggered, m_reportCommands, &ReportCommands::mnuinformeClick);
    connect(printLasser, &QAction::triggered, m_reportCommands, &ReportCommands::PrintLasserClick);
    connect(PrintDeskjet, &QAction::triggered, m_reportCommands, &ReportCommands::FilePrint);
    connect(FileExportRecordItem, &QAction::triggered, m_reportCommands,
            &ReportCommands::FileExportRecord);
    connect(printValidacion, &QAction::triggered, m_reportCommands,
            &ReportCommands::printValidacionClick);
    connect(mnuvalidacion, &QAction::triggered, m_validationCommand,
            &ValidationCommand::mnuvalidacionClick);
    connect(WindowTileItem, &QAction::triggered, this, &TMainForm::WindowTile);
    connect(WindowCascadeItem, &QAction::triggered, this, &TMainForm::WindowCascade);
    connect(HelpContentsItem, &QAction::triggered, this, &TMainForm::HelpContents);
    connect(HelpSearchItem, &QAction::triggered, this, &TMainForm::HelpSearch);
    connect(HelpHowToUseItem, &QAction::triggered, this, &TMainForm::HelpHowToUse);
    connect(HelpVerifyItem, &QAction::triggered, this, &TMainForm::HelpVerify);
    connect(HelpAboutItem, &QAction::triggered, this, &TMainForm::HelpAbout);
    connect(HelpHistoryItem, &QAction::triggered, this, [this] { showStudyHistory(*this); });
    // F1 is the contents item's key, but pressed it asks for the help of what is in
    // front of the user; the menu item itself shows the contents.
    HelpContentsItem->installEventFilter(this);
}

void TMainForm::addSpeedButton(const char* name, int x, int size, QAction* action,
                               const QString& hint) {
    auto* button = new SpeedButton(QLatin1String(name), action, hint, SpeedBar);
    button->setGeometry(x, (kBarHeight - size) / 2, size, size);
}

void TMainForm::createSpeedBar() {
    SpeedBar = new QFrame(this);
    SpeedBar->setObjectName(QStringLiteral("SpeedBar"));
    SpeedBar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SpeedBar->setFixedHeight(kBarHeight);

    addSpeedButton("spdnuevo", 8, 25, FileNewItem, QStringLiteral("Nuevo|Crea un nuevo archivo"));
    addSpeedButton("spdabrir", 40, 25, FileOpenItem,
                   QStringLiteral("Abrir|Abre un archivo de Curva de Calibración"));
    addSpeedButton("spdguardar", 64, 25, FileSaveItem,
                   QStringLiteral("Guardar|Guarda el archivo de Curva de Calibración"));
    addSpeedButton("spdprint", 96, 23, printLasser, QStringLiteral("Imprime en Lasser"));
    addSpeedButton("spdprint1", 120, 23, PrintDeskjet, QStringLiteral("Imprime en Deskjet"));
    addSpeedButton("spdclose", 156, 25, mnuclose,
                   QStringLiteral("Cerrar|Cierra la ventana activa"));
    addSpeedButton("spdexit", 182, 25, FileExitItem,
                   QStringLiteral("Salir|Salir del módulo LDC del Método (Curva de Calibración)"));
    addSpeedButton("spdmosaico", 204, 25, WindowTileItem,
                   QStringLiteral("Mosaico|Arregla las ventanas en mosaico"));
    addSpeedButton("spdcascada", 228, 25, WindowCascadeItem,
                   QStringLiteral("Cascada|Arregla las ventanas en cascada"));
    addSpeedButton("spdcontenido", 252, 25, HelpContentsItem,
                   QStringLiteral("Contenido|Presenta el contenido de la ayuda"));
}

void TMainForm::createStatusBar() {
    StatusBar = new QFrame(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFixedHeight(kBarHeight);
    StatusBar->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont bold = StatusBar->font();
    bold.setBold(true);
    StatusBar->setFont(bold);
    auto* row = new QHBoxLayout(StatusBar);
    row->setContentsMargins(3, 3, 3, 3);
    row->setSpacing(3);
    auto panel = [this, row](const char* name, const QString& text, int width) {
        auto* label = new QLabel(text, StatusBar);
        label->setObjectName(QLatin1String(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(4);
        if (width)
            label->setFixedWidth(width);
        row->addWidget(label, width ? 0 : 1);
        return label;
    };
    StatusLine = panel("StatusLine", QString(), 336);
    panel("Paneld", QStringLiteral("F1 <Ayuda>"), 0);
    estado = panel("estado", QString(), 132);
}

void TMainForm::markModified() {
    estado->setText(kModified);
}

void TMainForm::clearModified() {
    estado->clear();
}

void TMainForm::blankModified() {
    estado->setText(QStringLiteral(" "));
}

bool TMainForm::isModified() const {
    return estado->text() == kModified;
}

void TMainForm::applyCommandState(CommandTransition transition) {
    applyCommandTransition(this, transition);
}

QRect TMainForm::childArea() const {
    return ClientArea->viewport()->rect();
}

int TMainForm::titleStep() const {
    return ClientArea->style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2;
}

QMdiSubWindow* TMainForm::addChild(QWidget* form, unsigned helpContext, QSize size,
                                   ChildPlace place) {
    form->setProperty(kHelpContextProperty, helpContext);
    // Taken before the new window can bring up scroll bars of its own.
    const QRect area = childArea();
    QList<QPoint> taken;
    for (const QMdiSubWindow* other : ClientArea->subWindowList())
        if (!other->isHidden())
            taken << other->pos();
    QMdiSubWindow* window = ClientArea->addSubWindow(form);
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (size.isValid())
        window->resize(size);
    window->show();
    QRect geometry = keptInside(window->geometry(), area);
    if (place == ChildPlace::Centred) {
        geometry.moveCenter(area.center());
        geometry.moveTopLeft(
            clearOf(taken, geometry.topLeft(), geometry.size(), titleStep(), area));
    }
    window->setGeometry(geometry);
    window->setProperty(kOpeningSizeProperty, window->size());
    ClientArea->setActiveSubWindow(window);
    return window;
}

QMdiSubWindow* TMainForm::activeChild() const {
    return ClientArea->currentSubWindow();
}

void TMainForm::childWindowClosing(const QWidget* closing) {
    // Only the other windows count: a window asked to close a second time is already
    // hidden, and counting the shown ones would then take it for the last one.
    for (const QMdiSubWindow* child : ClientArea->subWindowList())
        if (!child->isHidden() && child->widget() != closing)
            return;
    applyCommandState(CommandTransition::LastChildClosed);
}

void TMainForm::saveStudy(QObject* sender) {
    m_fileCommands->FileSave(sender);
}

void TMainForm::showResults() {
    m_resultsCommand->mnudunetClick();
}

void TMainForm::openStudyFile(const QString& path) {
    m_fileCommands->openFile(path);
}

void TMainForm::FormActivate() {
    if (!Fshow)
        return;
    Fshow->Timer1->start();
    // Keeps the splash over the frame where no window manager does.
    if (Fshow->isVisible())
        Fshow->raise();
}

void TMainForm::ShowHint(const QString& hint) {
    StatusLine->setText(hint);
}

void TMainForm::FileExit() {
    close();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Each child may refuse (the study window asks to save first).
    ClientArea->closeAllSubWindows();
    const QList<QMdiSubWindow*> children = ClientArea->subWindowList();
    if (std::any_of(children.begin(), children.end(),
                    [](const QMdiSubWindow* child) { return !child->isHidden(); })) {
        event->ignore();
        return;
    }
    event->accept();
}

void TMainForm::WindowTile() {
    // One above the other, each the full width of the client area; iconised windows keep
    // their row along the bottom.
    QList<QMdiSubWindow*> open;
    int iconRow = 0;
    const QList<QMdiSubWindow*> children =
        ClientArea->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        QMdiSubWindow* child = *it;
        if (child->isHidden())
            continue;
        if (child->isMinimized())
            iconRow = std::max(iconRow, child->height());
        else
            open << child;
    }
    if (open.isEmpty())
        return;
    const QRect area = ClientArea->viewport()->rect();
    const int height = std::max(area.height() - iconRow, 1);
    const int count = static_cast<int>(open.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* child = open.at(i);
        if (child->isMaximized())
            child->showNormal();
        const int top = height * i / count;
        const int bottom = height * (i + 1) / count;
        child->setGeometry(0, top, area.width(), bottom - top);
    }
}

void TMainForm::WindowCascade() {
    // The pile keeps its order: the bottom window goes to the corner and the one in front
    // comes last, where nothing covers it. Each takes back the size it opened with, at
    // which its text reads whole.
    QList<QMdiSubWindow*> open;
    QList<QSize> sizes;
    for (QMdiSubWindow* child : ClientArea->subWindowList(QMdiArea::StackingOrder)) {
        if (child->isHidden() || child->isMinimized())
            continue;
        if (child->isMaximized())
            child->showNormal();
        open << child;
        const QVariant opening = child->property(kOpeningSizeProperty);
        sizes << (opening.isValid() ? opening.toSize() : child->size());
    }
    const QList<QRect> places = cascaded(sizes, childArea(), titleStep());
    for (qsizetype i = 0; i < open.size(); ++i)
        open[i]->setGeometry(places[i]);
}

void TMainForm::WindowArrange() {
    // Iconised windows in rows along the bottom edge, left to right, rising as rows fill.
    const QRect area = ClientArea->viewport()->rect();
    int x = 0;
    int y = area.bottom() + 1;
    for (QMdiSubWindow* child : ClientArea->subWindowList()) {
        if (child->isHidden() || !child->isMinimized())
            continue;
        const QSize size = child->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        if (x == 0 && y == area.bottom() + 1)
            y -= size.height();
        child->move(x, y);
        x += size.width();
    }
}

void TMainForm::HelpContents() {
    requestHelp(this, HELP_CONTENTS, 0);
}

void TMainForm::HelpSearch() {
    static const char kEmptyKeyword[] = "";
    requestHelp(this, HELP_PARTIALKEY, reinterpret_cast<quintptr>(kEmptyKeyword));
}

void TMainForm::HelpHowToUse() {
    requestHelp(this, HELP_HELPONHELP, 0);
}

void TMainForm::HelpAbout() {
    AboutBox = new TAboutBox(this);
    AboutBox->show();
}

void TMainForm::HelpVerify() {
    addChild(new VerificationWindow, kHelpVerificationWindow, QSize(1060, 480));
}

void TMainForm::HelpKey() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        helpOnHighlightedItem(menu);
        return;
    }
    if (menuBar()->activeAction()) {
        helpOnHighlightedItem(menuBar());
        return;
    }
    if (const QMdiSubWindow* child = ClientArea->currentSubWindow()) {
        if (const unsigned context = helpContextOf(child->widget())) {
            requestHelp(this, HELP_CONTEXT, context);
            return;
        }
    }
    HelpContents();
}

void TMainForm::helpOnHighlightedItem(QWidget* menuOrBar) {
    QAction* item = nullptr;
    QWidget* owner = menuOrBar;
    if (auto* menu = qobject_cast<QMenu*>(menuOrBar))
        item = menu->activeAction();
    else if (auto* bar = qobject_cast<QMenuBar*>(menuOrBar))
        item = bar->activeAction();
    unsigned context = helpContextOf(item);
    // An item without a topic of its own (the print items) shows its menu's.
    if (!context)
        if (auto* menu = qobject_cast<QMenu*>(owner))
            context = helpContextOf(menu->menuAction());
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    if (context)
        requestHelp(this, HELP_CONTEXT, context);
    else
        HelpContents();
}

bool TMainForm::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::StatusTip:
            ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
            return true;
        case QEvent::WindowActivate:
            FormActivate();
            break;
        default:
            break;
    }
    return QMainWindow::event(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == HelpContentsItem && event->type() == QEvent::Shortcut) {
        HelpKey();
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            helpOnHighlightedItem(static_cast<QWidget*>(watched));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
