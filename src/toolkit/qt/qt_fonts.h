#pragma once
#include <QString>

namespace toolkit::qt {

// The face Qt is asked for when a font names `face`. The Chinese faces the program offers are
// Windows fonts: where one is not installed, this is the first installed Simplified Chinese face
// of the same kind, which is what Qt would draw anyway; asking for it by name spares fontconfig
// the fallback search for a name it cannot have. Any other name, and a face that is installed,
// is asked for as it is. Needs the application object.
QString InstalledFace(const QString& face);

} // namespace toolkit::qt
