#include "app/ui/InfoWindows.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenuBar>
#include <QScrollArea>
#include <QVBoxLayout>

#include <charconv>

#include "model/Units.h"
#include "app/ui/Artwork.h"
#include "app/ui/HelpText.h"
#include "app/ui/SOLVER.h"
#include "platform/ui/Build.h"
#include "platform/ui/Printing.h"

namespace velmora {

namespace {

QString utf8(const char* s) { return QString::fromUtf8(s); }

void addProductLabels(QWidget* w, QVBoxLayout* lay, QLabel** labels)
{
    const char* texts[6] = {"Velmora", "Model Rocket CFD Analysis", "3.6.1", "By Trelwick",
                            "Trelwick on the web: velmora", "Written by Trelwick; distributed by Trelwick."};
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

// A fixed picture: our artwork in a label of its own size, drawn when the
// window is first shown, so a window built but never shown draws nothing.
class PictureLabel final : public QLabel {
public:
    PictureLabel(QWidget* parent, art::Picture kind) : QLabel(parent), kind_(kind) {}

protected:
    void showEvent(QShowEvent* e) override
    {
        if (pixmap().isNull()) setPixmap(art::draw(kind_, size()));
        QLabel::showEvent(e);
    }

private:
    art::Picture kind_;
};

QLabel* makePicture(QWidget* parent, const QString& name, const QString& caption, art::Picture kind, QSize size)
{
    auto* pic = named(new PictureLabel(parent, kind), name, caption);
    pic->setFixedSize(size);
    return pic;
}

QAction* menuItem(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    return a;
}

// The menu bar of a window that shows fixed texts, with its File menu.
QMenu* fileMenu(QWidget* w, QBoxLayout* lay, const char* caption = "&File")
{
    auto* bar = named(new QMenuBar(w), "MenuBar", "Menu");
    lay->setMenuBar(bar);
    QMenu* file = bar->addMenu(caption);
    file->setObjectName("mnuFile");
    return file;
}

QAction* barItem(QMenuBar* bar, const QString& caption, const QString& name)
{
    QAction* a = bar->addAction(caption);
    a->setObjectName(name);
    return a;
}

// Prints the window as shown; a failure is reported and the window stays.
void printWindow(QWidget* w)
{
    printPage(w, nullptr);
}

// Shortest text that reads back as the same number, with a capital E.
template <class T>
QString number(T v)
{
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    return QString::fromLatin1(buf, res.ptr - buf).toUpper();
}

QTableWidget* makeUnitTable(QWidget* parent)
{
    const auto& columns = help::unitTableColumns();
    const auto& rows = help::unitTableRows();
    auto* t = named(new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(columns.size()), parent),
                    "UnitTable", "Variable Units");
    QStringList heads, rowHeads;
    for (const char* c : columns) heads << utf8(c);
    for (const char* r : rows) rowHeads << utf8(r);
    t->setHorizontalHeaderLabels(heads);
    t->setVerticalHeaderLabels(rowHeads);
    for (int c = 0; c < static_cast<int>(UnitSystemTable.size()); ++c) {
        const UnitSystem& u = UnitSystemTable[static_cast<size_t>(c)];
        const QString cells[] = {
            number(u.seaLevelPressure) + ' ' + utf8(u.pressure),
            number(u.seaLevelDensity) + ' ' + utf8(u.density),
            number(u.dynamicViscosity) + ' ' + utf8(u.viscosity),
            number(u.seaLevelSpeedOfSound) + ' ' + utf8(u.velocity),
            QStringLiteral("as entered, ") + utf8(u.velocity),
        };
        for (int r = 0; r < 5; ++r) t->setItem(r, c, new QTableWidgetItem(cells[r]));
    }
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::NoSelection);
    t->setFocusPolicy(Qt::NoFocus);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    t->resizeColumnsToContents();
    int height = t->horizontalHeader()->sizeHint().height() + 2 * t->frameWidth();
    for (int r = 0; r < t->rowCount(); ++r) height += t->rowHeight(r);
    t->setFixedHeight(height);
    return t;
}

// Lays out the blocks of one help page in a scrollable column. Headings are
// named Heading1, Heading2, ... over the whole window, paragraphs and
// captions Label1, ..., formulas Formula1, ..., pictures Picture1, ...
class PageBuilder {
public:
    QWidget* build(const help::Page& page)
    {
        auto* scroll = named(new QScrollArea, QStringLiteral("Page%1").arg(++pages_), utf8(page.tab));
        scroll->setWidgetResizable(true);
        auto* content = new QWidget;
        auto* lay = new QVBoxLayout(content);
        lay->setSpacing(8);
        for (const help::Block& b : page.blocks) add(content, lay, b);
        lay->addStretch(1);
        scroll->setWidget(content);
        return scroll;
    }

