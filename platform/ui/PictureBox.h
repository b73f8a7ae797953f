#pragma once
// The drawing surface every plot of the program goes through.
//
// Drawing calls work in user coordinates (setScale) and paint at once into a
// retained image the size of the widget; paintEvent only copies that image to
// the screen, so a drawing survives hiding, covering and repainting without
// the caller drawing again. The background is always bright white and the
// default foreground black.
//
// Every call since the last clear() is also kept, in user coordinates, as the
// picture's drawing. When the picture changes size (or moves to a screen of
// another pixel density) the image is drawn anew from it, so the drawing fills
// the picture at any size, and calls made before the picture had a size show
// once it has one. Circles and arcs keep their shape in user units: an
// ellipse drawn on a picture twice as wide as high stays on the same user
// points when the picture is resized to another shape.
//
// A point exactly on the right or bottom edge of the user scale lands on the
// last pixel column or row, so a drawing that reaches the scale's far edge
// (a base face at x = 500 of 0..500) stays visible.
//
// A run of calls inside a Batch shares one painter and one repaint.
//
// Coordinates: toDevice() gives widget pixels (logical pixels). The retained
// image holds device pixels; on a high-density screen one widget pixel is
// image().devicePixelRatio() image pixels in each direction, and lines are as
// many device pixels wide (a 1-pixel line stays as wide as the text beside it).
//
// For window tests, setRecording(true) makes every call append a Call record
// (kind, user coordinates, colour, text) without changing what is drawn.
#include <QImage>
#include <QLineF>
#include <QLayout>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QString>
#include <QVector>
#include <QWidget>

#include <QStringList>

#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

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
    bool hasScale() const { return scale_.on; }

    // Erases drawing and persistent picture to the background, and puts the
    // current point back at user (0,0).
    void clear();

    // Pen width in widget pixels for lines, outlines, arcs and points (>= 1).
    void setDrawWidth(int pixels);
    int drawWidth() const { return drawWidth_; }
    // Lines also widen as the picture grows beyond its design size (by the
    // smaller of the two growth factors), so strokes laid side by side one
    // pixel apart at the design size, as a bold axis, stay one solid stroke.
    void setPensFollowSize(bool on) { pensFollowSize_ = on; }
    // Whole circles are markers (points of a plotted curve): round on the
    // screen at any shape of the picture, their radius in x-scale units at
    // the design size, grown as the smaller of the two growths.
    void setCirclesAreMarkers(bool on) { markers_ = on; }

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
    // clear() discards it as well. The kept picture is the drawing's calls,
    // drawn at the picture's size of the moment it is asked for.
    void makePersistent();
    bool hasPersistentPicture() const { return persistent_.has_value(); }
    QImage persistentPicture() const;

    // The retained drawing in device pixels.
    QImage image() const;
    // The present drawing drawn afresh at the given size in widget pixels
    // (device pixel ratio `dpr`), as a print or export at another size.
    QImage render(QSize size, qreal dpr = 1.0) const;

    // One painter and one repaint for every call made while it lives; nests.
    class Batch {
    public:
        explicit Batch(PictureBox* picture) : picture_(picture) { picture_->beginBatch(); }
        ~Batch() { picture_->endBatch(); }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        PictureBox* picture_;
    };
    void beginBatch() { ++batchDepth_; }
    void endBatch();
    // User point to widget pixels (unrounded).
    QPointF toDevice(double x, double y) const;

    void setRecording(bool on) { recording_ = on; }
    bool isRecording() const { return recording_; }
    const std::vector<Call>& calls() const { return calls_; }
    void clearRecording() { calls_.clear(); }

    // The size the picture is designed for: its size hint, so a window opens
    // with each picture at this size and grows or shrinks it from there.
    void setDesignSize(QSize size);
    QSize sizeHint() const override;

    // Keeps the picture's height at `ratio` times its width in layouts (the
    // flow-domain pictures are twice as wide as high); 0 turns it off.
    void setHeightForWidthRatio(double ratio);
    double heightForWidthRatio() const { return hfwRatio_; }
    bool hasHeightForWidth() const override { return hfwRatio_ > 0; }
    int heightForWidth(int w) const override;
    // Without a fixed ratio: the least height, as a fraction of the width,
    // the picture keeps in a PlotLayout (so a wide window does not flatten
    // it to a strip); 0 none.
    void setLeastHeightRatio(double ratio) { leastRatio_ = ratio; }
    double leastHeightRatio() const { return leastRatio_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // One kept call: its coordinates are coords_[first, first + count).
    struct Op {
        Kind kind;
        QRgb colour = 0;
        int width = 1;        // draw width in force
        bool filled = false;  // Box
        bool partial = false; // Arc (start and end given)
        double shape = 0;     // Circle, Arc: pixel aspect of the user scale when drawn, 0 unknown
        std::size_t first = 0, count = 0;
        int text = -1;
    };
    struct Drawing {
        std::vector<Op> ops;
        std::vector<double> coords;
        QStringList texts;
        void clear();
    };
    struct Scale {
        bool on = false;
        double x1 = 0, y1 = 0, x2 = 1, y2 = 1;
    };

    double hfwRatio_ = 0;
    double leastRatio_ = 0;
    QSize canvas() const;
    QImage renderDrawing(const Drawing& d, QSize logical, qreal dpr) const;
    bool ensureImage() const;
    void closePainter() const;
    QPainter* painter();
    void callDrawn();
    void keep(Kind kind, std::initializer_list<double> coords, QRgb colour, double shape = 0, bool partial = false,
              const QString& text = {});
    void replay(QPainter& p, const Drawing& d) const;
    double scaleShape() const;
    QRectF clipBounds() const;
    double pixelsPerUnitX() const;
    double pixelsPerUnitY() const;
    QPointF pixel(double x, double y) const;
    void record(Kind kind, std::vector<double> coords, QRgb colour, const QString& text = {});
    void rasterLine(QPainter& p, double x1, double y1, double x2, double y2, QRgb colour) const;
    void usePen(QPainter& p, QRgb colour, int width) const;
    int deviceWidth(const QPainter& p, int width) const;
    void flushLines() const;
    void rasterBox(QPainter& p, double x1, double y1, double x2, double y2, QRgb colour, bool filled) const;
    void rasterPset(QPainter& p, double x, double y, QRgb colour) const;
    void rasterEllipse(QPainter& p, double cx, double cy, double radius, double aspect, double shape, bool partial,
                       double start, double end, QRgb colour) const;
    void rasterText(QPainter& p, double x, double y, const QString& s, QRgb colour) const;
    void rasterPolygon(QPainter& p, const double* xy, std::size_t n, QRgb colour) const;

    // The image and its painter follow the widget's size lazily, also from
    // const accessors.
    mutable QImage image_;
    mutable QSize imageSize_;  // the widget size image_ was drawn for
    // Calls made while the picture is not on screen are kept but not drawn;
    // the image is drawn from them when it is next needed.
    mutable bool imageBehind_ = false;
    mutable QSize renderSize_; // while drawing at another size than the widget's
    mutable std::unique_ptr<QPainter> painter_;
    // The pen last set by usePen, and on which painter.
    mutable const QPainter* penFor_ = nullptr;
    mutable QRgb penColour_ = 0;
    mutable int penWidth_ = 0;
    QSize designSize_{320, 240};
    bool pensFollowSize_ = false;
    bool markers_ = false;
    // Thin lines not yet drawn, and the painter they belong to (flushLines).
    mutable std::vector<QLineF> lineRun_;
    mutable QPainter* runOn_ = nullptr;
    static constexpr std::size_t kLineRun = 4096;
    Drawing drawing_;
    std::optional<Drawing> persistent_;
    int batchDepth_ = 0;
    bool dirty_ = false;
    // The scale and draw width in force; replay() walks them through the
    // kept calls and puts them back.
    mutable Scale scale_;
    mutable int drawWidth_ = 1;
    double curX_ = 0, curY_ = 0;
    bool recording_ = false;
    std::vector<Call> calls_;
};

