// Thin lines drawn in one run must land on the pixels they land on when each
// is drawn and shown on its own, whatever their colours, directions and
// clipping, and a wide line or another kind of call in between keeps its
// place in the order.
#include "platform/ui/PictureBox.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cmath>

using velmora::PictureBox;

namespace {

void drawFan(PictureBox& pb)
{
    const QRgb colours[] = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)};
    for (int i = 0; i < 90; ++i) {
        const double a = i * 0.07;
        const double r = 40 + 3 * i;  // the longer ones leave the picture
        pb.line(250, 250, 250 + r * std::cos(a), 250 + r * std::sin(a), colours[i / 7 % 3]);
        pb.line(250 + r * std::cos(a), 250 - r * std::sin(a), 250, 250, colours[i % 3]);
        if (i % 17 == 0) pb.line(100 + i, 100, 100 + i, 100, colours[1]);  // a single point
        if (i == 40) {
            pb.setDrawWidth(3);
            pb.line(0, 0, 500, 500, colours[2]);
            pb.setDrawWidth(1);
        }
        if (i == 60) pb.box(200, 200, 300, 300, qRgb(0, 128, 0), true);
    }
}

TEST(PictureBoxRuns, ThinLinesInOneRunDrawWhatSingleLinesDraw)
{
    PictureBox single, batched;
    for (PictureBox* p : {&single, &batched}) {
        p->setFixedSize(400, 300);
        p->setScale(0, 500, 500, 0);
        p->show();
    }
    QApplication::processEvents();
    drawFan(single);  // each call ends its own drawing
    {
        PictureBox::Batch run(&batched);
        drawFan(batched);
    }
    const QImage image = single.image();
    EXPECT_EQ(batched.image(), image);
    // The drawing made again at the same size, all its lines in runs.
    EXPECT_EQ(single.render(single.size(), image.devicePixelRatio()), image);
}

} // namespace
