#include "stability/ui/CROSSFLOW.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "platform/ui/Artwork.h"
#include "platform/ui/Build.h"
#include "stability/CrossFlow.h"

namespace velmora {

namespace {
// A Cp label left of the plot, on the grid line of its plot y (0 .. 2000).
QLabel* axisLabel(QWidget* parent, PlotLayout* plot, const QString& name, const QString& meaning, const QString& text,
                  double plotY)
{
    QLabel* l = makeValueLabel(parent, name, meaning, text);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    plot->addBeside(l, Qt::LeftEdge, 0, (2000 - plotY) / 2000);
    return l;
}
} // namespace

CROSSFLOW::CROSSFLOW(Forms& forms) : Form(forms, "CROSSFLOW", "Cross-Flow Cp Distribution")
{
    auto* lay = new QVBoxLayout(this);

    buildWindowMenus(this, lay);
    buildToolbar(this, lay, "Cross-flow toolbar",
                 {{"SCALEDATA", "Click to make all Cp data fit on plot."},
                  {"RESETDATA", "Reset default Cp maximum scale."},
                  kHelpKey, kAboutKey,
                  {"RETURN", "Return to Rocket Force Distribution."}},
                 toolbarIcon);

    // The plot with its labels on the picture's grid lines; it grows with the window.
    Frame2 = named(new QGroupBox("3-D Cross-Flow Cp Distribution", this), "Frame2", "3-D Cross-Flow Cp Distribution");
    auto* frameLay = new QVBoxLayout(Frame2);
    PLOT = makeGrowingPicture(Frame2, "PLOT", "Cross-flow Cp plot", QSize(kPlotWidth, kPlotHeight));
    PLOT->setCirclesAreMarkers(true);
    auto* plot = new PlotLayout(PLOT);
    MAX = axisLabel(Frame2, plot, "MAX", "Cp at the top of the plot", "1.0", 2000);
    Label1 = axisLabel(Frame2, plot, "Label1", "Cp at the first grid line", " 0.0", 1600);
    Label2 = axisLabel(Frame2, plot, "Label2", "Cp at the second grid line", "-1.0", 1200);
    Label3 = axisLabel(Frame2, plot, "Label3", "Cp at the third grid line", "-2.0", 800);
    Label4 = axisLabel(Frame2, plot, "Label4", "Cp at the fourth grid line", "-3.0", 400);
    MIN = axisLabel(Frame2, plot, "MIN", "Cp at the bottom of the plot", "-4.0", 0);
    Label5 = makeLabel(Frame2, "Label5", "Cp");
    plot->addBeside(Label5, Qt::LeftEdge, 1, 0.3);
    static const char* const kAngles[] = {"0", "45", "90", "135", "180", "225", "270", "315", "360"};
    for (int i = 0; i < 9; ++i) {
        QLabel* l = makeLabel(Frame2, QStringLiteral("Label%1").arg(6 + i), kAngles[i]);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        plot->addBeside(l, Qt::BottomEdge, 0, i / 8.0);
        AngleLabels[static_cast<std::size_t>(i)] = l;
    }
    frameLay->addLayout(plot, 1);
    Label15 = makeLabel(Frame2, "Label15", "Point Location (Degrees From Stagnation Point)");
    Label15->setAlignment(Qt::AlignHCenter);
    frameLay->addWidget(Label15);
    lay->addWidget(Frame2, 1);

    auto* controls = new QGridLayout;
    Label19 = makeLabel(this, "Label19", "Distance of station from tip of nose cone:");
    Label18 = makeValueLabel(this, "Label18", "Distance of station from tip of nose cone");
    Label18->setMinimumWidth(110);
    controls->addWidget(Label19, 0, 0);
    controls->addWidget(Label18, 0, 1, 1, 3);
    Label16 = makeLabel(this, "Label16", "Select station to plot Cross-Flow Cp distribution:");
    NSTATIONS = makeBox(this, "NSTATIONS", "Station number", "1", true);
    NSTATIONS->setToolTip("Station number.");
    fitToPattern(NSTATIONS, "###");
    UpDown3 = named(new UpDownSpinner(1, 1, 1, 1, this), "UpDown3", "Station spinner");
    UpDown3->setToolTip("Select station to plot Cross-Flow Cp distribution.");
    UpDown3->nameKeys("Station number");
    controls->addWidget(Label16, 1, 0);
    controls->addWidget(NSTATIONS, 1, 1);
    controls->addWidget(UpDown3, 1, 2);
    Label17 = makeLabel(this, "Label17", "Plot Classical Cylinder Cross-Flow:");
    PlotCd = makeButton(this, "PlotCd", "Cylinder Cp", "Plot classical cross-flow distribution.");
    Label22 = makeLabel(this, "Label22", "Cp =[1 - 4*sin(THETA)^2 ] * sin(AOA)^2");
    controls->addWidget(Label17, 2, 0);
    controls->addWidget(PlotCd, 2, 1, 1, 2);
    controls->addWidget(Label22, 2, 3);
    controls->setColumnStretch(4, 1);
    lay->addLayout(controls);

    onCommand(PlotCd, &QPushButton::clicked, this, [this] { PlotCd_Click(); });
    UpDown3->onChange([this] { UpDown3_Change(); });
}

void CROSSFLOW::CYLFLOW(double& /*velocity*/)
{
    const stability::CrossFlowReport r = stability::CYLFLOW(m());
    if (r.outcome != Outcome::Done) {
        PLOT->clear();
        return;
    }
    const char* pattern = stability::kPatternCrossFlowCp;
    MAX->setText(qFormat(r.top, pattern));
    MIN->setText(qFormat(r.bottom, pattern));
    Label2->setText(qFormat(-r.top, pattern));
    Label3->setText(qFormat(-2 * r.top, pattern));
    Label4->setText(qFormat(-3 * r.top, pattern));
    Label1->setText("0.0");
    Label18->setText(r.distance == 0 ? QStringLiteral("0.0") : qFormat(r.distance, stability::kPatternStationDistance));

    PLOT->clear();
    PLOT->setScale(0, 2000, 2000, 0);
    PictureBox::Batch batch(PLOT);
    const QRgb black = PictureBox::qbColor(0);
    for (int y = 400; y <= 1600; y += 400) PLOT->line(0, y, 2000, y, black);
    for (int x = 250; x <= 1750; x += 250) PLOT->line(x, 0, x, 2000, black);
    for (const stability::CrossFlowPoint& p : r.points)
        PLOT->circle(stability::crossFlowPlotX(p.angle), stability::crossFlowPlotY(p.cp, r.top, r.bottom), 15,
                     PictureBox::qbColor(1));
}

void CROSSFLOW::PlotCd_Click()
{
    const Module1& s = m();
    const double top = s.CrossflowCpTop, bottom = s.CrossflowCpBottom;
    if (!(top > bottom)) return;  // no station plotted yet
    const auto curve = stability::classicalCrossFlow(s.AngleOfAttack);
    PictureBox::Batch batch(PLOT);
    for (std::size_t i = 0; i + 1 < curve.size(); ++i)
        PLOT->line(stability::crossFlowPlotX(curve[i].angle), stability::crossFlowPlotY(curve[i].cp, top, bottom),
                   stability::crossFlowPlotX(curve[i + 1].angle),
                   stability::crossFlowPlotY(curve[i + 1].cp, top, bottom), PictureBox::qbColor(12));
}

void CROSSFLOW::replot()
{
    PLOT->clear();
    double v = m().FreeStreamVelocity;
    CYLFLOW(v);
}

void CROSSFLOW::UpDown3_Change()
{
    Module1& s = m();
    s.CrossflowStation = static_cast<int16_t>(UpDown3->value());
    NSTATIONS->setText(qFormat(s.CrossflowStation, "###"));
    s.CrossflowCpScale = 1.0f;
    replot();
}

void CROSSFLOW::Toolbar1_ButtonClick(const QString& Key)
{
    Module1& s = m();
    if (showHelpOrAbout(forms(), Key)) return;
    if (Key == "SCALEDATA") {
        // Past the labels' room the zoom stays where it is.
        if (!stability::crossFlowZoomFits(s)) return;
        resumeNext([&] {
            s.CrossflowCpScale *= 10;
            replot();
        });
    } else if (Key == "RESETDATA") {
        resumeNext([&] {
            s.CrossflowCpScale = 1.0f;
            replot();
        });
    } else if (Key == "RETURN") {
        resumeNext([this] { Hide(); });
    }
}

void CROSSFLOW::mnuPrintPage_Click()
{
    printWithPictures(this, nullptr, {PLOT}, PictureFault::PassOver);
}

void CROSSFLOW::mnuClose_Click() { Hide(); }

} // namespace velmora
