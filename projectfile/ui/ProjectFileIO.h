#pragma once
// Disk side of the project data file: the bytes go to disk in one piece, so a
// failed save leaves the file that was there as it was.
#include <QString>

#include <functional>
#include <optional>
#include <string>

namespace velmora {

// Writes `bytes` to `path` through a temporary file that replaces the target
// only when every byte has been written. False, with any earlier file kept,
// when the target cannot be created or a write fails.
bool saveProjectFile(const QString& path, const std::string& bytes);

// The bytes of the file, or nullopt when it cannot be opened for reading.
std::optional<std::string> loadProjectFile(const QString& path);

// Test hook of the save path: runs before each line is written with the
// offset of that line in the file; false makes that write fail. An empty
// hook (the default) lets every write through.
void setProjectSaveFault(std::function<bool(long long offset)> fault);

} // namespace velmora
