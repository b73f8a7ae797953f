#pragma once
// Shared set-up for window tests: a fresh project state and window registry,
// and a scripted modal seam so no dialog ever blocks.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <QToolBar>

#include <algorithm>
#include <functional>
#include <map>

#include "model/Module1.h"
#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PictureBox.h"
#include "platform/ui/Printing.h"

namespace velmora::testing {

class Harness {
public:
    Harness() : state(makeModule1()), forms(std::make_unique<Forms>(*state))
    {
        ModalSeam& seam = ModalSeam::instance();
        seam.reset();
        seam.setMessageHandler([this](const MessageRequest& r) {
            return answers.empty() ? MsgAnswer::Ok : popAnswer();
        });
        seam.setShowHandler([this](Form& f) {
            auto it = onShow.find(f.objectName());
            if (it != onShow.end()) it->second(f);
            else if (f.objectName() == "Welcome") static_cast<Welcome&>(f).Continue_Click();
        });
        // The print dialog is accepted; a file dialog is cancelled unless a
        // test answers it.
        seam.setPrintHandler([](QPrinter&) { return true; });
        seam.setFileHandler([this](const FileRequest& r) { return fileAnswer ? fileAnswer(r) : QString(); });
    }
    ~Harness()
    {
        forms.reset();
        ModalSeam::instance().reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Runs the main window's start-up (the welcome window continues).
    // The record of shown windows starts empty after it.
    SOLVER& start()
    {
        SOLVER& s = forms->get<SOLVER>();
        ModalSeam::instance().shownWindows.clear();
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

    // How often a window has been shown modally since start().
    static long timesShown(const QString& window)
    {
        const auto& v = ModalSeam::instance().shownWindows;
        return std::count(v.begin(), v.end(), window);
    }

    std::unique_ptr<Module1> state;
    std::unique_ptr<Forms> forms;
    std::vector<MsgAnswer> answers;
    std::map<QString, std::function<void(Form&)>> onShow;
    std::function<QString(const FileRequest&)> fileAnswer;
};

// Print jobs go to this PDF file; an empty name gives a printer that cannot
// be opened. Undone by the next call or by setPrinterProvider({}).
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