    QTableWidget* unitTable() const { return unitTable_; }

private:
    QLabel* textLabel(QWidget* parent, const QString& name, const QString& s)
    {
        auto* l = named(new QLabel(s, parent), name, s);
        l->setTextFormat(Qt::PlainText);
        l->setWordWrap(true);
        return l;
    }

    void add(QWidget* parent, QVBoxLayout* lay, const help::Block& b)
    {
        const QString s = utf8(b.text);
        switch (b.kind) {
        case help::Kind::Heading: {
            QLabel* l = textLabel(parent, QStringLiteral("Heading%1").arg(++headings_), s);
            QFont f = l->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() * 1.3);
            l->setFont(f);
            l->setStyleSheet(QStringLiteral("color: #0b2f7a;"));
            lay->addWidget(l);
            break;
        }
        case help::Kind::Text:
            lay->addWidget(textLabel(parent, QStringLiteral("Label%1").arg(++labels_), s));
            break;
        case help::Kind::Formula: {
            QLabel* l = textLabel(parent, QStringLiteral("Formula%1").arg(++formulas_), s);
            l->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            l->setIndent(24);
            lay->addWidget(l);
            break;
        }
        case help::Kind::Note: {
            QLabel* l = textLabel(parent, QStringLiteral("Label%1").arg(++labels_), s);
            QFont f = l->font();
            f.setBold(true);
            l->setFont(f);
            l->setStyleSheet(QStringLiteral("color: #a00000;"));
            lay->addWidget(l);
            break;
        }
        case help::Kind::Picture: {
            const QStringList inside = art::pictureLabels(b.picture);
            const QString spoken = inside.isEmpty() ? s : inside.join(QStringLiteral(", "));
            QLabel* pic = makePicture(parent, QStringLiteral("Picture%1").arg(++pictures_), spoken, b.picture,
                                      pictureSize(b.picture));
            lay->addWidget(pic, 0, Qt::AlignHCenter);
            if (!s.isEmpty()) {
                QLabel* caption = textLabel(parent, QStringLiteral("Label%1").arg(++labels_), s);
                caption->setAlignment(Qt::AlignHCenter);
                QFont f = caption->font();
                f.setItalic(true);
                caption->setFont(f);
                lay->addWidget(caption);
            }
            break;
        }
        case help::Kind::Icons: {
            auto* row = new QHBoxLayout;
            for (const char* key : b.keys) {
                auto* cell = new QVBoxLayout;
                auto* icon = named(new QLabel(parent), QStringLiteral("Picture%1").arg(++pictures_), utf8(key));
                icon->setPixmap(toolbarIcon(utf8(key)).pixmap(QSize(32, 32)));
                icon->setFixedSize(36, 36);
                icon->setAlignment(Qt::AlignCenter);
                auto* keyName = textLabel(parent, QStringLiteral("Label%1").arg(++labels_), utf8(key));
                keyName->setWordWrap(false);
                keyName->setAlignment(Qt::AlignHCenter);
                QFont f = keyName->font();
                f.setPointSizeF(f.pointSizeF() * 0.85);
                keyName->setFont(f);
                cell->addWidget(icon, 0, Qt::AlignHCenter);
                cell->addWidget(keyName, 0, Qt::AlignHCenter);
                row->addLayout(cell);
            }
            row->addSpacing(12);
            row->addWidget(textLabel(parent, QStringLiteral("Label%1").arg(++labels_), s), 1);
            lay->addLayout(row);
            break;
        }
        case help::Kind::UnitTable:
            unitTable_ = makeUnitTable(parent);
            lay->addWidget(unitTable_);
            break;
        }
    }

