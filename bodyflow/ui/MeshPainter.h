#pragma once
// Draws the mesh and its overlay strokes into a picture.
#include <QProgressBar>

#include "bodyflow/MeshDrawing.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

// The triangles in `triangleColour` (-1: the picture's foreground), with the
// progress bar advanced per triangle, then the overlay strokes.
void paintMesh(PictureBox* picture, const Module1& m, const MeshScale& s, int triangleColour,
               const std::vector<MeshStroke>& overlay, QProgressBar* progress);

void paintStroke(PictureBox* picture, const MeshStroke& stroke);

} // namespace velmora
