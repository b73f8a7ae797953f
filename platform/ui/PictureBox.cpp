#include "platform/ui/PictureBox.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <utility>

namespace velmora {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

bool allFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// Nearest whole pixel, kept in double so that no value (however far off the
// picture) goes through an integer conversion.
double roundPixel(double v) { return std::floor(v + 0.5); }

// Reduces |angle| into [0, 2*pi]; a full turn stays a full turn.
double reduceAngle(double a)
{
    a = std::fabs(a);
    if (a > kTwoPi) a = std::fmod(a, kTwoPi);
    return a;
}

// Cohen-Sutherland: cuts the segment a-b to the rectangle; false if nothing
// is left. Keeps far-off coordinates (a scale zoomed onto a detail) out of
// the rasteriser, which works in a limited fixed-point range. A cut point is
// computed from the ratio along the segment so that nothing overflows.
bool clipSegment(QPointF& a, QPointF& b, const QRectF& r)
{
    enum { Left = 1, Right = 2, Top = 4, Bottom = 8 };
    auto code = [&r](QPointF p) {
        int c = 0;
        if (p.x() < r.left()) c |= Left;
        else if (p.x() > r.right()) c |= Right;
        if (p.y() < r.top()) c |= Top;
        else if (p.y() > r.bottom()) c |= Bottom;
        return c;
    };
    int ca = code(a), cb = code(b);
    for (int guard = 0; guard < 8; ++guard) {
        if ((ca | cb) == 0) return true;
        if (ca & cb) return false;
        const bool moveA = ca != 0;
        const QPointF out = moveA ? a : b;
        const QPointF in = moveA ? b : a;
        const int c = moveA ? ca : cb;
        QPointF cut;
        if (c & (Left | Right)) {
            const double xe = (c & Left) ? r.left() : r.right();
            const double t = (xe - out.x()) / (in.x() - out.x());
            cut = QPointF(xe, out.y() + (in.y() - out.y()) * t);
        } else {
            const double ye = (c & Top) ? r.top() : r.bottom();
            const double t = (ye - out.y()) / (in.y() - out.y());
            cut = QPointF(out.x() + (in.x() - out.x()) * t, ye);
        }
        if (!std::isfinite(cut.x()) || !std::isfinite(cut.y())) return false;
        if (moveA) {
            a = cut;
            ca = code(a);
        } else {
            b = cut;
            cb = code(b);
        }
    }
    return (ca | cb) == 0;
}

// Sutherland-Hodgman against the rectangle, for filled polygons.
QPolygonF clipPolygon(const QPolygonF& poly, const QRectF& r)
{
    QPolygonF out = poly;
    auto clipEdge = [&out](auto inside, auto cross) {
        QPolygonF in = out;
        out.clear();
        for (qsizetype i = 0; i < in.size(); ++i) {
            const QPointF cur = in[i];
            const QPointF prev = in[(i + in.size() - 1) % in.size()];
            if (inside(cur)) {
                if (!inside(prev)) out << cross(prev, cur);
                out << cur;
            } else if (inside(prev)) {
                out << cross(prev, cur);
            }
        }
    };
    auto atX = [](double x) {
        return [x](QPointF p, QPointF q) {
            return QPointF(x, p.y() + (q.y() - p.y()) * (x - p.x()) / (q.x() - p.x()));
        };
    };
    auto atY = [](double y) {
        return [y](QPointF p, QPointF q) {
            return QPointF(p.x() + (q.x() - p.x()) * (y - p.y()) / (q.y() - p.y()), y);
        };
    };
    clipEdge([&](QPointF p) { return p.x() >= r.left(); }, atX(r.left()));
    clipEdge([&](QPointF p) { return p.x() <= r.right(); }, atX(r.right()));
    clipEdge([&](QPointF p) { return p.y() >= r.top(); }, atY(r.top()));
    clipEdge([&](QPointF p) { return p.y() <= r.bottom(); }, atY(r.bottom()));
    return out;
}

// Draws the polyline with every segment cut to the rectangle.
void drawPolylineClipped(QPainter& p, const QPolygonF& pts, const QRectF& r)
{
    if (r.contains(pts.boundingRect())) {
        p.drawPolyline(pts);
        return;
    }
    for (qsizetype i = 1; i < pts.size(); ++i) {
        QPointF a = pts[i - 1], b = pts[i];
        if (clipSegment(a, b, r)) p.drawLine(a, b);
    }
}

QPen makePen(QRgb colour, int width)
{
    QPen pen{QColor::fromRgb(colour)};
    pen.setWidth(width);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

} // namespace

void PictureBox::Drawing::clear()
{
    ops.clear();
    coords.clear();
    texts.clear();
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    pal.setColor(QPalette::WindowText, QColor::fromRgb(kForeground));
    setPalette(pal);
    setAutoFillBackground(false);
}

PictureBox::~PictureBox() { closePainter(); }

QSize PictureBox::sizeHint() const { return designSize_; }

void PictureBox::setDesignSize(QSize size)
{
    designSize_ = size;
    updateGeometry();
}

QRgb PictureBox::qbColor(int n)
{
    static constexpr QRgb table[16] = {
        qRgb(0, 0, 0),       qRgb(0, 0, 128),     qRgb(0, 128, 0),     qRgb(0, 128, 128),
        qRgb(128, 0, 0),     qRgb(128, 0, 128),   qRgb(128, 128, 0),   qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(0, 0, 255),     qRgb(0, 255, 0),     qRgb(0, 255, 255),
        qRgb(255, 0, 0),     qRgb(255, 0, 255),   qRgb(255, 255, 0),   qRgb(255, 255, 255),
    };
    if (n < 0 || n > 15) return table[0];
    return table[n];
}

QRgb PictureBox::rgbFromLong(long v)
{
    const unsigned long u = static_cast<unsigned long>(v);
    return qRgb(static_cast<int>(u & 0xFFu), static_cast<int>((u >> 8) & 0xFFu),
                static_cast<int>((u >> 16) & 0xFFu));
}

// ---------------------------------------------------------------- scale --

void PictureBox::setScale(double x1, double y1, double x2, double y2)
{
    record(Kind::Scale, {x1, y1, x2, y2}, 0);
    if (!allFinite({x1, y1, x2, y2}) || x1 == x2 || y1 == y2) return;
    scale_ = Scale{true, x1, y1, x2, y2};
    keep(Kind::Scale, {x1, y1, x2, y2}, 0);
}

void PictureBox::resetScale()
{
    record(Kind::Scale, {}, 0);
    scale_.on = false;
    keep(Kind::Scale, {}, 0);
}

QSize PictureBox::canvas() const { return renderSize_.isValid() ? renderSize_ : size(); }

double PictureBox::pixelsPerUnitX() const
{
    return scale_.on ? canvas().width() / (scale_.x2 - scale_.x1) : 1.0;
}

double PictureBox::pixelsPerUnitY() const
{
    return scale_.on ? canvas().height() / (scale_.y2 - scale_.y1) : 1.0;
}

double PictureBox::scaleShape() const
{
    const double k = std::fabs(pixelsPerUnitY() / pixelsPerUnitX());
    return std::isfinite(k) && k > 0.0 ? k : 0.0;
}

QPointF PictureBox::toDevice(double x, double y) const
{
    if (!scale_.on) return {x, y};
    return {(x - scale_.x1) * pixelsPerUnitX(), (y - scale_.y1) * pixelsPerUnitY()};
}

QPointF PictureBox::pixel(double x, double y) const
{
    const QPointF d = toDevice(x, y);
    double px = roundPixel(d.x()), py = roundPixel(d.y());
    const QSize c = canvas();
    // The far edge of the picture is its last pixel, not the one beyond it.
    if (px == c.width() && c.width() > 0) px -= 1;
    if (py == c.height() && c.height() > 0) py -= 1;
    return {px, py};
}

// -------------------------------------------------------------- image --

bool PictureBox::ensureImage() const
{
    const qreal dpr = devicePixelRatioF();
    const QSize want(static_cast<int>(std::ceil(width() * dpr)), static_cast<int>(std::ceil(height() * dpr)));
    if (!imageBehind_ && image_.size() == want && image_.devicePixelRatio() == dpr && imageSize_ == size())
        return !image_.isNull();
    closePainter();
    image_ = want.isEmpty() ? QImage() : renderDrawing(drawing_, size(), dpr);
    imageSize_ = size();
    imageBehind_ = false;
    return !image_.isNull();
}

QImage PictureBox::renderDrawing(const Drawing& d, QSize logical, qreal dpr) const
{
    const QSize pixels(static_cast<int>(std::ceil(logical.width() * dpr)),
                       static_cast<int>(std::ceil(logical.height() * dpr)));
    if (pixels.isEmpty()) return {};
    QImage out(pixels, QImage::Format_RGB32);
    out.setDevicePixelRatio(dpr);
    // Text drawn into the image must measure as it does on the widget.
    out.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
    out.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
    out.fill(kBackground);
    if (!d.ops.empty()) {
        const QSize saved = renderSize_;
        renderSize_ = logical;
        QPainter p(&out);
        replay(p, d);
        renderSize_ = saved;
    }
    return out;
}

QImage PictureBox::render(QSize size, qreal dpr) const { return renderDrawing(drawing_, size, dpr); }

QImage PictureBox::image() const
{
    closePainter();
    ensureImage();
    return image_;
}

QImage PictureBox::persistentPicture() const
{
    if (!persistent_) return {};
    return renderDrawing(*persistent_, size(), devicePixelRatioF());
}

void PictureBox::closePainter() const
{
    flushLines();
    painter_.reset();
    penFor_ = nullptr;
}

// Setting a pen costs more than drawing a short line: a run of lines in one
// colour and width sets it once. Whoever ends a painter forgets the pen.
// A width in widget pixels as whole device pixels of the painter's surface.
int PictureBox::deviceWidth(const QPainter& p, int width) const
{
    double k = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    if (pensFollowSize_ && !designSize_.isEmpty()) {
        const QSize c = canvas();
        k *= std::max(1.0, std::min(double(c.width()) / designSize_.width(), double(c.height()) / designSize_.height()));
    }
    return std::max(1, static_cast<int>(std::lround(width * k)));
}

void PictureBox::usePen(QPainter& p, QRgb colour, int width) const
{
    if (penFor_ == &p && penColour_ == colour && penWidth_ == width) return;
    flushLines();
    p.setPen(makePen(colour, deviceWidth(p, width)));
    penFor_ = &p;
    penColour_ = colour;
    penWidth_ = width;
}

QPainter* PictureBox::painter()
{
    // A picture that is not on screen (a window drawn while hidden) only
    // keeps its calls; it is drawn once, when shown, printed or read.
    if (!isVisible()) {
        closePainter();
        imageBehind_ = true;
        return nullptr;
    }
    if (painter_ && imageSize_ == size()) return painter_.get();
    if (!ensureImage()) return nullptr;
    if (!painter_) painter_ = std::make_unique<QPainter>(&image_);
    return painter_.get();
}

void PictureBox::callDrawn()
{
    if (batchDepth_ > 0) {
        dirty_ = true;
        return;
    }
    closePainter();
    update();
}

void PictureBox::endBatch()
{
    if (batchDepth_ > 0 && --batchDepth_ > 0) return;
    closePainter();
    if (dirty_) update();
    dirty_ = false;
}

QRectF PictureBox::clipBounds() const
{
    const double m = drawWidth_ + 2.0;
    const QSize c = canvas();
    return QRectF(-m, -m, c.width() + 2 * m, c.height() + 2 * m);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ensureImage();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    closePainter();
    ensureImage();
    QPainter p(this);
    p.fillRect(event->rect(), QColor::fromRgb(kBackground));
    if (!image_.isNull()) p.drawImage(QPointF(0, 0), image_);
}

void PictureBox::record(Kind kind, std::vector<double> coords, QRgb colour, const QString& text)
{
    if (!recording_) return;
    calls_.push_back(Call{kind, std::move(coords), colour, text});
}

void PictureBox::keep(Kind kind, std::initializer_list<double> coords, QRgb colour, double shape, bool partial,
                      const QString& text)
{
    Op op{kind, colour, drawWidth_};
    op.shape = shape;
    op.partial = partial;
    op.first = drawing_.coords.size();
    op.count = coords.size();
    drawing_.coords.insert(drawing_.coords.end(), coords.begin(), coords.end());
    if (kind == Kind::Text) {
        op.text = static_cast<int>(drawing_.texts.size());
        drawing_.texts.append(text);
    }
    drawing_.ops.push_back(op);
}

void PictureBox::replay(QPainter& p, const Drawing& d) const
{
    const Scale savedScale = scale_;
    const int savedWidth = drawWidth_;
    penFor_ = nullptr;
    scale_ = Scale{};
    for (const Op& op : d.ops) {
        const double* c = d.coords.data() + op.first;
        drawWidth_ = op.width;
        switch (op.kind) {
        case Kind::Scale:
            scale_ = op.count == 4 ? Scale{true, c[0], c[1], c[2], c[3]} : Scale{};
            break;
        case Kind::Line: rasterLine(p, c[0], c[1], c[2], c[3], op.colour); break;
        case Kind::Box: rasterBox(p, c[0], c[1], c[2], c[3], op.colour, op.filled); break;
        case Kind::Pset: rasterPset(p, c[0], c[1], op.colour); break;
        case Kind::Circle:
            rasterEllipse(p, c[0], c[1], c[2], c[3], op.shape, false, 0.0, kTwoPi, op.colour);
            break;
        case Kind::Arc: rasterEllipse(p, c[0], c[1], c[2], c[5], op.shape, true, c[3], c[4], op.colour); break;
        case Kind::Text: rasterText(p, c[0], c[1], d.texts.at(op.text), op.colour); break;
        case Kind::Polygon: rasterPolygon(p, c, op.count / 2, op.colour); break;
        case Kind::Clear: break;
        }
    }
    scale_ = savedScale;
    drawWidth_ = savedWidth;
    flushLines();
    penFor_ = nullptr;  // p may end before the next painter begins
}

// ------------------------------------------------------------ drawing --

void PictureBox::clear()
{
    record(Kind::Clear, {}, kBackground);
    closePainter();
    drawing_.clear();
    // The kept drawing starts from the scale in force.
    if (scale_.on) keep(Kind::Scale, {scale_.x1, scale_.y1, scale_.x2, scale_.y2}, 0);
    if (!isVisible()) imageBehind_ = true;
    else if (ensureImage()) image_.fill(kBackground);
    persistent_.reset();
    curX_ = 0;
    curY_ = 0;
    update();
}

void PictureBox::setDrawWidth(int pixels) { drawWidth_ = std::max(1, pixels); }

void PictureBox::setCurrentPoint(double x, double y)
{
    curX_ = x;
    curY_ = y;
}

void PictureBox::rasterLine(QPainter& p, double x1, double y1, double x2, double y2, QRgb colour) const
{
    if (!allFinite({x1, y1, x2, y2})) return;
    QPointF pa = pixel(x1, y1);
    QPointF pb = pixel(x2, y2);
    if (!clipSegment(pa, pb, clipBounds())) return;
    usePen(p, colour, drawWidth_);
    if (pa == pb || drawWidth_ != 1) {
        flushLines();
        if (pa == pb)
            p.drawPoint(pa);
        else
            p.drawLine(pa, pb);
        return;
    }
    // Thin lines wait in a run drawn by one call: the same pixels (each line
    // is drawn on its own, in order) at a fraction of the cost per line.
    if (runOn_ != &p || lineRun_.size() >= kLineRun) flushLines();
    runOn_ = &p;
    lineRun_.emplace_back(pa, pb);
}

void PictureBox::flushLines() const
{
    if (runOn_ && !lineRun_.empty()) runOn_->drawLines(lineRun_.data(), static_cast<int>(lineRun_.size()));
    lineRun_.clear();
    runOn_ = nullptr;
}

void PictureBox::line(double x1, double y1, double x2, double y2)
{
    line(x1, y1, x2, y2, kForeground);
}

void PictureBox::line(double x1, double y1, double x2, double y2, QRgb colour)
{
    record(Kind::Line, {x1, y1, x2, y2}, colour);
    curX_ = x2;
    curY_ = y2;
    if (QPainter* p = painter()) rasterLine(*p, x1, y1, x2, y2, colour);
    keep(Kind::Line, {x1, y1, x2, y2}, colour);
    callDrawn();
}

void PictureBox::lineTo(double x, double y) { lineTo(x, y, kForeground); }

void PictureBox::lineTo(double x, double y, QRgb colour) { line(curX_, curY_, x, y, colour); }

void PictureBox::rasterBox(QPainter& p, double x1, double y1, double x2, double y2, QRgb colour,
                           bool filled) const
{
    flushLines();
    if (!allFinite({x1, y1, x2, y2})) return;
    const QPointF a = pixel(x1, y1);
    const QPointF b = pixel(x2, y2);
    // Edges beyond the picture are moved to just outside it, so they stay
    // invisible while the coordinates stay small.
    const QRectF cb = clipBounds();
    const double l = std::clamp(std::min(a.x(), b.x()), cb.left(), cb.right());
    const double r = std::clamp(std::max(a.x(), b.x()), cb.left(), cb.right());
    const double t = std::clamp(std::min(a.y(), b.y()), cb.top(), cb.bottom());
    const double bt = std::clamp(std::max(a.y(), b.y()), cb.top(), cb.bottom());
    if (filled) p.fillRect(QRectF(l, t, r - l + 1, bt - t + 1), QColor::fromRgb(colour));
    usePen(p, colour, drawWidth_);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(l, t, r - l, bt - t));
}

