#pragma once
#include <string>
#include <string_view>

namespace velmora::projectfile {

// Reads and commits `bytes` as a project file, then saves and reopens the
// project; "" when everything held, else what went wrong.
std::string checkOpenSaveOpen(std::string_view bytes);

} // namespace velmora::projectfile
