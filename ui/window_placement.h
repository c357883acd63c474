#pragma once
// Placing the program's windows on the desktop.

class QEvent;
class QWidget;

namespace vb {

// Moves a window so that its frame stands at the centre of the work area
// of its screen.
void centreOnDesktop(QWidget& window);

// Makes `dialog` a dialog of `owner` for the window system: it stands in
// front of the owner and window managers frame it as a dialog.
void makeDialogOf(QWidget& dialog, QWidget& owner);

// For a window that has no minimise box: when a window manager minimises
// it all the same, it is closed instead (as by its own close command), so
// the main window it disabled is never left without a way back.
void closeIfMinimised(QWidget& window, QEvent* event);

}  // namespace vb