void PictureBox::box(double x1, double y1, double x2, double y2, QRgb colour, bool filled)
{
    record(Kind::Box, {x1, y1, x2, y2, filled ? 1.0 : 0.0}, colour);
    curX_ = x2;
    curY_ = y2;
    if (QPainter* p = painter()) rasterBox(*p, x1, y1, x2, y2, colour, filled);
    keep(Kind::Box, {x1, y1, x2, y2}, colour);
    drawing_.ops.back().filled = filled;
    callDrawn();
}

void PictureBox::rasterPset(QPainter& p, double x, double y, QRgb colour) const
{
    flushLines();
    if (!allFinite({x, y})) return;
    if (!clipBounds().contains(toDevice(x, y))) return;
    const QPointF d = pixel(x, y);
    const double half = (drawWidth_ - 1) / 2;
    p.fillRect(QRectF(d.x() - half, d.y() - half, drawWidth_, drawWidth_), QColor::fromRgb(colour));
}

void PictureBox::pset(double x, double y, QRgb colour)
{
    record(Kind::Pset, {x, y}, colour);
    curX_ = x;
    curY_ = y;
    if (QPainter* p = painter()) rasterPset(*p, x, y, colour);
    keep(Kind::Pset, {x, y}, colour);
    callDrawn();
}

