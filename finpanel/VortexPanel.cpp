// Linear-strength vortex-panel method (the classic formulation with the
// strengths normalised by 2 pi V and the Kutta condition closing the system).
//
// Unknowns are the vortex strengths gamma(1..N+1) at the corners of the N
// vortex panels; gamma varies linearly along each panel. Row i of the system
// is the zero-normal-velocity condition at control point i, the extra row the
// Kutta condition gamma(1) + gamma(N+1) = 0 at the trailing edge (the first
// and the last corner are the same point).
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

#include "finpanel/PanelLU.h"
#include "finpanel/PanelMath.h"
#include "finpanel/PanelSolvers.h"

namespace velmora::finpanel {

namespace {

class Table {
public:
    // Order n; the storage is kept when it is large enough. Elements keep
    // what they held: every element read is written first.
    void resize(int n)
    {
        cols_ = n + 2;
        v_.resize(static_cast<std::size_t>(n + 2) * static_cast<std::size_t>(n + 2));
    }
    double& operator()(int i, int j) { return v_[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(j)]; }

private:
    int cols_ = 0;
    std::vector<double> v_;
};

// The influence tables and the system of one solution, kept from call to
// call: a solution writes every element it reads. The tangential table and
// the factors depend on the section alone; keptX/keptY hold the unrotated
// corners 1..n they came from (empty while they are not complete), and a
// solution on a section with the same bits uses them as they are.
struct Workspace {
    Table kn1, kn2, kt1, kt2, at;
    SquareMatrix an;
    std::vector<int> ip;
    bool reuse = true;
    std::vector<double> keptX, keptY;

