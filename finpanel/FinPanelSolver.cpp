#include "finpanel/FinPanelSolver.h"

#include <cmath>
#include <stdexcept>

#include "platform/Checked.h"

namespace velmora::finpanel {

namespace {

enum class Method { Vortex, Source };

// Writes a status text through the progress interface and remembers it.
void say(FinSectionResult& r, Progress& progress, int panel, const std::string& text)
{
    progress.status(panel, text);
    (panel == 1 ? r.panel1 : r.panel2) = text;
}

bool finDataMissing(const FinSectionInput& in)
{
    return in.freeStreamVelocity == 0.0 || in.finMeanChord == 0.0 || in.finThickness == 0.0 || in.finSpan == 0.0 ||
           in.referenceArea == 0.0f || in.finCount <= 0 || in.panelCount < 4 || in.panelCount > kMaxPanels ||
           in.panelCount % 2 != 0;
}

FinSectionResult run(Method method, const FinSectionInput& in, Progress& progress)
{
    FinSectionResult r;
    if (finDataMissing(in)) {
        r.outcome = Outcome::Refused;
        r.message = kMsgMissingFinData;
        say(r, progress, 2, kMsgMissingFinData);
        return r;
    }

    try {
        r.unitsLabel = unitsCaption(in);
        say(r, progress, 1, kMsgSolving);
        say(r, progress, 2, "");

        r.section = generateSection(in);
        const Outcome solved = method == Method::Vortex
            ? solveVortexPanels(r.section, in.angleOfAttack, in.freeStreamVelocity, r.solution, progress,
                                in.abortRequest)
            : solveSourcePanels(r.section, in.freeStreamVelocity, r.solution, progress, in.abortRequest);
        if (solved == Outcome::Aborted) {
            r.outcome = Outcome::Aborted;
            return r;
        }

        r.forces = CNFINS(in, r.section, r.solution);
        if (method == Method::Source && r.forces.outcome == Outcome::Done) {
            // Source panels carry no circulation, so the section makes no lift:
            // what the pressures integrate to on a thick section is the
            // discretisation error of the panels, and a centre of pressure
            // formed from it is meaningless.
            r.forces.normalForceSlope = 0;
            r.forces.normalForce = 0;
            r.forces.centerOfPressure = 0;
            r.notes.add(NoteKind::SourceNoNormalForce, kMsgSourceNoNormalForce);
            say(r, progress, 2, kMsgSourceNoNormalForce);
        }
        if (r.forces.outcome != Outcome::Done) say(r, progress, 2, r.forces.message);

        say(r, progress, 1, kMsgPlotting);
        r.plot = PlotResults(in, r.section, r.solution);
        if (r.plot.unitsLabel) r.unitsLabel = r.plot.unitsLabel;
        say(r, progress, 1, r.plot.status);

        r.outcome = Outcome::Done;
        say(r, progress, 1, kMsgSolved);
    } catch (const MathFailure& e) {
        r.outcome = Outcome::Failed;
        r.message = e.what();
    } catch (const std::invalid_argument& e) {
        r.outcome = Outcome::Failed;
        r.message = e.what();
    }
    if (r.outcome == Outcome::Failed) say(r, progress, 1, kMsgNotSolved);
    return r;
}

} // namespace

FinSectionResult VORTEX(const FinSectionInput& in, Progress& progress) { return run(Method::Vortex, in, progress); }

FinSectionResult Source(const FinSectionInput& in, Progress& progress) { return run(Method::Source, in, progress); }

std::optional<FinSectionResult> solveFinSection(const FinSectionInput& in, Progress& progress)
{
    if (in.panelMethod == "SOURCE") return Source(in, progress);
    if (in.panelMethod == "VORTEX") return VORTEX(in, progress);
    return std::nullopt;
}

} // namespace velmora::finpanel
