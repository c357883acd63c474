#pragma once
// Qt's own Russian texts: the buttons and labels of the colour and font
// dialogs, message boxes and the context menus of the text fields.

namespace vb {

// Loads Qt's Russian catalogue once. Without it (the translations package
// is missing) the standard texts stay in English and nothing is reported.
// Returns whether the catalogue is in use.
bool installQtTranslations();

}  // namespace vb
