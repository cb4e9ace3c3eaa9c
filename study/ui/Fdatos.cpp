#include "study/ui/Fdatos.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "app/Hint.h"
#include "study/StudyLayout.h"

QPointer<TFinforma> Finforma;

namespace {

constexpr int kHelpContext = 2;
constexpr int kWideField = 577;
constexpr int kNarrowField = 230;

constexpr int kMethodLength = 60;
constexpr int kAnalystLength = 60;
constexpr int kDateLength = 20;
constexpr int kUnitLength = 5;
constexpr int kLevelCountLength = 2;

// Handlers that keep sending the focus on to one another would otherwise never end.
constexpr int kMaxFocusMovesPerChange = 16;

QLabel* buddyLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

// A label over its field, as one block of the page.
QVBoxLayout* labelled(QLabel* label, QWidget* field, Qt::Alignment alignment = Qt::AlignLeft) {
    auto* box = new QVBoxLayout;
    box->setSpacing(2);
    box->addWidget(label, 0, alignment);
    box->addWidget(field, 0, alignment);
    return box;
}

}  // namespace

TFinforma::TFinforma(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Finforma"));
    setProperty("helpContext", kHelpContext);
    setWindowTitle(QStringLiteral("Nuevo"));
    resize(634, 368);

    Thojas = new QTabWidget(this);
    Thojas->setObjectName(QStringLiteral("Thojas"));
    // The pages are reached by clicking their tabs; Tab walks only the page's controls.
    Thojas->tabBar()->setFocusPolicy(Qt::NoFocus);
    Thojas->addTab(createGeneralPage(), QStringLiteral("Información General"));
    Thojas->addTab(createLevelPage(), QStringLiteral("Información de niveles"));
    Thojas->addTab(createDataPage(), QStringLiteral("Captura de Datos"));
    Thojas->addTab(createBlankPage(), QStringLiteral("Blancos"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(Thojas);

    m_controls = {emetodo, eanalista, efecha,   ecanad, erecupera, ComboBox1,
                  enivel,  bnivel,    stgnivel, botonr, stgdatos,  stgblancos};
    for (int i = 1; i < m_controls.size(); ++i)
        setTabOrder(m_controls[i - 1], m_controls[i]);
    for (QWidget* control : m_controls)
        if (!qobject_cast<StringGrid*>(control))
            control->installEventFilter(this);
    for (StringGrid* g : {stgnivel, stgdatos, stgblancos})
        connect(g, &StringGrid::keyPressed, this,
                [this, g](QChar key) { emit controlKeyPressed(g, key); });

    pmenu = new QMenu(this);
    pmenu->setObjectName(QStringLiteral("pmenu"));
    pmnudunet = pmenu->addAction(QStringLiteral("&Detección y Cuantificación"));
    pmnudunet->setObjectName(QStringLiteral("pmnudunet"));
    setHint(pmnudunet, QStringLiteral("Cálculos|Límite de detección y cuantificación del método"));
    pmnudunet->setEnabled(false);
    connect(pmnudunet, &QAction::triggered, this, [this] { emit pmnudunetTriggered(); });
    stgdatos->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(stgdatos, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        pmenu->popup(stgdatos->viewport()->mapToGlobal(position));
    });

    // The tab's page is made current before the click handler moves the focus, so the
    // control the toolkit would pick on the new page is never entered on the way.
    connect(Thojas->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        if (index < 0 || !Thojas->isTabEnabled(index))
            return;
        Thojas->setCurrentIndex(index);
        ThojasClick();
    });
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { trackFocus(now); });

    // Ctrl+Tab picks the next page as its tab does, from the keyboard. A shortcut of the
    // window, so that it comes before the frame's own use of Ctrl+Tab (the next child
    // window) and before any control could take the key for itself.
    auto pageShortcut = [this](int step, std::initializer_list<QKeySequence> keys) {
        auto* action = new QAction(this);
        action->setShortcuts(QList<QKeySequence>(keys));
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, [this, step] { pickPage(step); });
        addAction(action);
    };
    pageShortcut(1,
                 {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)});
    pageShortcut(
        -1, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
             QKeySequence(Qt::CTRL | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_PageUp)});

    FormCreate();
    Thojas->setCurrentIndex(1);
    connectEntryRules();
}

