#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <sys/stat.h>

namespace toolkit::qt {

// The disk side of replacing the settings file: plain system calls, so that what is checked is
// what the disk gives back, not what a cache remembers.

// Where a path ends up once every symbolic link on the way is followed, as the system follows
// them: a link's ".." goes up from the folder the link really is in. A link that leads nowhere
// ends at the file it names, which a save creates.
QString LinkEnd(const QString& path);

// Opening a FIFO or a device for reading can block for ever; only a regular file is read.
enum class FileKind { Missing, Regular, Other };
FileKind KindOf(const QString& path);

// The bytes of a regular file, and its status; nothing when it cannot be read whole.
std::optional<QByteArray> ReadRegular(const QString& path, struct stat* status = nullptr);

// Creates a file that did not exist, readable by its owner only from the first byte, holding the
// bytes; false when the disk refuses.
bool WriteNew(const QString& path, QByteArrayView bytes);

bool SyncPath(const QString& path, int flags);

// The new file takes the old one's permissions, so that it is as private as the old one, and a
// modification time that differs from the old one's.
void TakeOver(const QString& file, const struct stat& old);

// Removes what saves that were killed left beside the settings file.
void RemoveDebris(const QString& path);

} // namespace toolkit::qt