    bool keeps(const SectionPoints& section) const
    {
        const std::size_t bytes = static_cast<std::size_t>(section.count) * sizeof(double);
        return reuse && keptX.size() == static_cast<std::size_t>(section.count) &&
               std::memcmp(keptX.data(), &section.unrotatedX[1], bytes) == 0 &&
               std::memcmp(keptY.data(), &section.unrotatedY[1], bytes) == 0;
    }
};

Workspace& workspace()
{
    thread_local Workspace work;
    return work;
}

// Influence coefficients: normal (Kn) and tangential (Kt) velocity at
// control point i from the strengths at the first (1) and second (2) corner
// of vortex panel j, from the exact integrals over a straight panel; then the
// system of the corner strengths (work.an) and the tangential table (work.at).
// Outcome::Aborted when the user's ABORT is seen between rows.
Outcome formSystem(Workspace& work, int n, const std::vector<double>& x, const std::vector<double>& y,
                   const std::vector<double>& xb, const std::vector<double>& yb, const std::vector<double>& s,
                   const std::vector<double>& cosT, const std::vector<float>& sinT, Progress& progress,
                   const std::string* abortRequest)
{
    const double pi = kPi;
    Table& kn1 = work.kn1;
    Table& kn2 = work.kn2;
    Table& kt1 = work.kt1;
    Table& kt2 = work.kt2;
    for (Table* t : {&kn1, &kn2, &kt1, &kt2, &work.at}) t->resize(n);
    for (int i = 1; i <= n; ++i) {
        if (userAborts(progress, abortRequest)) return Outcome::Aborted;
        for (int j = 1; j <= n; ++j) {
            if (i == j) {
                kn1(i, j) = -1.0;
                kn2(i, j) = 1.0;
                kt1(i, j) = 0.5 * pi;
                kt2(i, j) = 0.5 * pi;
                continue;
            }
            const double sj = static_cast<double>(sinT[j]);
            const double si = static_cast<double>(sinT[i]);
            const double dx = x[i] - xb[j];
            const double dy = y[i] - yb[j];
            const double A = -dx * cosT[j] - dy * sj;
            const double B = dx * dx + dy * dy;
            const double C = si * cosT[j] - sj * cosT[i];
            const double D = cosT[i] * cosT[j] + static_cast<double>(toSingle(si * sj));
            const double E = dx * sj - dy * cosT[j];
            const double F = clog(1.0 + cdiv(s[j] * (s[j] + 2.0 * A), B));
            const double G = ATAN2(E * s[j], B + A * s[j]);
            const double c2 = 1.0 - 2.0 * sj * sj;
            const double s2 = 2.0 * sj * cosT[j];
            const double s3 = si * c2 - cosT[i] * s2;
            const double c3 = static_cast<double>(toSingle(cosT[i] * c2 + si * s2));
            const double P = dx * s3 + dy * c3;
            const double Q = dx * c3 - dy * s3;
            kn2(i, j) = toSingle(D + cdiv(0.5 * Q * F - (D * E + A * C) * G, s[j]));
            kn1(i, j) = 0.5 * D * F + C * G - kn2(i, j);
            kt2(i, j) = toSingle(C + cdiv(0.5 * P * F + (A * D - C * E) * G, s[j]));
            kt1(i, j) = 0.5 * C * F - D * G - kt2(i, j);
        }
    }

    // Assembly: corner j is shared by panels j-1 and j.
    SquareMatrix& an = work.an;
    Table& at = work.at;
    an.resize(n + 1);
    for (int i = 1; i <= n; ++i) {
        an(i, 1) = kn1(i, 1);
        an(i, n + 1) = kn2(i, n);
        at(i, 1) = toSingle(kt1(i, 1));
        at(i, n + 1) = toSingle(kt2(i, n));
        for (int j = 2; j <= n; ++j) {
            an(i, j) = kn1(i, j) + kn2(i, j - 1);
            at(i, j) = toSingle(kt1(i, j) + kt2(i, j - 1));
        }
    }
    // Kutta row.
    an(n + 1, 1) = 1.0;
    an(n + 1, n + 1) = 1.0;
    return Outcome::Done;
}

void fillCornerTable(PanelSolution& out, int n)
{
    for (int i = 1; i <= n; ++i) {
        out.cornerIndex[i][1] = static_cast<int16_t>(i);
        out.cornerIndex[i][2] = static_cast<int16_t>(i < n ? i + 1 : 1);
    }
}

} // namespace

Outcome solveVortexPanels(const SectionPoints& section, double angleOfAttackDeg, double velocity,
                          PanelSolution& result, Progress& progress, const std::string* abortRequest)
{
    const int n = section.count;
    if (n < 4 || n > kMaxPanels || n % 2 != 0) throw std::invalid_argument("panel count must be even and between 4 and 200");
    const int half = n / 2;
    const double pi = kPi;

    PanelSolution out;
    out.count = n;
    fillCornerTable(out, n);

    // Midpoints of the section panels (unrotated section).
    std::vector<double> mx(n + 1), my(n + 1);
    for (int i = 1; i <= n; ++i) {
        const int a = out.cornerIndex[i][1];
        const int b = out.cornerIndex[i][2];
        mx[i] = (section.unrotatedX[b] + section.unrotatedX[a]) / 2.0;
        my[i] = (section.unrotatedY[b] + section.unrotatedY[a]) / 2.0;
    }

    // Vortex corners: the midpoints again, starting with the trailing-edge
    // face (section panel N/2 + 1) and running clockwise back to it.
    auto sectionPanelOf = [half](int k) { return k <= half ? half + k : k - half; };
    std::vector<double> xb(n + 2), yb(n + 2);
    for (int k = 1; k <= n; ++k) {
        xb[k] = mx[sectionPanelOf(k)];
        yb[k] = my[sectionPanelOf(k)];
    }
    xb[n + 1] = xb[1];
    yb[n + 1] = yb[1];

    // Vortex-panel control points, lengths and directions.
    std::vector<double> x(n + 1), y(n + 1), s(n + 1), cosT(n + 1);
    std::vector<float> sinT(n + 1);
    for (int k = 1; k <= n; ++k) {
        x[k] = 0.5 * (xb[k] + xb[k + 1]);
        y[k] = 0.5 * (yb[k] + yb[k + 1]);
        const double ddx = xb[k + 1] - xb[k];
        const double ddy = yb[k + 1] - yb[k];
        s[k] = std::sqrt(ddx * ddx + ddy * ddy);
        const double theta = ATAN2(ddy, ddx);
        sinT[k] = toSingle(std::sin(theta));
        cosT[k] = std::cos(theta);
    }

    const double alpha = static_cast<double>(toSingle(angleOfAttackDeg)) * pi / 180.0;
    const double sinA = std::sin(alpha);
    const double cosA = std::cos(alpha);

    // The system and the tangential table: formed and factored, or kept.
    Workspace& work = workspace();
    if (work.keeps(section)) {
        // The same event turns and progress as forming them.
        for (int i = 1; i <= n; ++i)
            if (userAborts(progress, abortRequest)) return Outcome::Aborted;
        if (DECOMPTurns(n + 1, progress, abortRequest) == Outcome::Aborted) return Outcome::Aborted;
    } else {
        // Kept no longer until the new ones are complete.
        work.keptX.clear();
        work.keptY.clear();
        if (formSystem(work, n, x, y, xb, yb, s, cosT, sinT, progress, abortRequest) == Outcome::Aborted ||
            DECOMP(work.an, work.ip, progress, abortRequest) == Outcome::Aborted)
            return Outcome::Aborted;
        if (work.reuse) {
            work.keptX.assign(&section.unrotatedX[1], &section.unrotatedX[1] + n);
            work.keptY.assign(&section.unrotatedY[1], &section.unrotatedY[1] + n);
        }
    }
    const SquareMatrix& an = work.an;
    Table& at = work.at;

    // Right-hand side: minus the normal component of the free stream, sin(theta - alpha).
    std::vector<float> r(n + 2, 0.0f);
    for (int i = 1; i <= n; ++i) r[i] = toSingle(cosA * static_cast<double>(sinT[i]) - sinA * cosT[i]);
    r[n + 1] = 0.0f;
    GAUSS(an, r, work.ip, progress);

    // Tangential velocity (units of V) and pressure at the control points.
    std::vector<double> v(n + 1);
    std::vector<float> cp(n + 1);
    for (int i = 1; i <= n; ++i) {
        double sum = cosA * cosT[i] + sinA * static_cast<double>(sinT[i]);
        for (int j = 1; j <= n + 1; ++j) sum += static_cast<double>(toSingle(at(i, j) * static_cast<double>(r[j])));
        v[i] = finite(sum);
        cp[i] = toSingle(1.0 - v[i] * v[i]);
    }

    // Back to section-panel order.
    for (int k = 1; k <= n; ++k) {
        const int i = sectionPanelOf(k);
        out.cp[i] = cp[k];
        out.surfaceVelocity[i] = finite(velocity * v[k]);
    }
    for (int i = 1; i <= n; ++i) out.controlPointX[i] = mx[i];

    out.vortexStrength.assign(r.begin(), r.end());
    out.vortexPanelLength = s;
    result = std::move(out);
    return Outcome::Done;
}

bool setSectionFactorReuse(bool on)
{
    Workspace& work = workspace();
    const bool before = work.reuse;
    work.reuse = on;
    work.keptX.clear();
    work.keptY.clear();
    return before;
}

double forceCp(const PanelSolution& solution, int i)
{
    const double own = solution.cp[static_cast<std::size_t>(i)];
    if (solution.vortexStrength.empty()) return own;
    // Section panel i holds vortex panel k (from its midpoint to the next);
    // vortex panel k - 1, ending at the same midpoint, is held by section
    // panel i - 1 (cyclically).
    const int before = i > 1 ? i - 1 : solution.count;
    return 0.5 * (own + static_cast<double>(solution.cp[static_cast<std::size_t>(before)]));
}

double liftCoefficientFromCirculation(const PanelSolution& solution, double chord)
{
    const int n = solution.count;
    if (static_cast<int>(solution.vortexStrength.size()) < n + 2 || static_cast<int>(solution.vortexPanelLength.size()) < n + 1)
        throw std::invalid_argument("not a vortex-panel solution");
    // Gamma / V = 2 pi * sum of S (g_k + g_k+1) / 2 over the panels; the
    // contour runs clockwise, so a lifting section has positive circulation.
    double sum = 0.0;
    for (int k = 1; k <= n; ++k)
        sum += solution.vortexPanelLength[k] * 0.5 *
               (static_cast<double>(solution.vortexStrength[k]) + static_cast<double>(solution.vortexStrength[k + 1]));
    return cdiv(2.0 * 2.0 * std::numbers::pi * sum, chord, "zero chord");
}

} // namespace velmora::finpanel