void PictureBox::circle(double cx, double cy, double radius, QRgb colour, std::optional<double> startAngle,
                        std::optional<double> endAngle, double aspect)
{
    const bool partial = startAngle.has_value() || endAngle.has_value();
    const double start = startAngle.value_or(0.0);
    const double end = endAngle.value_or(kTwoPi);
    if (partial)
        record(Kind::Arc, {cx, cy, radius, start, end, aspect}, colour);
    else
        record(Kind::Circle, {cx, cy, radius, aspect}, colour);
    curX_ = cx;
    curY_ = cy;
    const double shape = scaleShape();
    if (QPainter* p = painter()) rasterEllipse(*p, cx, cy, radius, aspect, shape, partial, start, end, colour);
    if (partial)
        keep(Kind::Arc, {cx, cy, radius, start, end, aspect}, colour, shape, true);
    else
        keep(Kind::Circle, {cx, cy, radius, aspect}, colour, shape);
    callDrawn();
}

void PictureBox::rasterEllipse(QPainter& p, double cx, double cy, double radius, double aspect, double shape,
                               bool partial, double start, double end, QRgb colour) const
{
    flushLines();
    if (!allFinite({cx, cy, radius, start, end, aspect})) return;

    // Semi-axes in widget pixels; the radius is always in x-scale units.
    double r = std::fabs(radius * pixelsPerUnitX());
    const bool marker = markers_ && !partial && scale_.on && scale_.x2 != scale_.x1 && !designSize_.isEmpty();
    if (marker) {
        // A marker: its radius as at the design width, grown as the
        // smaller of the picture's two growths.
        const QSize size = canvas();
        const double across = std::min<double>(size.width(), size.height() * designSize_.width() /
                                                                   static_cast<double>(designSize_.height()));
        r = std::fabs(radius) * across / std::fabs(scale_.x2 - scale_.x1);
    }
    const double asp = std::fabs(aspect);
    const double rx = asp >= 1.0 ? r / asp : r;
    double ry = asp >= 1.0 ? r : r * asp;
    // Drawn again on a picture of another shape, the ellipse keeps its
    // vertical semi-axis in user units; a marker keeps its shape on screen.
    const double now = scaleShape();
    if (!marker && shape > 0.0 && now > 0.0 && now != shape) ry *= now / shape;
    const QPointF c = toDevice(cx, cy);
    const QPointF cPix(roundPixel(c.x()), roundPixel(c.y()));

    double a0 = reduceAngle(start);
    double a1 = reduceAngle(end);
    double span = a1 - a0;
    if (span <= 0.0) span += kTwoPi;
    if (!partial || a0 == a1) span = kTwoPi;

    const QRectF cb = clipBounds();
    usePen(p, colour, drawWidth_);
    if (rx < 0.5 && ry < 0.5) {
        if (cb.contains(cPix)) p.drawPoint(cPix);
        return;
    }

    const QSize size = canvas();
    auto at = [&](double t) {
        // Screen y grows downward, so counter-clockwise is -sin.
        double px = roundPixel(c.x() + rx * std::cos(t)), py = roundPixel(c.y() - ry * std::sin(t));
        if (px == size.width() && size.width() > 0) px -= 1;
        if (py == size.height() && size.height() > 0) py -= 1;
        return QPointF(px, py);
    };
    const double rmax = std::max(rx, ry);
    std::vector<QPolygonF> runs;
    auto emitChord = [&runs](QPointF p0, QPointF p1) {
        if (runs.empty() || runs.back().constLast() != p0) runs.push_back(QPolygonF{p0});
        if (p1 != p0) runs.back() << p1; // whole pixels: short chords often collapse
    };
    // Halves the angle range until the arc pieces are about 2 pixels long.
    // A piece whose arc cannot reach the picture (its chord's box widened by
    // the largest bulge of the arc) is dropped at once, so an ellipse of which
    // only a sliver shows costs little.
    auto piece = [&](auto& self, double t0, double t1, QPointF p0, QPointF p1, int depth) -> void {
        const double dt = t1 - t0;
        const double bulge = rmax * (1.0 - std::cos(std::min(dt, kTwoPi) / 2.0)) + 1.0;
        const QRectF reach = QRectF(p0, p1).normalized().adjusted(-bulge, -bulge, bulge, bulge);
        if (!reach.intersects(cb)) return;
        if (rmax * dt <= 2.0 || depth >= 60) {
            emitChord(p0, p1);
            return;
        }
        const double tm = 0.5 * (t0 + t1);
        const QPointF pm = at(tm);
        self(self, t0, tm, p0, pm, depth + 1);
        self(self, tm, t1, pm, p1, depth + 1);
    };
    const QPointF first = at(a0), last = at(a0 + span);
    piece(piece, a0, a0 + span, first, last, 0);
    for (const QPolygonF& run : runs) {
        if (run.size() > 1) drawPolylineClipped(p, run, cb);
        // The aliased polyline leaves out its final pixel; the arc ends there.
        if (cb.contains(run.constLast())) p.drawPoint(run.constLast());
    }
    auto radiusTo = [&](QPointF end) {
        QPointF from = cPix;
        if (clipSegment(from, end, cb)) p.drawLine(from, end);
    };
    if (partial && start < 0.0) radiusTo(first);
    if (partial && end < 0.0) radiusTo(last);
}

