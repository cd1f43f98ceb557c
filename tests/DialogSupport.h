// Driving modal dialogs with real widget events: a test queues what the
// player does, then calls the function that runs the dialog. And waiting,
// with a deadline, for what the window system does in its own time.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace brakkon::test {

/// Runs `act` on the modal dialog of type Form once it shows; a dialog that
/// `act` left open is cancelled so that a failing test cannot hang.
template <typename Form>
void WhenShown(std::function<void(Form&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* form = dynamic_cast<Form*>(QApplication::activeModalWidget());
        if (form == nullptr) {
            ADD_FAILURE() << "no modal dialog of the expected kind is shown";
            return;
        }
        act(*form);
        if (form->isVisible()) {
            ADD_FAILURE() << "the dialog is still open";
            form->reject();
        }
    });
}

/// Lets the events run until `done` holds, for at most `ms` milliseconds (a
/// window system, a file listing or a busy machine may take a moment); true
/// when it holds.
inline bool WaitUntil(const std::function<bool()>& done, int ms = 15000)
{
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(10); // the events of those 10 ms run meanwhile
    }
    return true;
}

} // namespace brakkon::test
