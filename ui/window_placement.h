#pragma once
// Placing the program's windows on the desktop.

class QWidget;

namespace vb {

// Moves a window so that its frame stands at the centre of the work area
// of its screen.
void centreOnDesktop(QWidget& window);

}  // namespace vb
