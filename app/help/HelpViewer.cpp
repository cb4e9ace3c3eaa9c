#include "app/help/HelpViewer.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPointer>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/Dialogs.h"

namespace {

const QString kHelpFolder = QStringLiteral("AYUDA9C");
const QString kHelpPage = QStringLiteral("AYUDA9C.html");
// Where an installed program finds its data, relative to its own folder (../share/ldc).
const QString kInstalledDataDir = QStringLiteral(LDC_INSTALLED_DATA_DIR);

// Says which help file the program uses; silent unless asked for with
// QT_LOGGING_RULES="ldc.help.info=true" (the installation check asks).
Q_LOGGING_CATEGORY(lcHelp, "ldc.help", QtWarningMsg)

QPointer<HelpViewer> g_viewer;

QToolButton* toolButton(QAction* action) {
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

QString helpFileBeside(const QString& programDir) {
    const QDir program(programDir);
    for (const QString& folder : {QString(), kInstalledDataDir + '/'}) {
        const QString onDisk = program.absoluteFilePath(folder + kHelpFolder + '/' + kHelpPage);
        if (QFileInfo::exists(onDisk))
            return QDir::cleanPath(onDisk);
    }
    return QStringLiteral(":/") + kHelpFolder + '/' + kHelpPage;
}

QString bundledHelpFile() {
    const QString helpFile = helpFileBeside(QCoreApplication::applicationDirPath());
    qCInfo(lcHelp, "archivo de ayuda: %s", qUtf8Printable(helpFile));
    return helpFile;
}

HelpViewer* helpViewer() {
    return g_viewer;
}

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Ayuda - ") + applicationTitle());
    // The help is a companion of the program, never the reason it keeps running.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(900, 640);

    m_contentsAction = new QAction(style()->standardIcon(QStyle::SP_DirHomeIcon),
                                   QStringLiteral("&Contenido"), this);
    m_contentsAction->setToolTip(QStringLiteral("Presenta el contenido de la ayuda"));
    m_searchAction = new QAction(style()->standardIcon(QStyle::SP_FileDialogContentsView),
                                 QStringLiteral("&Buscar"), this);
    m_searchAction->setToolTip(QStringLiteral("Busca un tema por palabra clave"));
    m_searchAction->setCheckable(true);
    m_backAction =
        new QAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("&Atrás"), this);
    m_backAction->setToolTip(QStringLiteral("Vuelve al tema anterior"));
    m_backAction->setShortcut(QKeySequence::Back);
    m_backAction->setEnabled(false);
    m_forwardAction = new QAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                  QStringLiteral("A&delante"), this);
    m_forwardAction->setToolTip(QStringLiteral("Avanza al tema siguiente"));
    m_forwardAction->setShortcut(QKeySequence::Forward);
    m_forwardAction->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    for (QAction* action : {m_contentsAction, m_searchAction, m_backAction, m_forwardAction})
        buttons->addWidget(toolButton(action));
    buttons->addStretch();

    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("note"));
    m_note->setWordWrap(true);
    m_note->setFrameShape(QFrame::StyledPanel);
    m_note->setStyleSheet(QStringLiteral("QLabel { background: #fff8d8; padding: 4px; }"));
    m_note->hide();

    m_searchPanel = new QWidget;
    m_searchPanel->setObjectName(QStringLiteral("searchPanel"));
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    m_searchField->setClearButtonEnabled(true);
    m_searchField->setPlaceholderText(QStringLiteral("por ejemplo: cuantificación"));
    m_searchField->installEventFilter(this);
    m_searchResults = new QListWidget;
    m_searchResults->setObjectName(QStringLiteral("searchResults"));
    auto* fieldLabel = new QLabel(QStringLiteral("&Escriba la palabra que busca:"));
    fieldLabel->setBuddy(m_searchField);
    auto* resultsLabel = new QLabel(QStringLiteral("&Temas encontrados:"));
    resultsLabel->setBuddy(m_searchResults);
    auto* searchLayout = new QVBoxLayout(m_searchPanel);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    searchLayout->addWidget(fieldLabel);
    searchLayout->addWidget(m_searchField);
    searchLayout->addWidget(resultsLabel);
    searchLayout->addWidget(m_searchResults);
    m_searchPanel->hide();

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("browser"));
    m_browser->setOpenExternalLinks(true);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_searchPanel);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 620});
    splitter->setChildrenCollapsible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_note);
    layout->addWidget(splitter, 1);

    connect(m_contentsAction, &QAction::triggered, this, &HelpViewer::showContents);
    connect(m_searchAction, &QAction::toggled, this, [this](bool on) {
        m_searchPanel->setVisible(on);
        if (on)
            m_searchField->setFocus();
    });
    connect(m_backAction, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forwardAction, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_backAction, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forwardAction, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, m_note, &QWidget::hide);
    connect(m_searchField, &QLineEdit::textChanged, this, &HelpViewer::fillSearchResults);
    connect(m_searchField, &QLineEdit::returnPressed, this, &HelpViewer::showChosenResult);
    connect(m_searchResults, &QListWidget::itemActivated, this, &HelpViewer::showChosenResult);
    connect(m_searchResults, &QListWidget::itemClicked, this, &HelpViewer::showChosenResult);
}

