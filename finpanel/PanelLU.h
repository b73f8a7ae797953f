#pragma once
// Dense LU factorisation with partial pivoting (DECOMP) and the matching
// forward/back substitution (GAUSS), used for the vortex-panel system.
//
// Indices are 1-based as in the rest of the panel code: rows and columns
// 1..n of the matrix, elements 1..n of the pivot and right-hand-side vectors
// (element 0 is unused).
//
// The factors are stored in place: on and above the diagonal the upper
// factor U (pivots on the diagonal), below the diagonal in column k the
// negated multipliers of elimination step k. ip[k] (k < n) is the row
// interchanged with row k at step k; ip[n] is the sign of the permutation,
// or 0 once a zero pivot was met (singular to working precision).
//
// The value being interchanged or propagated (pivots, pivot-row elements,
// right-hand-side elements) passes through a single-precision temporary, so
// results agree with a double-precision solve to about single precision.
#include <string>
#include <vector>

#include "platform/Progress.h"

namespace velmora::finpanel {

class SquareMatrix {
public:
    SquareMatrix() = default;
    explicit SquareMatrix(int n) { resize(n); }
    // Order n, every element 0; the storage is kept when it is large enough.
    void resize(int n)
    {
        n_ = n;
        a_.assign(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), 0.0);
    }
    int order() const { return n_; }
    // Row i as a contiguous array: row(i)[j] is element (i, j).
    double* row(int i) { return a_.data() + index(i, 0); }
    double& operator()(int row, int col) { return a_[index(row, col)]; }
    double operator()(int row, int col) const { return a_[index(row, col)]; }

private:
    std::size_t index(int row, int col) const
    {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(n_ + 1) + static_cast<std::size_t>(col);
    }
    int n_ = 0;
    std::vector<double> a_;
};

// Factors a (order a.order()) in place and fills ip (resized to n + 1).
// Drives the progress bar: visible, range 1..n, value k per column, then 1.
// Never divides by a zero pivot: that step is skipped and ip[n] set to 0.
// The rows below the pivot are updated along the rows (each element receives
// the same operations as column by column). After each column events run when
// Progress::maybePump finds them due; AbortFlag::Yes in *abortRequest (when given)
// then ends it at once with Outcome::Aborted (a and ip part way); otherwise
// Outcome::Done.
[[nodiscard]] Outcome DECOMP(SquareMatrix& a, std::vector<int>& ip, Progress& progress,
                             const std::string* abortRequest = nullptr);

// The progress and event turns of DECOMP on a matrix of order n, without its
// arithmetic: for a caller that uses factors it kept. The same outcomes.
[[nodiscard]] Outcome DECOMPTurns(int n, Progress& progress, const std::string* abortRequest);

// Solves with the factors of DECOMP; b (elements 1..n) is overwritten with the
// solution. A zero diagonal element of U is a MathFailure (GAUSS does not look
// at ip[n]); so is a solution that does not fit single precision.
// Drives the progress bar: range 1..n-1, value k per forward step, then 1.
void GAUSS(const SquareMatrix& a, std::vector<float>& b, const std::vector<int>& ip, Progress& progress);

} // namespace velmora::finpanel
