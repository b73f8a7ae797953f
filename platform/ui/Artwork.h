#pragma once
// The program's artwork, kept as SVG files in the Qt resource platform/ui/art.qrc
// (platform/ui/art/): the program icon, the toolbar icons and the pictures of the
// welcome, about and instruction windows. Each is drawn from its file at the
// size and pixel ratio asked for, so the files can be changed with a drawing
// program.
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

// The resource path of a picture's SVG file.
QString pictureFile(Picture kind);

// The picture at the given size in logical pixels, on white, centred and
// keeping its proportions; sharp at the pixel ratio (by default the primary
// screen's).
QPixmap draw(Picture kind, QSize size);
QPixmap draw(Picture kind, QSize size, qreal pixelRatio);

} // namespace art

// The icon of a toolbar or picture-button key: "BODY", "FINS", "PLOT", "CP",
// "BASE FLOW", "HELP", "ABOUT", "MESH", "SOLVE", "LOOP", "ABORT", "PRINT",
// "REFRESH", "RETURN", "PANAERO", "RULERS", "RESIZE", "OMITSHAPE", "CROSSFLOW",
// "SCALEDATA", "RESETDATA", "YSCALEUP", "PRNDATA", "RAWDATA", "BARROWMANS".
// Any other key gets a plain tile. The keys of standard commands (PRINT,
// HELP, ABOUT, RAWDATA's save) take the desktop theme's icon where it has
// one, ours otherwise.
QIcon toolbarIcon(const QString& key);

// The resource path of a key's own SVG icon (the plain tile for an unknown key).
QString toolbarIconFile(const QString& key);

// The program's icon; installApplicationIcon() gives it to every window's
// title bar and the task switcher.
QIcon applicationIcon();
void installApplicationIcon();

} // namespace velmora
