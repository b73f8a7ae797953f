#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <tuple>

#include "model/Module1.h"
#include "geometry/Outline.h"
#include "platform/Constants.h"

namespace velmora {
namespace {

using Kind = OutlineStroke::Kind;

// A hand-made grid: body surface stations x = 0, 2, 4, ..., 20 (N = 11) with the nose tip at x = 4, a cone to x = 8 and
// a tube of radius 1 behind it. The rocket: nose 4 long, diameter 2, tube 12, base at x = 20.
constexpr double kStationRadius[] = {0, 0, 0, 0.5, 1, 1, 1, 1, 1, 1, 1};

void setFin(Module1& m, int16_t planform, float rootDistance, double rootChord, double tipDistance, float tipChord)
{
    m.FinPlanformCode = planform;
    m.FinRootDistance = rootDistance;
    m.FinRootChord = rootChord;
    m.FinTipDistance = tipDistance;
    m.FinTipChord = tipChord;
}

std::unique_ptr<Module1> gridded()
{
    auto m = makeModule1();
    m->DomainAspectRatio = 2.0f;
    m->MeshAxialNodeCount = 11;
    m->NoseTipX = 4;
    m->NoseConeLength = 4;
    m->NoseConeDiameter = 2;
    m->BodyTubeLength = 12;
    for (long i = 1; i <= 11; ++i) {
        m->GridNodeX(i, 1) = 2.0 * (i - 1);
        m->GridNodeRadius(i, 1) = kStationRadius[i - 1];
    }
    setFin(*m, 3, 10, 5, 12, 2);  // tapered: root from x = 14 to 19, tip from 16 to 18, span 2
    m->FinSpan = 2;
    return m;
}

// The body radius at a fin root is that of the grid station at or just before it.
TEST(OutlineRootRadius, StationAtOrJustBefore)
{
    auto m = gridded();
    // Between stations 4 and 5, on station 5, just before station 4 (x = 6), on it, ahead of the grid, on
    // the last station (which matches no interval) and behind the base.
    const std::pair<double, double> cases[] = {{6.5, 0.5}, {8.0, 1.0}, {5.999, 0.0}, {6.0, 0.5}, {-1.0, 0.0},
                                               {20.0, 0.0}, {25.0, 0.0}};
    for (auto [x, radius] : cases) EXPECT_EQ(gridBodyRadiusAt(*m, x), radius) << x;
}

TEST(OutlineScale, LargestExtentAndAspect)
{
    auto m = gridded();
    // Body to 20, tip trailing edge at 18, root trailing edge at 19.
    auto s = outlineScale(*m);
    ASSERT_TRUE(s);
    EXPECT_EQ(std::tuple(s->xMax, s->sx, s->sy), std::tuple(20.0, 25.0, 50.0)); // sy = 500 / (20 / 2)
    m->FinRootChord = 10; // root trailing edge at 24
    EXPECT_EQ(outlineScale(*m)->xMax, 24.0);
    m->FinRootChord = 5;
    m->FinTipChord = 4; // tip trailing edge exactly at the base
    m->DomainAspectRatio = 3.0f; // k = 333
    s = outlineScale(*m);
    EXPECT_EQ(s->xMax, 20.0);
    EXPECT_NEAR(s->sy, 333.0 / (20.0 / 3.0), 1e-12);

    // No extent, an extent below zero or beyond every number, or no aspect: no scale.
    EXPECT_FALSE(outlineScale(*makeModule1()));
    const std::function<void(Module1&)> unscaled[] = {
        [](Module1& r) {
            r.NoseTipX = 0, r.NoseConeLength = -30;
            r.FinTipDistance = r.FinRootChord = r.FinSpan = r.FinRootDistance = r.FinTipChord = 0;
        },
        [](Module1& r) { r.FinTipDistance = HUGE_VAL; }, [](Module1& r) { r.DomainAspectRatio = 0; }};
    for (const auto& change : unscaled) {
        m = gridded();
        change(*m);
        EXPECT_FALSE(outlineScale(*m));
    }
}

TEST(OutlineStrokes, TaperedFinCornersAndDrawingOrder)
{
    auto m = gridded();
    const OutlineScale s = *outlineScale(*m); // sx 25, sy 50
    const auto strokes = outlineStrokes(*m, s);

    // Root leading edge at x = 14: station 8 (x = 14) radius 1; the corners are kept.
    EXPECT_EQ(std::tuple(m->FinRootLeadingEdgeY, m->FinTipTrailingEdgeX), std::tuple(1.0, 18.0));
    std::vector<OutlineStroke> expected{
        {Kind::Line, 350, 50, 400, 150, 9, 9},
        {Kind::Line, 400, 150, 450, 150, 9, 9},
        {Kind::Line, 450, 150, 475, 50, 9, 9},
        {Kind::Line, 350, 2, 475, 2, 9, kOutlineForeground},
        {Kind::Line, 350, 3, 475, 3, 9, 9},
    };
    for (int i = 0; i < 10; ++i)
        expected.push_back({Kind::Line, 50.0 * i, 50 * kStationRadius[i], 50.0 * (i + 1), 50 * kStationRadius[i + 1],
                            kOutlineForeground, kOutlineForeground});
    expected.push_back({Kind::Line, 475, 50, 475, 0, 9, 9});    // trailing edge to the axis
    expected.push_back({Kind::Line, 475, 0, 475, 50, 15, 15});  // erased inside the body
    expected.push_back({Kind::Line, 500, 0, 500, 50, 4, 4});    // base face, tube radius
    EXPECT_EQ(strokes, expected);
}

TEST(OutlineStrokes, OtherPlanformsAndARootBehindTheBase)
{
    // A root from 14 to 24 behind the base at 20: its trailing edge is erased whole, and as no station lies
    // behind the base, nothing of it counts as inside the body; the base face lies left of the right edge.
    auto m = gridded();
    m->FinRootChord = 10;
    OutlineScale s = *outlineScale(*m);
    auto strokes = outlineStrokes(*m, s);
    ASSERT_GE(strokes.size(), 3u);
    double x = s.sx * 24;
    EXPECT_EQ(strokes[strokes.size() - 2], (OutlineStroke{Kind::Line, x, s.sy * 1, x, 0, 15, 15}));
    EXPECT_EQ(strokes[strokes.size() - 3], (OutlineStroke{Kind::Line, x, 0, x, 0, 15, 15}));
    EXPECT_LT(strokes.back().x1, 500.0);

    // A triangle whose root leading edge at 6.5 lies between stations 4 and 5 of the nose, trailing edge at
    // 10.5 (radius 1), the tip above the root trailing edge.
    m = gridded();
    setFin(*m, 1, 2.5f, 4, 6.5, 0);
    s = *outlineScale(*m);
    strokes = outlineStrokes(*m, s);
    EXPECT_EQ(std::tuple(m->FinRootLeadingEdgeY, m->FinTipLeadingEdgeY), std::tuple(0.5, 2.5));
    EXPECT_EQ(strokes[0], (OutlineStroke{Kind::Line, s.sx * 6.5, s.sy * 0.5, s.sx * 10.5, s.sy * 2.5, 9, 9}));
    EXPECT_EQ(strokes[2], (OutlineStroke{Kind::Line, s.sx * 10.5, s.sy * 2.5, s.sx * 10.5, s.sy * 0.5, 9, 9}));

    // An elliptical fin with a span less than half the root chord.
    m = gridded();
    setFin(*m, 4, 12, 6, 12, 6);
    m->FinSpan = 1;
    s = *outlineScale(*m);
    strokes = outlineStrokes(*m, s);
    EXPECT_EQ(m->Pi, kPi);
    EXPECT_EQ(strokes[0], (OutlineStroke{Kind::HalfEllipse, s.sx * 19, s.sy * 1, s.sx * 3, s.sy * 1, 9, 9}));
    EXPECT_EQ(std::tuple(strokes[1].y1, strokes[2].y1), std::tuple(2.0, 3.0));

    // No span: no arc, the root extent is still marked.
    m->FinSpan = 0;
    m->Pi = 0;
    strokes = outlineStrokes(*m, s);
    EXPECT_EQ(std::tuple(m->Pi, strokes[0].kind, strokes[0].y1), std::tuple(0.0, Kind::Line, 2.0));

    // No planform: body outline, the three trailing-edge lines (the root ends
    // at 22, behind the base) and the base face only.
    m->FinPlanformCode = 0;
    strokes = outlineStrokes(*m, s);
    EXPECT_EQ(std::tuple(strokes.size(), strokes[0].colour), std::tuple(10u + 3u + 1u, kOutlineForeground));
}

TEST(OutlineBase, RadiusByTransitionAndFreeForm)
{
    auto m = gridded();
    m->TransitionDiameter = 1.2;
    EXPECT_EQ(baseFaceRadius(*m), 1.0); // no transition length: tube radius
    m->TransitionLength = 3;
    EXPECT_EQ(baseFaceRadius(*m), 0.6);
    m->TransitionLength = -1;
    EXPECT_EQ(baseFaceRadius(*m), 0.0);
    m->ActiveBodyGeometry = 1;
    m->FreeFormBaseRadius = 0.75f;
    EXPECT_EQ(baseFaceRadius(*m), 0.75);
}

TEST(OutlineArc, TrueHalfEllipseOnAnyPicture)
{
    // On a picture twice as wide as high with a span of at least half the
    // chord, the arc is the classic radius / aspect pair.
    const double sx = 10, sy = 20, chord = 4, span = 3;
    const double ppx = 600.0 / 500, ppy = 300.0 / 500;
    ArcShape a = halfEllipseArc(sx * chord / 2, sy * span, ppx, ppy);
    EXPECT_DOUBLE_EQ(a.radius, sy * span / 2);
    EXPECT_DOUBLE_EQ(a.aspect, 2 * span / chord);

    a = halfEllipseArc(20, 60, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(a.aspect, 3.0);
    EXPECT_DOUBLE_EQ(a.radius, 60.0);

    // Degenerate input gives an empty arc rather than an infinite aspect.
    a = halfEllipseArc(0, 5, 1.0, 1.0);
    EXPECT_EQ(a.radius, 0.0);
}

} // namespace
} // namespace velmora
