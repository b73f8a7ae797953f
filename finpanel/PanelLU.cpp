#include "finpanel/PanelLU.h"

#include <cmath>
#include <stdexcept>

#include "finpanel/PanelMath.h"

namespace velmora::finpanel {

Outcome DECOMP(SquareMatrix& a, std::vector<int>& ip, Progress& progress, const std::string* abortRequest)
{
    const int n = a.order();
    if (n < 1) throw std::invalid_argument("DECOMP: empty matrix");
    ip.assign(static_cast<std::size_t>(n + 1), 0);
    ip[n] = 1;
    progress.progressVisible(true);
    progress.progressRange(1, n);
    progress.progressValue(1);

    // The interchanged pivot row of the step, in single precision, and
    // whether it has any zero (a zero propagates nothing: that element is
    // left alone, so that a -0 stays -0). Kept from call to call.
    thread_local std::vector<double> t;
    t.resize(static_cast<std::size_t>(n + 1));
    for (int k = 1; k <= n; ++k) {
        progress.progressValue(k);
        if (k < n) {
            // Partial pivoting: the largest magnitude in column k; a strict
            // comparison keeps the uppermost of equal candidates.
            int m = k;
            for (int i = k + 1; i <= n; ++i)
                if (std::fabs(a(i, k)) > std::fabs(a(m, k))) m = i;
            ip[k] = m;
            if (m != k) ip[n] = -ip[n];

            const float pivot = toSingle(a(m, k));
            a(m, k) = a(k, k);
            a(k, k) = pivot;
            if (pivot != 0.0f) {
                for (int i = k + 1; i <= n; ++i) a(i, k) = finite(-a(i, k) / pivot, "overflow in the panel system");
                double* rm = a.row(m);
                double* rk = a.row(k);
                bool zero = false;
                for (int j = k + 1; j <= n; ++j) {
                    const float tj = toSingle(rm[j]);
                    rm[j] = rk[j];
                    rk[j] = tj;
                    t[static_cast<std::size_t>(j)] = tj;
                    zero = zero || tj == 0.0f;
                }
                const double* tk = t.data();
                for (int i = k + 1; i <= n; ++i) {
                    double* ri = a.row(i);
                    const double f = ri[k];
                    if (!zero) {
                        for (int j = k + 1; j <= n; ++j) ri[j] += f * tk[j];
                    } else {
                        for (int j = k + 1; j <= n; ++j)
                            if (tk[j] != 0.0) ri[j] += f * tk[j];
                    }
                }
            }
        }
        if (a(k, k) == 0.0) ip[n] = 0;
        if (userAborts(progress, abortRequest)) return Outcome::Aborted;
    }
    progress.progressValue(1);
    return Outcome::Done;
}

Outcome DECOMPTurns(int n, Progress& progress, const std::string* abortRequest)
{
    progress.progressVisible(true);
    progress.progressRange(1, n);
    progress.progressValue(1);
    for (int k = 1; k <= n; ++k) {
        progress.progressValue(k);
        if (userAborts(progress, abortRequest)) return Outcome::Aborted;
    }
    progress.progressValue(1);
    return Outcome::Done;
}

void GAUSS(const SquareMatrix& a, std::vector<float>& b, const std::vector<int>& ip, Progress& progress)
{
    const int n = a.order();
    if (n < 1 || static_cast<int>(b.size()) < n + 1 || static_cast<int>(ip.size()) < n + 1)
        throw std::invalid_argument("GAUSS: vectors shorter than the matrix");

    if (n != 1) {
        progress.progressVisible(true);
        progress.progressRange(1, n - 1);
        progress.progressValue(1);
        // Forward: apply the recorded interchanges and multipliers.
        for (int k = 1; k <= n - 1; ++k) {
            progress.progressValue(k);
            const int m = ip[k];
            if (m < k || m > n) throw std::invalid_argument("GAUSS: pivot vector does not belong to the matrix");
            const float t = b[m];
            b[m] = b[k];
            b[k] = t;
            for (int i = k + 1; i <= n; ++i) b[i] = toSingle(b[i] + a(i, k) * t);
        }
        // Back substitution through U.
        for (int kb = 1; kb <= n - 1; ++kb) {
            const int k = n - kb + 1;
            b[k] = toSingle(cdiv(b[k], a(k, k), "zero pivot in the panel system"));
            const float t = -b[k];
            for (int i = 1; i <= k - 1; ++i) b[i] = toSingle(b[i] + a(i, k) * t);
        }
    }
    b[1] = toSingle(cdiv(b[1], a(1, 1), "zero pivot in the panel system"));
    progress.progressValue(1);
}

} // namespace velmora::finpanel
