#pragma once

#include <QString>
#include <QWidget>
#include <QtGlobal>

#include "app/help/HelpIndex.h"

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QTextBrowser;

// The help requests the program makes, with the numbers the platform's help service
// gave them.
constexpr unsigned HELP_CONTEXT = 1;
constexpr unsigned HELP_CONTENTS = 3;
constexpr unsigned HELP_HELPONHELP = 4;
constexpr unsigned HELP_PARTIALKEY = 261;

// Shows the help viewer for a request on the help file, as the platform's help service
// did. `data` is the context number for HELP_CONTEXT, 0 for HELP_CONTENTS and
// HELP_HELPONHELP, and for HELP_PARTIALKEY the address of a NUL-terminated UTF-8 keyword
// (0 or an empty keyword opens the search). An empty `helpFile` means the bundled one.
// The one viewer window is reused by every request; it belongs to `owner`'s window and
// closes with it.
void WinHelp(QWidget* owner, const QString& helpFile, unsigned command, quintptr data);

// Absolute path of the help file bundled with the program (AYUDA9C).
QString bundledHelpFile();

// The help file for a program that lives in `programDir`: AYUDA9C/AYUDA9C.html there (the
// build folder), else in the installed data folder (../share/ldc/AYUDA9C from bin/), else
// the copy compiled into the program.
QString helpFileBeside(const QString& programDir);

// The help window: the pages of the help file in a browser with back and forward, the
// contents and a search over the topics' keywords, titles and text.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads the topics of `helpFile`, unless they are the ones already loaded.
    void setHelpFile(const QString& helpFile);

    void showContents();
    void showHelpOnHelp();
    void showContext(unsigned context);
    // Opens the search with `keyword` typed in; a keyword that finds exactly one topic
    // shows it at once.
    void showSearch(const QString& keyword);

    const HelpIndex& index() const { return m_index; }
    // The topic shown, or nullptr.
    const HelpTopic* currentTopic() const;

    QTextBrowser* browser() const { return m_browser; }
    QLineEdit* searchField() const { return m_searchField; }
    QListWidget* searchResults() const { return m_searchResults; }
    QWidget* searchPanel() const { return m_searchPanel; }
    QLabel* note() const { return m_note; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTopic(const HelpTopic* topic);
    void showNote(const QString& text);
    void fillSearchResults();
    void showChosenResult();

    HelpIndex m_index;
    QTextBrowser* m_browser;
    QWidget* m_searchPanel;
    QLineEdit* m_searchField;
    QListWidget* m_searchResults;
    QLabel* m_note;
    QAction* m_contentsAction;
    QAction* m_searchAction;
    QAction* m_backAction;
    QAction* m_forwardAction;
};

// The viewer that WinHelp shows, or nullptr before the first request.
HelpViewer* helpViewer();
