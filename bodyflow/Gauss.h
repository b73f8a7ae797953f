#pragma once
// Dense linear solve of the body-flow panel system.
//
//   AugmentedMatrix A(n);                 rows 1..n, columns 1..n+1 (RHS last)
//   A(i, j) = ...;
//   Outcome GAUSS(std::vector<double>& X, AugmentedMatrix& A, int N,
//                 Module1& m, Progress& progress);
//
// Gaussian elimination without row exchange on rows 1..N and columns 1..N+1:
// each pivot row is divided by its pivot, then subtracted from the rows below,
// followed by back substitution on the unit upper triangle. No pivoting and no
// reordering: every matrix element receives its updates in the textbook order,
// so the result is that of the plain row-by-row elimination (the elimination
// is carried out in column blocks for speed, which changes only when the
// updates are applied, not their order).
//
// Once per pivot row the progress value is set, pending events are let run
// when due (Progress::maybePump) and m.AbortRequest is tested; AbortFlag::Yes stops at once
// with Outcome::Aborted. A zero, vanishing or non-finite pivot, or a
// non-finite solution, gives Outcome::Failed. In both cases X is left as it
// was; on Outcome::Done, X(1..N) holds the solution (X is enlarged to N + 1
// elements if needed; X(0) is not used). A is destroyed in every case.
//
// With a GaussFactors object, GAUSS keeps the factors of an elimination that
// completed, and the next call whose matrix (columns 1..N) has the same bits
// as the one they came from does not eliminate again: it replays on the new
// right-hand side the operations the elimination applied to its column (each
// row's multipliers in pivot order, the division by its pivot, the back
// substitution), so X gets the same bits a full elimination gives. The replay
// sets the progress, lets events run and tests the ABORT flag per row as the
// elimination does. Any other matrix is eliminated in full, and its factors
// replace the kept ones; an elimination that does not complete leaves none.
#include <cstddef>
#include <optional>
#include <vector>

#include "model/Module1.h"
#include "platform/Progress.h"

namespace velmora {

class AugmentedMatrix {
public:
    AugmentedMatrix() = default;
    explicit AugmentedMatrix(int n) { resize(n); }

    // Rows 1..n, columns 1..n+1, all set to 0.
    void resize(int n);
    int size() const { return n_; }

    double& operator()(int i, int j) { return data_[index(i, j)]; }
    double operator()(int i, int j) const { return data_[index(i, j)]; }

    // Row i as a contiguous array: row(i)[j - 1] is element (i, j).
    double* row(int i) { return data_.data() + offset(i); }
    const double* row(int i) const { return data_.data() + offset(i); }
    std::size_t stride() const { return stride_; }

private:
    std::size_t offset(int i) const { return static_cast<std::size_t>(i - 1) * stride_; }
    std::size_t index(int i, int j) const;

    int n_ = 0;
    std::size_t stride_ = 0;
    std::vector<double> data_;
};

// The factors of the last completed elimination and the matrix they came from.
class GaussFactors {
public:
    // Whether columns 1..N of A have the bits of the kept factors' matrix.
    bool matches(const AugmentedMatrix& A, int N) const;
    void clear();
    bool empty() const { return n_ == 0; }
    int size() const { return n_; }

    // What GAUSS does on a matrix that matches, for a caller that knows the
    // matrix is the kept one without forming it (it has the inputs the matrix
    // came from): the right-hand side rhs[i * rhsStride], i = 0..N-1, replayed
    // through the factors, X set as GAUSS sets it. N must be size().
    Outcome replay(std::vector<double>& X, const double* rhs, std::size_t rhsStride, int N, Module1& m,
                   Progress& progress) const;

private:
    friend Outcome GAUSS(std::vector<double>&, AugmentedMatrix&, int, Module1&, Progress&, GaussFactors*);
    int n_ = 0;
    AugmentedMatrix matrix_;        // as it came, the right-hand side column aside
    AugmentedMatrix factors_;       // multipliers below the diagonal, the unit upper triangle above
    std::vector<double> pivots_;    // each row's pivot before its division
};

Outcome GAUSS(std::vector<double>& X, AugmentedMatrix& A, int N, Module1& m, Progress& progress,
              GaussFactors* keep = nullptr);

// The vector forms of the elimination; each gives the same bits.
enum class GaussForm { Sse2, Avx2, Avx512 };
const char* gaussFormName(GaussForm form);

// The form GAUSS runs: the one set with setGaussForm (never above what
// simdLevel() allows), else the fastest this processor offers at that level.
// At the AVX-512 level that is the faster of the AVX-512 and AVX2 forms,
// timed once on first use (the wider form is slower on some processors).
GaussForm gaussForm();

// For tests and benchmarks: run this form, or with nullopt the fastest
// again. Returns the form now in force.
GaussForm setGaussForm(std::optional<GaussForm> form);

} // namespace velmora
