#include "bodyflow/ui/MeshPainter.h"

#include <QElapsedTimer>

#include "geometry/Outline.h"
#include "platform/Constants.h"

namespace velmora {

namespace {
constexpr qint64 kProgressStepMs = 30;
QRgb colourOf(int c) { return c < 0 ? PictureBox::kForeground : PictureBox::qbColor(c); }
}

void paintStroke(PictureBox* picture, const MeshStroke& st)
{
    if (st.kind == MeshStroke::Kind::Line) {
        picture->line(st.x1, st.y1, st.x2, st.y2, colourOf(st.colour));
        return;
    }
    // Pixels per plot unit on this picture (the scale spans 500 units).
    const double ppx = picture->width() / 500.0;
    const double ppy = picture->height() / 500.0;
    const ArcShape arc = halfEllipseArc(st.x2, st.y2, ppx, ppy);
    if (arc.radius > 0) picture->circle(st.x1, st.y1, arc.radius, colourOf(st.colour), 0.0, kPi, arc.aspect);
}

void paintMesh(PictureBox* picture, const Module1& m, const MeshScale& s, int triangleColour,
               const std::vector<MeshStroke>& overlay, QProgressBar* progress)
{
    const long elements = std::lround(m.MeshElementCount);
    if (progress) {
        progress->setVisible(true);
        progress->setRange(1, std::max(1L, elements));
        progress->setValue(1);
    }
    const QRgb colour = colourOf(triangleColour);
    PictureBox::Batch batch(picture);
    // The bar moves when a user can see it move, and always to the end.
    QElapsedTimer shown;
    shown.start();
    for (long e = 1; e <= elements; ++e) {
        double x[3], y[3];
        meshTriangle(m, s, e, x, y);
        picture->line(x[0], y[0], x[1], y[1], colour);
        picture->line(x[1], y[1], x[2], y[2], colour);
        picture->line(x[2], y[2], x[0], y[0], colour);
        if (progress && (e == elements || shown.elapsed() >= kProgressStepMs)) {
            progress->setValue(static_cast<int>(e));
            shown.restart();
        }
    }
    for (const MeshStroke& st : overlay) paintStroke(picture, st);
}

} // namespace velmora
