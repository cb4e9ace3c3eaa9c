#pragma once

#include <QMainWindow>
#include <QPointer>

#include "app/CommandStates.h"
#include "app/Dialogs.h"
#include "calc/Ucalculo.h"

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolButton;
class TFinforma;

// The frame window: menus, speed bar, the area of the child windows (the study window,
// results and report windows) and the status bar. Controls and handlers keep the names
// the program has always given them; they are public so that the child windows'
// handlers (and the tests) reach them as the program's other units always have.
class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);

    // Menus. A menu's menuAction() carries the menu's name, so the command table
    // switches a whole menu like any item.
    QMenu* FileMenu;
    QMenu* FilePrintItem;
    QMenu* mnucalculos;
    QMenu* WindowMenu;
    QMenu* HelpMenu;

    // One action per command, shared by the menu item and its speed button.
    QAction* FileNewItem;
    QAction* FileOpenItem;
    QAction* mnuclose;
    QAction* FileSaveItem;
    QAction* FileSaveAsItem;
    QAction* printLasser;
    QAction* PrintDeskjet;
    QAction* FileExitItem;
    QAction* mnudunet;
    QAction* mnuinforme;
    QAction* WindowTileItem;
    QAction* WindowCascadeItem;
    QAction* HelpContentsItem;
    QAction* HelpSearchItem;
    QAction* HelpHowToUseItem;
    QAction* HelpAboutItem;

    QFrame* SpeedBar;
    QToolButton* spdnuevo;
    QToolButton* spdabrir;
    QToolButton* spdguardar;
    QToolButton* spdprint;
    QToolButton* spdprint1;
    QToolButton* spdclose;
    QToolButton* spdexit;
    QToolButton* spdmosaico;
    QToolButton* spdcascada;
    QToolButton* spdcontenido;

    QMdiArea* ClientArea;

    QFrame* StatusBar;
    QLabel* StatusLine;  // long hint of what is under the pointer
    QLabel* Paneld;      // "F1 <Ayuda>"
    QLabel* estado;      // "Modificado" while the study has unsaved edits

    // What the file dialogs are asked; fileName is what they remember between uses.
    FileDialogRequest OpenDialog;
    FileDialogRequest SaveDialog;

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

    void FormActivate();
    void ShowHint(const QString& hint);

    // File commands (files/FileCommands.cpp).
    void FileNew();
    void fileopen();
    void FileSave(QObject* sender = nullptr);
    void FileSaveAs(QObject* sender = nullptr);
    void mnucloseClick();

    // The detection and quantification command (calc/ResultsCommand.cpp).
    void mnudunetClick();

    // Report and print commands (report/ReportCommands.cpp).
    void mnuinformeClick();
    void PrintLasserClick();
    void FilePrint();
    void mnuoprtClick();
    void fileprt1();
    // Called by a child window as it closes: the last one to go returns the frame to idle.
    void childWindowClosing(const QWidget* closing);

    // The frame's results, filled by the results and report commands right before they
    // write them.
    ldc::CalibrationResults CalibrationRecord;

    void FileExit();
    void WindowTile();
    void WindowCascade();
    void WindowArrange();

    void HelpContents();
    void HelpSearch();
    void HelpHowToUse();
    void HelpAbout();
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
    QToolButton* addSpeedButton(const char* name, int x, int size, QAction* action,
                                const QString& hint);
    TFinforma* createStudyWindow();
    void helpOnHighlightedItem(QWidget* menuOrBar);
    // The part of the client area where child windows show, and the step between the
    // title bars of cascaded or stacked ones.
    QRect childArea() const;
    int titleStep() const;
};

extern QPointer<TMainForm> MainForm;
