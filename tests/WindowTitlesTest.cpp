// Every window of the game carries its own caption and nothing else: the
// application gives the window system no display name to append to them.
#include "tests/DialogSupport.h"
#include "tests/EditorSupport.h"
#include "shell/ErrorReporting.h"
#include "game/ErrorReport.h"
#include "platform/FileDialogs.h"
#include "editor/GateEditerUnit.h"
#include "shell/StartUnit.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <functional>

namespace brakkon {
namespace {

/// The caption of the modal dialog that `run` shows, which is then closed.
QString ModalCaption(const std::function<void()>& run)
{
    QString caption;
    test::WhenShown<QDialog>([&caption](QDialog& dialog) {
        caption = dialog.windowTitle();
        dialog.reject();
    });
    run();
    return caption;
}

TEST(WindowTitles, EveryWindowShowsItsOwnCaptionAlone)
{
    NameApplication();
    EXPECT_EQ(QGuiApplication::applicationName(), "Brakkon");
    EXPECT_EQ(QGuiApplication::desktopFileName(), "brakkon");
    // No display name of its own, which Qt would put after every caption: it
    // follows the application's name.
    QGuiApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "probe");
    NameApplication();

    test::EditorFixture e({"Game.dat", "Game"}, {}, false);
    MainForm& form = *e.form;
    GateType gate;
    const std::pair<const char*, std::function<QString()>> windows[] = {
        {"Veltrox Brakkon", [] { return ModalCaption([] { (void)ShowIntro(test::BuiltDir.string()); }); }},
        {"Brakkon", [&] { return form.windowTitle(); }},
        {"Game Control", [&] { return ModalCaption([&] { QTest::keyClick(&form, Qt::Key_5); }); }},
        {"Error", [&] {
             ErrorHandler recorder = SetErrorHandler({});
             InstallErrorBox(&form);
             const QString caption = ModalCaption([] { ReportError(MsgDataIoError); });
             SetErrorHandler(std::move(recorder));
             return caption;
         }},
        {"Open", [&] { return ModalCaption([&] { (void)RunFileDialog(&form, FileDialogMode::Open); }); }},
        {"Save As", [&] { return ModalCaption([&] { (void)RunFileDialog(&form, FileDialogMode::Save); }); }},
        {"Game Editor", [&] {
             e.Open();
             return e.editor->windowTitle();
         }},
        {"GateEditer", [&] { return ModalCaption([&] { (void)EditGate(&gate, e.editor.get()); }); }},
    };
    for (const auto& [caption, shown] : windows) EXPECT_EQ(shown(), QString::fromLatin1(caption));
}

} // namespace
} // namespace brakkon
