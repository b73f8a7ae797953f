// Start-up: from a fresh project to the main window drawn on screen, with
// the welcome window continued at once, against the same main window built
// and shown without its load handler (the windows it loads, the lists and
// captions it fills). StartUp / BareMainWindow is the cost of start-up.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "bench/GuiSession.h"

namespace {

using namespace velmora;
using velmora::bench::Clock;
using velmora::bench::msSince;
using velmora::bench::Session;

// Times build(session, owned) and the first showing of the window it gives;
// a window the registry does not own is kept in owned, gone before the session.
template <class Build>
void timeShown(benchmark::State& state, Build build)
{
    for (auto _ : state) {
        Session s;
        std::unique_ptr<QWidget> owned;
        const Clock::time_point t0 = Clock::now();
        QWidget& w = build(s, owned);
        w.show();
        QApplication::processEvents(); // expose and first paint
        state.SetIterationTime(msSince(t0) / 1000.0);
        w.hide();
    }
}

void BM_StartUp(benchmark::State& state)
{
    timeShown(state, [](Session& s, std::unique_ptr<QWidget>&) -> QWidget& { return s.forms->get<SOLVER>(); });
}

void BM_BareMainWindow(benchmark::State& state)
{
    timeShown(state, [](Session& s, std::unique_ptr<QWidget>& owned) -> QWidget& {
        owned = std::make_unique<SOLVER>(*s.forms);
        return *owned;
    });
}

BENCHMARK(BM_BareMainWindow)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUp)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
