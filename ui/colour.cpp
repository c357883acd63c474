#include "ui/colour.h"

#include <QApplication>
#include <QPalette>

namespace vb {
namespace {

// The platform's system colour indices, by the palette role that plays the
// same part here.
QPalette::ColorRole systemRole(int index) {
  switch (index) {
    case 1:   // desktop
    case 16:  // button shadow
      return QPalette::Dark;
    case 2:   // active caption
    case 13:  // highlight
    case 27:  // active caption gradient
    case 29:  // menu highlight
      return QPalette::Highlight;
    case 3:   // inactive caption
    case 12:  // application workspace
    case 28:  // inactive caption gradient
      return QPalette::Mid;
    case 5:  // window
      return QPalette::Base;
    case 6:   // window frame
    case 21:  // 3D dark shadow
      return QPalette::Shadow;
    case 7:  // menu text
      return QPalette::WindowText;
    case 8:  // window text
      return QPalette::Text;
    case 9:   // caption text
    case 14:  // highlighted text
      return QPalette::HighlightedText;
    case 17:  // grey text
      return QPalette::PlaceholderText;
    case 18:  // button text
      return QPalette::ButtonText;
    case 20:  // button highlight
      return QPalette::Light;
    case 22:  // 3D light
      return QPalette::Midlight;
    case 23:
      return QPalette::ToolTipText;
    case 24:
      return QPalette::ToolTipBase;
    case 26:
      return QPalette::Link;
    case 0:   // scroll bar
    case 10:  // active border
    case 11:  // inactive border
    case 15:  // button face
      return QPalette::Button;
    default:  // menu, menu bar and anything unknown
      return QPalette::Window;
  }
}

}  // namespace

QColor toQColor(Colour colour) {
  if (colour < 0) {
    return QApplication::palette().color(QPalette::Active, systemRole(colour & 0xFF));
  }
  return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

Colour fromQColor(const QColor& colour) {
  const QColor rgb = colour.toRgb();
  return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

}  // namespace vb
