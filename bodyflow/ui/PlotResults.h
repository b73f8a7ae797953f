#pragma once
// The flow-field plot window: contours, vectors, profiles and the mesh.
#include <QLabel>
#include <QProgressBar>

#include "platform/ui/Controls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"

namespace velmora {

class PlotResults : public Form {
    Q_OBJECT
public:
    explicit PlotResults(Forms& forms);

    // The mesh drawn over the flow-field picture (not cleared first).
    void Mesh(double& velocity);

    void NLEVELS_Change();
    void NLEVELS2_Change();
    void Vscale_Change();

    PictureBox* VelocityPlot = nullptr;
    PictureBox* LEVELS = nullptr;
    PictureBox* FieldProfile = nullptr;
    TextBox* MAX = nullptr;
    TextBox* MIN = nullptr;
    TextBox* UnitsLabel = nullptr;
    TextBox* PlotLabel = nullptr;
    TextBox* UnitsLabel1 = nullptr;
    TextBox* MAX1 = nullptr;
    TextBox* MIN1 = nullptr;
    QLabel* NoMeshDefined = nullptr;
    TextBox* NLEVELS = nullptr;
    TextBox* NLEVELS2 = nullptr;
    TextBox* Vscale = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    StatusBar* StatusBar1 = nullptr;

private:
    int levelWriteDepth_ = 0;
};

} // namespace velmora
