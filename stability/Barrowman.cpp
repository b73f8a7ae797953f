#include "stability/Barrowman.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/Checked.h"
#include "platform/Constants.h"
#include "platform/Format.h"
#include "platform/Single.h"
#include "model/SweepSteps.h"
#include "model/Vocabulary.h"

namespace velmora::stability {

namespace {

constexpr ControlId kBResult = ControlId::ITERATION_BResult;
constexpr ControlId kStatusBar = ControlId::ITERATION_StatusBar1;
constexpr const char* kPatternBResult = "###.#####";

double sq(double v) { return v * v; }

double diameter(const Module1& m)
{
    if (m.NoseConeDiameter == 0) throw MathFailure(kMsgBarrowmanNoDiameter);
    return m.NoseConeDiameter;
}

} // namespace

double noseShapeFactor(std::string_view shape)
{
    if (shape == NoseConeShape::Conical || shape == NoseConeShape::SearsHaack) return 0.667;
    if (shape == NoseConeShape::TangentOgive) return 0.466;
    if (shape == NoseConeShape::Elliptical) return 0.333;
    if (shape == NoseConeShape::Parabolic) return 0.5;
    return 0;
}

BarrowmanPart barrowmanNose(const Module1& m)
{
    return {2, noseShapeFactor(m.NoseShapeName) * m.NoseConeLength};
}

BarrowmanPart barrowmanFins(const Module1& m)
{
    if (m.FinDragForce == 0) return {};
    const double d = diameter(m);
    const double r = d / 2;
    const double s = m.FinSpan;
    const double cr = m.FinRootChord;
    const double ct = m.FinTipChord;
    const double xb = m.FinRootDistance;
    const double n = m.FinCount;

    const double k = 1 + cdiv(r, s + r, kMsgBarrowmanFailed);
    const double xr = m.FinTipDistance - xb;
    const double lf = csqrt(sq(s) + sq(xr + ct / 2 - cr / 2), kMsgBarrowmanFailed);
    const double chords = cr + ct;
    const double slope = finite(k * 4 * n * sq(s / d) /
                                    (1 + csqrt(1 + sq(cdiv(2 * lf, chords, kMsgBarrowmanFailed)), kMsgBarrowmanFailed)),
                                kMsgBarrowmanFailed);
    const double position = finite(xb + cdiv(xr * (cr + 2 * ct), 3 * chords, kMsgBarrowmanFailed) +
                                       0.166667 * (chords - cdiv(cr * ct, chords, kMsgBarrowmanFailed)),
                                   kMsgBarrowmanFailed);
    return {slope, position};
}

BarrowmanPart barrowmanTransition(const Module1& m)
{
    const double d = m.NoseConeDiameter;
    const double dr = m.TransitionDiameter == 0 ? kZeroTransitionDiameter : m.TransitionDiameter;
    if (m.TransitionLength == 0 || dr == d) return {};
    diameter(m);
    if (std::fabs(dr) == std::fabs(d)) throw MathFailure(kMsgBarrowmanTransition);
    const double slope = finite(2 * (sq(dr / d) - 1), kMsgBarrowmanFailed);
    const double q = d / dr;
    const double position =
        finite(m.NoseConeLength + m.BodyTubeLength +
                   m.TransitionLength / 3 * (1 + cdiv(1 - q, 1 - q * q, kMsgBarrowmanTransition)),
               kMsgBarrowmanFailed);
    return {slope, position};
}

BarrowmanRocket barrowmanRocket(const Module1& m)
{
    diameter(m);
    BarrowmanRocket b;
    b.nose = barrowmanNose(m);
    b.fins = barrowmanFins(m);
    b.transition = barrowmanTransition(m);
    b.slope = b.nose.slope + b.fins.slope + b.transition.slope;
    if (!(std::fabs(b.slope) >= kMinBarrowmanSlope)) throw MathFailure(kMsgBarrowmanNoSlope);
    const double moment = b.nose.slope * b.nose.position + b.fins.slope * b.fins.position +
                          b.transition.slope * b.transition.position;
    b.position = cdiv(moment, b.slope, kMsgBarrowmanNoSlope);
    const double length = m.NoseConeLength + m.BodyTubeLength + m.TransitionLength + m.BaseTubeLength;
    b.ratio = cdiv(b.position, length, kMsgBarrowmanFailed);
    return b;
}

const char* barrowmanRefusal(const Module1& m)
{
    if (m.NoseConeDiameter == 0) return kMsgBarrowmanNoDiameter;
    if (m.FinDragForce != 0 && m.FinRootChord + m.FinTipChord == 0) return kMsgBarrowmanFailed;
    const double d = m.NoseConeDiameter;
    const double dr = m.TransitionDiameter == 0 ? kZeroTransitionDiameter : m.TransitionDiameter;
    if (m.TransitionLength != 0 && dr != d && std::fabs(dr) == std::fabs(d)) return kMsgBarrowmanTransition;
    try {
        const double slope = barrowmanNose(m).slope + barrowmanFins(m).slope + barrowmanTransition(m).slope;
        if (!(std::fabs(slope) >= kMinBarrowmanSlope)) return kMsgBarrowmanNoSlope;
    } catch (const MathFailure&) {
        return nullptr;  // not a refusal: the comparison fails on it
    }
    return nullptr;
}

BarrowmanReport BARROWMANS(Module1& m, double steps)
{
    BarrowmanReport rep;
    auto panel1 = [&rep](std::string text) { rep.writes.push_back(setPanel(kStatusBar, 1, std::move(text))); };

    // Refusals.
    const int q = m.SweepPlotQuantity;
    const char* refusal = m.AoaSweepSelected != 1                ? kMsgBarrowmanVelocity
                          : m.ActiveBodyGeometry == FreeFormBody ? kMsgBarrowmanFreeForm
                          : q == LoopCd                          ? kMsgBarrowmanCd
                                                                 : nullptr;
    if (refusal) {
        rep.message = refusal;
        panel1(refusal);
        return rep;
    }
    if (q < LoopCN || q > LoopXcpOverL) return rep;
    // Over the steps the plot shows.
    const int n = sweepStepsShown(m, steps);
    if (n < 1) return rep;
    if (const char* why = barrowmanRefusal(m)) {
        rep.message = why;
        panel1(why);
        return rep;
    }

    // Everything is computed before anything is shown or stored.
    std::vector<float> values(static_cast<std::size_t>(n) + 1, 0.0f);
    std::vector<MeshStroke> curve;
    try {
        rep.rocket = barrowmanRocket(m);
        const double cna = rep.rocket.slope, r = rep.rocket.ratio;
        for (int i = 1; i <= n; ++i) {
            const double radians = m.SweepPlotX(i) * kPi / 180;
            const double v = q == LoopCN ? cna * radians : q == LoopCM ? -r * cna * radians : r;
            values[static_cast<std::size_t>(i)] = toSingle(v, kMsgBarrowmanFailed);
        }
        if (m.SweepPlotYMax != 0) {
            const double sx = cdiv(2000, m.SweepPlotXMax, kMsgBarrowmanFailed);
            const double sy = cdiv(2000, m.SweepPlotYMax, kMsgBarrowmanFailed);
            auto at = [](double scale, double v) { return finite(100 + scale * v, kMsgBarrowmanFailed); };
            for (int i = 1; i <= n - 1; ++i) {
                const auto b0 = static_cast<double>(values[static_cast<std::size_t>(i)]);
                const auto b1 = static_cast<double>(values[static_cast<std::size_t>(i) + 1]);
                curve.push_back({MeshStroke::Kind::Line, at(sx, m.SweepPlotX(i)), at(sy, b0),
                                 at(sx, m.SweepPlotX(i + 1)), at(sy, b1), kBarrowmanCurveColour});
            }
        }
    } catch (const MathFailure& e) {
        rep.rocket = {};
        rep.outcome = Outcome::Failed;
        rep.message = e.what();
        panel1(e.what());
        return rep;
    }

    for (int i = 1; i <= n; ++i) m.BarrowmanSweepValues(i) = values[static_cast<std::size_t>(i)];
    rep.steps = n;
    rep.outcome = Outcome::Done;
    rep.writes.push_back(showText(kBResult, Format(values[1], kPatternBResult)));
    panel1("");
    if (m.SweepPlotYMax == 0) {
        panel1(kMsgBarrowmanNoData);
        return rep;
    }
    rep.curve = std::move(curve);
    panel1(kMsgBarrowmanPlotted);
    return rep;
}

} // namespace velmora::stability
