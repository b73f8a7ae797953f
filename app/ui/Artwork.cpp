#include "app/ui/Artwork.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace velmora {

namespace {

constexpr double kPi = std::numbers::pi;

qreal pixelRatio()
{
    return qGuiApp ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0;
}

QPixmap blank(QSize size, const QColor& fill, qreal ratio)
{
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(fill);
    return pm;
}

// Every picture is designed on a fixed virtual canvas; this maps the canvas
// onto the painter's target, centred and keeping its proportions.
void fitCanvas(QPainter& p, QSize target, QSizeF canvas)
{
    const double s = std::min(target.width() / canvas.width(), target.height() / canvas.height());
    p.translate((target.width() - canvas.width() * s) / 2.0, (target.height() - canvas.height() * s) / 2.0);
    p.scale(s, s);
}

QFont pixelFont(double pixels, bool bold = false)
{
    QFont f;
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    return f;
}

// Blue (low) to red (high), as the flow-field plots colour their bands.
QColor ramp(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromHsvF(static_cast<float>((1.0 - t) * 240.0 / 360.0), 0.85f, 0.95f);
}

// A dimension or flow arrow: line a-b with a head at b (and at a if both).
void arrow(QPainter& p, QPointF a, QPointF b, bool both = false, double head = 6.0)
{
    p.drawLine(a, b);
    auto tip = [&p, head](QPointF from, QPointF to) {
        const double ang = std::atan2(to.y() - from.y(), to.x() - from.x());
        QPolygonF h;
        h << to << QPointF(to.x() - head * std::cos(ang - 0.4), to.y() - head * std::sin(ang - 0.4))
          << QPointF(to.x() - head * std::cos(ang + 0.4), to.y() - head * std::sin(ang + 0.4));
        p.save();
        p.setBrush(p.pen().color());
        p.drawPolygon(h);
        p.restore();
    };
    tip(a, b);
    if (both) tip(b, a);
}

void centredText(QPainter& p, QPointF centre, const QString& s)
{
    const QFontMetricsF fm(p.font());
    const double w = fm.horizontalAdvance(s);
    p.drawText(QPointF(centre.x() - w / 2.0, centre.y() + fm.ascent() / 2.0 - fm.descent() / 2.0), s);
}

// ---- flow about a blunt nose ------------------------------------------------
//
// Uniform flow (speed 1) plus a point source at the origin gives the classic
// half-body: a rounded nose that grows into a tube of radius 1 far behind.
// Cheap to evaluate, and it has the stagnation point and the fast shoulder
// that make a contour plot of a rocket nose recognisable.

struct NoseFlow {
    static constexpr double kStrength = 2.0; // source strength: far radius 1

    static double speed2(double x, double y)
    {
        const double r2 = std::max(x * x + y * y, 1e-9);
        const double c = kStrength / (2.0 * kPi);
        const double u = 1.0 + c * x / r2;
        const double v = c * y / r2;
        return u * u + v * v;
    }
    static bool inside(double x, double y)
    {
        // Stream function below that of the dividing streamline.
        return y + std::atan2(y, x) * kStrength / (2.0 * kPi) < kStrength / 2.0;
    }
    // Radius of the body at axial position x (behind the nose).
    static double radiusAt(double x)
    {
        double lo = 0.0, hi = 1.0;
        for (int k = 0; k < 40; ++k) {
            const double mid = (lo + hi) / 2.0;
            (inside(x, mid) ? lo : hi) = mid;
        }
        return lo;
    }
    // Point of the body surface at polar angle theta from the source.
    static QPointF surface(double theta)
    {
        const double r = (kPi - theta) / (kPi * std::sin(theta));
        return {r * std::cos(theta), r * std::sin(theta)};
    }
};

void drawContours(QPainter& p, QSize size, bool velocity)
{
    const QSizeF canvas(300, 150);
    fitCanvas(p, size, canvas);
    const QRectF field(0, 0, 300, 150);
    const double x0 = -1.4, x1 = 3.6, y1 = 2.5; // upper half-plane, axis at the bottom
    auto toScreen = [&](double x, double y) {
        return QPointF(field.left() + (x - x0) / (x1 - x0) * field.width(),
                       field.bottom() - y / y1 * field.height());
    };
    const int cells = 30, levels = 20;
    const double dx = (x1 - x0) / cells, dy = y1 / cells;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < cells; ++i) {
        for (int j = 0; j < cells; ++j) {
            const double xc = x0 + (i + 0.5) * dx, yc = (j + 0.5) * dy;
            QColor c(200, 200, 200);
            if (!NoseFlow::inside(xc, yc)) {
                const double q2 = NoseFlow::speed2(xc, yc);
                // Pressure coefficient 1 - q^2 runs from about -0.6 to 1;
                // the speed from 0 to about 1.3.
                double t = velocity ? std::sqrt(q2) / 1.3 : (1.0 - q2 + 0.6) / 1.6;
                t = std::floor(std::clamp(t, 0.0, 0.999) * levels) / (levels - 1);
                c = ramp(t);
            }
            const QPointF a = toScreen(x0 + i * dx, (j + 1) * dy);
            const QPointF b = toScreen(x0 + (i + 1) * dx, j * dy);
            p.fillRect(QRectF(a, b).adjusted(0, 0, 0.6, 0.6), c);
        }
    }
    // Body and fin outline over the colours.
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(toScreen(x1, 0));
    bool first = true;
    for (int k = 1; k < 400; ++k) {
        const QPointF s = NoseFlow::surface(kPi * k / 400.0);
        if (s.x() > x1) continue;
        if (first) body.lineTo(toScreen(x1, s.y()));
        first = false;
        body.lineTo(toScreen(s.x(), s.y()));
    }
    body.lineTo(toScreen(-1.0 / kPi, 0));
    body.closeSubpath();
    p.setBrush(QColor(215, 215, 220));
    p.setPen(QPen(Qt::black, 1.2));
    p.drawPath(body);
    QPolygonF fin;
    fin << toScreen(2.3, NoseFlow::radiusAt(2.3)) << toScreen(2.85, 1.9) << toScreen(3.3, 1.9)
        << toScreen(3.55, NoseFlow::radiusAt(3.55));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(fin);
    p.setPen(QPen(Qt::black, 1.0));
    p.drawRect(field);
}

