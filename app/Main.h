#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/CommandStates.h"
#include "calc/Ucalculo.h"

class FileCommands;
class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class ReportCommands;
class ResultsCommand;
class ValidationCommand;

// The frame window: menus, speed bar, the area of the child windows (the study window,
// results and report windows) and the status bar. Its controls are its own; they keep the
// names the program has always given them, by which the command table (and the tests)
// find them. The child windows and the commands reach the frame through the few services
// below.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    // The edit marker in `estado`: "Modificado" while the study has unsaved edits, empty
    // after New and after a completed save, one blank once the study window's close query
    // has let the study go.
    void markModified();
    void clearModified();
    void blankModified();
    bool isModified() const;

    // Sets the availability of the commands for a situation (CommandStates.cpp).
    void applyCommandState(CommandTransition transition);

    // Where a new child window opens: where the client area puts it, or centred.
    enum class ChildPlace { ChosenByArea, Centred };

    // Shows `form` as a child window, deleted when it closes, with the help context F1
    // shows while it is the active child. A window given a size opens with it. It opens
    // wholly inside the client area, a centred one a step clear of any window already
    // standing there, and Cascade gives it back the size it opened with.
    QMdiSubWindow* addChild(QWidget* form, unsigned helpContext, QSize size = {},
                            ChildPlace place = ChildPlace::ChosenByArea);
    // The child window in front, if any: the one Close acts on.
    QMdiSubWindow* activeChild() const;
    // Called by a child window as it closes: the last one to go returns the frame to idle.
    void childWindowClosing(const QWidget* closing);

    // The frame's commands that the study window runs: Save from its close question, the
    // detection and quantification command from its popup item.
    void saveStudy(QObject* sender);
    void showResults();
    // Opens the study file at `path` as Archivo > Abrir does once the file is chosen.
    void openStudyFile(const QString& path);

    void FormActivate();
    void ShowHint(const QString& hint);

    void FileExit();
    void WindowTile();
    void WindowCascade();
    void WindowArrange();

    void HelpContents();
    void HelpSearch();
    void HelpHowToUse();
    void HelpAbout();
    // Opens a window with the self-verification run afresh.
    void HelpVerify();
    // F1: the topic of the highlighted menu item, else of the active child window,
    // else the contents.
    void HelpKey();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createSpeedBar();
    void createStatusBar();
    QAction* addItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, unsigned helpContext, const QString& hint);
    QMenu* addMenu(QMenu* parent, const char* name, const QString& caption, unsigned helpContext,
                   const QString& hint);
    void addSpeedButton(const char* name, int x, int size, QAction* action, const QString& hint);
    void helpOnHighlightedItem(QWidget* menuOrBar);
    // The part of the client area where child windows show, and the step between the
    // title bars of cascaded or stacked ones.
    QRect childArea() const;
    int titleStep() const;

    // The frame's results, filled by the results and report commands right before they
    // write them.
    ldc::CalibrationResults m_calibrationRecord{};
    FileCommands* m_fileCommands = nullptr;
    ResultsCommand* m_resultsCommand = nullptr;
    ReportCommands* m_reportCommands = nullptr;
    ValidationCommand* m_validationCommand = nullptr;

    // Menus. A menu's menuAction() carries the menu's name, so the command table
    // switches a whole menu like any item.
    QMenu* FileMenu = nullptr;
    QMenu* FilePrintItem = nullptr;
    QMenu* mnucalculos = nullptr;
    QMenu* WindowMenu = nullptr;
    QMenu* HelpMenu = nullptr;

    // One action per command, shared by the menu item and its speed button.
    QAction* FileNewItem = nullptr;
    QAction* FileOpenItem = nullptr;
    QAction* mnuclose = nullptr;
    QAction* FileSaveItem = nullptr;
    QAction* FileSaveAsItem = nullptr;
    QAction* printLasser = nullptr;
    QAction* PrintDeskjet = nullptr;
    QAction* FileExportRecordItem = nullptr;
    QAction* printValidacion = nullptr;
    QAction* FileExitItem = nullptr;
    QAction* mnudunet = nullptr;
    QAction* mnuinforme = nullptr;
    QAction* mnuvalidacion = nullptr;
    QAction* WindowTileItem = nullptr;
    QAction* WindowCascadeItem = nullptr;
    QAction* HelpContentsItem = nullptr;
    QAction* HelpSearchItem = nullptr;
    QAction* HelpHowToUseItem = nullptr;
    QAction* HelpVerifyItem = nullptr;
    QAction* HelpAboutItem = nullptr;
    QAction* HelpHistoryItem = nullptr;

    QFrame* SpeedBar = nullptr;
    QMdiArea* ClientArea = nullptr;

    QFrame* StatusBar = nullptr;
    QLabel* StatusLine = nullptr;  // long hint of what is under the pointer
    QLabel* estado = nullptr;      // the edit marker
};

extern QPointer<TMainForm> MainForm;
