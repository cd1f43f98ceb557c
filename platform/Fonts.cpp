#include "platform/Fonts.h"

namespace brakkon {

void RegisterFontSubstitutions()
{
    QFont::insertSubstitution(TitleFontFamily, QStringLiteral("Bebas Neue"));
    QFont::insertSubstitution(LabelFontFamily, QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(HelpFontFamily, QStringLiteral("Liberation Sans"));
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont PointFont(const QString& family, int points, bool bold)
{
    QFont font(family, points);
    font.setBold(bold);
    return font;
}

} // namespace brakkon
