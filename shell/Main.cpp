// Program entry: the command line, the application titled "Brakkon", the main
// window with the hidden Game Editor, and the message loop until the main
// window closes.
#include "shell/ErrorReporting.h"
#include "game/ErrorReport.h"
#include "game/FileIo.h"
#include "platform/Fonts.h"
#include "editor/ImagesUnit.h"
#include "shell/KeysTable.h"
#include "shell/CommandLine.h"
#include "shell/MainUnit.h"
#include "shell/NetGameDialog.h"
#include "shell/StartUnit.h"
#include "platform/X11Keyboard.h"

#include <QApplication>
#include <QSettings>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* UsageText =
    "usage: brakkon [--record FILE | --replay FILE] [--host [PORT] | --join HOST[:PORT]]\n"
    "\n"
    "  --record FILE  record every game played, from the first one's start until\n"
    "                 the window closes, into FILE (written when the window closes\n"
    "                 or SIGINT or SIGTERM ends the game)\n"
    "  --replay FILE  show a recorded game in the window (no intro; keys and menu\n"
    "                 do nothing while it plays); refused unless the game's data\n"
    "                 file is the one it was recorded with\n"
    "  --host [PORT]  host a network game: wait for one player on UDP port PORT\n"
    "                 (28460 unless given; ADDRESS:PORT listens on that address\n"
    "                 only) and show this machine's addresses\n"
    "  --join HOST[:PORT]\n"
    "                 join the network game hosted at HOST\n"
    "  --help         this text and the keys\n"
    "\n"
    "Options of one dash (-platform, -display) go to Qt.\n";

/// While a game is recorded, SIGINT and SIGTERM end the program as "Exit"
/// does, so that the recording is written: the handler only writes a byte to
/// a pipe that the event loop watches.
int EndSignalPipe[2] = {-1, -1};

void OnEndSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(EndSignalPipe[1], &byte, 1);
}

void QuitOnEndSignals(QObject& owner)
{
    if (::pipe(EndSignalPipe) != 0) return; // the signals end the program at once, as without a recording
    auto* notifier = new QSocketNotifier(EndSignalPipe[0], QSocketNotifier::Read, &owner);
    QObject::connect(notifier, &QSocketNotifier::activated, &owner, [] { QCoreApplication::quit(); });
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

} // namespace

int main(int argc, char** argv)
{
    brakkon::CommandLine options;
    if (const std::string why = brakkon::ParseCommandLine(argc, argv, options); !why.empty()) {
        std::fprintf(stderr, "brakkon: %s\n%s", why.c_str(), UsageText);
        return 2;
    }
    if (options.Help) {
        std::printf("%s\n%s", UsageText, KeysTable);
        return 0;
    }
    // The game draws on a QImage and shows it through the backing store: no
    // OpenGL integration to load at start.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    // Qt's own event loop, not glib's: a frame's wake-up costs less, and
    // nothing here needs glib's loop (the dialogs are Qt's own, SDL is polled).
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    std::thread fontConfig = brakkon::ReadFontConfigAhead();
    QApplication app(argc, argv);
    fontConfig.join(); // before the first font
    brakkon::UseDetectableAutoRepeat(); // a held key: one press, one release
    brakkon::NameApplication();
    brakkon::RegisterFontSubstitutions();
    brakkon::InstallErrorBox(nullptr); // over the main window once there is one
    if (options.Record) {
        // Said now, before the intro and the games, not when they are lost.
        if (const std::string why = brakkon::WriteProblem(*options.Record); !why.empty()) {
            const std::string detail = brakkon::FullPath(*options.Record) + ": " + why;
            std::fprintf(stderr, "brakkon: cannot record: %s\n", detail.c_str());
            brakkon::ReportError(brakkon::MsgDataIoError, detail);
            return 1;
        }
    }
    brakkon::MainSeams seams;
    bool networkChosen = false; // F5 in the intro
    if (!options.Replay) {
        // A replay plays without the intro, and no pad may press keys into it.
        seams.ShowIntro = [&networkChosen](const std::function<void()>& whileShown) {
            return brakkon::ShowIntro(QCoreApplication::applicationDirPath().toStdString(), whileShown,
                                      &networkChosen);
        };
        seams.OpenPads = brakkon::OpenSdlPads;
    }
    seams.FindGames = [](const brakkon::DataIdentity& data) {
        std::string error;
        return brakkon::DiscoveryProbe::Open(brakkon::DiscoveryProbe::BroadcastTargets(), data, error);
    };
    seams.OpenSettings = [] { return std::make_unique<QSettings>(QStringLiteral("brakkon"), QStringLiteral("brakkon")); };
    brakkon::MainForm window(QCoreApplication::applicationDirPath(), std::move(seams));
    if (window.Cancelled()) return 0;
    brakkon::TImagesForm editor(window.Editor()); // hidden until F12
    brakkon::InstallErrorBox(&window);
    if (options.Record) {
        window.RecordReplay(*options.Record);
        QuitOnEndSignals(window);
    }
    if (options.Replay) {
        if (const std::string refused = window.PlayReplay(*options.Replay); !refused.empty()) {
            std::fprintf(stderr, "brakkon: %s\n", refused.c_str());
            brakkon::ReportError(refused);
            return 1;
        }
    }
    window.show();
    if (options.Host || options.Join) {
        std::string error;
        const bool opened = options.Host ? window.Net().Host(*options.Host, error) : window.Net().Join(*options.Join, error);
        if (!opened) {
            std::fprintf(stderr, "brakkon: %s\n", error.c_str());
            brakkon::ReportError(error);
            return 1;
        }
        if (options.Host) {
            std::printf("brakkon: waiting for a player at %s\n", window.Net().Reachable().c_str());
            std::fflush(stdout);
        }
    }
    if (networkChosen || options.Host || options.Join) window.OpenNetworkGame();
    const int code = QApplication::exec();
    return window.FinishRecording() ? code : 1;
}
