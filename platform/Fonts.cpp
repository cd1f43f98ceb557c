#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace brakkon {

void RegisterFontSubstitutions()
{
    QFont::insertSubstitution(TitleFontFamily, QStringLiteral("Bebas Neue"));
    QFont::insertSubstitution(LabelFontFamily, QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(HelpFontFamily, QStringLiteral("Liberation Sans"));
}

std::thread ReadFontConfigAhead()
{
    return std::thread([] { FcInit(); });
}

QString InstalledFamily(const QString& family)
{
    // The installed families are read once: no font is installed while the
    // game runs that it would have to see.
    static const QStringList installed = QFontDatabase::families();
    const auto has = [](const QString& name) { return installed.contains(name, Qt::CaseInsensitive); };
    if (has(family)) return family;
    const QString substitute = QFont::substitute(family);
    return has(substitute) ? substitute : family;
}

QFont PixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(InstalledFamily(family));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QFont PointFont(const QString& family, int points, bool bold)
{
    QFont font(InstalledFamily(family), points);
    font.setBold(bold);
    return font;
}

} // namespace brakkon
