#include "app/ui/InfoWindows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/ui/SOLVER.h"
#include "platform/ui/Build.h"

namespace velmora {

namespace {
void addProductLabels(QWidget* w, QVBoxLayout* lay, QLabel** labels)
{
    const char* texts[6] = {"Velmora", "Model Rocket CFD Analysis", "3.6.1", "By Trelwick",
                            "velmora", "Written by Trelwick; distributed by Trelwick."};
    for (int i = 0; i < 6; ++i) {
        labels[i] = makeLabel(w, QStringLiteral("Label%1").arg(i + 1), QString::fromLatin1(texts[i]));
        labels[i]->setAlignment(Qt::AlignCenter);
        lay->addWidget(labels[i]);
    }
    QFont big = labels[0]->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    labels[0]->setFont(big);
}
} // namespace

Welcome::Welcome(Forms& forms) : Form(forms, "Welcome", "Model Rocket CFD Analysis")
{
    auto* lay = new QVBoxLayout(this);
    QLabel* labels[6];
    addProductLabels(this, lay, labels);
    Label1 = labels[0]; Label2 = labels[1]; Label3 = labels[2];
    Label4 = labels[3]; Label5 = labels[4]; Label6 = labels[5];
    auto* buttons = new QHBoxLayout;
    Continue = makeButton(this, "Continue", "Continue");
    QuitBtn = makeButton(this, "QuitBtn", "Quit");
    buttons->addWidget(Continue);
    buttons->addWidget(QuitBtn);
    lay->addLayout(buttons);
    connect(Continue, &QPushButton::clicked, this, [this] { Continue_Click(); });
    connect(QuitBtn, &QPushButton::clicked, this, [this] { QuitBtn_Click(); });
    Continue->setDefault(true);
}

void Welcome::Continue_Click()
{
    forms().unload<Welcome>();
}

void Welcome::QuitBtn_Click()
{
    Forms& f = forms();
    f.requestQuit();
    f.unload<SOLVER>();
    f.unload<Welcome>();
}

FluidVariables::FluidVariables(Forms& forms) : Form(forms, "FluidVariables", "Velmora Fluid Variables")
{
    auto* lay = new QVBoxLayout(this);
    auto* bar = new QMenuBar(this);
    auto* file = bar->addMenu("&File");
    QAction* mnuClose = file->addAction("&Close");
    mnuClose->setObjectName("mnuClose");
    lay->setMenuBar(bar);
    lay->addWidget(makeLabel(this, "Title", "Fluid Flow Parameters"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Variable"), 0, 0);
    grid->addWidget(new QLabel(" Value"), 0, 1);
    grid->addWidget(new QLabel("Units"), 0, 2);
    struct Row { const char* caption; TextBox** value; const char* valueName; TextBox** unit; const char* unitName; };
    const Row rows[] = {
        {"Rocket Velocity", &UINPUT, "UINPUT", &ULABEL, "ULABEL"},
        {"Air Pressure", &Pressure, "Pressure", &Label2, "Label2"},
        {"Air Density", &Density, "Density", &Label3, "Label3"},
        {"Speed of Sound", &Sound, "Sound", &Label4, "Label4"},
        {"Fluid Viscosity (Set)", &FluidViscosity, "FluidViscosity", &Label5, "Label5"},
    };
    int r = 1;
    for (const Row& row : rows) {
        *row.value = makeBox(this, row.valueName, row.caption, QString(), true);
        *row.unit = makeBox(this, row.unitName, QString(row.caption) + " units", QString(), true);
        addRow(grid, r++, row.caption, *row.value, *row.unit);
    }
    lay->addLayout(grid);
    Close = makeButton(this, "Close", "Close");
    lay->addWidget(Close, 0, Qt::AlignRight);
    connect(Close, &QPushButton::clicked, this, [this] { Close_Click(); });
    connect(mnuClose, &QAction::triggered, this, [this] { Close_Click(); });
}

void FluidVariables::Close_Click()
{
    Hide();
}

} // namespace velmora