// ---- pictures -----------------------------------------------------------------

void drawRocketShape(QPainter& p)
{
    // Local frame: nose tip at (0,-100), body along +y, width 26.
    QPainterPath nose;
    nose.moveTo(0, -100);
    nose.quadTo(13, -88, 13, -58);
    nose.lineTo(-13, -58);
    nose.quadTo(-13, -88, 0, -100);
    QLinearGradient noseShade(-13, 0, 13, 0);
    noseShade.setColorAt(0, QColor(150, 20, 30));
    noseShade.setColorAt(0.45, QColor(235, 60, 60));
    noseShade.setColorAt(1, QColor(120, 10, 20));

    QLinearGradient tubeShade(-13, 0, 13, 0);
    tubeShade.setColorAt(0, QColor(170, 175, 185));
    tubeShade.setColorAt(0.45, QColor(250, 250, 252));
    tubeShade.setColorAt(1, QColor(140, 145, 155));

    // Fins first, so the tube overlaps their roots.
    QPolygonF finR, finL;
    finR << QPointF(12, 22) << QPointF(34, 52) << QPointF(34, 66) << QPointF(12, 58);
    for (QPointF q : finR) finL << QPointF(-q.x(), q.y());
    p.setPen(QPen(QColor(20, 40, 90), 1));
    p.setBrush(QColor(30, 80, 180));
    p.drawPolygon(finR);
    p.drawPolygon(finL);

    p.setBrush(tubeShade);
    p.setPen(QPen(QColor(60, 60, 70), 1));
    p.drawRect(QRectF(-13, -58, 26, 116));
    p.setBrush(noseShade);
    p.drawPath(nose);
    // Bands, a window and the launch lug.
    p.setBrush(QColor(30, 80, 180));
    p.drawRect(QRectF(-13, -30, 26, 6));
    p.setBrush(QColor(60, 140, 220));
    p.drawEllipse(QPointF(0, -42), 5, 5);
    p.setBrush(QColor(120, 120, 130));
    p.drawRect(QRectF(13, -5, 3, 16));
    // The third fin seen edge-on, and the nozzle.
    p.setBrush(QColor(20, 60, 150));
    p.drawRect(QRectF(-2, 24, 4, 40));
    p.setBrush(QColor(70, 70, 75));
    QPolygonF nozzle;
    nozzle << QPointF(-8, 58) << QPointF(8, 58) << QPointF(10, 66) << QPointF(-10, 66);
    p.drawPolygon(nozzle);
}

void drawRocket(QPainter& p, QSize size)
{
    const QSizeF canvas(200, 260);
    fitCanvas(p, size, canvas);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 260);
    sky.setColorAt(0, QColor(8, 16, 60));
    sky.setColorAt(0.7, QColor(40, 90, 170));
    sky.setColorAt(1, QColor(140, 190, 235));
    p.fillRect(QRectF(0, 0, 200, 260), sky);
    // Stars from a fixed sequence, so the picture never changes.
    std::uint32_t seed = 12345u;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) / static_cast<double>(1u << 24);
    };
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 40; ++k) {
        const double x = next() * 200, y = next() * 150, r = 0.4 + next() * 0.9;
        p.setBrush(QColor(255, 255, 255, 120 + static_cast<int>(next() * 135)));
        p.drawEllipse(QPointF(x, y), r, r);
    }
    // Ground and launch rail.
    p.setBrush(QColor(40, 90, 40));
    p.drawRect(QRectF(0, 245, 200, 15));
    p.setPen(QPen(QColor(90, 90, 90), 2));
    p.drawLine(QPointF(40, 245), QPointF(62, 200));

    p.save();
    p.translate(112, 118);
    p.rotate(22);
    // Smoke trail, then the flame, then the rocket itself.
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 12; ++k) {
        const double y = 95 + k * 14.0, r = 7 + k * 1.6;
        p.setBrush(QColor(235, 235, 240, std::max(20, 150 - k * 11)));
        p.drawEllipse(QPointF(std::sin(k * 0.9) * 3.0, y), r, r);
    }
    QRadialGradient flame(QPointF(0, 70), 30);
    flame.setColorAt(0, QColor(255, 255, 210));
    flame.setColorAt(0.35, QColor(255, 210, 60));
    flame.setColorAt(1, QColor(255, 80, 0, 0));
    p.setBrush(flame);
    QPainterPath plume;
    plume.moveTo(-9, 66);
    plume.quadTo(-12, 90, 0, 112);
    plume.quadTo(12, 90, 9, 66);
    plume.closeSubpath();
    p.drawPath(plume);
    drawRocketShape(p);
    p.restore();
}

