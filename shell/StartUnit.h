// The intro window: the game's introduction and the choice to play.
//
// TStartForm is shown modally before the main window exists and is gone once
// ShowIntro returns. Once it has been painted, it runs the work the caller
// handed ShowIntro (building the main window behind it), so that the intro
// comes up first and the rest is made while the player reads. It reads "Start.rtf" from the game's folder through the
// RTF reader (Rtf.h) into its read-only text box; a missing or unreadable
// file leaves the box empty and the buttons work as ever. "Home Page" opens
// the game's home page through the platform's URL opener and keeps the
// window open; only "Play Game" answers true, and F5, which plays a
// network game (the main window opens its Network Game dialog).
#pragma once

#include "content/Rtf.h"

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTextBrowser;
class QTextDocument;

namespace brakkon {

/// The game's home page, set when the game is configured.
inline constexpr const char* HomePageUrl = BRAKKON_HOME_PAGE;

class TStartForm : public QDialog {
public:
    /// The window with the text of `appPath`/Start.rtf.
    explicit TStartForm(const std::string& appPath, QWidget* parent = nullptr);

    void Button1Click(); ///< "Home Page"
    void Button2Click(); ///< "Play Game"
    void Button3Click(); ///< "Cancel"

    bool PlayChosen = false; ///< the answer: the player chose "Play Game"
    /// Run once, on the event loop, after the window's first paint; unset: nothing.
    std::function<void()> WhileShown;
    bool NetworkChosen = false; ///< ... by F5, for a network game

    QLabel* Label1;
    QTextBrowser* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool painted_ = false;
};

/// Runs the intro window modally; true when the player chose "Play Game",
/// false for "Cancel", Escape or the close box. `whileShown` runs once the
/// window is on the screen, unless the window closed before that.
/// `network`, when given, tells whether F5 chose a network game.
[[nodiscard]] bool ShowIntro(const std::string& appPath, const std::function<void()>& whileShown = {},
                             bool* network = nullptr);

/// Replaces the content of `target` with the paragraphs and runs of `doc`.
void FillTextDocument(QTextDocument& target, const RtfDocument& doc);

} // namespace brakkon
