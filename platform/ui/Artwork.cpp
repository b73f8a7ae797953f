#include "platform/ui/Artwork.h"

#include <QApplication>
#include <QFile>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <algorithm>

// The resource lives in a static library: registering it by name keeps the
// linker from dropping it.
static void registerArtResource()
{
    Q_INIT_RESOURCE(art);
}

namespace velmora {

namespace {

void ensureArt()
{
    static const bool registered = (registerArtResource(), true);
    (void)registered;
}

// Keys of standard commands and the desktop theme's name for their icon.
struct ThemeIcon {
    const char* key;
    const char* name;
};
constexpr ThemeIcon kThemeIcons[] = {
    {"PRINT", "document-print"},
    {"HELP", "help-contents"},
    {"ABOUT", "help-about"},
    {"RAWDATA", "document-save"},
};

} // namespace

namespace art {

QStringList pictureLabels(Picture kind)
{
    switch (kind) {
    case Picture::BodySketch:
        return {"Nose Cone", "Body Tube", "Transition", "BaseTube", "L-nose", "L-body",
                "L-transition", "L-base", "D-body (Cd Reference)", "D-transition"};
    case Picture::Panels:
        return {"SOURCE PANELS", "VORTEX PANELS"};
    case Picture::BaseFlowDomain:
        return {"Airframe", "Base Flow", "Computational Domain"};
    case Picture::MotorEquations:
        return {"Rocket motor thrust", "Propellant mass flow rate", "Specific impulse",
                "Effective exhaust velocity", "Total impulse"};
    case Picture::Rocket:
    case Picture::PressureContours:
    case Picture::VelocityContours:
    case Picture::Mesh:
        break;
    }
    return {};
}

QString pictureFile(Picture kind)
{
    const char* name = "rocket";
    switch (kind) {
    case Picture::Rocket: name = "rocket"; break;
    case Picture::PressureContours: name = "pressure-contours"; break;
    case Picture::VelocityContours: name = "velocity-contours"; break;
    case Picture::Mesh: name = "mesh"; break;
    case Picture::BodySketch: name = "body-sketch"; break;
    case Picture::Panels: name = "panels"; break;
    case Picture::BaseFlowDomain: name = "base-flow-domain"; break;
    case Picture::MotorEquations: name = "motor-equations"; break;
    }
    return QStringLiteral(":/art/pictures/%1.svg").arg(QLatin1String(name));
}

QPixmap draw(Picture kind, QSize size)
{
    return draw(kind, size, qGuiApp ? std::max<qreal>(1.0, qGuiApp->devicePixelRatio()) : 1.0);
}

QPixmap draw(Picture kind, QSize size, qreal pixelRatio)
{
    ensureArt();
    QPixmap pm(size * pixelRatio);
    pm.setDevicePixelRatio(pixelRatio);
    pm.fill(Qt::white);
    QSvgRenderer svg(pictureFile(kind));
    const QSizeF canvas = svg.viewBoxF().size();
    if (canvas.isEmpty()) return pm;
    const double s = std::min(size.width() / canvas.width(), size.height() / canvas.height());
    const QSizeF drawn = canvas * s;
    QPainter p(&pm);
    svg.render(&p, QRectF(QPointF((size.width() - drawn.width()) / 2.0, (size.height() - drawn.height()) / 2.0), drawn));
    return pm;
}

} // namespace art

QString toolbarIconFile(const QString& key)
{
    ensureArt();
    const QString file = QStringLiteral(":/art/icons/%1.svg").arg(key.toLower().replace(' ', '-'));
    return QFile::exists(file) ? file : QStringLiteral(":/art/icons/tile.svg");
}

QIcon toolbarIcon(const QString& key)
{
    // One icon per key, shared by every window: the file is read once and
    // drawn when a size is first shown.
    static QHash<QString, QIcon> made;
    if (auto it = made.constFind(key); it != made.cend()) return *it;
    QIcon icon(toolbarIconFile(key));
    for (const ThemeIcon& t : kThemeIcons)
        if (key == QLatin1String(t.key)) icon = QIcon::fromTheme(QLatin1String(t.name), icon);
    made.insert(key, icon);
    return icon;
}

QIcon applicationIcon()
{
    ensureArt();
    return QIcon(QStringLiteral(":/art/velmora.svg"));
}

void installApplicationIcon()
{
    QApplication::setWindowIcon(applicationIcon());
}

} // namespace velmora