// Radius of the sketch body used by the mesh picture (x, r in canvas units).
double meshBodyRadius(double x)
{
    const double noseStart = 60, noseEnd = 120, baseEnd = 250, radius = 26;
    if (x < noseStart || x > baseEnd) return 0;
    if (x < noseEnd) {
        const double s = (x - noseStart) / (noseEnd - noseStart);
        return radius * std::sqrt(std::max(0.0, 1.0 - (1.0 - s) * (1.0 - s)));
    }
    return radius;
}

void drawMesh(QPainter& p, QSize size)
{
    const QSizeF canvas(300, 150);
    fitCanvas(p, size, canvas);
    p.fillRect(QRectF(0, 0, 300, 150), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const int n = 24, m = 10;
    const double axisY = 145, top = 8;
    auto node = [&](int i, int j) {
        const double x = 5 + 290.0 * i / n;
        const double r0 = meshBodyRadius(x);
        // Rows packed towards the body, where the flow changes fastest.
        const double s = static_cast<double>(j) / m;
        const double r = r0 + (axisY - top - r0) * s * s * 0.6 + (axisY - top - r0) * s * 0.4;
        return QPointF(x, axisY - r);
    };
    // Body below the lowest row.
    QPainterPath body;
    body.moveTo(5, axisY);
    for (int i = 0; i <= n; ++i) body.lineTo(node(i, 0));
    body.lineTo(295, axisY);
    body.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(205, 205, 215));
    p.drawPath(body);
    p.setPen(QPen(QColor(0, 0, 160), 0.6));
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j) {
            const QPointF a = node(i, j), b = node(i + 1, j), c = node(i + 1, j + 1), d = node(i, j + 1);
            QPolygonF quad;
            quad << a << b << c << d << a;
            p.drawPolyline(quad);
            p.drawLine(a, c); // two triangles per cell
        }
    }
    p.setPen(QPen(Qt::black, 1.2));
    for (int i = 0; i < n; ++i) p.drawLine(node(i, 0), node(i + 1, 0));
    p.setPen(QPen(Qt::black, 0.8, Qt::DashDotLine));
    p.drawLine(QPointF(5, axisY), QPointF(295, axisY));
}

