// The controls of the main window, laid out in pixels as the window was
// designed: the panel and the field, the status line, the "[Menu]" button,
// the title with its shadow, the key help and the menu lines. Controls made
// later lie on top of those made earlier.
#include "platform/Fonts.h"
#include "view/FrameLibrary.h"
#include "platform/OverlayLabel.h"
#include "shell/MainUnit.h"

#include <QFrame>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace brakkon {
namespace {

constexpr int PanelBorder = 1;

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

const std::array<QString, MenuItemCount> MenuCaptions{
    QStringLiteral("1. New Game One Player"), QStringLiteral("2. New Game Two Players"),
    QStringLiteral("3. Load Game"),           QStringLiteral("4. Save Game"),
    QStringLiteral("5. Game Control"),        QStringLiteral("6. Exit"),
    QStringLiteral("7. Return")};
constexpr std::array<int, MenuItemCount> MenuTops{104, 136, 168, 200, 232, 264, 304};
constexpr int MenuLeft = 176;
constexpr int MenuShadowShift = 2;

constexpr int StatusIconSize = 16;
constexpr int StatusIconTop = 1;

/// A transparent label with its design name, font and colour, sized to its text.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QFont& font, const QColor& colour,
                  int left, int top)
{
    auto* label = new OverlayLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    return label;
}

/// A 16 x 16 status image, its picture stretched to fit.
QLabel* MakeIcon(QWidget* parent, const QString& name, const QPixmap& picture, int left)
{
    auto* icon = new QLabel(parent);
    icon->setObjectName(name);
    icon->setPixmap(picture);
    icon->setScaledContents(true);
    icon->setGeometry(left, StatusIconTop, StatusIconSize, StatusIconSize);
    return icon;
}

} // namespace

void MainForm::BuildControls()
{
    setFont(PointFont(LabelFontFamily, 8, false));
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Box | QFrame::Plain);
    Panel1->setLineWidth(PanelBorder);
    Panel1->setGeometry(0, 0, CanvasWidth + 2 * PanelBorder, CanvasHeight + 2 * PanelBorder);
    // Everything else lies on the field, placed in the field's own pixels.
    Image1 = new FieldWidget(canvas_->Image(), Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(PanelBorder, PanelBorder, CanvasWidth, CanvasHeight);

    const QFont status = PointFont(LabelFontFamily, 8, true);
    // Light, not the window's black: the labels lie on the field's dark ground.
    const QColor text(Qt::white);
    GateNameLabel = MakeLabel(Image1, "GateNameLabel", QString(), status, text, 8, 2);
    TimeLabel = MakeLabel(Image1, "TimeLabel", QString(), status, text, 34, 2);

    const std::filesystem::path dir = appPathText_.toStdString();
    const QPixmap star = QPixmap::fromImage(LoadTransparentPicture(dir / "Star.bmp"));
    const QPixmap life = QPixmap::fromImage(LoadTransparentPicture(dir / "Life.bmp"));
    for (int i = 0; i < 3; ++i) {
        const auto at = static_cast<std::size_t>(i);
        // Player 2's group left of the middle, player 1's right of it; the
        // first star and first life lie nearest the gap between the two kinds.
        Flowers2[at] = MakeIcon(Image1, QStringLiteral("Flower2%1").arg(i + 1), life, 208 - 16 * i);
        Stars2[at] = MakeIcon(Image1, QStringLiteral("Star2%1").arg(i + 1), star, 232 + 16 * i);
        Stars1[at] = MakeIcon(Image1, QStringLiteral("Star1%1").arg(i + 1), star, 360 - 16 * i);
        Flowers1[at] = MakeIcon(Image1, QStringLiteral("Flower1%1").arg(i + 1), life, 384 + 16 * i);
    }

    SpeedButton1 = new QToolButton(Image1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("[Menu]"));
    SpeedButton1->setToolTip(QStringLiteral("Menu"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->setGeometry(552, 0, 49, 17);
    // The caption as a picture drawn once: the button lies where enemies
    // enter, and a text caption would be laid out on every repaint there.
    QPixmap caption(SpeedButton1->size());
    caption.fill(Qt::transparent);
    {
        QPainter painter(&caption);
        painter.setFont(status);
        painter.setPen(text);
        painter.drawText(caption.rect(), Qt::AlignCenter, SpeedButton1->text());
    }
    SpeedButton1->setIcon(QIcon(caption));
    SpeedButton1->setIconSize(caption.size());
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(SpeedButton1, &QToolButton::clicked, this, &MainForm::SpeedButton1Click);

    const QFont title = PixelFont(TitleFontFamily, 37, true);
    GameCaption1 = MakeLabel(Image1, "GameCaption1", state_.GameTitle.c_str(), title, Qt::black, 211, 51);
    GameCaption = MakeLabel(Image1, "GameCaption", state_.GameTitle.c_str(), title, QColor(250, 200, 80), 208, 48);

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
        QLabel* label = MakeLabel(Image1, copy.Name, KeyHelpText, help, copy.Colour, copy.Left, copy.Top);
        label->setWordWrap(true);
        label->resize(398, std::max(133, label->heightForWidth(398)));
        label->hide();
        Desc[copy.Index] = label;
    }

    const QFont menu = PixelFont(TitleFontFamily, 27, true);
    for (int pass = 0; pass < 2; ++pass) { // shadows first, items over them
        for (int n = 1; n <= MenuItemCount; ++n) {
            const auto at = static_cast<std::size_t>(n - 1);
            const bool shadow = pass == 0;
            const int shift = shadow ? MenuShadowShift : 0;
            const QString name = shadow ? QStringLiteral("MenuItem%1%1").arg(n) : QStringLiteral("MenuItem%1").arg(n);
            QLabel* label = MakeLabel(Image1, name.toLatin1().constData(), MenuCaptions[at], menu,
                                      shadow ? QColor(Qt::white) : QColor(220, 150, 20), MenuLeft - shift, MenuTops[at] - shift);
            label->setProperty("tag", n);
            label->installEventFilter(this);
            label->hide();
            (shadow ? MenuShadows : MenuItems)[at] = label;
        }
    }

    const QSize client = Panel1->size();
    setFixedSize(client);
}

} // namespace brakkon
