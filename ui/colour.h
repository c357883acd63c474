#pragma once
// The program's colours (0x00BBGGRR, negative = a system colour by index)
// as Qt colours and back.

#include <QColor>

#include "session/settings.h"

namespace vb {

// A negative value names a system colour by the index in its lowest byte;
// it is taken from the application palette's closest role.
QColor toQColor(Colour colour);
Colour fromQColor(const QColor& colour);

}  // namespace vb
