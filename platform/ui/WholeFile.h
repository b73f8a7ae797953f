#pragma once
// Files written and read whole: the project data file, the sweep export,
// the base-flow output and the PDF files of the print commands. The bytes go
// to disk in one piece, so a failed save leaves the file that was there as
// it was.
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace velmora {

// Writes `bytes` to `path` through a temporary file that replaces the target
// only when every byte has been written. False, with any earlier file kept,
// when the target cannot be created or a write fails. Unbuffered, so a short
// write is seen where it happens: a buffered one is flushed by the commit,
// which lets it pass and puts a cut file in place of the old one.
bool saveWholeFile(const QString& path, const std::string& bytes);

// Writes `path` whole through a writer that takes only a file name (a PDF
// printer). `write` fills the empty temporary file it is given, beside
// `path`, and may say why it failed in *why. The temporary file replaces
// `path` in one step only when `write` returns true, the file holds bytes
// and they reach the disk; otherwise it is removed and an earlier file stays
// as it was. The result is empty when the file is in place, else the reason
// in one sentence: "<file> is a folder.", "<file> is read-only.", "No
// permission to write in <folder>.", "The folder <folder> does not exist.",
// "No room on the disk for <file>.", the writer's own reason, or "<file>
// could not be written (<the system's reason>).".
using WriteToFile = std::function<bool(const QString& temporary, QString* why)>;
QString saveWholeFileBy(const QString& path, const WriteToFile& write);

// Why a file could not be read whole.
enum class LoadFailure {
    None,
    NotOpened,   // missing, or no permission
    Folder,      // a folder
    NotAFile,    // a pipe, a device or a socket: reading it could wait forever
    TooLarge     // more than the bytes asked for
};

// The bytes of the file, or nullopt when it cannot be opened for reading, is
// no regular file or holds more than `maxBytes` (then no more than that is
// read); `why` says which. Never waits: only a regular file is read, and the
// file is opened without blocking, so a pipe put in its place is refused too.
std::optional<std::string> loadWholeFile(const QString& path, std::size_t maxBytes, LoadFailure* why = nullptr);

// Test hook of the save path: runs before each line is written with the
// offset of that line in the file; false makes that write fail. An empty
// hook (the default) lets every write through.
void setSaveFault(std::function<bool(long long offset)> fault);

} // namespace velmora
