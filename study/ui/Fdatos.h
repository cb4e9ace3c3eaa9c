#pragma once

#include <QPointer>
#include <QWidget>

#include "app/CommandStates.h"
#include "study/EntryRules.h"
#include "study/StudyDocument.h"
#include "study/ui/StringGrid.h"

class QAction;
class QCloseEvent;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

// The study window: the one calibration study lives in the texts of its controls. Page 0
// holds the general information, page 1 the levels of added amount with their replicate
// counts, page 2 the recovered amounts and page 3 the readings of blanks.
//
// The entry rules are handlers on these controls. The window reports, for every entry
// control (the five edits, enivel, ComboBox1, both buttons and the three grids):
//   controlEntered  - the focus arrived at the control from another one;
//   controlExited   - the focus left it for another control of this window (a grid's last
//                     keystroke is already in its cell);
//   controlKeyPressed - a character typed while it has the focus, before it takes effect.
// Enter and exit are reported once the toolkit has finished moving the focus, so a
// handler may move it again (focusControl), even to another page, and its move wins over
// the one the analyst started: the control the analyst was heading for is then neither
// entered nor left. A control whose enter handler sends the focus elsewhere is not
// reported as left; one whose exit handler sends the focus back to it has not been left
// at all and is not entered again. Focus that goes to another window (a notice, a results
// window, a menu or a popup) and comes back to the same control reports nothing.
//
// The very first time the focus comes into the window, page 0 is shown with the cursor in
// emetodo, whichever control the toolkit chose (ThojasEnter).
class TFinforma : public QWidget, public ldc::StudyDocument {
    Q_OBJECT
public:
    explicit TFinforma(QWidget* parent = nullptr);
    ~TFinforma() override;

    std::string text(ldc::StudyField field) const override;
    void setText(ldc::StudyField field, const std::string& text) override;
    std::string cell(ldc::StudyTable table, int column, int row) const override;
    void setCell(ldc::StudyTable table, int column, int row, const std::string& text) override;
    int columnCount(ldc::StudyTable table) const override;
    int rowCount(ldc::StudyTable table) const override;
    void setColumnCount(ldc::StudyTable table, int count) override;
    void setRowCount(ldc::StudyTable table, int count) override;
    int blankCount() const override;
    std::string blankReadingText(int reading) const override;
    void setBlankReadings(const std::vector<std::string>& readings) override;
    std::string caption() const override;
    void setCaption(const std::string& caption) override;

    QTabWidget* Thojas;
    QLineEdit* emetodo;
    QLineEdit* eanalista;
    QLineEdit* efecha;
    QLineEdit* ecanad;
    QLineEdit* erecupera;
    QComboBox* ComboBox1;
    QLineEdit* enivel;
    QPushButton* bnivel;
    StringGrid* stgnivel;
    QPushButton* botonr;
    StringGrid* stgdatos;
    StringGrid* stgblancos;
    QMenu* pmenu;
    QAction* pmnudunet;

    void FormCreate();
    void ThojasEnter();
    void ThojasClick();

    // The entry rules (FdatosHandlers.cpp). Key handlers run for every character typed,
    // before it takes effect; enter and exit handlers once the focus has settled.
    void emetodoKeyPress(QChar key);
    void eanalistaKeyPress(QChar key);
    void efechaKeyPress(QChar key);
    void ecanadKeyPress(QChar key);
    void erecuperaKeyPress(QChar key);
    void erecuperaExit();
    void ComboBox1KeyPress(QChar key);
    void ComboBox1Click();
    void ComboBox1Exit();
    void enivelKeyPress(QChar key);
    void enivelExit();
    void bnivelClick();
    void stgnivelEnter();
    void stgnivelKeyPress(QChar key);
    void stgnivelExit();
    void botonrClick();
    void stgdatosEnter();
    void stgdatosKeyPress(QChar key);
    void stgdatosExit();
    void stgblancosKeyPress(QChar key);
    void stgblancosEdited();
    void stgblancosExit();
    void pmnudunetClick();

    // Closing: asks to save a modified study, then lets the frame's commands know.
    bool FormCloseQuery();
    void FormClose();

    // What the entry rules do to the window.
    void showPage(int page);
    // Shows the control's page and gives it the focus.
    void focusControl(QWidget* control);
    void setNavigationMode(ldc::StudyTable table, GridNavigation mode);
    void setCurrentCell(ldc::StudyTable table, int column, int row);

    // The control that holds each of the study's fields and tables (Fdatos.cpp maps them).
    StringGrid* grid(ldc::StudyTable table) const;
    QWidget* field(ldc::StudyField field) const;
    // The page that holds `control`, -1 for none.
    int pageOf(const QWidget* control) const;
    // The entry control the rules last saw the focus arrive at (nullptr before the first).
    QWidget* enteredControl() const { return m_entered; }

signals:
    void controlEntered(QWidget* control);
    void controlExited(QWidget* control);
    void controlKeyPressed(QWidget* control, QChar key);
    // The popup item "Detección y Cuantificación"; the frame runs its results command.
    void pmnudunetTriggered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void connectEntryRules();
    void controlEnter(QWidget* control);
    void controlExit(QWidget* control);
    void controlKeyPress(QWidget* control, QChar key);
    // Shows the verdict's notice, then sends the focus (and the page) where it says.
    void applyVerdict(const ldc::EntryVerdict& verdict);
    QWidget* controlFor(ldc::FocusTarget target) const;
    // Every edit of the study, typed or chosen, marks it modified on the frame.
    void markModified();
    // Frame commands, and this window's popup item alongside the frame's own item.
    void applyCommandState(CommandTransition transition);
    // Moves the focus to the next field when Enter is typed in a field that holds text.
    void enterMovesOn(QChar key, const QLineEdit* field, QWidget* next);
    // Shows the next (1) or previous (-1) page as picking its tab does.
    void pickPage(int step);

    QWidget* createGeneralPage();
    QWidget* createLevelPage();
    QWidget* createDataPage();
    QWidget* createBlankPage();
    // One empty row always follows the last reading, ready for the next one.
    void labelBlankRows(int fromRow);
    QLineEdit* addEdit(const char* name, int maxLength, int width);
    void trackFocus(QWidget* now);
    void dispatchFocus();
    // The entry control that `widget` belongs to (a grid's cell editor belongs to the grid).
    QWidget* controlOf(QWidget* widget) const;
    QWidget* focusedControl() const;
    bool holdsFocus() const;

    QList<QWidget*> m_controls;
    QWidget* m_entered = nullptr;
    bool m_notebookEntered = false;
    bool m_dispatchPending = false;
    bool m_dispatching = false;
};

// The open study's window; the frame sets it when New or Open creates the window.
extern QPointer<TFinforma> Finforma;
