#pragma once
// Shared by the benchmarks of the windows: a fresh project and its windows
// (offscreen), dialogs answered at once, and a millisecond clock.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <memory>

#include "app/ui/Application.h"
#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "geometry/ui/BODYTUBE.h"
#include "model/Module1.h"
#include "platform/ui/Forms.h"

namespace velmora::bench {

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// The longest stretch between turns of the event loop while f runs.
template <class F>
double longestGap(F&& f)
{
    Clock::time_point last = Clock::now();
    double gap = 0;
    QTimer tick;
    tick.setInterval(0);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        gap = std::max(gap, msSince(last));
        last = Clock::now();
    });
    tick.start();
    last = Clock::now();
    f();
    gap = std::max(gap, msSince(last));
    tick.stop();
    return gap;
}

// The counters of a window's timing beside the same work done alone, in
// milliseconds per iteration: window, alone, their ratio, and the longest
// gap between event-loop turns.
inline void windowBesideAlone(benchmark::State& st, double window, double alone, double gap)
{
    const double n = static_cast<double>(st.iterations());
    st.counters["window_ms"] = window / n;
    st.counters["alone_ms"] = alone / n;
    st.counters["ratio"] = window / alone;
    st.counters["gap_ms"] = gap;
}

struct Session {
    Session() : state(makeModule1()), forms(std::make_unique<Forms>(*state))
    {
        provideWindows(*forms);
        ModalSeam& seam = ModalSeam::instance();
        seam.reset();
        seam.setMessageHandler([](const MessageRequest&) { return MsgAnswer::Ok; });
        seam.setShowHandler([](Form& f) {
            if (f.objectName() == "Welcome") static_cast<Welcome&>(f).Continue_Click();
        });
    }
    ~Session()
    {
        forms.reset();
        ModalSeam::instance().reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::unique_ptr<Module1> state;
    std::unique_ptr<Forms> forms;

    // A tangent ogive 3 x 1 on a 12 tube at 300, typed in as a user would,
    // the main window shown at 1000 x 700.
    SOLVER& typeRocket(const char* mesh, const char* meridians)
    {
        SOLVER& w = forms->get<SOLVER>();
        BODYTUBE& body = forms->get<BODYTUBE>();
        w.CFDUNITS->pick("in-lb-sec");
        body.NoseShape->pick("TANGENT OGIVE");
        body.NoseLength->setText("3");
        body.BodyDiameter->setText("1");
        body.BodyLength->setText("12");
        w.Velocity->setText("300");
        w.DomainSize->pick(mesh);
        w.MERIDIANS->pick(meridians);
        w.resize(1000, 700);
        w.show();
        QApplication::processEvents();
        return w;
    }
};

} // namespace velmora::bench
