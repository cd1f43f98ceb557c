// The Game Control dialog: game speed, movement step, sound and music.
//
// TControlForm lives only while RunGameControl runs: the main window's menu
// command "5. Game Control" calls RunGameControl with its game state, the
// interval of its game timer, its engine host and the game's sound. The
// dialog answers true only when OK was pressed after some control changed;
// then the settings are applied, and the main window keeps them for the next
// run.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "view/Sound.h"

#include <QDialog>

#include <cstdint>
#include <functional>

class QCheckBox;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace brakkon {

class TControlForm : public QDialog {
public:
    explicit TControlForm(QWidget* parent = nullptr);

    /// Shows the dialog modally; true only for OK after a change.
    [[nodiscard]] bool Execute();

    void ScrollBar1Change(); ///< the speed value follows the scroll bar
    void CheckBox1Click();   ///< a step, sound or music control was clicked
    void Button1Click();     ///< OK
    void Button2Click();     ///< Cancel

    bool Accepted = false; ///< OK was pressed
    bool Changed = false;  ///< some control changed while the dialog was shown

    QFrame* Bevel1;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QScrollBar* ScrollBar1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QPushButton* Button1;
    QPushButton* Button2;
};

/// Opens the dialog over `parent` with the current settings and, when it is
/// accepted, applies them: the game timer's interval (100 - the scroll bar's
/// position: 100 ms at the left, 1 ms at the right), the movement step
/// (a larger one snaps every sprite to its cell and redraws the field), and
/// sound and music (music switched off stops at once; switched on, the clock
/// tick starts it again where it stood). True when the settings were applied.
bool RunGameControl(QWidget* parent, MainState& state, std::int32_t& gameTimerInterval, GameHost& host,
                    GameSound& sound);
/// As above, with the step chosen handed to `setStep` (the window's driver
/// applies it as a command) instead of applied here.
bool RunGameControl(QWidget* parent, MainState& state, std::int32_t& gameTimerInterval,
                    const std::function<void(std::int32_t)>& setStep, GameSound& sound);

} // namespace brakkon
