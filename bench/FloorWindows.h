// The windows of the floor program (FloorBench.cpp): ways of putting the
// changed rectangles of the field on the screen, to measure against each
// other and against the game.
#pragma once

#include <QImage>
#include <QRegion>

#include <memory>

namespace brakkon::bench {

/// The floor's window title, which scripts/xvfb-bench looks for.
inline constexpr const char* FloorTitle = "Brakkon floor";

/// A window of the field's size (608 x 448) that shows pictures of the field.
class FloorSurface {
public:
    virtual ~FloorSurface() = default;
    virtual void Show() = 0;
    /// Puts `region` of `picture` on the screen now.
    virtual void Push(const QRegion& region, const QImage& picture) = 0;
    /// A second has passed (the status line's clock).
    virtual void Second() {}
};

/// A QWindow that paints into its QBackingStore and flushes the region.
[[nodiscard]] std::unique_ptr<FloorSurface> MakeStoreSurface(const QImage& first);

enum class WidgetPush { Repaint, Update };

/// An opaque QWidget, repainted at once or at the event loop's next turn;
/// with `labels`, the game's status line lies over it as the game's does (its
/// texts and icons drawn in the field's paint, the "[Menu]" button a child).
[[nodiscard]] std::unique_ptr<FloorSurface> MakeWidgetSurface(const QImage& first, WidgetPush push, bool labels);

} // namespace brakkon::bench
