#pragma once
// The program's own artwork, drawn in code: the pictures of the welcome,
// about, references and instruction windows and the toolbar icons.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

namespace velmora {

namespace art {

enum class Picture {
    Rocket,            // a model rocket climbing away, with its exhaust
    PressureContours,  // pressure bands about a nose, 30 x 30 cells
    VelocityContours,  // speed bands about the same nose, 30 x 30 cells
    Mesh,              // triangular grid fitted over a nose and body tube
    BodySketch,        // side view with the named parts and dimensions
    Panels,            // one fin section as source panels and as vortex panels
    BaseFlowDomain,    // the aft body, the wake and the base-flow domain
    MotorEquations,    // the rocket-motor relations, each with its name
};

// The texts written inside a picture, in the order they are drawn (empty
// for pictures without words). Windows give them to screen readers too.
QStringList pictureLabels(Picture kind);

// The picture at the given size in logical pixels, sharp on the primary
// screen's pixel density.
QPixmap draw(Picture kind, QSize size);

} // namespace art

// The icon of a toolbar or picture-button key: "BODY", "FINS", "PLOT", "CP",
// "BASE FLOW", "HELP", "ABOUT", "MESH", "SOLVE", "LOOP", "ABORT", "PRINT",
// "REFRESH", "RETURN", "PANAERO", "RULERS", "RESIZE", "OMITSHAPE", "CROSSFLOW",
// "SCALEDATA", "RESETDATA", "YSCALEUP", "PRNDATA", "RAWDATA", "BARROWMANS".
// Any other key gets a plain tile carrying the key's first letters.
QIcon toolbarIcon(const QString& key);

} // namespace velmora
