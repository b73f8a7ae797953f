#include "geometry/ui/FinAnalysis.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/Format.h"
#include "platform/ui/Build.h"
#include "finpanel/ui/FinPanelWindows.h"

namespace velmora {

FinAnalysis::FinAnalysis(Forms& forms) : Form(forms, "FinAnalysis", "Fin and Launch Lug Geometry")
{
    auto* lay = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 1; i <= 9; ++i)
        LLABEL[static_cast<size_t>(i)] = makeBox(this, QStringLiteral("LLABEL%1").arg(i), "Length unit", QString(), true);
    NFINS = makeList(this, "NFINS", "Number of fins");
    struct Row { TextBox** box; const char* name; const char* caption; int unit; };
    const Row rows[] = {
        {&DTip, "DTip", "Fin tip distance from nose tip", 5},
        {&DRoot, "DRoot", "Fin root distance from nose tip", 6},
        {&TipChord, "TipChord", "Fin tip chord", 7},
        {&SpanLength, "SpanLength", "Fin span", 8},
        {&RootChord, "RootChord", "Fin root chord", 9},
        {&FINTHK, "FINTHK", "Fin thickness", 4},
        {&DLUGS, "DLUGS", "Launch lug length", 1},
        {&ODLUGS, "ODLUGS", "Launch lug outer diameter", 2},
        {&IDLUGS, "IDLUGS", "Launch lug inner diameter", 3},
    };
    addRow(grid, 0, "Number of fins", NFINS);
    int r = 1;
    for (const Row& row : rows) {
        *row.box = makeBox(this, row.name, row.caption);
        addRow(grid, r++, row.caption, *row.box, LLABEL[static_cast<size_t>(row.unit)]);
    }
    lay->addLayout(grid);
    const char* shapes[] = {"Triangle", "Rectangle", "Tapered", "Elliptical"};
    const char* edges[] = {"Square", "Round", "Streamlined", "Double Wedge"};
    const char* finishes[] = {"Unpainted", "Painted", "Waxed"};
    auto* opts = new QHBoxLayout;
    auto group = [&](const char* title, const char* name, const char* const* items, int n, QRadioButton** out) {
        auto* g = named(new QGroupBox(title, this), name, title);
        auto* gl = new QVBoxLayout(g);
        for (int i = 0; i < n; ++i) {
            out[i] = named(new QRadioButton(items[i], g), QStringLiteral("%1%2").arg(name).arg(i), items[i]);
            gl->addWidget(out[i]);
        }
        opts->addWidget(g);
    };
    group("Fin Shape", "FinShapes", shapes, 4, FinShapes.data());
    group("Fin Edges", "FinEdges", edges, 4, FinEdges.data());
    group("Fin Finish", "FinishType", finishes, 3, FinishType.data());
    lay->addLayout(opts);
    auto* pics = new QHBoxLayout;
    for (int i = 1; i <= 7; ++i) {
        Picture[static_cast<size_t>(i)] = named(new PictureBox(this), QStringLiteral("Picture%1").arg(i), "Fin sketch");
        Picture[static_cast<size_t>(i)]->setMinimumSize(60, 40);
        pics->addWidget(Picture[static_cast<size_t>(i)]);
    }
    lay->addLayout(pics);
    StatusBar1 = named(new StatusBar(2, this), "StatusBar1", "Status");
    lay->addWidget(StatusBar1);
}

void FinAnalysis::Form_Load()
{
    Module1& s = m();
    s.FinPlanformCode = 3;
    s.FinEdgeCode = 3;
    s.SurfaceFinishCode = 2;
    s.FinCount = 3;
    NFINS->setText("3");
    for (int i = 3; i <= 8; ++i) NFINS->AddItem(QString::number(i));
    // Section sketches: square, round and double wedge hidden, streamlined shown.
    Picture[5]->hide();
    Picture[6]->hide();
    Picture[7]->show();
    forms().get<PanelAero>().SECTIONS->setText("STREAMLINED");
}

} // namespace velmora