bool HelpViewer::eventFilter(QObject* watched, QEvent* event) {
    // The arrows move through the topics found while the cursor stays in the search field,
    // so that typing, choosing and Enter need no mouse.
    if (watched == m_searchField && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const int row = m_searchResults->currentRow();
        if (key == Qt::Key_Down && row + 1 < m_searchResults->count()) {
            m_searchResults->setCurrentRow(row + 1);
            return true;
        }
        if (key == Qt::Key_Up && row > 0) {
            m_searchResults->setCurrentRow(row - 1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HelpViewer::setHelpFile(const QString& helpFile) {
    if (helpFile == m_index.helpFile() && !m_index.topics().isEmpty())
        return;
    m_index = HelpIndex::load(helpFile);
    m_browser->clear();
    m_browser->clearHistory();
    fillSearchResults();
    if (m_index.isValid())
        m_note->hide();
    else
        showNote(m_index.error());
}

void HelpViewer::showContents() {
    if (const HelpTopic* contents = m_index.contents())
        showTopic(contents);
    else
        showNote(m_index.error());
}

void HelpViewer::showHelpOnHelp() {
    if (const HelpTopic* topic = m_index.helpOnHelp())
        showTopic(topic);
    else
        showContents();
}

void HelpViewer::showContext(unsigned context) {
    if (const HelpTopic* topic = m_index.byContext(context)) {
        showTopic(topic);
        return;
    }
    if (!m_index.contents()) {
        showNote(m_index.error());
        return;
    }
    showContents();
    showNote(QStringLiteral("La ayuda no tiene un tema para el número de contexto %1; "
                            "se presenta el contenido.")
                 .arg(context));
}

void HelpViewer::showSearch(const QString& keyword) {
    m_searchAction->setChecked(true);
    m_searchField->setText(keyword);
    m_searchField->selectAll();
    m_searchField->setFocus();
    const QList<const HelpTopic*> found =
        keyword.trimmed().isEmpty() ? QList<const HelpTopic*>{} : m_index.search(keyword);
    if (found.size() == 1)
        showTopic(found.first());
    else if (!currentTopic())
        showContents();
}

const HelpTopic* HelpViewer::currentTopic() const {
    return m_index.byUrl(m_browser->source());
}

void HelpViewer::showTopic(const HelpTopic* topic) {
    m_note->hide();
    m_browser->setSource(m_index.urlOf(*topic));
}

void HelpViewer::showNote(const QString& text) {
    m_note->setText(text);
    m_note->show();
}

void HelpViewer::fillSearchResults() {
    m_searchResults->clear();
    for (const HelpTopic* topic : m_index.search(m_searchField->text())) {
        auto* item = new QListWidgetItem(topic->title, m_searchResults);
        item->setData(Qt::UserRole, topic->file);
        item->setToolTip(topic->keywords.join(QStringLiteral(", ")));
    }
    m_searchResults->setCurrentRow(0);
}

void HelpViewer::showChosenResult() {
    const QListWidgetItem* item = m_searchResults->currentItem();
    if (!item)
        return;
    if (const HelpTopic* topic = m_index.byFile(item->data(Qt::UserRole).toString()))
        showTopic(topic);
}

void WinHelp(QWidget* owner, const QString& helpFile, unsigned command, quintptr data) {
    QWidget* ownerWindow = owner ? owner->window() : nullptr;
    if (!g_viewer)
        g_viewer = new HelpViewer(ownerWindow);
    else if (ownerWindow && g_viewer->parentWidget() != ownerWindow)
        g_viewer->setParent(ownerWindow, Qt::Window);
    HelpViewer* viewer = g_viewer;

    viewer->setHelpFile(helpFile.isEmpty() ? bundledHelpFile() : helpFile);
    switch (command) {
        case HELP_CONTEXT:
            viewer->showContext(static_cast<unsigned>(data));
            break;
        case HELP_HELPONHELP:
            viewer->showHelpOnHelp();
            break;
        case HELP_PARTIALKEY:
            viewer->showSearch(data ? QString::fromUtf8(reinterpret_cast<const char*>(data))
                                    : QString());
            break;
        default:
            // HELP_CONTENTS, and any request the viewer does not know: the contents are
            // where the analyst can go on from.
            viewer->showContents();
            break;
    }
    viewer->setWindowState(viewer->windowState() & ~Qt::WindowMinimized);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
}
