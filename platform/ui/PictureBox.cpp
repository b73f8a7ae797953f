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

PictureBox::PictureBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor::fromRgb(kBackground));
    pal.setColor(QPalette::WindowText, QColor::fromRgb(kForeground));
    setPalette(pal);
    setAutoFillBackground(false);
}

PictureBox::~PictureBox() = default;

QSize PictureBox::sizeHint() const { return {320, 240}; }

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
    scaled_ = true;
    sx1_ = x1;
    sy1_ = y1;
    sx2_ = x2;
    sy2_ = y2;
}

void PictureBox::resetScale()
{
    record(Kind::Scale, {}, 0);
    scaled_ = false;
}

double PictureBox::pixelsPerUnitX() const
{
    return scaled_ ? width() / (sx2_ - sx1_) : 1.0;
}

double PictureBox::pixelsPerUnitY() const
{
    return scaled_ ? height() / (sy2_ - sy1_) : 1.0;
}

QPointF PictureBox::toDevice(double x, double y) const
{
    if (!scaled_) return {x, y};
    return {(x - sx1_) * pixelsPerUnitX(), (y - sy1_) * pixelsPerUnitY()};
}

// -------------------------------------------------------------- image --

void PictureBox::ensureImage()
{
    const qreal dpr = devicePixelRatioF();
    const QSize want(static_cast<int>(std::ceil(width() * dpr)),
                     static_cast<int>(std::ceil(height() * dpr)));
    if (image_.size() == want && image_.devicePixelRatio() == dpr) return;

    QImage next;
    if (!want.isEmpty()) {
        next = QImage(want, QImage::Format_RGB32);
        next.setDevicePixelRatio(dpr);
        // Text drawn into the image must measure as it does on the widget.
        next.setDotsPerMeterX(static_cast<int>(std::lround(logicalDpiX() / 0.0254)));
        next.setDotsPerMeterY(static_cast<int>(std::lround(logicalDpiY() / 0.0254)));
        next.fill(kBackground);
        if (!image_.isNull()) {
            QPainter p(&next);
            p.drawImage(QPointF(0, 0), image_); // old drawing stays top-left
        }
    }
    image_ = std::move(next);
}

QRectF PictureBox::clipBounds() const
{
    const double m = drawWidth_ + 2.0;
    return QRectF(-m, -m, width() + 2 * m, height() + 2 * m);
}

void PictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ensureImage();
}