    static QSize pictureSize(art::Picture kind)
    {
        switch (kind) {
        case art::Picture::BodySketch: return {576, 216};
        case art::Picture::Panels: return {520, 170};
        case art::Picture::BaseFlowDomain: return {520, 220};
        case art::Picture::MotorEquations: return {520, 200};
        case art::Picture::Rocket: return {150, 195};
        case art::Picture::PressureContours:
        case art::Picture::VelocityContours:
        case art::Picture::Mesh: break;
        }
        return {420, 210};
    }

    int pages_ = 0, headings_ = 0, labels_ = 0, formulas_ = 0, pictures_ = 0;
    QTableWidget* unitTable_ = nullptr;
};

QTabWidget* makeTabs(QWidget* owner, const std::vector<help::Page>& pages, QTableWidget** unitTable = nullptr)
{
    auto* tabs = named(new QTabWidget(owner), "SSTab1", "Instructions");
    PageBuilder builder;
    for (const help::Page& p : pages) tabs->addTab(builder.build(p), utf8(p.tab));
    if (unitTable) *unitTable = builder.unitTable();
    return tabs;
}

} // namespace

// ---- ProductWindow -------------------------------------------------------------

ProductWindow::ProductWindow(Forms& forms, const QString& name, const QString& caption) : Form(forms, name, caption)
{
    auto* lay = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    Picture1 = makePicture(this, "Picture1", "Model rocket", art::Picture::Rocket, QSize(150, 195));
    Picture2 = makePicture(this, "Picture2", "Pressure contours about a rocket nose", art::Picture::PressureContours,
                           QSize(200, 100));
    auto* column = new QVBoxLayout;
    QLabel* labels[6];
    addProductLabels(this, column, labels);
    Label1 = labels[0]; Label2 = labels[1]; Label3 = labels[2];
    Label4 = labels[3]; Label5 = labels[4]; Label6 = labels[5];
    top->addWidget(Picture1, 0, Qt::AlignTop);
    top->addLayout(column, 1);
    top->addWidget(Picture2, 0, Qt::AlignVCenter);
    lay->addLayout(top);
    Continue = makeButton(this, "Continue", "Continue");
    Continue->setDefault(true);
    onCommand(Continue, &QPushButton::clicked, this, [this] { Continue_Click(); });
    setCloseCommand([this] { Continue_Click(); });
}

// ---- Welcome ----------------------------------------------------------------

