#pragma once
// Window tests: a fresh project state and window registry, and a scripted modal seam so no dialog ever blocks.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

#include <linux/capability.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>

#include "model/Module1.h"
#include "app/ui/Application.h"
#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "geometry/ui/BODYTUBE.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"
#include "sweep/ui/ITERATION.h"

namespace velmora::testing {

class Harness {
public:
    Harness() : state(makeModule1()), forms(std::make_unique<Forms>(*state))
    {
        provideWindows(*forms);
        ModalSeam& seam = ModalSeam::instance();
        seam.reset();
        seam.setMessageHandler([this](const MessageRequest&) { return answers.empty() ? MsgAnswer::Ok : popAnswer(); });
        seam.setShowHandler([this](Form& f) {
            auto it = onShow.find(f.objectName());
            if (it != onShow.end()) it->second(f);
            else if (f.objectName() == "Welcome") static_cast<Welcome&>(f).Continue_Click();
        });
        // The print dialog is accepted; a file dialog is cancelled unless a test answers it.
        seam.setPrintHandler([](QPrinter&) { return true; });
        seam.setFileHandler([this](const FileRequest& r) { return fileAnswer ? fileAnswer(r) : QString(); });
    }
    ~Harness()
    {
        const bool ended = forms->quitRequested();
        forms.reset();
        ModalSeam::instance().reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (ended) clearQuit();
    }

    // Ending the program (Quit on the welcome window, Exit) asks the application to leave its loop. With none
    // running, as here, Qt keeps that request, and every later event loop of the process (a modal dialog's,
    // QSignalSpy::wait's) returns at once; only the application loop clears it as it ends. Run it once.
    static void clearQuit()
    {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QApplication::exec();
    }

    // The main window's start-up (the welcome window continues); the record of shown windows starts empty.
    SOLVER& start()
    {
        SOLVER& s = forms->get<SOLVER>();
        ModalSeam::instance().shownWindows.clear();
        return s;
    }

    // Types the body window's nose length, diameter and tube length.
    void typeBody(const QString& nose, const QString& diameter, const QString& length)
    {
        BODYTUBE& body = forms->get<BODYTUBE>();
        type(body.NoseLength, nose);
        type(body.BodyDiameter, diameter);
        type(body.BodyLength, length);
    }

    // After start-up, in in-lb-sec: a 3 in tangent ogive on a 1 in x 12 in body tube, at this velocity.
    SOLVER& typeRocket(const QString& velocity = "300")
    {
        SOLVER& s = start();
        pick(s.CFDUNITS, "in-lb-sec");
        pick(forms->get<BODYTUBE>().NoseShape, "TANGENT OGIVE");
        typeBody("3", "1", "12");
        type(s.Velocity, velocity);
        return s;
    }

    const std::vector<MessageRequest>& messages() const { return ModalSeam::instance().messages; }

    MsgAnswer popAnswer()
    {
        MsgAnswer a = answers.front();
        answers.erase(answers.begin());
        return a;
    }

    // Types text into a box as a user would: select all, then key in.
    static void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        if (text.isEmpty()) QTest::keyClick(box, Qt::Key_Delete);
        else QTest::keyClicks(box, text);
    }

    // Picks an item from a drop-down list as a user would.
    static void pick(ComboBox* list, const QString& item) { list->pick(item); }

    // Presses the toolbar key with this name.
    static void press(QToolBar* bar, const QString& key)
    {
        for (QAction* a : bar->actions())
            if (a->objectName() == key) return a->trigger();
        FAIL() << "no toolbar key " << key.toStdString();
    }

    // Clicks the toolbar key with this name with the mouse.
    static void click(QToolBar* bar, const QString& key)
    {
        for (QAction* a : bar->actions())
            if (a->objectName() == key) return QTest::mouseClick(bar->widgetForAction(a), Qt::LeftButton);
        FAIL() << "no toolbar key " << key.toStdString();
    }

