// Fuzz target: reading and committing any bytes as a project file. Beyond the
// sanitizers: every opened project saves, and the saved file opens to the same
// state (the same bytes when saved again, the same values derived from them).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>

#include "model/Module1.h"
#include "projectfile/ProjectFile.h"
#include "tests/fuzz/ProjectFileFuzz.h"

namespace velmora::projectfile {

std::string checkOpenSaveOpen(std::string_view bytes)
{
    // The state is large: one for the whole run, carried from input to input
    // as the program carries it from Open to Open.
    static const std::unique_ptr<Module1> m = [] {
        auto s = makeModule1();
        setStartupDefaults(*s);
        return s;
    }();
    const auto derived = [](const Module1& s) {
        return std::tuple(s.CompressibleFlow, s.NoseShapeName, s.ActiveBodyGeometry, s.MeshAxialNodeCount,
                          s.MeshRadialNodeCount, s.MeshSizeUserSet);
    };
    const ReadResult first = read(bytes);
    if (!commit(first, *m)) return {};
    const auto opened = derived(*m);
    const std::optional<std::string> saved = write(*m);
    if (!saved) return "an opened project could not be saved";
    const ReadResult again = read(*saved);
    if (again.outcome != Outcome::Done || again.layout != ReadLayout::Complete) return "a saved project did not read completely";
    if (!commit(again, *m)) return "a saved project did not commit";
    if (write(*m) != saved) return "a saved project opened to other bytes";
    if (derived(*m) != opened) return "a saved project opened to another state";
    return {};
}

} // namespace velmora::projectfile

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!velmora::projectfile::checkOpenSaveOpen(bytes).empty()) std::abort();
    return 0;
}