Welcome::Welcome(Forms& forms) : ProductWindow(forms, "Welcome", "Model Rocket CFD Analysis")
{
    auto* buttons = new QHBoxLayout;
    QuitBtn = makeButton(this, "QuitBtn", "Quit");
    buttons->addStretch(1);
    buttons->addWidget(Continue);
    buttons->addWidget(QuitBtn);
    buttons->addStretch(1);
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
    onCommand(QuitBtn, &QPushButton::clicked, this, [this] { QuitBtn_Click(); });
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

// Closing the window from its title bar unloads it like Continue.
// ---- AboutVelmora -------------------------------------------------------------

AboutVelmora::AboutVelmora(Forms& forms) : ProductWindow(forms, "AboutVelmora", "About Velmora")
{
    static_cast<QVBoxLayout*>(layout())->addWidget(Continue, 0, Qt::AlignHCenter);
}

void AboutVelmora::Continue_Click()
{
    forms().unload<AboutVelmora>();
}

// ---- GuideWindow ----------------------------------------------------------------

GuideWindow::GuideWindow(Forms& forms, const QString& name, const QString& caption) : Form(forms, name, caption)
{
    mnuFile = fileMenu(this, new QVBoxLayout(this));
    mnuPrintPage = menuItem(mnuFile, "&Print Page", "mnuPrintPage");
    mnuClose = menuItem(mnuFile, "&Close", "mnuClose");
    onCommand(mnuPrintPage, &QAction::triggered, this, [this] { mnuPrintPage_Click(); });
    onCommand(mnuClose, &QAction::triggered, this, [this] { mnuClose_Click(); });
    setCloseCommand([this] { mnuClose_Click(); });
}

QAction* GuideWindow::addBarItem(const QString& caption, const QString& name)
{
    return barItem(static_cast<QMenuBar*>(layout()->menuBar()), caption, name);
}

void GuideWindow::addPages(QTabWidget* tabs, QSize size)
{
    mnuReturn = addBarItem("Return", "mnuReturn");
    onCommand(mnuReturn, &QAction::triggered, this, [this] { mnuReturn_Click(); });
    SSTab1 = tabs;
    layout()->addWidget(SSTab1);
    resize(size);
}

void GuideWindow::mnuPrintPage_Click() { printWindow(this); }

void GuideWindow::mnuClose_Click() { forms().unload(typeid(*this)); }

void GuideWindow::mnuReturn_Click() { forms().unload(typeid(*this)); }

// ---- VelmoraHelp ----------------------------------------------------------------

VelmoraHelp::VelmoraHelp(Forms& forms) : GuideWindow(forms, "VelmoraHelp", "Velmora Instructions")
{
    mnuBaseFlow = addBarItem("Base Flow", "mnuBaseFlow");
    onCommand(mnuBaseFlow, &QAction::triggered, this, [this] { mnuBaseFlow_Click(); });
    addPages(makeTabs(this, help::instructionPages(), &UnitTable), QSize(760, 600));
}

// The base-flow guide opens on top; this window stays open beneath it.
void VelmoraHelp::mnuBaseFlow_Click() { forms().showModal<BaseFlowHelp>(); }

// ---- BaseFlowHelp ---------------------------------------------------------------

BaseFlowHelp::BaseFlowHelp(Forms& forms) : GuideWindow(forms, "BaseFlowHelp", "Base Flow Instructions")
{
    addPages(makeTabs(this, help::baseFlowPages()), QSize(700, 560));
}

// ---- References -----------------------------------------------------------------

References::References(Forms& forms) : Form(forms, "References", "Velmora References")
{
    auto* lay = new QHBoxLayout(this);
    mnuFile = fileMenu(this, lay, "File");
    mnuPrint = menuItem(mnuFile, "&Print", "mnuPrint");
    mnuClose = menuItem(mnuFile, "Close", "mnuClose");

    Frame1 = named(new QGroupBox("  References", this), "Frame1", "References");
    auto* list = new QVBoxLayout(Frame1);
    const auto& entries = help::references();
    for (size_t i = 0; i < Entries.size() && i < entries.size(); ++i) {
        const QString s = utf8(entries[i]);
        Entries[i] = makeLabel(Frame1, QStringLiteral("Label%1").arg(i + 1), s);
        Entries[i]->setTextFormat(Qt::PlainText);
        Entries[i]->setWordWrap(true);
        list->addWidget(Entries[i]);
    }
    list->addStretch(1);
    lay->addWidget(Frame1, 1);

    auto* side = new QVBoxLayout;
    Picture1 = makePicture(this, "Picture1", "Model rocket", art::Picture::Rocket, QSize(150, 195));
    side->addWidget(Picture1, 0, Qt::AlignHCenter);
    Frame2 = named(new QGroupBox(this), "Frame2", "Related work");
    auto* panel = new QVBoxLayout(Frame2);
    int n = static_cast<int>(Entries.size());
    for (const char* line : help::relatedWork()) {
        QLabel* l = makeLabel(Frame2, QStringLiteral("Label%1").arg(++n), utf8(line));
        l->setAlignment(Qt::AlignHCenter);
        panel->addWidget(l);
    }
    side->addWidget(Frame2);
    side->addStretch(1);
    Close = makeButton(this, "Close", "Close");
    side->addWidget(Close, 0, Qt::AlignHCenter);
    lay->addLayout(side);
    resize(820, 600);

    onCommand(Close, &QPushButton::clicked, this, [this] { Close_Click(); });
    onCommand(mnuClose, &QAction::triggered, this, [this] { mnuClose_Click(); });
    onCommand(mnuPrint, &QAction::triggered, this, [this] { mnuPrint_Click(); });
    setCloseCommand([this] { Close_Click(); });
}

void References::Close_Click() { forms().unload<References>(); }

void References::mnuClose_Click() { forms().unload<References>(); }

void References::mnuPrint_Click() { printWindow(this); }

// ---- FluidVariables -------------------------------------------------------------

FluidVariables::FluidVariables(Forms& forms) : Form(forms, "FluidVariables", "Velmora Fluid Variables")
{
    auto* lay = new QVBoxLayout(this);
    mnuFile = fileMenu(this, lay);
    mnuClose = menuItem(mnuFile, "&Close", "mnuClose");
    lay->addWidget(makeLabel(this, "Title", "Fluid Flow Parameters"));
    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(this, "VariableHeading", "Variable"), 0, 0);
    grid->addWidget(makeLabel(this, "ValueHeading", " Value"), 0, 1);
    grid->addWidget(makeLabel(this, "UnitsHeading", "Units"), 0, 2);
    struct Row {
        const char* caption; TextBox** value; const char* valueName; const char* pattern;
        TextBox** unit; const char* unitName; const char* UnitSystem::*unitText;
    };
    const Row rows[] = {
        {"Rocket Velocity", &UINPUT, "UINPUT", "#.###E+00", &ULABEL, "ULABEL", &UnitSystem::velocity},
        {"Air Pressure", &Pressure, "Pressure", "#####.###", &Label2, "Label2", &UnitSystem::pressure},
        {"Air Density", &Density, "Density", "#.###E+00", &Label3, "Label3", &UnitSystem::density},
        {"Speed of Sound", &Sound, "Sound", "#####.###", &Label4, "Label4", &UnitSystem::velocity},
        {"Fluid Viscosity (Set)", &FluidViscosity, "FluidViscosity", "#.###E+00", &Label5, "Label5",
         &UnitSystem::viscosity},
    };
    int r = 1;
    for (const Row& row : rows) {
        *row.value = makeBox(this, row.valueName, row.caption, QString(), true);
        *row.unit = makeBox(this, row.unitName, QString(row.caption) + " units", QString(), true);
        fitToPattern(*row.value, row.pattern);
        QStringList units;
        for (const UnitSystem& u : UnitSystemTable) units << u.*row.unitText;
        fitToTexts(*row.unit, units);
        addRow(grid, r++, row.caption, *row.value, *row.unit);
    }
    lay->addLayout(grid);
    Close = makeButton(this, "Close", "Close");
    lay->addWidget(Close, 0, Qt::AlignRight);
    onCommand(Close, &QPushButton::clicked, this, [this] { Close_Click(); });
    onCommand(mnuClose, &QAction::triggered, this, [this] { mnuClose_Click(); });
    // The controls the computations write to.
    registerControls({{ControlId::FluidVariables_UINPUT, UINPUT}});
}

void FluidVariables::Close_Click()
{
    Hide();
}

void FluidVariables::mnuClose_Click()
{
    Hide();
}

bool showHelpOrAbout(Forms& forms, const QString& key)
{
    if (key == kHelpKey.key) resumeNext([&] { forms.showModal<VelmoraHelp>(); });
    else if (key == kAboutKey.key) resumeNext([&] { forms.showModal<AboutVelmora>(); });
    else return false;
    return true;
}

} // namespace velmora