TFinforma::~TFinforma() {
    // Children die after this body; their focus changes must not reach a half-gone window.
    disconnect(qApp, nullptr, this, nullptr);
    for (QWidget* control : std::as_const(m_controls))
        control->removeEventFilter(this);
}

QLineEdit* TFinforma::addEdit(const char* name, int maxLength, int width) {
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(maxLength);
    edit->setFixedWidth(width);
    edit->setProperty("typingLimit", maxLength);
    return edit;
}

QWidget* TFinforma::createGeneralPage() {
    auto* page = new QWidget;
    emetodo = addEdit("emetodo", kMethodLength, kWideField);
    eanalista = addEdit("eanalista", kAnalystLength, kWideField);
    efecha = addEdit("efecha", kDateLength, kNarrowField);
    ecanad = addEdit("ecanad", kUnitLength, kNarrowField);
    erecupera = addEdit("erecupera", kUnitLength, kNarrowField);

    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    // The basis is compared with the two item texts literally: what is typed stays as
    // typed, never completed to an item nor added to the list.
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->addItems(
        {QString::fromUtf8(ldc::kBasisRegression), QString::fromUtf8(ldc::kBasisIntercept)});
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setFixedWidth(169);

    auto* units = new QHBoxLayout;
    units->addLayout(labelled(
        buddyLabel(QStringLiteral("&Unidades de la cantidad adicionada:"), ecanad), ecanad));
    units->addStretch();
    units->addLayout(labelled(
        buddyLabel(QStringLiteral("Unidades de la cantidad &recuperada:"), erecupera), erecupera));

    auto* column = new QVBoxLayout;
    column->setSpacing(14);
    column->addLayout(
        labelled(buddyLabel(QStringLiteral("Nombre del &método:"), emetodo), emetodo));
    column->addLayout(
        labelled(buddyLabel(QStringLiteral("Nombre del A&nalista:"), eanalista), eanalista));
    column->addLayout(labelled(buddyLabel(QStringLiteral("&Fecha:"), efecha), efecha));
    column->addLayout(units);
    column->addLayout(labelled(buddyLabel(QStringLiteral("Curva de calibración"), ComboBox1),
                               ComboBox1, Qt::AlignHCenter));
    column->addStretch();

    auto* holder = new QWidget;
    holder->setFixedWidth(kWideField);
    holder->setLayout(column);
    column->setContentsMargins(0, 0, 0, 0);
    auto* outer = new QHBoxLayout(page);
    outer->setContentsMargins(16, 14, 16, 8);
    outer->addWidget(holder);
    outer->addStretch();
    return page;
}

QWidget* TFinforma::createLevelPage() {
    auto* page = new QWidget;
    enivel = addEdit("enivel", kLevelCountLength, 33);
    bnivel = new QPushButton(QStringLiteral("Aceptar niveles"));
    bnivel->setObjectName(QStringLiteral("bnivel"));
    stgnivel = new StringGrid(4, 3);
    stgnivel->setObjectName(QStringLiteral("stgnivel"));
    stgnivel->setDefaultColumnWidth(100);
    stgnivel->setDefaultRowHeight(24);
    stgnivel->setFixedSize(545, 101);
    botonr = new QPushButton(QStringLiteral("Aceptar replicas por nivel"));
    botonr->setObjectName(QStringLiteral("botonr"));
    // Enter presses the button that has the focus, as Space does: the rules bring the
    // cursor to each button in turn and the analyst goes on without the mouse.
    for (QPushButton* button : {bnivel, botonr})
        button->setAutoDefault(true);

    auto* count = new QHBoxLayout;
    count->setSpacing(12);
    count->addWidget(enivel);
    count->addWidget(bnivel);
    count->addStretch();

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(16, 10, 16, 8);
    column->setSpacing(10);
    auto* caption = new QLabel(QStringLiteral("Número de niveles de cantidad adicionada:"));
    caption->setBuddy(enivel);
    column->addWidget(caption);
    column->addLayout(count);
    column->addWidget(stgnivel);
    column->addWidget(botonr, 0, Qt::AlignLeft);
    column->addStretch();
    return page;
}