void drawBodySketch(QPainter& p, QSize size, const QStringList& t)
{
    const QSizeF canvas(640, 240);
    fitCanvas(p, size, canvas);
    p.fillRect(QRectF(0, 0, 640, 240), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const double axis = 100, R = 30, r = 20;
    const double xNose = 40, xBody = 160, xTrans = 380, xBase = 440, xEnd = 540;
    QPainterPath outline;
    outline.moveTo(xNose, axis);
    outline.quadTo(xNose + 60, axis - R - 4, xBody, axis - R);
    outline.lineTo(xTrans, axis - R);
    outline.lineTo(xBase, axis - r);
    outline.lineTo(xEnd, axis - r);
    outline.lineTo(xEnd, axis + r);
    outline.lineTo(xBase, axis + r);
    outline.lineTo(xTrans, axis + R);
    outline.lineTo(xBody, axis + R);
    outline.quadTo(xNose + 60, axis + R + 4, xNose, axis);
    outline.closeSubpath();
    p.setBrush(QColor(235, 238, 250));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawPath(outline);
    p.setPen(QPen(Qt::gray, 1, Qt::DashLine));
    for (double x : {xBody, xTrans, xBase}) p.drawLine(QPointF(x, axis - R), QPointF(x, axis + R));
    p.setPen(QPen(Qt::black, 0.8, Qt::DashDotLine));
    p.drawLine(QPointF(20, axis), QPointF(xEnd + 4, axis));

    // Part names above the body.
    p.setPen(Qt::black);
    p.setFont(pixelFont(13, true));
    centredText(p, {(xNose + xBody) / 2, axis - R - 22}, t.value(0));
    centredText(p, {(xBody + xTrans) / 2, axis - R - 22}, t.value(1));
    centredText(p, {(xTrans + xBase) / 2, axis - R - 22}, t.value(2));
    centredText(p, {(xBase + xEnd) / 2, axis - R - 22}, t.value(3));

    // Lengths below, with extension lines.
    p.setFont(pixelFont(12));
    p.setPen(QPen(QColor(0, 0, 140), 1));
    for (double x : {xNose, xBody, xTrans, xBase, xEnd})
        p.drawLine(QPointF(x, axis + (x == xNose ? 4 : r + 4)), QPointF(x, 190));
    auto span = [&](double a, double b, double y, const QString& s, double ty) {
        arrow(p, QPointF(a + 1, y), QPointF(b - 1, y), true, 5);
        centredText(p, {(a + b) / 2, ty}, s);
    };
    span(xNose, xBody, 160, t.value(4), 174);
    span(xBody, xTrans, 160, t.value(5), 174);
    span(xTrans, xBase, 160, t.value(6), 200);
    span(xBase, xEnd, 160, t.value(7), 174);

    // Diameters.
    arrow(p, QPointF(200, axis - R + 1), QPointF(200, axis + R - 1), true, 5);
    p.drawText(QPointF(207, axis - 6), t.value(8));
    arrow(p, QPointF(xEnd - 14, axis - r + 1), QPointF(xEnd - 14, axis + r - 1), true, 5);
    p.drawText(QPointF(xEnd + 8, axis + 5), t.value(9));
}

// A symmetric streamlined section (thickness exaggerated) as panel corners.
QPolygonF sectionCorners(QPointF leadingEdge, double chord, int perSide)
{
    auto half = [](double x) {
        return 0.9 * (0.2969 * std::sqrt(x) - 0.126 * x - 0.3516 * x * x + 0.2843 * x * x * x -
                      0.1015 * x * x * x * x);
    };
    QPolygonF pts;
    for (int k = perSide; k >= 0; --k) { // lower surface, trailing edge to nose
        const double x = 0.5 * (1 - std::cos(kPi * k / perSide));
        pts << QPointF(leadingEdge.x() + x * chord, leadingEdge.y() + half(x) * chord);
    }
    for (int k = 1; k <= perSide; ++k) { // upper surface, nose to trailing edge
        const double x = 0.5 * (1 - std::cos(kPi * k / perSide));
        pts << QPointF(leadingEdge.x() + x * chord, leadingEdge.y() - half(x) * chord);
    }
    return pts;
}

void drawPanels(QPainter& p, QSize size, const QStringList& t)
{
    const QSizeF canvas(520, 170);
    fitCanvas(p, size, canvas);
    p.fillRect(QRectF(0, 0, 520, 170), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    for (int side = 0; side < 2; ++side) {
        const QPolygonF c = sectionCorners(QPointF(40 + side * 260, 75), 190, 8);
        p.setPen(QPen(Qt::black, 1.4));
        p.setBrush(QColor(235, 238, 250));
        p.drawPolygon(c);
        p.setBrush(Qt::black);
        for (QPointF q : c) p.drawEllipse(q, 2, 2);
        p.setPen(QPen(side == 0 ? QColor(200, 30, 30) : QColor(0, 110, 0), 1.1));
        for (qsizetype k = 0; k + 1 < c.size(); ++k) {
            const QPointF a = c[k], b = c[k + 1];
            const QPointF mid = (a + b) / 2.0;
            const double len = std::hypot(b.x() - a.x(), b.y() - a.y());
            if (len < 1e-6) continue;
            const QPointF tang((b.x() - a.x()) / len, (b.y() - a.y()) / len);
            if (side == 0) {
                // Sources push the flow out through every panel.
                const QPointF normal(tang.y(), -tang.x());
                arrow(p, mid, mid + normal * 12.0, false, 4);
            } else {
                // Vortex sheet: circulation along the surface.
                arrow(p, mid - tang * 6.0, mid + tang * 6.0, false, 4);
            }
        }
        p.setPen(Qt::black);
        p.setFont(pixelFont(13, true));
        centredText(p, {135.0 + side * 260, 150}, t.value(side));
    }
    p.setPen(QPen(QColor(90, 90, 90), 1.2));
    arrow(p, QPointF(6, 40), QPointF(34, 40), false, 5);
}

void drawBaseFlowDomain(QPainter& p, QSize size, const QStringList& t)
{
    const QSizeF canvas(520, 220);
    fitCanvas(p, size, canvas);
    p.fillRect(QRectF(0, 0, 520, 220), Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    const double axis = 195, radius = 60, base = 200, domainEnd = 480, domainTop = 45;
    // The computational domain behind the base.
    p.setBrush(QColor(230, 240, 255, 120));
    p.setPen(QPen(QColor(0, 60, 200), 1.4, Qt::DashLine));
    p.drawRect(QRectF(base, domainTop, domainEnd - base, axis - domainTop));
    p.setPen(QPen(Qt::black, 0.8, Qt::DashDotLine));
    p.drawLine(QPointF(10, axis), QPointF(510, axis));
    // Outer streamlines closing in behind the base, and the recirculation.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 120, 0), 1.2));
    for (int k = 0; k < 3; ++k) {
        const double y = axis - radius - 8 - k * 22;
        QPainterPath s;
        s.moveTo(30, y);
        s.lineTo(base, y);
        s.cubicTo(base + 80, y, base + 120, y + 40 - k * 12, domainEnd, y + 48 - k * 15);
        p.drawPath(s);
        arrow(p, QPointF(40, y), QPointF(60, y), false, 5);
    }
    const QPointF bubble(base + 62, axis - 30);
    p.setPen(QPen(QColor(200, 40, 40), 1.3));
    for (int k = 0; k < 2; ++k) {
        const double rx = 55 - k * 20, ry = 24 - k * 9;
        p.drawEllipse(bubble, rx, ry);
        arrow(p, QPointF(bubble.x() + 2, bubble.y() - ry), QPointF(bubble.x() - 6, bubble.y() - ry + 0.5), false, 5);
    }
    // Aft part of the airframe (upper half) with one fin, in front of the
    // streamlines that pass beside it.
    p.setPen(QPen(Qt::black, 1.4));
    p.setBrush(QColor(215, 220, 235));
    p.drawRect(QRectF(20, axis - radius, base - 20, radius));
    QPolygonF fin;
    fin << QPointF(110, axis - radius) << QPointF(160, axis - radius - 45) << QPointF(195, axis - radius - 45)
        << QPointF(base, axis - radius);
    p.setBrush(QColor(60, 100, 190));
    p.drawPolygon(fin);

    p.setPen(Qt::black);
    p.setFont(pixelFont(13, true));
    centredText(p, {90, axis - radius / 2}, t.value(0));
    const QPointF flowLabel(395, axis - 12);
    centredText(p, flowLabel, t.value(1));
    p.setPen(QPen(Qt::black, 0.8));
    p.drawLine(QPointF(flowLabel.x() - 38, flowLabel.y()), QPointF(bubble.x() + 50, bubble.y() + 8));
    p.setPen(QColor(0, 60, 200));
    centredText(p, {(base + domainEnd) / 2 + 40, domainTop + 14}, t.value(2));
}

void drawMotorEquations(QPainter& p, QSize size, const QStringList& t)
{
    const QSizeF canvas(520, 200);
    fitCanvas(p, size, canvas);
    p.fillRect(QRectF(0, 0, 520, 200), QColor(252, 252, 240));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 120, 90), 1));
    p.drawRect(QRectF(0.5, 0.5, 519, 199));
    // The relations as the base-flow window evaluates them (weight units;
    // in m-nt-sec the propellant mass is multiplied by g).
    const char* equations[] = {"F = (dm/dt) \xC2\xB7 c", "dm/dt = Mp / tb", "Isp = F \xC2\xB7 tb / (Mp \xC2\xB7 g)",
                               "c = g \xC2\xB7 Isp", "It = F \xC2\xB7 tb"};
    for (int k = 0; k < 5; ++k) {
        const double y = 32 + k * 36;
        p.setPen(Qt::black);
        p.setFont(pixelFont(14, true));
        p.drawText(QPointF(20, y), t.value(k));
        p.setPen(QColor(0, 40, 150));
        p.setFont(pixelFont(16));
        p.drawText(QPointF(290, y), QString::fromUtf8(equations[k]));
    }
}