void PictureBox::rasterText(QPainter& p, double x, double y, const QString& s, QRgb colour) const
{
    flushLines();
    if (!allFinite({x, y})) return;
    const QFontMetricsF fm(font(), this);
    const QStringList lines = s.split(QLatin1Char('\n'));
    const QPointF d = toDevice(x, y);
    const QPointF topLeft(roundPixel(d.x()), roundPixel(d.y()));
    // Text starting this far off the picture cannot reach into it.
    if (!clipBounds().adjusted(-1e5, -1e5, 0, 0).contains(topLeft)) return;
    p.setFont(font());
    p.setPen(QColor::fromRgb(colour));
    penFor_ = nullptr;
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(topLeft.x(), topLeft.y() + i * fm.lineSpacing() + fm.ascent()), lines[i]);
}

void PictureBox::text(double x, double y, const QString& s) { text(x, y, s, kForeground); }

void PictureBox::text(double x, double y, const QString& s, QRgb colour)
{
    record(Kind::Text, {x, y}, colour, s);
    const QFontMetricsF fm(font(), this);
    curX_ = x;
    curY_ = y + (s.count(QLatin1Char('\n')) + 1) * fm.lineSpacing() / pixelsPerUnitY();
    if (QPainter* p = painter()) rasterText(*p, x, y, s, colour);
    keep(Kind::Text, {x, y}, colour, 0, false, s);
    callDrawn();
}

