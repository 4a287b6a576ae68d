#pragma once

class QWidget;

namespace nimbrel::x11 {

// Raises one of the program's windows and asks the window manager to give it the focus. The
// program runs in the background, and a manager that weighs an application's own request against
// the user's last input may leave the window behind; a request in the pager's name is one it
// grants, and a window the user must type into needs the focus.
void askToActivate(QWidget& window);

}  // namespace nimbrel::x11
