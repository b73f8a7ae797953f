// The artwork from its SVG resource: every toolbar key and picture drawn from its own file at pixel ratio 2, the words
// a picture speaks drawn in it, and the program icon on every window.
#include <QFile>
#include <QMessageBox>
#include <QSet>

#include "platform/ui/Artwork.h"
#include "baseflow/ui/NavierStokes.h"
#include "bodyflow/ui/PlotResults.h"
#include "finpanel/ui/FinPanelWindows.h"
#include "geometry/ui/GeometryWindows.h"
#include "stability/ui/CROSSFLOW.h"
#include "sweep/ui/ITERATION.h"
#include "stability/ui/PressureCenter.h"
#include "tests/ui/Harness.h"

namespace velmora {
namespace {

// Pixels that are not transparent, and the distinct colours among them.
std::pair<int, int> inked(const QImage& image)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 0) {
                ++count;
                colours.insert(img.pixel(x, y));
            }
    return {count, static_cast<int>(colours.size())};
}

// Every key's icon comes from its own file, sharp at pixel ratio 2 and unlike every other key's; an unknown key gets
// the plain tile. Every picture fills its pixmap at ratio 2 and holds the words it gives to screen readers.
TEST(Artwork, KeysAndPicturesDrawnFromTheirFilesAtPixelRatioTwo)
{
    const QString tile = toolbarIconFile("NO SUCH KEY");
    EXPECT_EQ(tile, ":/art/icons/tile.svg");
    QList<QImage> seen;
    for (const char* key : {"BODY", "FINS", "PLOT", "CP", "BASE FLOW", "HELP", "ABOUT", "MESH", "SOLVE", "LOOP",
                            "ABORT", "PRINT", "REFRESH", "RETURN", "PANAERO", "RULERS", "RESIZE", "OMITSHAPE",
                            "CROSSFLOW", "SCALEDATA", "RESETDATA", "YSCALEUP", "PRNDATA", "RAWDATA", "BARROWMANS"}) {
        const QString file = toolbarIconFile(key);
        ASSERT_TRUE(file != tile && QFile::exists(file)) << key;
        const QPixmap pm = QIcon(file).pixmap(QSize(32, 32), 2.0);
        EXPECT_EQ(pm.size(), QSize(64, 64)) << key;
        EXPECT_GT(inked(pm.toImage()).first, 64 * 64 / 8) << key;
        // Drawn at the device size, not a 32-pixel picture scaled up.
        EXPECT_NE(pm.toImage(), QIcon(file).pixmap(QSize(32, 32), 1.0).toImage().scaled(64, 64)) << key;
        EXPECT_FALSE(seen.contains(pm.toImage())) << key;
        seen << pm.toImage();
        if (!QIcon::hasThemeIcon(toolbarIcon(key).name())) {
            EXPECT_EQ(toolbarIcon(key).pixmap(QSize(32, 32), 2.0).toImage(), pm.toImage()) << key;
        }
    }

    using art::Picture;
    for (Picture kind : {Picture::Rocket, Picture::PressureContours, Picture::VelocityContours, Picture::Mesh,
                         Picture::BodySketch, Picture::Panels, Picture::BaseFlowDomain, Picture::MotorEquations}) {
        const QPixmap pm = art::draw(kind, QSize(260, 130), 2.0);
        EXPECT_EQ(std::tuple(pm.size(), pm.devicePixelRatio()), std::tuple(QSize(520, 260), 2.0));
        EXPECT_GT(inked(pm.toImage()).second, 16) << art::pictureFile(kind).toStdString();
        QFile svg(art::pictureFile(kind));
        ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << art::pictureFile(kind).toStdString();
        const QString text = QString::fromUtf8(svg.readAll());
        for (const QString& words : art::pictureLabels(kind))
            EXPECT_TRUE(text.contains(">" + words + "<")) << words.toStdString();
    }
}

// With the program icon installed, the main window, the windows start-up loads, the working and information windows
// and a message box all carry it; none has an icon of its own.
TEST(Artwork, EveryWindowCarriesTheProgramIcon)
{
    installApplicationIcon();
    const QIcon program = QApplication::windowIcon();
    ASSERT_FALSE(program.pixmap(QSize(16, 16)).isNull());
    EXPECT_GT(inked(program.pixmap(QSize(64, 64)).toImage()).first, 64 * 64 / 2);
    {
        testing::Harness h;
        h.start();
        using testing::open;
        for (auto load : {&open<FluidVariables>, &open<GeoBody>, &open<PlotResults>, &open<ITERATION>,
                          &open<PressureCenter>, &open<CROSSFLOW>, &open<NavierStokes>, &open<AboutVelmora>,
                          &open<VelmoraHelp>, &open<BaseFlowHelp>, &open<References>})
            load(h);
        int windows = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!qobject_cast<Form*>(w)) continue;
            ++windows;
            EXPECT_EQ(w->windowIcon().cacheKey(), program.cacheKey()) << w->objectName().toStdString();
        }
        EXPECT_GE(windows, 15);
        auto box = buildMessageBox({"Are you sure?", "Exit Velmora", MsgButtons::OkCancel, MsgIcon::Question},
                                   h.forms->mainWindow());
        EXPECT_EQ(box->windowIcon().cacheKey(), program.cacheKey());
    }
    QApplication::setWindowIcon(QIcon());
}

} // namespace
} // namespace velmora