double PictureBox::textWidth(const QString& s) const
{
    const QFontMetricsF fm(font(), this);
    double w = 0;
    for (const QString& l : s.split(QLatin1Char('\n'))) w = std::max(w, fm.horizontalAdvance(l));
    return w / std::fabs(pixelsPerUnitX());
}

double PictureBox::textHeight(const QString& s) const
{
    const QFontMetricsF fm(font(), this);
    return (s.count(QLatin1Char('\n')) + 1) * fm.lineSpacing() / std::fabs(pixelsPerUnitY());
}

void PictureBox::rasterPolygon(QPainter& p, const double* xy, std::size_t n, QRgb colour) const
{
    flushLines();
    if (n < 3) return;
    QPolygonF dev;
    dev.reserve(static_cast<qsizetype>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const double x = xy[2 * i], y = xy[2 * i + 1];
        if (!allFinite({x, y})) return;
        const QPointF d = toDevice(x, y);
        dev << QPointF(roundPixel(d.x()), roundPixel(d.y()));
    }
    dev = clipPolygon(dev, clipBounds());
    if (dev.size() < 3) return;
    usePen(p, colour, 1);
    p.setBrush(QColor::fromRgb(colour));
    p.drawPolygon(dev);
}

void PictureBox::polygon(const QVector<QPointF>& userPts, QRgb colour)
{
    std::vector<double> coords;
    coords.reserve(static_cast<std::size_t>(userPts.size()) * 2);
    for (const QPointF& q : userPts) {
        coords.push_back(q.x());
        coords.push_back(q.y());
    }
    if (QPainter* p = userPts.size() >= 3 ? painter() : nullptr) rasterPolygon(*p, coords.data(), coords.size() / 2, colour);
    Op op{Kind::Polygon, colour, drawWidth_};
    op.first = drawing_.coords.size();
    op.count = coords.size();
    drawing_.coords.insert(drawing_.coords.end(), coords.begin(), coords.end());
    drawing_.ops.push_back(op);
    record(Kind::Polygon, std::move(coords), colour);
    callDrawn();
}

