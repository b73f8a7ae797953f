#include "geometry/FreeFormModel.h"

#include <cmath>

#include "platform/Format.h"
#include "platform/Single.h"

namespace velmora {

namespace {

bool positive(double v) { return std::isfinite(v) && v > 0.0; }

Report done()
{
    Report r;
    r.outcome = Outcome::Done;
    return r;
}

Report refused(const char* why)
{
    Report r;
    r.outcome = Outcome::Refused;
    r.message = why;
    return r;
}

bool ok(const Report& r) { return r.outcome == Outcome::Done; }

Report areaCheck(const FreeFormFrame& f)
{
    return positive(f.width) && positive(f.height) ? done() : refused(kMsgFreeFormNoDrawingArea);
}

bool validCount(int n) { return n >= FreeFormModel::kMinPoints && n <= FreeFormModel::kMaxPoints; }

} // namespace

Report FreeFormModel::check(const FreeFormFrame& f)
{
    if (!positive(f.length)) return refused(kMsgFreeFormNoLength);
    if (Report r = areaCheck(f); !ok(r)) return r;
    if (!std::isfinite(f.diameter)) return refused(kMsgFreeFormBadValue);
    return done();
}

double FreeFormModel::noseRadiusY(const FreeFormFrame& f)
{
    return f.height - f.height * (f.diameter / 2.0) / f.length;
}

bool FreeFormModel::isShape() const
{
    if (!hasShape() || !validCount(count_)) return false;
    for (std::size_t i = 1; i <= static_cast<std::size_t>(count_); ++i) {
        const double x = x_[i], y = y_[i];
        if (!(x >= 0.0 && x <= scaleW_ && y >= 0.0 && y <= scaleH_)) return false;
        if (i > 1 && !(x > x_[i - 1])) return false;
    }
    return true;
}

Report FreeFormModel::layOutFlat(const FreeFormFrame& f, int16_t n)
{
    if (Report r = check(f); !ok(r)) return r;
    if (!validCount(n)) return refused(kMsgFreeFormBadCount);
    count_ = n;
    const double y0 = noseRadiusY(f);
    x_[1] = 0.0;
    y_[1] = y0;
    for (int i = 2; i <= n - 1; ++i) {
        x_[static_cast<std::size_t>(i)] = f.width * (i - 1) / (n - 1);
        y_[static_cast<std::size_t>(i)] = y0;
    }
    x_[static_cast<std::size_t>(n)] = f.width;
    y_[static_cast<std::size_t>(n)] = y0;
    scaleW_ = f.width;
    scaleH_ = f.height;
    return done();
}

Report FreeFormModel::fit(const FreeFormFrame& f)
{
    if (Report r = areaCheck(f); !ok(r)) return r;
    if (!hasShape()) return done();
    if (scaleW_ == f.width && scaleH_ == f.height) return done();
    const double kx = f.width / scaleW_;
    const double ky = f.height / scaleH_;
    for (std::size_t i = 1; i < x_.size(); ++i) {
        x_[i] *= kx;
        y_[i] *= ky;
    }
    scaleW_ = f.width;
    scaleH_ = f.height;
    return done();
}

Report FreeFormModel::respace(const FreeFormFrame& f)
{
    if (Report r = check(f); !ok(r)) return r;
    if (!validCount(count_)) return refused(kMsgFreeFormBadCount);
    if (!hasShape()) return layOutFlat(f, count_);
    fit(f); // y carried over to the new height keeps every radius
    const int n = count_;
    x_[1] = 0.0;
    y_[1] = noseRadiusY(f);
    for (int i = 2; i <= n; ++i) x_[static_cast<std::size_t>(i)] = f.width * (i - 1) / (n - 1);
    x_[static_cast<std::size_t>(n)] = f.width;
    return done();
}

Report FreeFormModel::convert(const FreeFormFrame& f, double noseTipX, double noseLength,
                                      FreeFormBodyTable& out)
{
    if (Report r = check(f); !ok(r)) return r;
    if (!validCount(count_)) return refused(kMsgFreeFormBadCount);
    if (!hasShape()) return refused(kMsgFreeFormBadValue);
    fit(f);
    FreeFormBodyTable t;
    t.count = count_;
    const double start = noseTipX + noseLength;
    for (int i = 1; i <= count_; ++i) {
        const auto k = static_cast<std::size_t>(i);
        t.x[k] = start + f.length * x_[k] / f.width;
        t.radius[k] = f.length * (f.height - y_[k]) / f.height;
        if (!std::isfinite(t.x[k]) || !std::isfinite(t.radius[k])) return refused(kMsgFreeFormBadValue);
    }
    const double baseRadius = t.radius[static_cast<std::size_t>(count_)];
    if (!fitsSingle(baseRadius)) return refused(kMsgFreeFormBadValue);
    t.baseRadius = toSingle(baseRadius);
    out = t;
    return done();
}

Report FreeFormModel::setPoints(int16_t n, const double* xs, const double* ys, const FreeFormFrame& f)
{
    if (!validCount(n)) return refused(kMsgFreeFormBadCount);
    if (Report r = areaCheck(f); !ok(r)) return r;
    for (int i = 1; i <= n; ++i) {
        if (!std::isfinite(xs[i]) || !std::isfinite(ys[i])) return refused(kMsgFreeFormBadValue);
    }
    count_ = n;
    x_.fill(0.0);
    y_.fill(0.0);
    for (int i = 1; i <= n; ++i) {
        x_[static_cast<std::size_t>(i)] = xs[i];
        y_[static_cast<std::size_t>(i)] = ys[i];
    }
    scaleW_ = f.width;
    scaleH_ = f.height;
    return done();
}

// ---- pointer -------------------------------------------------------------------

bool FreeFormModel::onDrawingArea(const FreeFormFrame& f, float X, float Y)
{
    if (!ok(areaCheck(f))) return false;
    return !(X < 0 || X > f.width || Y < 0 || Y > f.height);
}

FreeFormReadout FreeFormModel::readout(const FreeFormFrame& f, float X, float Y)
{
    if (!onDrawingArea(f, X, Y) || !std::isfinite(f.length)) return {};
    FreeFormReadout r;
    r.x = Format(f.length * X / f.width, "#####.###");
    r.radius = Format(f.length * (f.height - Y) / f.height, "#####.###");
    r.diameter = Format(2.0 * Val(r.radius), "#####.###");
    return r;
}

double FreeFormModel::bandLeft(double width, int n, int i)
{
    return width * (2.0 * i - 3.0) / (2.0 * (n - 1));
}

double FreeFormModel::bandRight(double width, int n, int i)
{
    // Default rounding mode: to nearest, halves to even.
    return std::nearbyint(width * (2.0 * i - 1.0) / (2.0 * (n - 1)));
}

std::vector<int> FreeFormModel::drag(const FreeFormFrame& f, int button, float X, float Y)
{
    std::vector<int> moved;
    if (!onDrawingArea(f, X, Y) || !validCount(count_) || !hasShape()) return moved;
    if (button != kLeftButton) return moved;
    fit(f);
    const int n = count_;
    const double px = X;
    const double py = Y;
    for (int i = 2; i <= n; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const bool caught = x_[k] - kCatchHalf < px && px < x_[k] + kCatchHalf && y_[k] - kCatchHalf < py &&
                            py < y_[k] + kCatchHalf;
        if (!caught) continue;
        y_[k] = py > kTopLimit ? py : kTopLimit;
        if (bandLeft(f.width, n, i) < px && px < bandRight(f.width, n, i)) x_[k] = px;
        x_[static_cast<std::size_t>(n)] = f.width;
        moved.push_back(i);
    }
    return moved;
}

// ---- drawing ---------------------------------------------------------------------

std::vector<FreeFormSegment> FreeFormModel::profile() const
{
    std::vector<FreeFormSegment> s;
    if (!validCount(count_)) return s;
    for (std::size_t i = 2; i <= static_cast<std::size_t>(count_); ++i)
        s.push_back({x_[i - 1], y_[i - 1], x_[i], y_[i]});
    return s;
}

std::vector<FreeFormSegment> FreeFormModel::rulers(double width, double height)
{
    std::vector<FreeFormSegment> s;
    if (!positive(width) || !positive(height)) return s;
    const float dx = singleOrZero(width) / 10.0f;
    const float dy = singleOrZero(height) / 10.0f;
    for (int k = 0; k <= 10; ++k) {
        const double x = static_cast<double>(static_cast<float>(k) * dx);
        s.push_back({x, dy, x, height});
    }
    for (int k = 0; k <= 10; ++k) {
        const double y = static_cast<double>(static_cast<float>(k) * dy);
        s.push_back({0.0, y, width, y});
    }
    return s;
}

} // namespace velmora
