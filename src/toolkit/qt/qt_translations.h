#pragma once

namespace toolkit::qt {

// Qt's own dialogs and buttons speak Simplified Chinese like the rest of the program, whatever
// the user's locale. Needs the application object.
void LoadChineseQtTranslations();

} // namespace toolkit::qt