void PictureBox::makePersistent() { persistent_ = drawing_; }

void PictureBox::setHeightForWidthRatio(double ratio)
{
    hfwRatio_ = ratio > 0 ? ratio : 0;
    QSizePolicy p = sizePolicy();
    p.setHeightForWidth(hfwRatio_ > 0);
    setSizePolicy(p);
    updateGeometry();
}

int PictureBox::heightForWidth(int w) const
{
    return hfwRatio_ > 0 ? static_cast<int>(w * hfwRatio_ + 0.5) : QWidget::heightForWidth(w);
}

// -------------------------------------------------------- plot layout --

namespace {
constexpr int kBesideGap = 4;

bool vertical(Qt::Edge side) { return side == Qt::LeftEdge || side == Qt::RightEdge; }

// A strip whose height follows its width: its height per unit of width.
double stripRatio(const QLayoutItem* item)
{
    return item->hasHeightForWidth() ? item->heightForWidth(1000) / 1000.0 : 0.0;
}
} // namespace

PlotLayout::PlotLayout(PictureBox* picture, Qt::Alignment align) : picture_(picture), align_(align)
{
    setContentsMargins(0, 0, 0, 0);
    addChildWidget(picture);
    pictureItem_ = new QWidgetItem(picture);
}

PlotLayout::~PlotLayout()
{
    delete pictureItem_;
    for (Entry& e : entries_) delete e.item;
}

void PlotLayout::add(QLayoutItem* item, Qt::Edge side, int line, double at, Anchor anchor, double shift, bool strip)
{
    // Items beside the plot hug it: right-aligned on its left, and so on.
    item->setAlignment(side == Qt::LeftEdge ? Qt::AlignRight : side == Qt::RightEdge ? Qt::AlignLeft
                       : side == Qt::TopEdge ? Qt::AlignBottom : Qt::AlignTop);
    entries_.push_back(Entry{item, side, line, at, anchor, shift, strip});
    invalidate();
}

void PlotLayout::addBeside(QWidget* w, Qt::Edge side, int line, double at, Anchor anchor, double shift)
{
    addChildWidget(w);
    add(new QWidgetItem(w), side, line, at, anchor, shift, false);
}

void PlotLayout::addBeside(QLayout* l, Qt::Edge side, int line, double at, Anchor anchor, double shift)
{
    addChildLayout(l);
    add(l, side, line, at, anchor, shift, false);
}

void PlotLayout::addStrip(QWidget* w, Qt::Edge side, int line, double widen)
{
    addChildWidget(w);
    add(new QWidgetItem(w), side, line, 0, Anchor::Inside, 0, true);
    entries_.back().widen = widen;
}

