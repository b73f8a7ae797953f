// The main window's body and fin outline: re-grids the body and draws body,
// fins and base into the main, body and flow-field pictures.
#include <array>
#include <cmath>

#include "app/ui/SOLVER.h"
#include "bodyflow/Grid.h"
#include "platform/ui/WindowWriter.h"
#include "bodyflow/ui/PlotResults.h"
#include "geometry/Outline.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/Checked.h"
#include "platform/Constants.h"

namespace velmora {

namespace {

// Status texts of the grid go to the main window's panels; the outline lets
// no events run while it works.
class StatusOnly final : public Progress {
public:
    explicit StatusOnly(StatusBar* bar) : bar_(bar) {}
    void status(int panel, const std::string& text) override { bar_->setPanel(panel, QString::fromStdString(text)); }

private:
    StatusBar* bar_;
};

QRgb strokeColour(int code)
{
    return code == kOutlineForeground ? PictureBox::kForeground : PictureBox::qbColor(code);
}

void drawStroke(PictureBox* p, const OutlineStroke& s, int colourCode)
{
    const QRgb colour = strokeColour(colourCode);
    if (s.kind == OutlineStroke::Kind::Line) {
        p->line(s.x1, s.y1, s.x2, s.y2, colour);
        return;
    }
    // Pixels per plot unit of this picture; a picture without a size yet is
    // taken as twice as wide as high, as the windows lay them out.
    double ppx = std::fabs(p->toDevice(1, 0).x() - p->toDevice(0, 0).x());
    double ppy = std::fabs(p->toDevice(0, 1).y() - p->toDevice(0, 0).y());
    if (!(ppx > 0.0) || !(ppy > 0.0)) {
        ppx = 2.0;
        ppy = 1.0;
    }
    const ArcShape arc = halfEllipseArc(s.x2, s.y2, ppx, ppy);
    p->circle(s.x1, s.y1, arc.radius, colour, 0.0, kPi, arc.aspect);
}

} // namespace

void SOLVER::NEWFINS(double& velocity)
{
    Module1& s = m();
    Forms& f = forms();
    if (const char* missing = missingMainDimension(s)) {
        StatusBar1->setPanel(2, missing);
        return;
    }
    StatusBar1->setPanel(1, "MESHING in progress.");
    PlotResults& plot = f.get<PlotResults>();
    NoMeshDefined->hide();
    plot.NoMeshDefined->hide();

    StatusOnly progress(StatusBar1);
    const GridReport grid = GRID(s, velocity, progress, gridEffectsOn(forms()));
    // A refused grid (its reason is in panel 2) is not drawn: the old grid
    // no longer matches the inputs.
    if (grid.outcome != Outcome::Done) {
        StatusBar1->setPanel(1, kMsgMeshingNotComplete);
        return;
    }
    StatusBar1->setPanel(1, kMsgMeshingComplete);

    const std::optional<OutlineScale> scale = outlineScale(s);
    if (!scale) {
        StatusBar1->setPanel(2, kMsgNoOutlineExtent);
        return;
    }
    std::vector<OutlineStroke> strokes;
    try {
        strokes = outlineStrokes(s, *scale);
    } catch (const MathFailure&) {  // a fin root radius beyond single range
        StatusBar1->setPanel(2, kMsgNoOutlineExtent);
        return;
    }
    const std::array<PictureBox*, 3> pictures{MeshPlot, f.get<BODYTUBE>().MeshPlot, plot.VelocityPlot};
    for (PictureBox* p : pictures) p->setScale(0, 500, 500, 0);
    PictureBox::Batch b0(pictures[0]), b1(pictures[1]), b2(pictures[2]);
    for (const OutlineStroke& stroke : strokes) {
        drawStroke(pictures[0], stroke, stroke.colour);
        drawStroke(pictures[1], stroke, stroke.colour);
        drawStroke(pictures[2], stroke, stroke.plotColour);
    }
}

} // namespace velmora