QWidget* TFinforma::createDataPage() {
    auto* page = new QWidget;
    stgdatos = new StringGrid(2, 10, ldc::kResultsStoredColumns - 2);
    stgdatos->setObjectName(QStringLiteral("stgdatos"));
    stgdatos->setDefaultColumnWidth(110);
    stgdatos->setDefaultRowHeight(24);
    stgdatos->setColumnSizing(true);
    stgdatos->setFixedSize(273, 260);
    setHint(stgdatos, QStringLiteral("opciones botón derecho"));

    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(16, 10, 16, 8);
    column->addWidget(stgdatos, 0, Qt::AlignLeft | Qt::AlignTop);
    column->addStretch();
    return page;
}

QWidget* TFinforma::createBlankPage() {
    auto* page = new QWidget;
    stgblancos = new StringGrid(2, 2);
    stgblancos->setObjectName(QStringLiteral("stgblancos"));
    stgblancos->setDefaultColumnWidth(110);
    stgblancos->setDefaultRowHeight(24);
    stgblancos->setFixedSize(273, 260);
    labelBlankRows(1);

    auto* caption = new QLabel(QStringLiteral(
        "Lecturas de blancos, en las unidades de la cantidad recuperada (una por renglón):"));
    caption->setBuddy(stgblancos);
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(16, 10, 16, 8);
    column->addWidget(caption);
    column->addWidget(stgblancos, 0, Qt::AlignLeft | Qt::AlignTop);
    column->addStretch();
    return page;
}

void TFinforma::labelBlankRows(int fromRow) {
    for (int r = fromRow; r < stgblancos->rowCount(); ++r)
        stgblancos->setCell(0, r, QString::fromStdString(ldc::blankLabel(r)));
}

void TFinforma::FormCreate() {
    ldc::applyInitialContent(*this);
    stgdatos->setColumnWidth(0, 140);
}

void TFinforma::ThojasEnter() {
    showPage(0);
    focusControl(emetodo);
}

void TFinforma::ThojasClick() {
    switch (Thojas->currentIndex()) {
        case 0:
            focusControl(emetodo);
            break;
        case 1:
            focusControl(enivel);
            break;
        default:
            // The grid, the page's only control, takes the focus as the toolkit gives it;
            // leaving a grid's cell editor the toolkit may give it to no control at all.
            if (pageOf(focusedControl()) != Thojas->currentIndex())
                focusControl(Thojas->currentIndex() == pageOf(stgdatos) ? stgdatos : stgblancos);
            break;
    }
}

void TFinforma::pickPage(int step) {
    const int count = Thojas->count();
    Thojas->setCurrentIndex((Thojas->currentIndex() + step + count) % count);
    ThojasClick();
}

void TFinforma::showPage(int page) {
    Thojas->setCurrentIndex(page);
}

