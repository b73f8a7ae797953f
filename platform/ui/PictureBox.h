#pragma once
// The drawing surface every plot of the program goes through.
//
// Drawing calls work in user coordinates (setScale) and paint at once into a
// retained image the size of the widget; paintEvent only copies that image to
// the screen, so a drawing survives hiding, covering and repainting without
// the caller drawing again. The background is always bright white and the
// default foreground black.
//
// The user scale is mapped over the widget's size at the moment of each call,
// so a window draws once its layout has given the picture its final size.
// A resize keeps the drawing at the top-left and fills new area with white.
//
// Coordinates: toDevice() gives widget pixels (logical pixels). The retained
// image holds device pixels; on a high-density screen one widget pixel is
// image().devicePixelRatio() image pixels in each direction.
//
// For window tests, setRecording(true) makes every call append a Call record
// (kind, user coordinates, colour, text) without changing what is drawn.
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <QVector>
#include <QWidget>

#include <optional>
#include <vector>

namespace velmora {

class PictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Clear, Scale, Line, Box, Pset, Circle, Arc, Text, Polygon };

    // One recorded drawing call. coords holds the user coordinates as passed:
    //   Scale   {x1, y1, x2, y2}            (empty after resetScale)
    //   Line    {x1, y1, x2, y2}            (lineTo records the start point too)
    //   Box     {x1, y1, x2, y2, filled}    (filled is 1 or 0)
    //   Pset    {x, y}
    //   Circle  {cx, cy, radius, aspect}    (whole ellipse)
    //   Arc     {cx, cy, radius, start, end, aspect}
    //   Text    {x, y}
    //   Polygon {x1, y1, x2, y2, ...}
    //   Clear   {}
    struct Call {
        Kind kind;
        std::vector<double> coords;
        QRgb colour = 0;
        QString text;
    };

    static constexpr QRgb kBackground = 0xFFFFFFFFu; // colour 15, bright white
    static constexpr QRgb kForeground = 0xFF000000u; // colour 0, black

    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    // The classic 16-colour table (0 black ... 15 bright white). An index
    // outside 0..15 gives black rather than failing a plot.
    static QRgb qbColor(int n);
    // A colour number red + 256*green + 65536*blue; each channel is taken
    // modulo 256 (bits above the blue byte are ignored).
    static QRgb rgbFromLong(long v);

    // User scale: (x1,y1) is the user point of the top-left corner of the
    // client area, (x2,y2) that of the bottom-right corner. Either axis may
    // run backwards (y upward with y1 > y2). Equal x1,x2 or y1,y2 is ignored.
    void setScale(double x1, double y1, double x2, double y2);
    // Back to widget pixels with the origin top-left.
    void resetScale();
    bool hasScale() const { return scaled_; }

    // Erases drawing and persistent picture to the background, and puts the
    // current point back at user (0,0).
    void clear();

    // Pen width in widget pixels for lines, outlines, arcs and points (>= 1).
    void setDrawWidth(int pixels);
    int drawWidth() const { return drawWidth_; }

    void line(double x1, double y1, double x2, double y2);
    void line(double x1, double y1, double x2, double y2, QRgb colour);
    // A line from the current point; the end becomes the current point.
    void lineTo(double x, double y);
    void lineTo(double x, double y, QRgb colour);
    // Rectangle with corners (x1,y1) and (x2,y2), both included; filled
    // paints the inside in the same colour.
    void box(double x1, double y1, double x2, double y2, QRgb colour, bool filled);
    void pset(double x, double y, QRgb colour);
    // Circle, ellipse or elliptical arc centred on (cx,cy).
    // - radius is measured in units of the horizontal user scale;
    // - aspect is height/width: with aspect >= 1 the radius is the vertical
    //   semi-axis, otherwise the horizontal one;
    // - angles are radians counter-clockwise (as seen on screen) from the
    //   positive x axis; a missing start is 0, a missing end 2*pi; the arc
    //   runs counter-clockwise from start to end, and equal angles give the
    //   whole ellipse. A negative angle also draws the radius from the
    //   centre to that end of the arc (its magnitude is the angle). Angles
    //   beyond a full turn are reduced modulo 2*pi.
    void circle(double cx, double cy, double radius, QRgb colour,
                std::optional<double> startAngle = std::nullopt,
                std::optional<double> endAngle = std::nullopt, double aspect = 1.0);
    // Text with its top-left corner at the user point, in the widget font;
    // several lines are separated by '\n'. The current point moves to
    // (x, just below the text), ready for the next line.
    void text(double x, double y, const QString& s);
    void text(double x, double y, const QString& s, QRgb colour);
    // Width/height the text would take, in user units (always positive).
    double textWidth(const QString& s) const;
    double textHeight(const QString& s) const;
    // Filled polygon (outline in the same colour, so neighbouring cells of a
    // contour plot meet without gaps). Fewer than three points draw nothing.
    void polygon(const QVector<QPointF>& userPts, QRgb colour);

    double currentX() const { return curX_; }
    double currentY() const { return curY_; }
    void setCurrentPoint(double x, double y);

    // Stores the present drawing as the picture kept for printing. A later
    // clear() discards it as well.
    void makePersistent();
    bool hasPersistentPicture() const { return !persistent_.isNull(); }
    QImage persistentPicture() const { return persistent_; }

    // The retained drawing in device pixels.
    QImage image() const { return image_; }
    // User point to widget pixels (unrounded).
    QPointF toDevice(double x, double y) const;

    void setRecording(bool on) { recording_ = on; }
    bool isRecording() const { return recording_; }
    const std::vector<Call>& calls() const { return calls_; }
    void clearRecording() { calls_.clear(); }

    QSize sizeHint() const override;

    // Keeps the picture's height at `ratio` times its width in layouts (the
    // flow-domain pictures are twice as wide as high); 0 turns it off.
    void setHeightForWidthRatio(double ratio);
    bool hasHeightForWidth() const override { return hfwRatio_ > 0; }
    int heightForWidth(int w) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    double hfwRatio_ = 0;
    void ensureImage();
    QRectF clipBounds() const;
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;
    void record(Kind kind, std::vector<double> coords, QRgb colour, const QString& text = {});
    void drawLine(double x1, double y1, double x2, double y2, QRgb colour);
    void drawText(double x, double y, const QString& s, QRgb colour);

    QImage image_;
    QImage persistent_;
    bool scaled_ = false;
    double sx1_ = 0, sy1_ = 0, sx2_ = 1, sy2_ = 1;
    double curX_ = 0, curY_ = 0;
    int drawWidth_ = 1;
    bool recording_ = false;
    std::vector<Call> calls_;
};

} // namespace velmora
