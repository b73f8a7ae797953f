// Checks that no window shows: a hand-edited number in a project file, the mode of a PDF written over an older file,
// and the section the kept vortex-panel factors serve.
#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "finpanel/FinPanelSolver.h"
#include "finpanel/PanelSolvers.h"
#include "projectfile/ProjectFile.h"
#include "tests/core/finpanel/FinInputs.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

TEST(Safeguards, FileNumbersPdfModesAndKeptSectionFactors)
{
    const struct { const char* what; std::function<void()> check; } rows[] = {
        {"a number field with a blank inside it is no number", [] {
             auto m = makeModule1();
             setStartupDefaults(*m);
             std::string file = projectfile::write(*m).value();
             ASSERT_EQ(projectfile::read(file).outcome, Outcome::Done);
             size_t at = 0;  // item 6, the nose length, as a hand edit leaves it
             for (int line = 1; line < 6; ++line) at = file.find("\r\n", at) + 2;
             file.replace(at, file.find("\r\n", at) - at, "\" 3 6\"");
             const projectfile::ReadResult r = projectfile::read(file);
             EXPECT_EQ(r.outcome, Outcome::Refused);
             EXPECT_EQ(r.message, "Item 6 holds \" 3 6\", which is not a number: the decimal separator is a point.");
         }},
        {"a PDF written over a file keeps that file's mode", [] {
             for (const QFile::Permissions mode : {QFile::ReadOwner | QFile::WriteOwner,
                                                   QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup}) {
                 QTemporaryDir dir;
                 QFile old(dir.filePath("page.pdf"));
                 ASSERT_TRUE(old.open(QFile::WriteOnly) && old.write("old") == 3 && old.setPermissions(mode));
                 old.close();
                 const QFile::Permissions before = QFile::permissions(old.fileName());
                 testing::printTo({});  // no printer: the page is saved as a PDF
                 testing::Harness h;
                 h.fileAnswer = [&](const FileRequest&) { return old.fileName(); };
                 QWidget window;
                 window.resize(200, 100);
                 EXPECT_EQ(printPage(&window, nullptr), PrintOutcome::SavedToFile);
                 setPrinterProvider({});
                 EXPECT_EQ(QFile::permissions(old.fileName()).toInt(), before.toInt());
                 EXPECT_TRUE(old.open(QFile::ReadOnly) && old.readAll().startsWith("%PDF"));
             }
         }},
        {"kept factors serve only a section with every corner the same", [] {
             NullProgress quiet;
             finpanel::FinSectionInput in = testing::fin("MANUAL INPUT", 4, 3.0);
             in.manualX = {0, -1, 0, 1, 0};
             in.manualY = {0, 0, 0.2, 0, -0.2};
             const bool before = finpanel::setSectionFactorReuse(true);
             (void)finpanel::VORTEX(in, quiet);
             in.manualX[4] = 0.1;  // the last corner alone moves
             const finpanel::FinSectionResult kept = finpanel::VORTEX(in, quiet);
             finpanel::setSectionFactorReuse(false);
             const finpanel::FinSectionResult formed = finpanel::VORTEX(in, quiet);
             finpanel::setSectionFactorReuse(before);
             ASSERT_EQ(formed.outcome, Outcome::Done) << formed.message;
             EXPECT_EQ(kept.solution.vortexStrength, formed.solution.vortexStrength);
             EXPECT_EQ(kept.solution.cp, formed.solution.cp);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.check();
    }
}

} // namespace
} // namespace velmora