// Lays out one picture with what belongs beside it: the picture takes the room
// the layout is given (at the largest size of its height-for-width ratio that
// fits, when it has one, so a drawing whose user scale assumes that shape is
// never stretched out of it), and the labels, legend strips and headings move
// and stretch with it, so they stay beside the part of the plot they name.
//
// Beside the picture, on each side, stand columns (left, right) or rows (top,
// bottom), numbered outward from 0 next to the picture; a column is as wide as
// its widest item, a row as high as its highest. An item is placed along its
// side by `at`, the fraction of the picture's height (left, right; 0 the top
// edge) or width (top, bottom; 0 the left edge):
//  - Centre: the item's middle stands at that point (an axis label on its
//    grid line); the layout keeps room for what reaches past the picture;
//  - Inside: the item stays within the picture's span, at its start for 0 and
//    its end for 1 (a range label at the top or bottom edge, a heading).
// `shift` moves an item along its side by that many of its own heights or
// widths. A strip spans the picture's whole height or width; a strip with a
// height-for-width (a drawing of fixed shape above the plot) is as high as
// that width gives. The rest of the room stays empty, the whole block placed
// by the alignment.
class PlotLayout : public QLayout {
public:
    enum class Anchor { Centre, Inside };

    explicit PlotLayout(PictureBox* picture, Qt::Alignment align = Qt::AlignHCenter | Qt::AlignTop);
    ~PlotLayout() override;

    void addBeside(QWidget* w, Qt::Edge side, int line, double at, Anchor anchor = Anchor::Centre, double shift = 0);
    void addBeside(QLayout* l, Qt::Edge side, int line, double at, Anchor anchor = Anchor::Centre, double shift = 0);
    // A strip at the left or right widens by `widen` pixels for each pixel the
    // picture stands higher than its least height (a drawing beside the plot
    // that keeps its shape, as high as the plot).
    void addStrip(QWidget* w, Qt::Edge side, int line, double widen = 0);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        Qt::Edge side = Qt::LeftEdge;
        int line = 0;
        double at = 0;
        Anchor anchor = Anchor::Centre;
        double shift = 0;
        bool strip = false;
        double widen = 0;
    };
    struct Margins {
        int left = 0, right = 0, top = 0, bottom = 0;
        double ratio = 0;  // strips above and below as high as ratio times the picture's width
    };
    void add(QLayoutItem* item, Qt::Edge side, int line, double at, Anchor anchor, double shift, bool strip);
    Margins margins(bool hint, QSize picture) const;
    std::vector<int> lineSizes(Qt::Edge side, bool hint) const;
    QSize blockSize(bool hint) const;
    int widening(Qt::Edge side, int pictureHeight) const;

    PictureBox* picture_;
    QLayoutItem* pictureItem_ = nullptr;
    std::vector<Entry> entries_;
    Qt::Alignment align_;
};

} // namespace velmora
