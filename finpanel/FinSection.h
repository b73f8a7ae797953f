#pragma once
// Fin cross-section geometry: the closed polygon of PanelCount corner points
// that the panel solvers work on.
//
// Point order of every generated section (N corners, N even, clockwise with x
// toward the trailing edge and y up):
//   1            lower leading-edge point
//   2            upper leading-edge point, straight above point 1
//   2 .. N/2+1   upper surface, leading edge to trailing edge
//   N/2+2        lower trailing-edge point, straight below point N/2+1
//   N/2+2 .. N   lower surface, trailing edge back toward the leading edge
// Panel i joins point i to point i+1 and panel N joins point N to point 1, so
// panel 1 is the leading-edge face and panel N/2+1 the trailing-edge face.
//
// The generated sections are centred on mid-chord, scaled by the mean chord
// and turned by the angle of attack about that origin (a positive angle raises
// the leading edge). The y ordinates are rounded to single precision at every
// stage, the x abscissae are kept in double precision.
#include <array>
#include <string>
#include <string_view>

namespace velmora::finpanel {

inline constexpr int kMaxPanels = 200;

// The section point record; arrays are used from index 1 to count.
struct SectionPoints {
    int count = 0;
    std::array<double, kMaxPanels + 1> x{};           // after scaling and rotation
    std::array<float, kMaxPanels + 1> y{};
    std::array<double, kMaxPanels + 1> unrotatedX{};  // after scaling, before rotation
    std::array<double, kMaxPanels + 1> unrotatedY{};
    double deltaX = 0;  // chordwise point step as a chord fraction (0 for a typed section)
};

// Everything the fin-section computations read. Units are those of the
// project's unit system; the angle of attack is in degrees.
struct FinSectionInput {
    std::string sectionShape = "STREAMLINED";  // "NACA WING", "FLAT PLATE", "D'WEDGE", "STREAMLINED", "MANUAL INPUT"
    std::string panelMethod = "VORTEX";        // "VORTEX" or "SOURCE"
    std::string plotChoice = "Cp";             // "Cp" or "Velocity"
    int panelCount = 100;                      // even, 4..200
    int thicknessFactor = 1;                   // 1, 2, 4 or 6
    double finThickness = 0;
    double finMeanChord = 0;
    double finSpan = 0;
    int finCount = 3;
    float finRootDistance = 0;                 // nose tip to the leading edge of the root
    double finTipDistance = 0;                 // nose tip to the leading edge of the tip
    double angleOfAttack = 0;                  // degrees
    double freeStreamVelocity = 0;
    double ambientDensity = 0;
    int compressibleFlow = 0;                  // 0 incompressible, 1 compressible
    float freeStreamMachNumber = 0;
    float referenceArea = 0;
    int unitMenuIndex = 0;                     // checked unit item: 0 ft-lb-sec, 1 in-lb-sec, 2 m-nt-sec, -1 none
    std::array<double, kMaxPanels + 1> manualX{};  // typed corner points, used from index 1
    std::array<double, kMaxPanels + 1> manualY{};
    // The section record as it stands in the project (what the plot buttons
    // draw again without generating).
    SectionPoints currentSection;
    // The project's AbortRequest, read while the solution lets events run
    // (AbortFlag::Yes ends it Aborted); none: the solution runs to its end.
    const std::string* abortRequest = nullptr;
};

enum class SectionShape { NacaWing, FlatPlate, DWedge, Streamlined, Manual, Unknown };

SectionShape sectionShapeFromText(std::string_view text);

// Thickness ratio of the generated sections: thickness x factor / mean chord.
double thicknessRatio(const FinSectionInput& in);

// The five generators. Each throws MathFailure for a zero chord and
// std::invalid_argument for a panel count that is odd or outside 4..200.
SectionPoints NACA(const FinSectionInput& in);
SectionPoints FLATPLATE(const FinSectionInput& in);
SectionPoints DWEDGE(const FinSectionInput& in);
SectionPoints STREAMLINED(const FinSectionInput& in);
SectionPoints MANUAL(const FinSectionInput& in);

// The generator named by the section text. A text that names no generator
// throws std::invalid_argument: the solvers then fail ("Panel method solution
// not found.") and the section drawing refuses ("No fin section to plot..").
SectionPoints generateSection(const FinSectionInput& in);

} // namespace velmora::finpanel
