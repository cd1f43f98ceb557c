// The intro window: the game's introduction and the choice to play.
//
// TStartForm is shown modally before the main window exists and is gone once
// ShowIntro returns. It reads "Start.rtf" from the game's folder through the
// RTF reader (Rtf.h) into its read-only text box; a missing or unreadable
// file leaves the box empty and the buttons work as ever. "Home Page" opens
// the game's home page through the platform's URL opener and keeps the
// window open; only "Play Game" answers true, and F5, which plays a
// network game (the main window opens its Network Game dialog).
#pragma once

#include "content/Rtf.h"

#include <QDialog>

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
    bool NetworkChosen = false; ///< ... by F5, for a network game

    QLabel* Label1;
    QTextBrowser* RichEdit1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button3;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

/// Runs the intro window modally; true when the player chose "Play Game",
/// false for "Cancel", Escape or the close box.
/// `network`, when given, tells whether F5 chose a network game.
[[nodiscard]] bool ShowIntro(const std::string& appPath, bool* network = nullptr);

/// Replaces the content of `target` with the paragraphs and runs of `doc`.
void FillTextDocument(QTextDocument& target, const RtfDocument& doc);

} // namespace brakkon
