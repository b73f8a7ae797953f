// Timing of the mesh drawing: the triangles and overlay of a meridian-plane
// mesh drawn into a picture the size of a maximised main window's, at the
// default 20 x 20 grid with 8 meridians and the largest 50 x 50 grid with 12;
// and the same drawing replayed when the picture is resized.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QProgressBar>

#include "bench/CoreBench.h"
#include "bodyflow/MeshDrawing.h"
#include "bodyflow/ui/MeshPainter.h"
#include "platform/ui/PictureBox.h"

namespace {

using namespace velmora;

std::unique_ptr<Module1> rocket(double mesh, int meridians)
{
    auto m = bench::meshedRocket(mesh, meridians);
    testing::addFourFins(*m);
    NullProgress np;
    GRID(*m, 300, np);
    return m;
}

void BM_MeshDraw(benchmark::State& state, double mesh, int meridians, bool withBar)
{
    auto m = rocket(mesh, meridians);
    const MeshScale scale = *mainMeshScale(*m);
    const std::vector<MeshStroke> overlay = meshOverlay(*m, scale, true);
    PictureBox picture;
    picture.resize(1200, 600);
    QProgressBar bar;
    bar.resize(600, 20);
    if (withBar) bar.show();
    for (auto _ : state) {
        picture.clear();
        picture.setScale(0, 500, 500, 0);
        paintMesh(&picture, *m, scale, 1, overlay, withBar ? &bar : nullptr);
        QApplication::processEvents();
    }
    state.counters["lines"] = 3 * m->MeshElementCount;
}

void BM_MeshReplay(benchmark::State& state, double mesh, int meridians)
{
    auto m = rocket(mesh, meridians);
    const MeshScale scale = *mainMeshScale(*m);
    PictureBox picture;
    picture.resize(1200, 600);
    picture.setScale(0, 500, 500, 0);
    paintMesh(&picture, *m, scale, 1, meshOverlay(*m, scale, true), nullptr);
    bool big = false;
    for (auto _ : state) {
        big = !big;
        picture.resize(big ? 1400 : 1200, big ? 700 : 600);
        benchmark::DoNotOptimize(picture.image().constBits());
    }
}

BENCHMARK_CAPTURE(BM_MeshDraw, mesh20x20_8, 20, 8, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeshDraw, mesh50x50_12, 50, 12, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeshDraw, mesh50x50_12_bar, 50, 12, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MeshReplay, mesh50x50_12, 50, 12)->Unit(benchmark::kMillisecond);

} // namespace