void TFinforma::focusControl(QWidget* control) {
    const int page = pageOf(control);
    if (page >= 0)
        showPage(page);
    control->setFocus(Qt::OtherFocusReason);
    // A field reached from the keyboard or by a rule has its text selected, so that what
    // the analyst types replaces it (a level count of "3" becomes "4", not "34").
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

void TFinforma::setNavigationMode(ldc::StudyTable which, GridNavigation mode) {
    grid(which)->setNavigationMode(mode);
}

void TFinforma::setCurrentCell(ldc::StudyTable which, int column, int row) {
    grid(which)->setCurrentCell(column, row);
}

// The one place where the study's names meet this window's controls: the fields, the two
// tables and the places the entry rules send the focus to.
QWidget* TFinforma::field(ldc::StudyField which) const {
    switch (which) {
        case ldc::StudyField::method:
            return emetodo;
        case ldc::StudyField::analyst:
            return eanalista;
        case ldc::StudyField::date:
            return efecha;
        case ldc::StudyField::addedUnits:
            return ecanad;
        case ldc::StudyField::recoveredUnits:
            return erecupera;
        case ldc::StudyField::limitBasis:
            return ComboBox1;
        case ldc::StudyField::levelCount:
            return enivel;
    }
    return nullptr;
}

StringGrid* TFinforma::grid(ldc::StudyTable which) const {
    return which == ldc::StudyTable::levels ? stgnivel : stgdatos;
}

QWidget* TFinforma::controlFor(ldc::FocusTarget target) const {
    switch (target) {
        case ldc::FocusTarget::UserChoice:
            return nullptr;
        case ldc::FocusTarget::limitBasis:
            return field(ldc::StudyField::limitBasis);
        case ldc::FocusTarget::levelCount:
            return field(ldc::StudyField::levelCount);
        case ldc::FocusTarget::acceptLevels:
            return bnivel;
        case ldc::FocusTarget::levelTable:
            return grid(ldc::StudyTable::levels);
        case ldc::FocusTarget::acceptReplicates:
            return botonr;
        case ldc::FocusTarget::resultsTable:
            return grid(ldc::StudyTable::results);
        case ldc::FocusTarget::blankTable:
            return stgblancos;
    }
    return nullptr;
}

int TFinforma::pageOf(const QWidget* control) const {
    for (int i = 0; i < Thojas->count(); ++i)
        if (Thojas->widget(i)->isAncestorOf(control))
            return i;
    return -1;
}

std::string TFinforma::text(ldc::StudyField which) const {
    if (which == ldc::StudyField::limitBasis)
        return ComboBox1->currentText().toStdString();
    return static_cast<QLineEdit*>(field(which))->text().toStdString();
}

void TFinforma::setText(ldc::StudyField which, const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (which == ldc::StudyField::limitBasis) {
        // An item's text is that item chosen, so that the combo box, when the focus leaves
        // it, does not choose it again on the analyst's behalf (a choice marks the study).
        ComboBox1->setCurrentIndex(
            ComboBox1->findText(value, Qt::MatchExactly | Qt::MatchCaseSensitive));
        ComboBox1->setEditText(value);
        return;
    }
    // The length limit holds what the analyst types. A text the program sets (a study
    // file written elsewhere) is kept whole, so that saving it again loses nothing.
    auto* edit = static_cast<QLineEdit*>(field(which));
    const int limit = edit->property("typingLimit").toInt();
    edit->setMaxLength(std::max<int>(limit, static_cast<int>(value.size())));
    edit->setText(value);
    // The data column is headed by the units of the recovered amount as soon as the field
    // holds them, as leaving the field heads it: a study filled by Open prints the same
    // general page as the same study typed by hand.
    if (which == ldc::StudyField::recoveredUnits) {
        stgdatos->setCell(1, 0, value);
        stgblancos->setCell(1, 0, value);
    }
}

std::string TFinforma::cell(ldc::StudyTable which, int column, int row) const {
    return grid(which)->cell(column, row).toStdString();
}

void TFinforma::setCell(ldc::StudyTable which, int column, int row, const std::string& text) {
    grid(which)->setCell(column, row, QString::fromStdString(text));
}

int TFinforma::columnCount(ldc::StudyTable which) const {
    return grid(which)->colCount();
}

int TFinforma::rowCount(ldc::StudyTable which) const {
    return grid(which)->rowCount();
}

void TFinforma::setColumnCount(ldc::StudyTable which, int count) {
    grid(which)->setColCount(count);
}

void TFinforma::setRowCount(ldc::StudyTable which, int count) {
    grid(which)->setRowCount(count);
}

int TFinforma::blankCount() const {
    int readings = stgblancos->rowCount() - 1;
    while (readings > 0 && stgblancos->cell(1, readings).isEmpty())
        --readings;
    return readings;
}

std::string TFinforma::blankReadingText(int reading) const {
    if (reading < 1 || reading > blankCount())
        return {};
    return stgblancos->cell(1, reading).toStdString();
}

void TFinforma::setBlankReadings(const std::vector<std::string>& readings) {
    std::size_t count = readings.size();
    while (count > 0 && readings[count - 1].empty())
        --count;
    // The header row, the readings and the empty row for the next one.
    stgblancos->setRowCount(static_cast<int>(count) + 2);
    for (std::size_t i = 0; i < count; ++i)
        stgblancos->setCell(1, static_cast<int>(i) + 1, QString::fromStdString(readings[i]));
    stgblancos->setCell(1, static_cast<int>(count) + 1, QString());
    labelBlankRows(1);
}

std::string TFinforma::caption() const {
    return windowTitle().toStdString();
}

void TFinforma::setCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

bool TFinforma::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* control = static_cast<QWidget*>(watched);
        const QChar typed = typedCharacter(static_cast<QKeyEvent*>(event));
        if (!typed.isNull()) {
            emit controlKeyPressed(control, typed);
            // A handler that moved the focus on (Enter in emetodo) has used the key up.
            if (controlOf(QApplication::focusWidget()) != control)
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QWidget* TFinforma::controlOf(QWidget* widget) const {
    for (QWidget* w = widget; w && w != this; w = w->parentWidget())
        if (m_controls.contains(w))
            return w;
    return nullptr;
}

QWidget* TFinforma::focusedControl() const {
    if (holdsFocus())
        return controlOf(QApplication::focusWidget());
    // A notice has the focus for now: the control the window gives it back to, where a
    // handler may just have sent it, is the one that counts.
    return controlOf(focusWidget());
}

bool TFinforma::holdsFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && isAncestorOf(focus);
}

void TFinforma::trackFocus(QWidget* now) {
    if (!now || !isAncestorOf(now))
        return;  // another window has it for now; the study's focus stays where it was
    if (!m_notebookEntered && Thojas->isAncestorOf(now)) {
        m_notebookEntered = true;
        ThojasEnter();
    }
    if (m_dispatchPending || m_dispatching)
        return;  // the dispatch under way, or already queued, sees where the focus ends
    m_dispatchPending = true;
    QMetaObject::invokeMethod(
        this, [this] { dispatchFocus(); }, Qt::QueuedConnection);
}

void TFinforma::dispatchFocus() {
    m_dispatchPending = false;
    if (m_dispatching)
        return;
    const QScopedValueRollback<bool> busy(m_dispatching, true);
    for (int moves = 0; moves < kMaxFocusMovesPerChange && isVisible(); ++moves) {
        QWidget* target = focusedControl();
        if (target == m_entered || (!target && !holdsFocus()))
            return;
        if (QWidget* left = std::exchange(m_entered, nullptr)) {
            if (auto* g = qobject_cast<StringGrid*>(left))
                g->commitEdit();
            emit controlExited(left);
            QWidget* now = focusedControl();
            if (now == left) {
                // Sent back to correct it: the analyst never got away, so it is not
                // entered again (no second round of its enter check).
                m_entered = left;
                return;
            }
            if (now != target)
                continue;  // the exit handler moved the focus: its move wins
        }
        if (!target)
            return;
        // Marked as entered first: when the enter handler raises an error the control
        // keeps the focus and is left later like any other.
        m_entered = target;
        emit controlEntered(target);
        if (focusedControl() != target)
            m_entered = nullptr;  // sent on by its own handler: it was never settled in
    }
}
