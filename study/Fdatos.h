#pragma once

#include <QPointer>
#include <QWidget>

#include "study/StringGrid.h"
#include "study/StudyDocument.h"

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

// The study window: the one calibration study lives in the texts of its controls. Page 0
// holds the general information, page 1 the levels of added amount with their replicate
// counts, page 2 the recovered amounts.
//
// The entry rules are handlers on these controls. The window reports, for every entry
// control (the five edits, enivel, ComboBox1, both buttons and both grids):
//   controlEntered  - the focus arrived at the control from another one;
//   controlExited   - the focus left it for another control of this window (a grid's last
//                     keystroke is already in its cell);
//   controlKeyPressed - a character typed while it has the focus, before it takes effect.
// Enter and exit are reported once the toolkit has finished moving the focus, so a
// handler may move it again (focusControl), even to another page, and its move wins over
// the one the analyst started: the control the analyst was heading for is then neither
// entered nor left. A control whose enter handler sends the focus elsewhere is not
// reported as left. Focus that goes to another window (a notice, a results window) and
// comes back to the same control reports nothing.
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
    std::string cell(ldc::StudyGrid grid, int column, int row) const override;
    void setCell(ldc::StudyGrid grid, int column, int row, const std::string& text) override;
    int columnCount(ldc::StudyGrid grid) const override;
    int rowCount(ldc::StudyGrid grid) const override;
    void setColumnCount(ldc::StudyGrid grid, int count) override;
    void setRowCount(ldc::StudyGrid grid, int count) override;
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
    QMenu* pmenu;
    QAction* pmnudunet;

    void FormCreate();
    void ThojasEnter();
    void ThojasClick();

    // What the entry rules do to the window.
    void showPage(int page);
    // Shows the control's page and gives it the focus.
    void focusControl(QWidget* control);
    void setNavigationMode(ldc::StudyGrid grid, GridNavigation mode);
    void setCurrentCell(ldc::StudyGrid grid, int column, int row);

    StringGrid* grid(ldc::StudyGrid grid) const;
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

private:
    QWidget* createGeneralPage();
    QWidget* createLevelPage();
    QWidget* createDataPage();
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
