#pragma once

#include <array>
#include <span>

class QObject;

// Which commands are available is decided here and nowhere else. The table has one row
// per command (the menu item's action, shared with its speed button) and one column per
// situation that changes availability. A later situation (botonr clicked, data grid
// entered, study window closed, last child closed) is one more enumerator and one more
// column in every row.
enum class CommandTransition {
    StartUp,  // also the idle state: no child window open
    AfterNew,
    AfterOpen,
    AfterCloseStudy,  // the Close command has closed the study window
    LastChildClosed,  // the last child window has closed: back to idle, Cálculos as it was
    LevelsAccepted,   // "Aceptar replicas por nivel": Cálculos on, the result commands off
    DataGridEntered,  // data grid entered or typed in: Cálculos and the result commands on
    StudyClosed,      // the study window has gone: nothing may read or write the study
};
inline constexpr int kCommandTransitionCount = 8;

enum class CommandState : unsigned char { On, Off, Same };

struct CommandRow {
    const char* item;    // objectName of the QAction; a menu's is its menuAction()
    const char* button;  // objectName of the speed button showing that action, or nullptr
    bool hidden;         // never shown, whatever the state
    std::array<CommandState, kCommandTransitionCount> states;
};

std::span<const CommandRow> commandTable();

// Applies one column to the actions found by name among `frame`'s descendants. Hidden
// rows are (re)hidden as well, menu item and speed button alike.
void applyCommandTransition(QObject* frame, CommandTransition transition);
