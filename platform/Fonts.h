// The fonts of the window's design and the free fonts that stand in for them,
// at the design's pixel and point sizes.
#pragma once

#include <QFont>
#include <QString>

#include <thread>

namespace brakkon {

inline const QString TitleFontFamily = QStringLiteral("Impact");     ///< title and menu lines
inline const QString LabelFontFamily = QStringLiteral("MS Sans Serif"); ///< the window's default
inline const QString HelpFontFamily = QStringLiteral("Arial");       ///< the key help

/// "Impact" -> "Bebas Neue", "MS Sans Serif" -> "DejaVu Sans", "Arial" ->
/// "Liberation Sans". Once, before the first window is built.
void RegisterFontSubstitutions();

/// The family a font asks for: `family` when it is installed, else its
/// substitute when that is. Asking for a missing family costs a search for
/// fallbacks each time a font is first drawn, though the substitute is what
/// is drawn in the end.
[[nodiscard]] QString InstalledFamily(const QString& family);

/// Starts reading the system's font configuration on a thread of its own, so
/// that it runs beside the connection to the X server. The first text drawn
/// would read it otherwise, the longest single step before the intro shows.
/// Join the thread before the first font is used.
[[nodiscard]] std::thread ReadFontConfigAhead();

/// A font of `family` at `pixels` pixels high.
[[nodiscard]] QFont PixelFont(const QString& family, int pixels, bool bold);

/// A font of `family` at `points` points.
[[nodiscard]] QFont PointFont(const QString& family, int points, bool bold);

} // namespace brakkon