// ---- toolbar icons --------------------------------------------------------------

void iconRocket(QPainter& p, bool withCp)
{
    p.setPen(QPen(QColor(50, 50, 60), 1));
    p.setBrush(QColor(235, 235, 240));
    p.drawRect(QRectF(5, 13, 17, 6));
    QPainterPath nose;
    nose.moveTo(22, 13);
    nose.quadTo(28, 14, 30, 16);
    nose.quadTo(28, 18, 22, 19);
    nose.closeSubpath();
    p.setBrush(QColor(220, 40, 40));
    p.drawPath(nose);
    p.setBrush(QColor(30, 80, 180));
    QPolygonF finTop, finBottom;
    finTop << QPointF(5, 13) << QPointF(2, 8) << QPointF(9, 13);
    finBottom << QPointF(5, 19) << QPointF(2, 24) << QPointF(9, 19);
    p.drawPolygon(finTop);
    p.drawPolygon(finBottom);
    if (withCp) {
        const QRectF r(11, 11, 10, 10);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(Qt::white);
        p.drawEllipse(r);
        p.setBrush(Qt::black);
        p.drawPie(r, 0, 90 * 16);
        p.drawPie(r, 180 * 16, 90 * 16);
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        arrow(p, QPointF(16, 10), QPointF(16, 2), false, 3);
    }
}

