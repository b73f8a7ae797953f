// Replays the project-file fuzz target's seed corpus and a fixed set of
// mutations of it under the test build's sanitizers; no fuzzing engine needed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "geometry/FinGeometry.h"
#include "projectfile/ProjectFile.h"
#include "tests/fuzz/ProjectFileFuzz.h"

namespace velmora::projectfile {
namespace {

std::vector<std::pair<std::string, std::string>> seeds()
{
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& e : std::filesystem::directory_iterator(VELMORA_FUZZ_CORPUS)) {
        std::ifstream f(e.path(), std::ios::binary);
        out.emplace_back(e.path().filename().string(), std::string(std::istreambuf_iterator<char>(f), {}));
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every seed opens; it and every prefix of it pass the open-save-open check.
TEST(ProjectFileFuzzReplay, SeedsAndEveryPrefixOfThem)
{
    const auto all = seeds();
    ASSERT_GE(all.size(), 5u);
    for (const auto& [name, bytes] : all) {
        EXPECT_EQ(read(bytes).outcome, Outcome::Done) << name;
        for (size_t n = 0; n <= bytes.size(); ++n)
            ASSERT_EQ(checkOpenSaveOpen(std::string_view(bytes).substr(0, n)), "") << name << " cut at " << n;
    }
}

// The free-form seed's triangle fins have their tip distance inside the root chord: the refusal names the tip distance.
TEST(ProjectFileFuzzReplay, TheTriangleSeedIsRefusedByItsTipDistance)
{
    auto m = makeModule1();
    for (const auto& [name, bytes] : seeds()) {
        if (name == "freeform.txt") {
            ASSERT_TRUE(commit(read(bytes), *m));
        }
    }
    EXPECT_STREQ(badFinDimension(*m), kMsgTriangleTipDistance);
}

TEST(ProjectFileFuzzReplay, FixedMutations)
{
    static const char* const tokens[] = {"\"", ",", "\r\n", "\r", "\n", " ", "\t", "-", ".", "D", "E+", "1E400",
                                         "9999999", "32767.5", " 1", " 21", "\xE9", "\"\r\n\"", "", "0"};
    std::mt19937 rng(17);
    const auto below = [&](size_t n) {
        return n == 0 ? size_t{0} : std::uniform_int_distribution<size_t>(0, n - 1)(rng);
    };
    for (const auto& [name, seed] : seeds()) {
        for (int k = 0; k < 1500; ++k) {
            std::string b = seed;
            for (int ops = 1 + static_cast<int>(below(3)); ops > 0; --ops) {
                const size_t at = below(b.size() + 1);
                switch (below(5)) {
                case 0: if (at < b.size()) b[at] = static_cast<char>(below(256)); break;
                case 1: b.insert(at, tokens[below(std::size(tokens))]); break;
                case 2: b.erase(at, below(12)); break;
                case 3: b.insert(at, b.substr(below(b.size() + 1), below(80))); break;
                default: b.resize(at); break;
                }
            }
            ASSERT_EQ(checkOpenSaveOpen(b), "") << name << " mutation " << k << ":\n" << b;
        }
    }
}

} // namespace
} // namespace velmora::projectfile
