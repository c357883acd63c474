#pragma once
// An icon made only when it is first drawn or asked about. Some widgets set
// an icon they seldom or never show (the menu bar's button for menus that do
// not fit); making it at once loads the image plug-ins before the window's
// first frame.

#include <QIcon>
#include <functional>

namespace vb {

QIcon deferredIcon(std::function<QIcon()> make);

}  // namespace vb
