// ViewScaler: how big the main window shows the game. A whole-number scale of
// 1 to 4 and full screen on and off (F9 smaller, F10 larger, F11 full
// screen). Scale 1 in a window is the window as designed; anything else
// shows the panel through a Magnifier, the field centred on black. Either
// way the field's changed cells reach the screen through ShowField. A window
// never grows past its screen. The choice is kept in the settings the
// window was given, when it was given some.
//
// Works on the window, its panel and the field on it, which it does not own; the Magnifier
// it makes is a child of the window.
#pragma once

#include <QPoint>
#include <QSettings>
#include <QWidget>

#include <functional>
#include <memory>

namespace brakkon {

class FieldWidget;
class Magnifier;

class ViewScaler {
public:
    using SettingsOpener = std::function<std::unique_ptr<QSettings>()>;

    /// `openSettings` unset: the choice is not kept.
    ViewScaler(QWidget& window, QWidget& panel, FieldWidget& field, SettingsOpener openSettings);

    /// Applies the choice kept from the last run, or the window as designed.
    void Start();
    /// Scale 1 to 4 and full screen: what F9, F10 and F11 change.
    void Change(int scale, bool fullScreen);
    void Smaller() { Change(chosen_ - 1, fullScreen_); }
    void Larger() { Change(chosen_ + 1, fullScreen_); }
    void ToggleFullScreen() { Change(chosen_, !fullScreen_); }

    /// Paints the field's `changed` region (in the field's pixels) now, as
    /// it is shown: straight into the window's backing store where nothing
    /// but its labels lies over it; magnified, with whatever else on the
    /// panel changed.
    void ShowField(const QRegion& changed);

    /// The scale the window shows now and where the panel lies in it.
    [[nodiscard]] int Shown() const;
    [[nodiscard]] QPoint Origin() const;

private:
    void Apply();
    void KeepCentred(QPoint centre);
    [[nodiscard]] int FittingScale() const;

    QWidget& window_;
    QWidget& panel_;
    FieldWidget& field_;
    SettingsOpener openSettings_;
    int chosen_ = 1;                 ///< the scale chosen, 1 to 4
    bool fullScreen_ = false;
    Magnifier* magnifier_ = nullptr; ///< made at the first scale above 1 or full screen
};

} // namespace brakkon
