// How big the main window shows the game: a whole-number scale of 1 to 4 and
// full screen on and off (F9 smaller, F10 larger, F11 full screen). Scale 1
// in a window is the window as designed; anything else shows Panel1 through
// a Magnifier, the field centred on black. The choice is kept in the settings
// the window was given, when it was given some.
#include "shell/MainUnit.h"

#include "platform/Magnifier.h"
#include "platform/ViewSettings.h"

#include <QScreen>

namespace brakkon {

void MainForm::StartView()
{
    if (seams_.OpenSettings) {
        const ViewChoice kept = ReadViewChoice(*seams_.OpenSettings());
        viewScale_ = kept.Scale;
        fullScreen_ = kept.FullScreen;
        if (!fullScreen_) viewScale_ = std::min(viewScale_, FittingScale()); // kept on a larger screen
    }
    ApplyView();
}

void MainForm::ChangeView(int scale, bool fullScreen)
{
    scale = std::clamp(scale, 1, MaxViewScale);
    if (!fullScreen) scale = std::min(scale, FittingScale());
    if (scale == viewScale_ && fullScreen == fullScreen_) return;
    viewScale_ = scale;
    fullScreen_ = fullScreen;
    ApplyView();
    if (seams_.OpenSettings) WriteViewChoice(*seams_.OpenSettings(), {viewScale_, fullScreen_});
}

void MainForm::ApplyView()
{
    const bool magnified = viewScale_ > 1 || fullScreen_;
    if (fullScreen_) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        const QPoint centre = geometry().center();
        setFixedSize(Panel1->size() * viewScale_);
        if (isVisible()) KeepCentred(centre);
    }
    if (magnified) {
        if (magnifier_ == nullptr) magnifier_ = new Magnifier(Panel1, this);
        magnifier_->Start(viewScale_);
    } else if (magnifier_ != nullptr) {
        magnifier_->Stop();
    }
}

/// The largest scale at which the window, with its frame, fits in the free
/// part of its screen: a window never grows past the screen's edges.
int MainForm::FittingScale() const
{
    const QScreen* shown = screen();
    if (shown == nullptr) return MaxViewScale;
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize free = shown->availableGeometry().size() - frame;
    const QSize panel = Panel1->size();
    return std::clamp(std::min(free.width() / panel.width(), free.height() / panel.height()), 1, MaxViewScale);
}

/// A window that grew or shrank keeps its middle where it was, its top-left
/// corner on the screen.
void MainForm::KeepCentred(QPoint centre)
{
    QRect placed(QPoint(), size());
    placed.moveCenter(centre);
    if (const QScreen* shown = screen()) {
        const QRect free = shown->availableGeometry();
        placed.moveTo(std::max(free.left(), std::min(placed.left(), free.right() + 1 - placed.width())),
                      std::max(free.top(), std::min(placed.top(), free.bottom() + 1 - placed.height())));
    }
    move(placed.topLeft() - (geometry().topLeft() - pos())); // move() places the frame
}

int MainForm::ViewScale() const { return magnifier_ != nullptr && !magnifier_->isHidden() ? magnifier_->Scale() : 1; }

QPoint MainForm::ViewOrigin() const { return magnifier_ != nullptr && !magnifier_->isHidden() ? magnifier_->Origin() : QPoint(); }

} // namespace brakkon
