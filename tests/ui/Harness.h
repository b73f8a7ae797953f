#pragma once
// Shared set-up for window tests: a fresh project state and window registry,
// and a scripted modal seam so no dialog ever blocks.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "model/Module1.h"
#include "app/ui/InfoWindows.h"
#include "app/ui/SOLVER.h"
#include "platform/ui/Forms.h"

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

    std::unique_ptr<Module1> state;
    std::unique_ptr<Forms> forms;
    std::vector<MsgAnswer> answers;
    std::map<QString, std::function<void(Form&)>> onShow;
};

} // namespace velmora::testing
