// Constant-strength source-panel method (non-lifting): each panel carries a
// uniform source strength lambda_j, chosen so that the normal velocity at
// every panel's control point vanishes. The system is scaled by 2 pi: the
// self-influence of a panel is pi and the right-hand side -2 pi V cos(beta_i),
// beta_i being the angle of the outward normal of panel i with the free stream.
#include <cmath>
#include <stdexcept>
#include <utility>
#include <vector>

#include "finpanel/PanelMath.h"
#include "finpanel/PanelSolvers.h"

namespace velmora::finpanel {

namespace {

// Offset of control point i from the line of panel j, relative to the size of
// the pair (panel length + distance), below which the point counts as lying on
// that line. The geometry carries single-precision ordinates, so a face that
// is straight before rotation stays straight to about 1e-8 of the chord after
// it; genuinely off-line points sit far above this.
constexpr double kCollinear = 1e-7;

struct PairTerms {
    double logTerm;  // ln((S^2 + 2AS + B) / B) = 2 ln(r_end / r_start)
    double angle;    // atan((S + A) / E) - atan(A / E), the angle the panel subtends (0 on its line)
    double ratio;    // (D - AC) / E, which equals -cos(phi_i - phi_j)
    double C;
};

// The integrals of the source panel j seen from control point (xc, yc) with
// direction phi_i. E is taken signed; on the line of the panel (|E| tiny) the
// subtended angle vanishes and (D - AC)/E takes its exact value.
PairTerms pairTerms(double xc, double yc, double phiI, double xj, double yj, double phiJ, double sj)
{
    const double dx = xc - xj;
    const double dy = yc - yj;
    const double cj = std::cos(phiJ);
    const double sn = std::sin(phiJ);
    const double A = -dx * cj - dy * sn;
    const double B = dx * dx + dy * dy;
    const double C = std::sin(phiI - phiJ);
    const double D = dy * std::cos(phiI) - dx * std::sin(phiI);
    const double E = dx * sn - dy * cj;

    PairTerms t{};
    t.C = C;
    t.logTerm = clog(cdiv(sj * sj + 2.0 * A * sj + B, B, "control point on a panel corner"));
    if (std::fabs(E) <= kCollinear * (sj + std::sqrt(B))) {
        // On the panel's line: beyond its ends the two arc tangents cancel;
        // between them the point would lie on the panel itself.
        if (A < 0.0 && sj + A > 0.0) throw MathFailure("control point on another panel");
        t.angle = 0.0;
        t.ratio = -std::cos(phiI - phiJ);
    } else {
        t.angle = std::atan(cdiv(sj + A, E)) - std::atan(cdiv(A, E));
        t.ratio = cdiv(D - A * C, E);
    }
    return t;
}

// Normal angle in [0, 2 pi) from s = cos(beta) and c = sin(beta): the panel
// direction turned by +90 degrees.
double normalAngle(double s, double c)
{
    const double pi = kPi;
    if (s == -1.0 && c == 0.0) return pi;
    if (s == 0.0 && c == 1.0) return pi / 2.0;
    if (s == 1.0 && c == 0.0) return 0.0;
    if (s == 0.0 && c == -1.0) return 1.5 * pi;
    const double a = std::atan(cdiv(c, s, "panel normal with a zero component"));
    if (s > 0.0 && c > 0.0) return a;
    if (s < 0.0) return a + pi;
    if (s > 0.0 && c < 0.0) return a + 2.0 * pi;
    throw MathFailure("panel normal with a zero component");
}

} // namespace

Outcome solveSourcePanels(const SectionPoints& section, double velocity, PanelSolution& result, Progress& progress,
                          const std::string* abortRequest)
{
    const int n = section.count;
    if (n < 4 || n > kMaxPanels || n % 2 != 0) throw std::invalid_argument("panel count must be even and between 4 and 200");
    const double pi = kPi;
    const auto& X = section.x;
    const auto& Y = section.y;

    PanelSolution out;
    out.count = n;
    for (int i = 1; i <= n; ++i) {
        out.cornerIndex[i][1] = static_cast<int16_t>(i);
        out.cornerIndex[i][2] = static_cast<int16_t>(i < n ? i + 1 : 1);
    }

    // Control points, lengths and normal angles.
    std::vector<double> xc(n + 1), beta(n + 1), phi(n + 1);
    std::vector<float> yc(n + 1), len(n + 1);
    std::vector<char> degenerate(n + 1, 0);
    int live = 0;
    for (int i = 1; i <= n; ++i) {
        const int a = out.cornerIndex[i][1];
        const int b = out.cornerIndex[i][2];
        xc[i] = (X[b] + X[a]) / 2.0;
        yc[i] = toSingle((static_cast<double>(Y[b]) + static_cast<double>(Y[a])) / 2.0);
        const double ex = X[b] - X[a];
        const double ey = static_cast<double>(Y[b]) - static_cast<double>(Y[a]);
        len[i] = toSingle(std::sqrt(ex * ex + ey * ey));
        if (X[b] == X[a] && Y[b] == Y[a]) {
            degenerate[i] = 1;
            continue;
        }
        ++live;
        const double hx = X[b] - xc[i];
        const double hy = static_cast<double>(Y[b]) - static_cast<double>(yc[i]);
        const double h = std::sqrt(hx * hx + hy * hy);
        beta[i] = normalAngle(-cdiv(hy, h, "zero-length panel"), cdiv(hx, h, "zero-length panel"));
    }
    if (live < 3) throw MathFailure("section has no extent");

    // Nearest panels of non-zero length before and after panel i (cyclic).
    auto previousLive = [&](int i) {
        int k = i;
        do { k = k > 1 ? k - 1 : n; } while (degenerate[k]);
        return k;
    };
    auto nextLive = [&](int i) {
        int k = i;
        do { k = k < n ? k + 1 : 1; } while (degenerate[k]);
        return k;
    };
    for (int i = 1; i <= n; ++i) {
        if (!degenerate[i]) continue;
        const int p = previousLive(i);
        const int q = nextLive(i);
        const double nx = std::cos(beta[p]) + std::cos(beta[q]);
        const double ny = std::sin(beta[p]) + std::sin(beta[q]);
        double b = ATAN2(ny, nx);
        if (b < 0.0) b += 2.0 * std::numbers::pi;
        beta[i] = b;
    }
    for (int i = 1; i <= n; ++i) phi[i] = beta[i] - pi / 2.0;

    // Augmented system: rows 1..n, columns 1..n and the right-hand side n+1.
    const int cols = n + 2;
    std::vector<double> m(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(cols), 0.0);
    auto M = [&](int i, int j) -> double& { return m[static_cast<std::size_t>(i) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(j)]; };

    // The pair integrals serve both the normal-velocity matrix and, once the
    // strengths are known, the tangential velocities.
    std::vector<PairTerms> terms(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1));
    auto T = [&](int i, int j) -> PairTerms& { return terms[static_cast<std::size_t>(i) * static_cast<std::size_t>(n + 1) + static_cast<std::size_t>(j)]; };
    for (int i = 1; i <= n; ++i) {
        if (userAborts(progress, abortRequest)) return Outcome::Aborted;
        if (degenerate[i]) {
            M(i, i) = 1.0;  // strength fixed at zero
            continue;
        }
        for (int j = 1; j <= n; ++j) {
            if (j == i || degenerate[j]) continue;
            const PairTerms& t = T(i, j) = pairTerms(xc[i], yc[i], phi[i], X[j], Y[j], phi[j], len[j]);
            M(i, j) = finite((t.C / 2.0) * t.logTerm + t.ratio * t.angle);
        }
        M(i, i) = pi;
        M(i, n + 1) = toSingle(-2.0 * pi * velocity * std::cos(beta[i]));
    }

