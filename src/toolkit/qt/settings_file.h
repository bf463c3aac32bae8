#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>
#include <sys/stat.h>

namespace toolkit::qt {

// The disk side of replacing the settings file: plain system calls, so that what is checked is
// what the disk gives back, not what a cache remembers.

// Opening a FIFO or a device for reading can block for ever; only a regular file is read.
enum class FileKind { Missing, Regular, Other };
FileKind KindOf(const QString& path);

// The bytes of a regular file, and its status; nothing when it cannot be read whole.
std::optional<QByteArray> ReadRegular(const QString& path, struct stat* status = nullptr);

// Creates a file that did not exist, holding the bytes; false when the disk refuses.
bool WriteNew(const QString& path, QByteArrayView bytes);

// Whether the file on the disk holds exactly these bytes: a short or damaged write does not.
bool FileHolds(const QString& path, QByteArrayView bytes);

bool SyncPath(const QString& path, int flags);

// The new file takes the old one's permissions, so that a private settings file stays private,
// and a modification time later than the old one's.
void TakeOver(const QString& file, const struct stat& old);

// Removes what saves that were killed left beside the settings file.
void RemoveDebris(const QString& path);

} // namespace toolkit::qt
