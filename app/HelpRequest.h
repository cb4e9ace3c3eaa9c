#pragma once

#include <QtGlobal>

#include <functional>

class QWidget;

// Help context numbers of the windows: F1 in a window shows its topic.
inline constexpr unsigned kHelpStudyWindow = 2;
inline constexpr unsigned kHelpResultsWindow = 11;
inline constexpr unsigned kHelpValidationWindow = 12;
inline constexpr unsigned kHelpReportWindow = 19;
inline constexpr unsigned kHelpAboutBox = 33;

// The dynamic property that carries a window's or a menu item's help context number.
inline constexpr char kHelpContextProperty[] = "helpContext";

// Every help request of the program: the help viewer on the application's help file.
void requestHelp(QWidget* owner, unsigned command, quintptr data);

// The tests watch the requests instead of opening the viewer; an empty hook restores it.
using HelpRequestHook = std::function<void(unsigned command, quintptr data)>;
void setHelpRequestHook(HelpRequestHook hook);
