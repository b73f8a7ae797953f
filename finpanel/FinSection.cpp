#include "finpanel/FinSection.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "finpanel/PanelMath.h"

namespace velmora::finpanel {

namespace {

void checkPanelCount(int n)
{
    if (n < 4 || n > kMaxPanels || n % 2 != 0)
        throw std::invalid_argument("panel count must be even and between 4 and 200");
}

// Turns the unrotated corners of `s` by the angle of attack about the origin.
// Every point is turned from its unrotated value, so a section regenerated at a
// new angle carries no rounding of the previous one.
void rotate(SectionPoints& s, double angleOfAttackDeg)
{
    const double alpha = kPi * angleOfAttackDeg / 180.0;
    const double ca = std::cos(alpha);
    const double sa = std::sin(alpha);
    for (int i = 1; i <= s.count; ++i) {
        const double x = s.unrotatedX[i];
        const double y = s.unrotatedY[i];
        s.x[i] = finite(x * ca + y * sa);
        s.y[i] = toSingle(-x * sa + y * ca);
    }
}

// The common construction of the NACA, flat-plate and streamlined sections:
// the upper surface from x0 to the trailing edge at uniform steps, point 1
// below point 2, and the lower surface generated afresh from the same running
// abscissa so that it mirrors the upper one point for point.
SectionPoints centredSection(const FinSectionInput& in, double x0, const std::function<double(double)>& halfThickness)
{
    const int n = in.panelCount;
    const int half = n / 2;
    SectionPoints s;
    s.count = n;
    const double dx = (1.0 - x0) / (half - 1);
    s.deltaX = dx;

    std::array<double, kMaxPanels + 1> xs{};
    std::array<float, kMaxPanels + 1> ys{};
    double run = x0;
    for (int i = 2; i <= half + 1; ++i) {
        xs[i] = run;
        ys[i] = toSingle(halfThickness(run));
        run += dx;
    }
    ys[1] = -ys[2];
    xs[1] = x0;
    run = xs[1];
    for (int i = n; i >= half + 2; --i) {
        xs[i] = run + dx;
        ys[i] = toSingle(-halfThickness(xs[i]));
        run += dx;
    }

    const double c = in.finMeanChord;
    for (int i = 1; i <= n; ++i) {
        s.unrotatedX[i] = xs[i] * c - c / 2.0;
        s.unrotatedY[i] = toSingle(static_cast<double>(ys[i]) * c);
    }
    rotate(s, in.angleOfAttack);
    return s;
}

} // namespace

SectionShape sectionShapeFromText(std::string_view text)
{
    if (text == "NACA WING") return SectionShape::NacaWing;
    if (text == "FLAT PLATE") return SectionShape::FlatPlate;
    if (text == "D'WEDGE") return SectionShape::DWedge;
    if (text == "STREAMLINED") return SectionShape::Streamlined;
    if (text == "MANUAL INPUT") return SectionShape::Manual;
    return SectionShape::Unknown;
}

double thicknessRatio(const FinSectionInput& in)
{
    return cdiv(in.finThickness * in.thicknessFactor, in.finMeanChord, "zero fin mean chord");
}

SectionPoints NACA(const FinSectionInput& in)
{
    checkPanelCount(in.panelCount);
    const double t = thicknessRatio(in);
    // Symmetric four-digit thickness law. The leading edge is cut at
    // x0 = 0.11019 t (the nose radius of the family), so panel 1 is a short
    // vertical face; the trailing edge stays open (h(1) = 0.0105 t).
    auto h = [t](double x) {
        return (t / 0.2) * (0.2969 * csqrt(x) - 0.126 * x - 0.3516 * x * x + 0.2843 * x * x * x - 0.1015 * x * x * x * x);
    };
    return centredSection(in, 0.11019 * t, h);
}

SectionPoints FLATPLATE(const FinSectionInput& in)
{
    checkPanelCount(in.panelCount);
    const double t = thicknessRatio(in);
    return centredSection(in, 0.0, [t](double) { return t / 2.0; });
}

SectionPoints STREAMLINED(const FinSectionInput& in)
{
    checkPanelCount(in.panelCount);
    const double t = thicknessRatio(in);
    // Half an ellipse slightly longer than the chord (K = 1.00001) with its
    // nose at x = 0: points 1 and 2 coincide at the nose and the trailing edge
    // keeps a small opening.
    const double k = 1.00001;
    auto h = [t, k](double x) {
        const double u = (k / 2.0 - x) / (k / 2.0);
        return (t / 2.0) * csqrt(1.0 - u * u);
    };
    return centredSection(in, 0.0, h);
}

SectionPoints DWEDGE(const FinSectionInput& in)
{
    checkPanelCount(in.panelCount);
    const int n = in.panelCount;
    const int half = n / 2;
    const double t = thicknessRatio(in);
    // Double wedge from x = -0.5 to +0.5 with blunt ends 0.005 thick and the
    // full thickness t at mid-chord.
    const double blunt = 0.005;
    const double theta = std::atan(t - blunt);
    const double tanTheta = std::tan(theta);
    const double dx = 1.0 / (half - 1);

    SectionPoints s;
    s.count = n;
    s.deltaX = dx;
    std::array<double, kMaxPanels + 1> xs{};
    std::array<float, kMaxPanels + 1> ys{};
    double run = -0.5;
    for (int i = 2; i <= half + 1; ++i) {
        xs[i] = run;
        if (run <= 0.0)
            ys[i] = toSingle(run * tanTheta + (t - blunt) / 2.0 + blunt / 2.0);
        else
            ys[i] = toSingle((t - blunt) / 2.0 - run * tanTheta + blunt / 2.0);
        run += dx;
    }
    xs[1] = xs[2];
    ys[1] = -ys[2];
    for (int i = n, j = 3; i >= half + 2; --i, ++j) {
        xs[i] = xs[j];
        ys[i] = -ys[j];
    }

    const double c = in.finMeanChord;
    for (int i = 1; i <= n; ++i) {
        s.unrotatedX[i] = xs[i] * c;
        s.unrotatedY[i] = toSingle(static_cast<double>(ys[i]) * c);
    }
    rotate(s, in.angleOfAttack);
    return s;
}

SectionPoints MANUAL(const FinSectionInput& in)
{
    checkPanelCount(in.panelCount);
    // Typed points are taken as they are: no scaling, no centring.
    SectionPoints s;
    s.count = in.panelCount;
    for (int i = 1; i <= s.count; ++i) {
        s.unrotatedX[i] = in.manualX[i];
        s.unrotatedY[i] = in.manualY[i];
    }
    rotate(s, in.angleOfAttack);
    return s;
}

SectionPoints generateSection(const FinSectionInput& in)
{
    switch (sectionShapeFromText(in.sectionShape)) {
    case SectionShape::NacaWing: return NACA(in);
    case SectionShape::FlatPlate: return FLATPLATE(in);
    case SectionShape::DWedge: return DWEDGE(in);
    case SectionShape::Streamlined: return STREAMLINED(in);
    case SectionShape::Manual: return MANUAL(in);
    case SectionShape::Unknown: break;
    }
    // Only code writes a text outside the list (the lists take picks alone);
    // solving or drawing whatever section stood before would answer another
    // question than the one shown.
    throw std::invalid_argument("no section generator for \"" + in.sectionShape + "\"");
}

} // namespace velmora::finpanel