void iconCircleGlyph(QPainter& p, const QColor& fill, const QString& glyph)
{
    QRadialGradient g(QPointF(12, 11), 16);
    g.setColorAt(0, fill.lighter(150));
    g.setColorAt(1, fill);
    p.setPen(QPen(fill.darker(150), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setPen(Qt::white);
    p.setFont(pixelFont(20, true));
    p.drawText(QRectF(2, 2, 28, 28), Qt::AlignCenter, glyph);
}

void drawIcon(QPainter& p, const QString& key)
{
    p.setRenderHint(QPainter::Antialiasing);
    if (key == "BODY") {
        iconRocket(p, false);
    } else if (key == "FINS") {
        p.setPen(QPen(QColor(50, 50, 60), 1));
        p.setBrush(QColor(220, 220, 228));
        p.drawRect(QRectF(2, 22, 28, 7));
        QPolygonF fin;
        fin << QPointF(6, 22) << QPointF(16, 4) << QPointF(24, 4) << QPointF(28, 22);
        p.setBrush(QColor(30, 80, 180));
        p.drawPolygon(fin);
    } else if (key == "PLOT") {
        for (int k = 5; k >= 0; --k) {
            p.setPen(Qt::NoPen);
            p.setBrush(ramp(1.0 - k / 5.0));
            const double r = 4 + k * 4.6;
            p.drawEllipse(QPointF(6, 28), r * 1.2, r);
        }
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(210, 210, 215));
        p.drawRect(QRectF(6, 26, 26, 6));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(0.5, 0.5, 31, 31));
    } else if (key == "CP") {
        iconRocket(p, true);
    } else if (key == "BASE FLOW") {
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(220, 220, 228));
        p.drawRect(QRectF(1, 8, 12, 16));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 40, 40), 1.6));
        p.drawEllipse(QPointF(20, 12), 6, 4);
        p.drawEllipse(QPointF(20, 20), 6, 4);
        p.setPen(QPen(QColor(0, 120, 0), 1.4));
        arrow(p, QPointF(13, 5), QPointF(30, 5), false, 3);
        arrow(p, QPointF(13, 27), QPointF(30, 27), false, 3);
    } else if (key == "HELP") {
        iconCircleGlyph(p, QColor(30, 90, 200), QStringLiteral("?"));
    } else if (key == "ABOUT") {
        iconCircleGlyph(p, QColor(20, 130, 150), QStringLiteral("i"));
    } else if (key == "MESH") {
        p.setPen(QPen(QColor(0, 0, 160), 1));
        for (int i = 0; i < 4; ++i) {
            for (int j = 0; j < 4; ++j) {
                const QRectF c(2 + i * 7, 2 + j * 7, 7, 7);
                p.drawRect(c);
                p.drawLine(c.bottomLeft(), c.topRight());
            }
        }
    } else if (key == "SOLVE") {
        iconCircleGlyph(p, QColor(20, 150, 60), QString());
        QPolygonF play;
        play << QPointF(12, 9) << QPointF(23, 16) << QPointF(12, 23);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPolygon(play);
    } else if (key == "LOOP") {
        p.setPen(QPen(QColor(20, 110, 200), 3));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 22, 22), 60 * 16, 280 * 16);
        p.setPen(QPen(QColor(20, 110, 200), 1));
        p.setBrush(QColor(20, 110, 200));
        QPolygonF head;
        head << QPointF(18, 1) << QPointF(25, 7) << QPointF(16, 10);
        p.drawPolygon(head);
    } else if (key == "ABORT") {
        QPolygonF oct;
        for (int k = 0; k < 8; ++k) {
            const double a = kPi / 8 + k * kPi / 4;
            oct << QPointF(16 + 14 * std::cos(a), 16 + 14 * std::sin(a));
        }
        p.setPen(QPen(QColor(120, 0, 0), 1));
        p.setBrush(QColor(210, 20, 20));
        p.drawPolygon(oct);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 14, 16, 4));
    } else if (key == "PRINT") {
        p.setPen(QPen(QColor(60, 60, 70), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 2, 14, 10)); // paper going in
        p.setBrush(QColor(150, 155, 165));
        p.drawRoundedRect(QRectF(2, 11, 28, 12), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 19, 16, 11)); // the printed page
        p.setPen(QPen(QColor(30, 80, 180), 1));
        for (int k = 0; k < 3; ++k) p.drawLine(QPointF(10, 22.5 + 2.5 * k), QPointF(22, 22.5 + 2.5 * k));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 200, 60));
        p.drawEllipse(QPointF(26, 15), 1.5, 1.5);
    } else if (key == "REFRESH") {
        const QColor green(20, 140, 60);
        p.setPen(QPen(green, 3, Qt::SolidLine, Qt::FlatCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 20 * 16, 140 * 16);
        p.drawArc(QRectF(6, 6, 20, 20), 200 * 16, 140 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(green);
        QPolygonF a, b;
        a << QPointF(3, 12) << QPointF(11, 12) << QPointF(7, 18);
        b << QPointF(29, 20) << QPointF(21, 20) << QPointF(25, 14);
        p.drawPolygon(a);
        p.drawPolygon(b);
    } else if (key == "RETURN") {
        const QColor blue(20, 70, 170);
        p.setPen(QPen(blue, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath path;
        path.moveTo(26, 5);
        path.lineTo(26, 16);
        path.quadTo(26, 21, 21, 21);
        path.lineTo(11, 21);
        p.drawPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(blue);
        QPolygonF head;
        head << QPointF(3, 21) << QPointF(12, 14) << QPointF(12, 28);
        p.drawPolygon(head);
    } else if (key == "PANAERO") {
        // A fin section as panels, with the flow arriving from the left.
        QPolygonF section;
        for (int k = 0; k <= 8; ++k) {
            const double x = 6 + 24 * k / 8.0;
            section << QPointF(x, 16 - 6 * std::sin(kPi * std::sqrt(k / 8.0)) * (1.0 - 0.3 * k / 8.0));
        }
        for (int k = 8; k >= 0; --k) {
            const double x = 6 + 24 * k / 8.0;
            section << QPointF(x, 16 + 6 * std::sin(kPi * std::sqrt(k / 8.0)) * (1.0 - 0.3 * k / 8.0));
        }
        p.setPen(QPen(QColor(30, 80, 180), 1));
        p.setBrush(QColor(200, 215, 240));
        p.drawPolygon(section);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 30, 30));
        for (const QPointF& c : section) p.drawEllipse(c, 1.2, 1.2);
        p.setPen(QPen(QColor(0, 120, 0), 1.2));
        arrow(p, QPointF(1, 5), QPointF(9, 8), false, 3);
        arrow(p, QPointF(1, 27), QPointF(9, 24), false, 3);
    } else if (key == "RULERS") {
        p.setPen(QPen(QColor(120, 120, 130), 1, Qt::DotLine));
        for (int k = 1; k < 4; ++k) {
            p.drawLine(QPointF(2, 2 + 7 * k), QPointF(30, 2 + 7 * k));
            p.drawLine(QPointF(2 + 7 * k, 2), QPointF(2 + 7 * k, 30));
        }
        p.setPen(QPen(QColor(120, 90, 0), 1));
        p.setBrush(QColor(250, 215, 80));
        p.drawRect(QRectF(2, 22, 28, 8));
        for (int k = 0; k <= 6; ++k) p.drawLine(QPointF(4 + 4 * k, 22), QPointF(4 + 4 * k, k % 2 ? 25 : 27));
    } else if (key == "RESIZE") {
        p.setPen(QPen(QColor(60, 60, 70), 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2, 4, 28, 24));
        p.setBrush(QColor(30, 80, 180));
        p.drawRect(QRectF(2, 4, 28, 5));
        p.setPen(QPen(QColor(200, 40, 40), 2));
        arrow(p, QPointF(9, 24), QPointF(24, 12), true, 4);
    } else if (key == "OMITSHAPE") {
        p.setPen(QPen(QColor(30, 80, 180), 2));
        p.setBrush(Qt::NoBrush);
        QPainterPath shape;
        shape.moveTo(2, 24);
        shape.cubicTo(10, 6, 20, 8, 30, 14);
        p.drawPath(shape);
        p.setPen(QPen(QColor(210, 20, 20), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(8, 8), QPointF(24, 26));
        p.drawLine(QPointF(24, 8), QPointF(8, 26));
    } else if (key == "CROSSFLOW") {
        // A body cross-section in a side wind, its surface pressure as dots.
        p.setPen(QPen(QColor(60, 60, 70), 1));
        p.setBrush(QColor(220, 220, 228));
        p.drawEllipse(QPointF(19, 16), 8, 8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 128));
        for (int k = 0; k < 8; ++k) {
            const double a = kPi / 8 + k * kPi / 4;
            const double r = 10 + 2 * std::cos(a);
            p.drawEllipse(QPointF(19 + r * std::cos(a), 16 + r * std::sin(a)), 1.4, 1.4);
        }
        p.setPen(QPen(QColor(0, 120, 0), 1.4));
        for (int y : {8, 16, 24}) arrow(p, QPointF(1, y), QPointF(7, y), false, 2.5);
    } else if (key == "SCALEDATA") {
        // A vertical axis stretched by ten.
        p.setPen(QPen(QColor(60, 60, 70), 1.4));
        p.drawLine(QPointF(6, 3), QPointF(6, 29));
        p.setPen(QPen(QColor(200, 40, 40), 2));
        arrow(p, QPointF(16, 16), QPointF(16, 3), true, 4);
        arrow(p, QPointF(16, 16), QPointF(16, 29), true, 4);
        p.setPen(QColor(30, 80, 180));
        p.setFont(pixelFont(10, true));
        p.drawText(QRectF(18, 10, 14, 12), Qt::AlignCenter, QStringLiteral("10"));
    } else if (key == "RESETDATA") {
        // The axis brought back to its decade.
        p.setPen(QPen(QColor(60, 60, 70), 1.4));
        p.drawLine(QPointF(6, 3), QPointF(6, 29));
        p.setPen(QPen(QColor(20, 140, 60), 2));
        arrow(p, QPointF(16, 3), QPointF(16, 13), true, 4);
        arrow(p, QPointF(16, 29), QPointF(16, 19), true, 4);
        p.drawLine(QPointF(11, 16), QPointF(21, 16));
        p.setPen(QColor(30, 80, 180));
        p.setFont(pixelFont(10, true));
        p.drawText(QRectF(20, 10, 12, 12), Qt::AlignCenter, QStringLiteral("1"));
    } else if (key == "YSCALEUP") {
        // A vertical axis stretched by one more step.
        p.setPen(QPen(QColor(60, 60, 70), 1.4));
        p.drawLine(QPointF(6, 3), QPointF(6, 29));
        p.drawLine(QPointF(6, 29), QPointF(30, 29));
        p.setPen(QPen(QColor(200, 40, 40), 2));
        arrow(p, QPointF(14, 26), QPointF(14, 4), true, 4);
        p.setPen(QColor(30, 80, 180));
        p.setFont(pixelFont(11, true));
        p.drawText(QRectF(16, 8, 16, 14), Qt::AlignCenter, QStringLiteral("+1"));
    } else if (key == "PRNDATA") {
        // A printer putting out a table.
        p.setPen(QPen(QColor(60, 60, 70), 1));
        p.setBrush(QColor(150, 155, 165));
        p.drawRoundedRect(QRectF(2, 4, 28, 11), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 12, 22, 18));
        p.setPen(QPen(QColor(30, 80, 180), 1));
        for (int k = 0; k < 4; ++k) p.drawLine(QPointF(7, 16.5 + 3.5 * k), QPointF(25, 16.5 + 3.5 * k));
        p.drawLine(QPointF(13, 14), QPointF(13, 28));
        p.drawLine(QPointF(19, 14), QPointF(19, 28));
    } else if (key == "RAWDATA") {
        // A disk holding comma-separated numbers.
        p.setPen(QPen(QColor(40, 40, 60), 1));
        p.setBrush(QColor(60, 90, 160));
        p.drawRoundedRect(QRectF(2, 2, 28, 28), 2, 2);
        p.setBrush(QColor(200, 200, 210));
        p.drawRect(QRectF(8, 2, 16, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(5, 15, 22, 13));
        p.setPen(QColor(20, 20, 30));
        p.setFont(pixelFont(8, true));
        p.drawText(QRectF(5, 15, 22, 13), Qt::AlignCenter, QStringLiteral("1,2"));
    } else if (key == "BARROWMANS") {
        // Swept points with the closed-form line through them.
        p.setPen(QPen(QColor(60, 60, 70), 1.4));
        p.drawLine(QPointF(4, 3), QPointF(4, 29));
        p.drawLine(QPointF(4, 29), QPointF(30, 29));
        p.setPen(QPen(QColor(200, 40, 40), 1.6, Qt::DashLine));
        p.drawLine(QPointF(6, 26), QPointF(29, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 70, 170));
        for (int k = 0; k < 4; ++k) p.drawEllipse(QPointF(9 + 6 * k, 22 - 5.2 * k + (k % 2 ? 1.5 : -1)), 1.8, 1.8);
    } else {
        p.setPen(QPen(QColor(90, 90, 100), 1));
        p.setBrush(QColor(225, 228, 235));
        p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 5, 5);
        p.setPen(QColor(40, 40, 60));
        p.setFont(pixelFont(key.size() > 1 ? 12 : 18, true));
        p.drawText(QRectF(1.5, 1.5, 29, 29), Qt::AlignCenter, key.left(2));
    }
}

} // namespace