void PictureBox::paintEvent(QPaintEvent* event)
{
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

// ------------------------------------------------------------ drawing --

void PictureBox::clear()
{
    record(Kind::Clear, {}, kBackground);
    ensureImage();
    if (!image_.isNull()) image_.fill(kBackground);
    persistent_ = QImage();
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

void PictureBox::drawLine(double x1, double y1, double x2, double y2, QRgb colour)
{
    curX_ = x2;
    curY_ = y2;
    if (!allFinite({x1, y1, x2, y2})) return;
    ensureImage();
    if (image_.isNull()) return;
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    QPointF pa(roundPixel(a.x()), roundPixel(a.y()));
    QPointF pb(roundPixel(b.x()), roundPixel(b.y()));
    if (!clipSegment(pa, pb, clipBounds())) return;
    QPainter p(&image_);
    p.setPen(makePen(colour, drawWidth_));
    if (pa == pb)
        p.drawPoint(pa);
    else
        p.drawLine(pa, pb);
    update();
}

void PictureBox::line(double x1, double y1, double x2, double y2)
{
    line(x1, y1, x2, y2, kForeground);
}

void PictureBox::line(double x1, double y1, double x2, double y2, QRgb colour)
{
    record(Kind::Line, {x1, y1, x2, y2}, colour);
    drawLine(x1, y1, x2, y2, colour);
}

void PictureBox::lineTo(double x, double y) { lineTo(x, y, kForeground); }

void PictureBox::lineTo(double x, double y, QRgb colour)
{
    const double x0 = curX_, y0 = curY_;
    record(Kind::Line, {x0, y0, x, y}, colour);
    drawLine(x0, y0, x, y, colour);
}

void PictureBox::box(double x1, double y1, double x2, double y2, QRgb colour, bool filled)
{
    record(Kind::Box, {x1, y1, x2, y2, filled ? 1.0 : 0.0}, colour);
    curX_ = x2;
    curY_ = y2;
    if (!allFinite({x1, y1, x2, y2})) return;
    ensureImage();
    if (image_.isNull()) return;
    const QPointF a = toDevice(x1, y1);
    const QPointF b = toDevice(x2, y2);
    // Edges beyond the picture are moved to just outside it, so they stay
    // invisible while the coordinates stay small.
    const QRectF cb = clipBounds();
    const double l = std::clamp(roundPixel(std::min(a.x(), b.x())), cb.left(), cb.right());
    const double r = std::clamp(roundPixel(std::max(a.x(), b.x())), cb.left(), cb.right());
    const double t = std::clamp(roundPixel(std::min(a.y(), b.y())), cb.top(), cb.bottom());
    const double bt = std::clamp(roundPixel(std::max(a.y(), b.y())), cb.top(), cb.bottom());
    QPainter p(&image_);
    if (filled) p.fillRect(QRectF(l, t, r - l + 1, bt - t + 1), QColor::fromRgb(colour));
    p.setPen(makePen(colour, drawWidth_));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(l, t, r - l, bt - t));
    update();
}

void PictureBox::pset(double x, double y, QRgb colour)
{
    record(Kind::Pset, {x, y}, colour);
    curX_ = x;
    curY_ = y;
    if (!allFinite({x, y})) return;
    ensureImage();
    if (image_.isNull()) return;
    const QPointF d = toDevice(x, y);
    if (!clipBounds().contains(d)) return;
    const double half = (drawWidth_ - 1) / 2;
    QPainter p(&image_);
    p.fillRect(QRectF(roundPixel(d.x()) - half, roundPixel(d.y()) - half, drawWidth_, drawWidth_),
               QColor::fromRgb(colour));
    update();
}

void PictureBox::circle(double cx, double cy, double radius, QRgb colour,
                        std::optional<double> startAngle, std::optional<double> endAngle,
                        double aspect)
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
    if (!allFinite({cx, cy, radius, start, end, aspect})) return;
    ensureImage();
    if (image_.isNull()) return;

    // Semi-axes in widget pixels; the radius is always in x-scale units.
    const double r = std::fabs(radius * pixelsPerUnitX());
    const double asp = std::fabs(aspect);
    const double rx = asp >= 1.0 ? r / asp : r;
    const double ry = asp >= 1.0 ? r : r * asp;
    const QPointF c = toDevice(cx, cy);
    const QPointF cPix(roundPixel(c.x()), roundPixel(c.y()));

    double a0 = reduceAngle(start);
    double a1 = reduceAngle(end);
    double span = a1 - a0;
    if (span <= 0.0) span += kTwoPi;
    if (!partial || a0 == a1) span = kTwoPi;

    const QRectF cb = clipBounds();
    QPainter p(&image_);
    p.setPen(makePen(colour, drawWidth_));
    if (rx < 0.5 && ry < 0.5) {
        if (cb.contains(cPix)) p.drawPoint(cPix);
        update();
        return;
    }

    auto at = [&](double t) {
        // Screen y grows downward, so counter-clockwise is -sin.
        return QPointF(roundPixel(c.x() + rx * std::cos(t)), roundPixel(c.y() - ry * std::sin(t)));
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
    update();
}

void PictureBox::drawText(double x, double y, const QString& s, QRgb colour)
{
    const QFontMetricsF fm(font(), this);
    const QStringList lines = s.split(QLatin1Char('\n'));
    curX_ = x;
    curY_ = y + lines.size() * fm.lineSpacing() / pixelsPerUnitY();
    if (!allFinite({x, y})) return;
    ensureImage();
    if (image_.isNull()) return;
    const QPointF d = toDevice(x, y);
    const QPointF topLeft(roundPixel(d.x()), roundPixel(d.y()));
    // Text starting this far off the picture cannot reach into it.
    if (!clipBounds().adjusted(-1e5, -1e5, 0, 0).contains(topLeft)) return;
    QPainter p(&image_);
    p.setFont(font());
    p.setPen(QColor::fromRgb(colour));
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(topLeft.x(), topLeft.y() + i * fm.lineSpacing() + fm.ascent()), lines[i]);
    update();
}

void PictureBox::text(double x, double y, const QString& s) { text(x, y, s, kForeground); }

void PictureBox::text(double x, double y, const QString& s, QRgb colour)
{
    record(Kind::Text, {x, y}, colour, s);
    drawText(x, y, s, colour);
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

void PictureBox::polygon(const QVector<QPointF>& userPts, QRgb colour)
{
    std::vector<double> coords;
    coords.reserve(static_cast<std::size_t>(userPts.size()) * 2);
    for (const QPointF& q : userPts) {
        coords.push_back(q.x());
        coords.push_back(q.y());
    }
    record(Kind::Polygon, std::move(coords), colour);
    if (userPts.size() < 3) return;
    QPolygonF dev;
    dev.reserve(userPts.size());
    for (const QPointF& q : userPts) {
        if (!allFinite({q.x(), q.y()})) return;
        const QPointF d = toDevice(q.x(), q.y());
        dev << QPointF(roundPixel(d.x()), roundPixel(d.y()));
    }
    ensureImage();
    if (image_.isNull()) return;
    dev = clipPolygon(dev, clipBounds());
    if (dev.size() < 3) return;
    QPainter p(&image_);
    p.setPen(makePen(colour, 1));
    p.setBrush(QColor::fromRgb(colour));
    p.drawPolygon(dev);
    update();
}

void PictureBox::makePersistent()
{
    ensureImage();
    persistent_ = image_.copy();
}

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

} // namespace velmora
