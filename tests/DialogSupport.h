// Driving modal dialogs with real widget events: a test queues what the
// player does, then calls the function that runs the dialog.
#pragma once

#include <QApplication>
#include <QDialog>
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

} // namespace brakkon::test
