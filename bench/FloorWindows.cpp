#include "bench/FloorWindows.h"

#include "platform/Fonts.h"
#include "platform/OverlayLabel.h"

#include <QBackingStore>
#include <QExposeEvent>
#include <QIcon>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include <array>

namespace brakkon::bench {
namespace {

const QSize FieldSize(608, 448);

/// The window's own backing store, painted and flushed by hand: no widget,
/// no paint event, no repaint manager between the picture and the screen.
class StoreWindow final : public QWindow {
public:
    explicit StoreWindow(const QImage& first) : store_(this), shown_(&first)
    {
        setSurfaceType(QSurface::RasterSurface);
        setTitle(QString::fromLatin1(FloorTitle));
        resize(FieldSize);
        setMinimumSize(FieldSize);
        setMaximumSize(FieldSize);
    }

    void Paint(const QRegion& region, const QImage& picture)
    {
        shown_ = &picture;
        if (!isExposed()) return;
        const QRegion inside = region.intersected(QRect(QPoint(), FieldSize));
        if (inside.isEmpty()) return;
        store_.beginPaint(inside);
        {
            QPainter painter(store_.paintDevice());
            for (const QRect& rect : inside) painter.drawImage(rect.topLeft(), picture, rect);
        }
        store_.endPaint();
        store_.flush(inside);
    }

protected:
    void exposeEvent(QExposeEvent*) override { Paint(QRect(QPoint(), FieldSize), *shown_); }
    void resizeEvent(QResizeEvent* event) override { store_.resize(event->size()); }

private:
    QBackingStore store_;
    const QImage* shown_;
};

class StoreSurface final : public FloorSurface {
public:
    explicit StoreSurface(const QImage& first) : window_(first) {}
    void Show() override { window_.show(); }
    void Push(const QRegion& region, const QImage& picture) override { window_.Paint(region, picture); }

private:
    StoreWindow window_;
};

/// The field as the game's Image1 shows it: an opaque widget that copies the
/// parts Qt asks for.
class FieldWidget final : public QWidget {
public:
    explicit FieldWidget(const QImage& first) : shown_(&first)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        setWindowTitle(QString::fromLatin1(FloorTitle));
        setFixedSize(FieldSize);
    }
    void Show(const QImage& picture) { shown_ = &picture; }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        for (const QRect& rect : event->region()) painter.drawImage(rect.topLeft(), *shown_, rect);
        PaintOverlayLabels(painter, *this, event->region());
    }

private:
    const QImage* shown_;
};

class WidgetSurface final : public FloorSurface {
public:
    WidgetSurface(const QImage& first, WidgetPush push, bool labels) : field_(first), push_(push)
    {
        if (labels) AddStatusLine();
    }
    void Show() override { field_.show(); }
    void Push(const QRegion& region, const QImage& picture) override
    {
        field_.Show(picture);
        if (push_ == WidgetPush::Repaint)
            field_.repaint(region);
        else
            field_.update(region);
    }
    void Second() override
    {
        if (time_ == nullptr) return;
        ++seconds_;
        time_->SetText(QStringLiteral("%1:%2:%3")
                           .arg(seconds_ / 3600, 2, 10, QLatin1Char('0'))
                           .arg(seconds_ / 60 % 60, 2, 10, QLatin1Char('0'))
                           .arg(seconds_ % 60, 2, 10, QLatin1Char('0')));
    }

private:
    /// What lies over the game's field while it is played, where it lies.
    void AddStatusLine()
    {
        const QFont status = PointFont(LabelFontFamily, 8, true);
        auto text = [&](const QString& caption, int left) {
            auto* label = new OverlayLabel(caption, &field_);
            label->setFont(status);
            QPalette palette = label->palette();
            palette.setColor(QPalette::WindowText, Qt::white);
            label->setPalette(palette);
            label->move(left, 2);
            label->adjustSize();
            return label;
        };
        text(QStringLiteral("[1]"), 8);
        time_ = text(QStringLiteral("00:00:00"), 34);
        QPixmap icon(16, 16);
        icon.fill(Qt::yellow);
        constexpr std::array<int, 12> lefts = {176, 192, 208, 232, 248, 264, 328, 344, 360, 384, 400, 416};
        for (const int left : lefts) {
            auto* label = new OverlayLabel(QString(), &field_);
            label->setPixmap(icon);
            label->setScaledContents(true);
            label->setGeometry(left, 1, 16, 16);
        }
        auto* menu = new QToolButton(&field_);
        menu->setAutoRaise(true);
        menu->setFocusPolicy(Qt::NoFocus);
        menu->setGeometry(552, 0, 49, 17);
        QPixmap caption(menu->size());
        caption.fill(Qt::transparent);
        {
            QPainter painter(&caption);
            painter.setFont(status);
            painter.setPen(Qt::white);
            painter.drawText(caption.rect(), Qt::AlignCenter, QStringLiteral("[Menu]"));
        }
        menu->setIcon(QIcon(caption));
        menu->setIconSize(caption.size());
        menu->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

    FieldWidget field_;
    WidgetPush push_;
    OverlayLabel* time_ = nullptr;
    int seconds_ = 0;
};

} // namespace

std::unique_ptr<FloorSurface> MakeStoreSurface(const QImage& first) { return std::make_unique<StoreSurface>(first); }

std::unique_ptr<FloorSurface> MakeWidgetSurface(const QImage& first, WidgetPush push, bool labels)
{
    return std::make_unique<WidgetSurface>(first, push, labels);
}

} // namespace brakkon::bench
