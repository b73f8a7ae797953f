#include <QTest>
#include <gtest/gtest.h>
#include "app/ui/SOLVER.h"
#include "geometry/ui/GeometryWindows.h"
#include "tests/ui/Harness.h"
namespace velmora { namespace {
using testing::Harness;
TEST(ZZSnapshot, Save)
{
    Harness h; h.start();
    BODYTUBE& b = h.forms->get<BODYTUBE>();
    FinAnalysis& f = h.forms->get<FinAnalysis>();
    Harness::type(f.DTip, "28"); Harness::type(f.DRoot, "24"); Harness::type(f.TipChord, "4");
    Harness::type(f.RootChord, "8"); Harness::type(f.SpanLength, "4");
    b.show(); QTest::qWaitForWindowExposed(&b);
    Harness::type(b.NoseLength, "5"); Harness::type(b.BodyDiameter, "2"); Harness::type(b.BodyLength, "29");
    QApplication::processEvents();
    b.grab().save("/tmp/body.png");
    f.show(); QTest::qWaitForWindowExposed(&f); QApplication::processEvents();
    f.grab().save("/tmp/fins.png");
    f.FinShapes[3]->click(); QApplication::processEvents();
    f.grab().save("/tmp/fins2.png");
}
}}
