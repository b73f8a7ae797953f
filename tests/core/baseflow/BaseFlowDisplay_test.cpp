// What the base-flow window shows: typed numbers, the base diameter, the mesh, vector, contour and convergence plots.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "baseflow/BaseFlowDisplay.h"
#include "tests/core/baseflow/BaseFlowCase.h"

namespace velmora::baseflow {
namespace {

TEST(BaseFlowDisplay, TypedNumbersSaturateIntoTheirStores)
{
    const struct { double typed; int16_t levels; } counts[] = {
        {20, 20}, {2.5, 2}, {3.5, 4}, {-2.5, -2}, {1e6, 32767}, {-1e6, -32768}, {NAN, 0}};
    for (const auto& c : counts) EXPECT_EQ(levelCountOf(c.typed), c.levels) << c.typed;
    EXPECT_EQ(std::pair(vectorScaleOf(-1e39), vectorScaleOf(INFINITY)), std::pair(-FLT_MAX, 0.0f));
    EXPECT_EQ(gridSizeOf("70X35")->ny, 35);
    EXPECT_FALSE(gridSizeOf("70x35"));
}

TEST(BaseFlowDisplay, BaseDiameterComesFromTheGeometry)
{
    const struct { const char* what; double transitionLength; int16_t freeForm; double diameter; } cases[] = {
        {"plain body", 0, 0, 1.0}, {"transition", 2, 0, 0.8}, {"negative transition keeps the value held", -1, 0, 0.3},
        {"free-form body: twice the last radius", 2, 1, 1.2},
    };
    for (const auto& c : cases) {
        auto m = makeModule1();
        m->NoseConeDiameter = 1;
        m->BaseFlowDiameter = 0.3;
        m->TransitionLength = c.transitionLength;
        m->TransitionDiameter = 0.8;
        m->ActiveBodyGeometry = c.freeForm;
        m->BodyStationCount = 10;
        m->BodyStationRadius(10) = 0.6;
        setBaseDiameterAndDomain(*m);
        EXPECT_DOUBLE_EQ(m->BaseFlowDiameter, c.diameter) << c.what;
        EXPECT_DOUBLE_EQ(m->BaseFlowDomainHeight, 2.5 * c.diameter) << c.what;
        EXPECT_DOUBLE_EQ(m->BaseFlowDomainLength, 5 * c.diameter) << c.what;
    }
}

TEST(BaseFlowDisplay, MeshIsRowsColumnsAndTheWallMark)
{
    auto m = testing::baseFlowCase();
    const auto lines = gridStrokes(*m);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 25u + 50u + 5u);
    EXPECT_NEAR((*lines)[24].y1, 500, 1e-9);            // row NY on the top edge
    EXPECT_NEAR((*lines)[74].x1, 500, 1e-9);            // column NX on the outflow edge
    EXPECT_DOUBLE_EQ((*lines)[79].y2, 500.0 * 4 / 24);  // the wall mark up to the shoulder node, JB = 5
    m->BaseFlowDomainLength = 0;
    m->DeltaX = 7;
    EXPECT_FALSE(gridStrokes(*m));
    EXPECT_EQ(m->DeltaX, 7);
}

TEST(BaseFlowDisplay, VectorsAndContoursOfASolvedFlow)
{
    auto m = testing::baseFlowCase();
    NullProgress np;
    const RunReport run = solveBaseFlow(*m, m->FreeStreamVelocity, np, np).run;
    ASSERT_EQ(std::pair(run.outcome, run.converged), std::pair(Outcome::Done, true));
    m->BaseFlowVectorSkip = 3;
    const BaseVectorPlot vectors = vectorStrokes(*m, 300);
    EXPECT_EQ(vectors.vectors.size(), 17u * 25u);
    // A scale at the single-precision limit still gives points on the plane.
    m->BaseFlowVectorScale = FLT_MAX;
    for (const MeshStroke& v : vectorStrokes(*m, 300).vectors) EXPECT_TRUE(std::isfinite(v.x2) && std::isfinite(v.y2));

    gridStrokes(*m);
    const BaseContourPlot plot = speedContours(*m, 20);
    EXPECT_EQ(plot.colours, colourRamp(20));
    EXPECT_EQ(plot.legend.size(), 19u);
    EXPECT_DOUBLE_EQ(plot.legend.back().y2, 500.0);
    ASSERT_EQ(plot.cells.size(), 49u * 24u);
    for (const BaseContourCell& cell : plot.cells) EXPECT_GE(cell.band, 1);
    // Cell 1: node (1, 1) to (2, 2), two units up, one cell wide.
    const auto& p = plot.cells.front().corners;
    EXPECT_DOUBLE_EQ(p[2], 500.0 / 49);
    EXPECT_DOUBLE_EQ(p[5], 500.0 / 24 + 2);
    EXPECT_DOUBLE_EQ(plot.shownMax, plot.vmax);
    m->JetExitVelocity = plot.vmax + 1000;
    const BaseContourPlot jet = speedContours(*m, 20);
    EXPECT_DOUBLE_EQ(jet.shownMax, plot.vmax + 1000);
    EXPECT_EQ(jet.levels.back(), plot.levels.back());  // the levels still end at the fastest node
}

TEST(BaseFlowDisplay, ConvergenceTraceStartsAtTheMarkAndSkipsTheLastIteration)
{
    EXPECT_EQ(convergenceBackground().back(), (MeshStroke{MeshStroke::Kind::Line, 0, 100, 500, 100, 9}));

    ConvergenceTrace trace(50);
    EXPECT_FALSE(trace.next({1, 0.3, 0.001, false}));
    const auto first = trace.next({2, 0.02, 0.001, false});
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, (MeshStroke{MeshStroke::Kind::Line, 10, 600, 20, 300, 1}));
    EXPECT_DOUBLE_EQ(trace.next({3, 0.01, 0.001, false})->y2, 200);
    EXPECT_FALSE(trace.next({4, 0.0005, 0.001, true}));
}

} // namespace
} // namespace velmora::baseflow
