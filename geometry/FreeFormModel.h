#pragma once
// Geometry of the free-form body editor, without any window.
//
// The editor's drawing area is measured in twips (15 per logical pixel), with
// the origin at the top-left corner, x to the right and y downwards. Both
// axes span the free-form tube length L: the width W stands for L along the
// axis and the height H for L in radius, so a screen point (X, Y) lies
// L X / W behind the nose-cone base at radius L (H - Y) / H.
//
// The model holds the editor's working copy of the control points (1..N,
// N from 2 to 20) together with the drawing-area size they are expressed at.
// Every operation takes the drawing area as it is now (a Frame); when the
// area has changed size since the points were last placed, they are first
// carried over to the new size, which keeps every point's radius and its
// share of the length. Nothing here touches the project state: the editor
// copies points in and out.
//
// An operation reports Done, or Refused when it cannot work with the frame
// or count it is given; a refusal changes nothing and its message says why:
//   kMsgFreeFormNoLength       L is zero, negative or not finite
//   kMsgFreeFormNoDrawingArea  W or H is zero, negative or not finite
//   kMsgFreeFormBadCount       N outside 2..20
//   kMsgFreeFormBadValue       a point or a body position would not be a
//                              finite number
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Report.h"

namespace velmora {

inline constexpr const char* kMsgFreeFormNoLength = "Please enter Free-Form tube length.";
inline constexpr const char* kMsgFreeFormNoDrawingArea = "Free-Form drawing area is too small.";
inline constexpr const char* kMsgFreeFormBadCount = "Free-Form points must number 2 to 20.";
inline constexpr const char* kMsgFreeFormBadValue = "Free-Form shape not saved: invalid body dimensions.";

inline constexpr int kTwipsPerPixel = 15;

// The drawing area and the body as they are when an operation runs.
struct FreeFormFrame {
    double width = 0;    // W, twips
    double height = 0;   // H, twips
    double length = 0;   // L, the free-form tube length
    double diameter = 0; // D, the nose-cone base diameter
};

// The body table an accept writes: body x in grid coordinates and radius of
// points 1..count (element 0 unused), and the radius of the last point.
struct FreeFormBodyTable {
    int16_t count = 0;
    std::array<double, 21> x{};
    std::array<double, 21> radius{};
    float baseRadius = 0;
};

// What the three read-outs show for a pointer position.
struct FreeFormReadout {
    std::string x;        // axial position behind the nose-cone base
    std::string radius;
    std::string diameter; // twice the radius as shown
};

struct FreeFormSegment {
    double x1, y1, x2, y2;
};

class FreeFormModel {
public:
    static constexpr int16_t kMinPoints = 2;
    static constexpr int16_t kMaxPoints = 20;
    static constexpr double kTopLimit = 1925;   // smallest y a drag gives (just below the panel)
    static constexpr double kCatchHalf = 300;   // half side of the box that catches a point
    static constexpr double kPointRadius = 100; // circle drawn about each point
    static constexpr int kLeftButton = 1;

    int16_t count() const { return count_; }

    double x(int i) const { return x_.at(static_cast<std::size_t>(i)); }
    double y(int i) const { return y_.at(static_cast<std::size_t>(i)); }
    // The drawing-area size the points are expressed at; 0 x 0 until the
    // points have been placed for the first time.
    double scaleWidth() const { return scaleW_; }
    double scaleHeight() const { return scaleH_; }
    bool hasShape() const { return scaleW_ > 0 && scaleH_ > 0; }
    // The points make a body the editor can show and accept: placed, each
    // on the drawing area it is expressed at, and rising along the axis from
    // point to point. A table of zeros, or one taken at another size whose
    // points fall off the drawing, is not.
    bool isShape() const;

    // Screen y of the nose-cone radius D / 2: H - H (D / 2) / L.
    static double noseRadiusY(const FreeFormFrame& f);

    // Straight tube of n points at the nose-cone radius, X(I) = W (I - 1) /
    // (n - 1); n becomes the count. A refusal keeps count and points.
    Report layOutFlat(const FreeFormFrame& f, int16_t n);

    // Even re-spacing along the axis keeping every radius; point 1 goes back
    // to the nose-cone radius. Sideways drags are dropped. Points never placed
    // before are laid out flat.
    Report respace(const FreeFormFrame& f);

    // Carries the points over to the frame's size (x and y in proportion).
    // Done by every operation that takes a frame; the window also calls it
    // before it draws.
    Report fit(const FreeFormFrame& f);

    // Screen points to body table: XB = tip + nose length + L X / W,
    // RB = L (H - Y) / H. The points are used as they stand (after fit).
    Report convert(const FreeFormFrame& f, double noseTipX, double noseLength,
                           FreeFormBodyTable& out);

    // Takes a stored shape as it is (no layout), expressed at the frame's size.
    Report setPoints(int16_t n, const double* xs, const double* ys, const FreeFormFrame& f);

    // ---- pointer -----------------------------------------------------------

    // The pointer lies on the drawing area: 0 <= X <= W and 0 <= Y <= H.
    static bool onDrawingArea(const FreeFormFrame& f, float X, float Y);

    // Read-outs in "#####.###"; the diameter is twice the radius as shown.
    static FreeFormReadout readout(const FreeFormFrame& f, float X, float Y);

    // Band in which point i may follow the pointer sideways: the left limit
    // W (2i - 3) / (2 (N - 1)) as it is, the right limit W (2i - 1) / (2 (N - 1))
    // rounded to a whole number with halves to even.
    static double bandLeft(double width, int n, int i);
    static double bandRight(double width, int n, int i);

    // One pointer move with the given button state (1 left, 2 right, 4
    // middle). Scans points 2..N in turn; a point is caught when the left
    // button alone is down and the pointer is strictly inside the 600 x 600
    // box about it. A caught point takes the pointer's y (never above
    // kTopLimit) and, inside its band, its x; the last point stays on the
    // right edge. Returns the points moved, in scan order.
    std::vector<int> drag(const FreeFormFrame& f, int button, float X, float Y);

    // ---- drawing -------------------------------------------------------------

    // The shape's line segments, point I - 1 to point I for I = 2..N.
    std::vector<FreeFormSegment> profile() const;
    // Ruler lines: verticals at x = k W / 10 from y = H / 10 down to H, then
    // horizontals at y = k H / 10 across the width, k = 0..10.
    static std::vector<FreeFormSegment> rulers(double width, double height);

    bool operator==(const FreeFormModel&) const = default;

private:
    static Report check(const FreeFormFrame& f);

    int16_t count_ = 4;
    std::array<double, 21> x_{};
    std::array<double, 21> y_{};
    double scaleW_ = 0;
    double scaleH_ = 0;
};

} // namespace velmora