namespace art {

QStringList pictureLabels(Picture kind)
{
    switch (kind) {
    case Picture::BodySketch:
        return {"Nose Cone", "Body Tube", "Transition", "BaseTube", "L-nose", "L-body",
                "L-transition", "L-base", "D-body (Cd Reference)", "D-transition"};
    case Picture::Panels:
        return {"SOURCE PANELS", "VORTEX PANELS"};
    case Picture::BaseFlowDomain:
        return {"Airframe", "Base Flow", "Computational Domain"};
    case Picture::MotorEquations:
        return {"Rocket motor thrust", "Propellant mass flow rate", "Specific impulse",
                "Effective exhaust velocity", "Total impulse"};
    case Picture::Rocket:
    case Picture::PressureContours:
    case Picture::VelocityContours:
    case Picture::Mesh:
        break;
    }
    return {};
}

QPixmap draw(Picture kind, QSize size)
{
    QPixmap pm = blank(size, Qt::white, pixelRatio());
    QPainter p(&pm);
    const QStringList labels = pictureLabels(kind);
    switch (kind) {
    case Picture::Rocket: drawRocket(p, size); break;
    case Picture::PressureContours: drawContours(p, size, false); break;
    case Picture::VelocityContours: drawContours(p, size, true); break;
    case Picture::Mesh: drawMesh(p, size); break;
    case Picture::BodySketch: drawBodySketch(p, size, labels); break;
    case Picture::Panels: drawPanels(p, size, labels); break;
    case Picture::BaseFlowDomain: drawBaseFlowDomain(p, size, labels); break;
    case Picture::MotorEquations: drawMotorEquations(p, size, labels); break;
    }
    return pm;
}

} // namespace art

QIcon toolbarIcon(const QString& key)
{
    QIcon icon;
    for (int side : {16, 24, 32, 48}) {
        QPixmap pm = blank(QSize(side, side), Qt::transparent, pixelRatio());
        QPainter p(&pm);
        p.scale(side / 32.0, side / 32.0);
        drawIcon(p, key);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

} // namespace velmora