    // How often a window has been shown modally since start().
    static long timesShown(const QString& window)
    {
        return std::ranges::count(ModalSeam::instance().shownWindows, window);
    }

    std::unique_ptr<Module1> state;
    std::unique_ptr<Forms> forms;
    std::vector<MsgAnswer> answers;
    std::map<QString, std::function<void(Form&)>> onShow;
    std::function<QString(const FileRequest&)> fileAnswer;
};

// A started main window and the project state.
class Started : public ::testing::Test {
protected:
    Harness h;
    SOLVER& s = h.start();
    Module1& m = *h.state;
};

// The window of this class, loaded if it was not.
template <class W>
Form& open(Harness& h) { return h.forms->get<W>(); }

// A message box as "prompt | title", and every box shown so far.
inline QString said(const MessageRequest& r) { return r.prompt + " | " + r.title; }
inline QStringList said(const std::vector<MessageRequest>& all)
{
    QStringList out;
    for (const MessageRequest& r : all) out << said(r);
    return out;
}

// Both panels of a status bar as "panel 1 | panel 2".
inline QString panels(const StatusBar* bar) { return bar->panel(1) + " | " + bar->panel(2); }

// Typed in after start-up: tangent ogive 3 x 1 on a 12 ft tube, tapered fins, 300 ft/s at 4 degrees.
SOLVER& typeRocketWithFins(Harness& h);

// The sweep window opened by the LOOP button on a small mesh (short steps) and shown; with the start angle,
// its increment and the step count typed in, unless the start is empty.
inline ITERATION& openSweep(Harness& h, SOLVER& s, const QString& start = {}, const QString& increment = {},
                            const QString& steps = {})
{
    Harness::pick(s.DomainSize, "10");
    QTest::mouseClick(s.IterateBtn, Qt::LeftButton);
    ITERATION& w = h.forms->get<ITERATION>();
    w.show();
    if (!start.isEmpty()) {
        Harness::type(w.AOAINITIAL, start);
        Harness::type(w.AOAINC, increment);
        Harness::type(w.MAXLOOPS, steps);
    }
    return w;
}

// While it lives, window computations let events run at every chance, so a test reaches events of very short steps.
struct WindowPumpsAtEveryChance {
    WindowPumpsAtEveryChance() { Progress::setWindowPumpInterval(Progress::Clock::duration::zero()); }
    ~WindowPumpsAtEveryChance() { Progress::setWindowPumpInterval(Progress::kWindowPumpInterval); }
};

// Print jobs go to this PDF file; an empty name gives no printer. Undone by setPrinterProvider({}).
inline void printTo(const QString& file)
{
    setPrinterProvider([file]() -> std::unique_ptr<QPrinter> {
        if (file.isEmpty()) return nullptr;
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(file);
        return p;
    });
}

// Runs `act` with files limited to this many bytes (0: no limit), so a write beyond fails as on a full disk.
inline void withFileSizeLimit(rlim_t bytes, const std::function<void()>& act)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{bytes ? bytes : limit.rlim_cur, limit.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    act();
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
}

// Runs `act` in this thread without root's rights past a file's mode: read-only is read-only to it as to a user.
inline void asOrdinaryUser(const std::function<void()>& act)
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved[2]{}, caps[2]{};
    syscall(SYS_capget, &header, saved);
    syscall(SYS_capget, &header, caps);
    caps[0].effective &= ~(1u << CAP_DAC_OVERRIDE | 1u << CAP_DAC_READ_SEARCH | 1u << CAP_FOWNER);
    syscall(SYS_capset, &header, caps);
    act();
    syscall(SYS_capset, &header, saved);
}

// No pixel of the picture differs from its background.
inline bool blank(const PictureBox* pic)
{
    const QImage img = pic->image();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != PictureBox::kBackground) return false;
    return true;
}

} // namespace velmora::testing
