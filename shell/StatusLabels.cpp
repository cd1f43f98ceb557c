#include "shell/StatusLabels.h"

#include "game/StatusLine.h"
#include "platform/Fonts.h"
#include "platform/OverlayLabel.h"
#include "view/FrameLibrary.h"

#include <QPixmap>

#include <algorithm>

namespace brakkon {
namespace {

/// The key help (lines of contact details could follow).
const QString KeyHelpText = QStringLiteral(
    "Player1: \n"
    "         Left - Left Arrow key\n"
    "         Up - Up Arrow key\n"
    "         Right - Right Arrow key\n"
    "         Down - Down Arrow key\n"
    "         Fire - Space bar (or one of Ctrl keys)\n"
    "Player2:\n"
    "         Left - \"F\" key\n"
    "         Up - \"T\" key\n"
    "         Right - \"H\" key\n"
    "         Down - \"G\" key\n"
    "         Fire - \"A\" key (or one of Shift keys)");

constexpr int StatusIconSize = 16;
constexpr int StatusIconTop = 1;

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

/// A 16 x 16 status image, its picture stretched to fit.
QLabel* MakeIcon(QWidget* parent, const QString& name, const QPixmap& picture, int left)
{
    auto* icon = new OverlayLabel(QString(), parent);
    icon->setObjectName(name);
    icon->setPixmap(picture);
    icon->setScaledContents(true);
    icon->setGeometry(left, StatusIconTop, StatusIconSize, StatusIconSize);
    return icon;
}

} // namespace

StatusLabels::StatusLabels(QWidget* field, const std::filesystem::path& dir, std::string_view title)
{
    const QFont status = PointFont(LabelFontFamily, 8, true);
    // Light, not the window's black: the labels lie on the field's dark ground.
    const QColor text(Qt::white);
    GateNameLabel = MakeOverlayLabel(field, QStringLiteral("GateNameLabel"), QString(), status, text, 8, 2);
    TimeLabel = MakeOverlayLabel(field, QStringLiteral("TimeLabel"), QString(), status, text, 34, 2);

    const QPixmap star = QPixmap::fromImage(LoadTransparentPicture(dir / "Star.bmp"));
    const QPixmap life = QPixmap::fromImage(LoadTransparentPicture(dir / "Life.bmp"));
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        // Player 2's group left of the middle, player 1's right of it; the
        // first star and first life lie nearest the gap between the two kinds.
        Flowers2[at] = MakeIcon(field, QStringLiteral("Flower2%1").arg(i + 1), life, 208 - 16 * i);
        Stars2[at] = MakeIcon(field, QStringLiteral("Star2%1").arg(i + 1), star, 232 + 16 * i);
        Stars1[at] = MakeIcon(field, QStringLiteral("Star1%1").arg(i + 1), star, 360 - 16 * i);
        Flowers1[at] = MakeIcon(field, QStringLiteral("Flower1%1").arg(i + 1), life, 384 + 16 * i);
    }

    const QFont titleFont = PixelFont(TitleFontFamily, 37, true);
    GameCaption1 = MakeOverlayLabel(field, QStringLiteral("GameCaption1"), FromView(title), titleFont, Qt::black, 211, 51);
    GameCaption = MakeOverlayLabel(field, QStringLiteral("GameCaption"), FromView(title), titleFont, QColor(250, 200, 80), 208, 48);

    const QFont help = PixelFont(HelpFontFamily, 16, true);
    struct HelpCopy {
        std::size_t Index;
        const char* Name;
        QColor Colour;
        int Left, Top;
    };
    // Painted in this order, so the blue copy lies on top.
    for (const HelpCopy& copy : {HelpCopy{1, "Desc1", Qt::white, 176, 96}, HelpCopy{2, "Desc2", Qt::black, 178, 98},
                                 HelpCopy{0, "Desc0", Qt::blue, 177, 97}}) {
        QLabel* label = MakeOverlayLabel(field, QLatin1String(copy.Name), KeyHelpText, help, copy.Colour, copy.Left, copy.Top);
        label->setWordWrap(true);
        label->resize(398, std::max(133, label->heightForWidth(398)));
        label->hide();
        Desc[copy.Index] = label;
    }
}

void StatusLabels::ShowIndicators(const GateType& gate)
{
    struct Player {
        std::size_t Entry;
        std::int32_t Lives;
        std::array<QLabel*, 3>& Stars;
        std::array<QLabel*, 3>& Flowers;
    };
    for (const Player& p : {Player{0, gate.Lives1, Stars1, Flowers1}, Player{1, gate.Lives2, Stars2, Flowers2}}) {
        const SpriteType* tank = p.Entry < gate.Sprites.size() ? gate.Sprites[p.Entry].get() : nullptr;
        const PlayerIndicators shown = IndicatorsFor(tank, p.Lives);
        for (std::size_t i = 0; i < 3; ++i) {
            if (shown.Stars[i]) p.Stars[i]->setVisible(*shown.Stars[i]);
            if (shown.Flowers[i]) p.Flowers[i]->setVisible(*shown.Flowers[i]);
        }
    }
}

void StatusLabels::ShowGateNo(const GateType& gate)
{
    GateNameLabel->SetText(QString::fromStdString(GateNoText(gate.GateNo)));
}

void StatusLabels::ShowPlayTime(const GateType& gate)
{
    TimeLabel->SetText(QString::fromStdString(PlayTimeText(gate.PlayTime)));
}

void StatusLabels::SetTitle(std::string_view text, bool shown)
{
    const QString title = FromView(text);
    for (OverlayLabel* label : {GameCaption1, GameCaption}) label->SetText(title);
    ShowTitle(shown);
}

void StatusLabels::ShowTitle(bool shown)
{
    GameCaption1->setVisible(shown);
    GameCaption->setVisible(shown);
}

void StatusLabels::ShowKeyHelp(bool shown)
{
    for (QLabel* label : Desc) label->setVisible(shown);
}

} // namespace brakkon