// How much wider than their least width the widening strips of a side stand
// beside a picture this high.
int PlotLayout::widening(Qt::Edge side, int pictureHeight) const
{
    const int above = std::max(0, pictureHeight - picture_->minimumSize().height());
    int sum = 0;
    for (const Entry& e : entries_)
        if (e.side == side && e.strip && e.widen > 0 && !e.item->isEmpty())
            sum += static_cast<int>(std::lround(e.widen * above));
    return sum;
}

void PlotLayout::addItem(QLayoutItem* item) { add(item, Qt::BottomEdge, 0, 0, Anchor::Inside, 0, false); }

QLayoutItem* PlotLayout::itemAt(int index) const
{
    if (index == 0) return pictureItem_;
    return index > 0 && index <= static_cast<int>(entries_.size()) ? entries_[static_cast<size_t>(index - 1)].item
                                                                    : nullptr;
}

QLayoutItem* PlotLayout::takeAt(int index)
{
    if (index == 0) return std::exchange(pictureItem_, nullptr);
    if (index < 1 || index > static_cast<int>(entries_.size())) return nullptr;
    QLayoutItem* it = entries_[static_cast<size_t>(index - 1)].item;
    entries_.erase(entries_.begin() + (index - 1));
    return it;
}

int PlotLayout::count() const { return 1 + static_cast<int>(entries_.size()); }

Qt::Orientations PlotLayout::expandingDirections() const { return Qt::Horizontal | Qt::Vertical; }

// The thickness of each line of a side, from the items' size hints; strips
// whose height follows the picture's width count 0 here.
std::vector<int> PlotLayout::lineSizes(Qt::Edge side, bool) const
{
    std::vector<int> sizes;
    for (const Entry& e : entries_) {
        if (e.side != side || e.item->isEmpty()) continue;
        if (sizes.size() <= static_cast<size_t>(e.line)) sizes.resize(static_cast<size_t>(e.line) + 1, 0);
        const QSize h = e.item->sizeHint();
        int& size = sizes[static_cast<size_t>(e.line)];
        if (vertical(side)) size = std::max(size, e.strip ? e.item->minimumSize().width() : h.width());
        else if (!(e.strip && stripRatio(e.item) > 0)) size = std::max(size, h.height());
    }
    return sizes;
}

PlotLayout::Margins PlotLayout::margins(bool hint, QSize picture) const
{
    Margins m;
    auto total = [this, hint](Qt::Edge side) {
        int sum = 0;
        for (int s : lineSizes(side, hint)) sum += s + kBesideGap;
        return sum;
    };
    m.left = total(Qt::LeftEdge);
    m.right = total(Qt::RightEdge);
    m.top = total(Qt::TopEdge);
    m.bottom = total(Qt::BottomEdge);
    // Room for items that reach past the picture's ends: centred ones near an
    // end, and items held inside the ends that are longer than the picture.
    int before[2] = {0, 0}, after[2] = {0, 0};
    for (const Entry& e : entries_) {
        if (e.item->isEmpty()) continue;
        if (e.strip) {
            if (!vertical(e.side)) m.ratio += stripRatio(e.item);
            continue;
        }
        const bool v = vertical(e.side);
        const double size = v ? e.item->sizeHint().height() : e.item->sizeHint().width();
        const double span = v ? picture.height() : picture.width();
        const double start =
            (e.anchor == Anchor::Centre ? e.at * span - size / 2 : e.at * (span - size)) + e.shift * size;
        before[v] = std::max(before[v], static_cast<int>(std::ceil(-start)));
        after[v] = std::max(after[v], static_cast<int>(std::ceil(start + size - span)));
    }
    m.left += before[0];
    m.right += after[0];
    m.top += before[1];
    m.bottom += after[1];
    return m;
}

QSize PlotLayout::blockSize(bool hint) const
{
    const QSize lo = picture_->minimumSize();
    QSize pic = hint ? picture_->sizeHint().expandedTo(lo).boundedTo(picture_->maximumSize().expandedTo(lo)) : lo;
    if (picture_->hasHeightForWidth()) pic.setHeight(std::max(lo.height(), picture_->heightForWidth(pic.width())));
    const Margins m = margins(hint, pic);
    // Strips that widen with the picture's height, at the height asked for.
    const int grow = widening(Qt::LeftEdge, pic.height()) + widening(Qt::RightEdge, pic.height());
    return {m.left + pic.width() + grow + m.right,
            m.top + pic.height() + static_cast<int>(std::lround(m.ratio * pic.width())) + m.bottom};
}

QSize PlotLayout::sizeHint() const { return blockSize(true); }

QSize PlotLayout::minimumSize() const { return blockSize(false); }

void PlotLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    if (!pictureItem_) return;
    const QSize lo = picture_->minimumSize();
    const QSize hi = picture_->maximumSize().expandedTo(lo);
    // The picture's size for the room the labels leave; the labels that
    // reach past its ends need room by its size, so the second pass settles.
    Margins m = margins(false, lo);
    int w = 0, h = lo.height();
    for (int pass = 0; pass < 3; ++pass) {
        if (pass > 0) m = margins(false, QSize(w, h));
        const int availH = rect.height() - m.top - m.bottom;
        const int grow = widening(Qt::LeftEdge, h) + widening(Qt::RightEdge, h);
        w = std::clamp(rect.width() - m.left - m.right - grow, lo.width(), hi.width());
        if (picture_->hasHeightForWidth() && picture_->heightForWidthRatio() > 0) {
            // The widest picture of its ratio whose height, with the strips, fits.
            const double r = picture_->heightForWidthRatio();
            w = std::clamp(std::min(w, static_cast<int>(std::floor(availH / (r + m.ratio)))), lo.width(), hi.width());
            h = std::clamp(picture_->heightForWidth(w), lo.height(), hi.height());
        } else {
            // No flatter than the least ratio allows, with the strips.
            if (const double least = picture_->leastHeightRatio(); least > 0)
                w = std::clamp(std::min(w, static_cast<int>(std::floor(availH / (least + m.ratio)))), lo.width(),
                               hi.width());
            h = availH - static_cast<int>(std::lround(m.ratio * w));
            if (h < lo.height() && m.ratio > 0)
                w = std::clamp(static_cast<int>(std::floor((availH - lo.height()) / m.ratio)), lo.width(), hi.width());
            h = std::clamp(availH - static_cast<int>(std::lround(m.ratio * w)), lo.height(), hi.height());
        }
    }

    // Each line's thickness, the strips' from the picture's width.
    auto sizes = [&](Qt::Edge side) {
        std::vector<int> s = lineSizes(side, true);
        const int above = std::max(0, h - lo.height());
        for (const Entry& e : entries_)
            if (e.side == side && e.strip && e.widen > 0 && !e.item->isEmpty())
                s[static_cast<size_t>(e.line)] = std::max(s[static_cast<size_t>(e.line)],
                    e.item->minimumSize().width() + static_cast<int>(std::lround(e.widen * above)));
        for (const Entry& e : entries_)
            if (e.side == side && e.strip && !vertical(side) && !e.item->isEmpty()) {
                if (s.size() <= static_cast<size_t>(e.line)) s.resize(static_cast<size_t>(e.line) + 1, 0);
                s[static_cast<size_t>(e.line)] = std::max(s[static_cast<size_t>(e.line)], e.item->heightForWidth(w));
            }
        return s;
    };
    const std::vector<int> left = sizes(Qt::LeftEdge), right = sizes(Qt::RightEdge), top = sizes(Qt::TopEdge),
                           bottom = sizes(Qt::BottomEdge);
    auto sum = [](const std::vector<int>& s) {
        int t = 0;
        for (int v : s) t += v + kBesideGap;
        return t;
    };
    const int overLeft = m.left - sum(lineSizes(Qt::LeftEdge, true)), overTop = m.top - sum(lineSizes(Qt::TopEdge, true));
    const int overRight = m.right - sum(lineSizes(Qt::RightEdge, true));
    const int blockW = overLeft + sum(left) + w + sum(right) + overRight;
    const int x0 = align_ & Qt::AlignHCenter ? rect.x() + std::max(0, rect.width() - blockW) / 2
                   : align_ & Qt::AlignRight  ? rect.x() + std::max(0, rect.width() - blockW)
                                              : rect.x();
    const QRect pic(x0 + overLeft + sum(left), rect.y() + overTop + sum(top), w, h);
    pictureItem_->setGeometry(pic);

    // Where line `line` of a side starts (its edge next to the picture
    // first), and its thickness.
    auto offset = [](const std::vector<int>& s, int line) {
        int t = kBesideGap;
        for (int i = 0; i < line && i < static_cast<int>(s.size()); ++i) t += s[static_cast<size_t>(i)] + kBesideGap;
        return t;
    };
    auto along = [](const Entry& e, int start, int span, int size) {
        const double pos = e.anchor == Anchor::Centre ? e.at * span - size / 2.0 : e.at * (span - size);
        return start + static_cast<int>(std::lround(pos + e.shift * size));
    };
    for (const Entry& e : entries_) {
        if (e.item->isEmpty()) continue;
        const QSize hint = e.item->sizeHint();
        switch (e.side) {
        case Qt::LeftEdge:
        case Qt::RightEdge: {
            const std::vector<int>& s = e.side == Qt::LeftEdge ? left : right;
            const int thick = s[static_cast<size_t>(e.line)];
            const int x = e.side == Qt::LeftEdge ? pic.left() - offset(s, e.line) - thick
                                                 : pic.right() + 1 + offset(s, e.line);
            if (e.strip) e.item->setGeometry(QRect(x, pic.top(), thick, h));
            else e.item->setGeometry(QRect(x, along(e, pic.top(), h, hint.height()), thick, hint.height()));
            break;
        }
        case Qt::TopEdge:
        case Qt::BottomEdge: {
            const std::vector<int>& s = e.side == Qt::TopEdge ? top : bottom;
            const int thick = s[static_cast<size_t>(e.line)];
            const int y = e.side == Qt::TopEdge ? pic.top() - offset(s, e.line) - thick
                                                : pic.bottom() + 1 + offset(s, e.line);
            if (e.strip) e.item->setGeometry(QRect(pic.left(), y, w, thick));
            else e.item->setGeometry(QRect(along(e, pic.left(), w, hint.width()), y, hint.width(), thick));
            break;
        }
        }
    }
}

} // namespace velmora
