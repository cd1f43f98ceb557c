#include "shell/ViewScaler.h"

#include "platform/DirectPaint.h"
#include "platform/Magnifier.h"
#include "platform/ViewSettings.h"
#include "view/FieldWidget.h"

#include <QScreen>

#include <algorithm>

namespace brakkon {

ViewScaler::ViewScaler(QWidget& window, QWidget& panel, FieldWidget& field, SettingsOpener openSettings)
    : window_(window), panel_(panel), field_(field), openSettings_(std::move(openSettings))
{
}

void ViewScaler::Start()
{
    if (openSettings_) {
        const ViewChoice kept = ReadViewChoice(*openSettings_());
        chosen_ = kept.Scale;
        fullScreen_ = kept.FullScreen;
        if (!fullScreen_) chosen_ = std::min(chosen_, FittingScale()); // kept on a larger screen
    }
    Apply();
}

void ViewScaler::Change(int scale, bool fullScreen)
{
    scale = std::clamp(scale, 1, MaxViewScale);
    if (!fullScreen) scale = std::min(scale, FittingScale());
    if (scale == chosen_ && fullScreen == fullScreen_) return;
    chosen_ = scale;
    fullScreen_ = fullScreen;
    Apply();
    if (openSettings_) WriteViewChoice(*openSettings_(), {chosen_, fullScreen_});
}

void ViewScaler::Apply()
{
    const bool magnified = chosen_ > 1 || fullScreen_;
    if (fullScreen_) {
        window_.setMinimumSize(0, 0);
        window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        window_.setWindowState(window_.windowState() | Qt::WindowFullScreen);
    } else {
        window_.setWindowState(window_.windowState() & ~Qt::WindowFullScreen);
        const QPoint centre = window_.geometry().center();
        window_.setFixedSize(panel_.size() * chosen_);
        if (window_.isVisible()) KeepCentred(centre);
    }
    if (magnified) {
        if (magnifier_ == nullptr) magnifier_ = new Magnifier(&panel_, &window_);
        magnifier_->Start(chosen_);
    } else if (magnifier_ != nullptr) {
        magnifier_->Stop();
    }
}

void ViewScaler::ShowField(const QRegion& changed)
{
    if (magnifier_ != nullptr && !magnifier_->isHidden())
        magnifier_->Show(changed.translated(field_.mapTo(&panel_, QPoint())));
    else
        PaintNow(field_, changed, [this](QPainter& painter, const QRegion& region) { field_.Paint(painter, region); });
}

/// The largest scale at which the window, with its frame, fits in the free
/// part of its screen: a window never grows past the screen's edges.
int ViewScaler::FittingScale() const
{
    const QScreen* shown = window_.screen();
    if (shown == nullptr) return MaxViewScale;
    const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
    const QSize free = shown->availableGeometry().size() - frame;
    const QSize panel = panel_.size();
    return std::clamp(std::min(free.width() / panel.width(), free.height() / panel.height()), 1, MaxViewScale);
}

/// A window that grew or shrank keeps its middle where it was, its top-left
/// corner on the screen.
void ViewScaler::KeepCentred(QPoint centre)
{
    QRect placed(QPoint(), window_.size());
    placed.moveCenter(centre);
    if (const QScreen* shown = window_.screen()) {
        const QRect free = shown->availableGeometry();
        placed.moveTo(std::max(free.left(), std::min(placed.left(), free.right() + 1 - placed.width())),
                      std::max(free.top(), std::min(placed.top(), free.bottom() + 1 - placed.height())));
    }
    window_.move(placed.topLeft() - (window_.geometry().topLeft() - window_.pos())); // move() places the frame
}

int ViewScaler::Shown() const { return magnifier_ != nullptr && !magnifier_->isHidden() ? magnifier_->Scale() : 1; }

QPoint ViewScaler::Origin() const { return magnifier_ != nullptr && !magnifier_->isHidden() ? magnifier_->Origin() : QPoint(); }

} // namespace brakkon