    // Gaussian elimination without pivoting (the diagonal dominates).
    out.augmentedColumnCount = n + 1;
    progress.progressVisible(true);
    progress.progressRange(1, n - 1);
    progress.progressValue(1);
    for (int k = 1; k <= n - 1; ++k) {
        progress.progressValue(k);
        if (userAborts(progress, abortRequest)) return Outcome::Aborted;
        const double p = M(k, k);
        if (p == 0.0) throw MathFailure("zero pivot in the source-panel system");
        for (int j = k; j <= n + 1; ++j) M(k, j) = finite(M(k, j) / p);
        for (int i = k + 1; i <= n; ++i) {
            const double f = M(i, k);
            if (f == 0.0) continue;
            for (int j = k; j <= n + 1; ++j) M(i, j) -= M(k, j) * f;
        }
    }
    std::vector<double> lambda(n + 1, 0.0);
    lambda[n] = cdiv(M(n, n + 1), M(n, n), "zero pivot in the source-panel system");
    for (int k = n - 1; k >= 1; --k) {
        double l = M(k, n + 1);
        for (int j = k + 1; j <= n; ++j) l -= lambda[j] * M(k, j);
        lambda[k] = finite(l);
    }
    progress.progressValue(1);

    // Tangential velocity at the control points.
    std::vector<float> vt(n + 1, 0.0f);
    for (int i = 1; i <= n; ++i) {
        if (degenerate[i]) continue;
        double sum = 0.0;
        for (int j = 1; j <= n; ++j) {
            if (j == i || degenerate[j]) continue;
            const PairTerms& t = T(i, j);
            sum += (lambda[j] / (2.0 * pi)) * (0.5 * t.ratio * t.logTerm - t.C * t.angle);
        }
        vt[i] = toSingle(velocity * std::sin(beta[i]) + sum);
    }
    for (int i = 1; i <= n; ++i)
        if (degenerate[i]) vt[i] = toSingle((static_cast<double>(vt[previousLive(i)]) + static_cast<double>(vt[nextLive(i)])) / 2.0);

    for (int i = 1; i <= n; ++i) {
        out.controlPointX[i] = xc[i];
        out.tangentialVelocity[i] = vt[i];
        out.surfaceVelocity[i] = vt[i];
        const double ratio = cdiv(static_cast<double>(vt[i]), velocity, "zero free-stream velocity");
        out.cp[i] = toSingle(1.0 - ratio * ratio);
    }
    out.hasTangentialVelocity = true;
    out.sourceStrength = lambda;
    out.sourcePanelLength = len;
    result = std::move(out);
    return Outcome::Done;
}

} // namespace velmora::finpanel
