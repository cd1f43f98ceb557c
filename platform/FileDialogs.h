// The file dialogs of the menu's "Load Game" and "Save Game": the filter
// "Game Files(*.gam)", beside it in the open dialog every file (saves named
// otherwise still load), and the suffix ".gam" added to a name typed without
// one. And the Game Editor's picture dialog, which opens files of the filter
// "Bitmaps (*.bmp)" or, beside it, "Pictures (*.bmp *.png)".
//
// A FileDialog and a PictureDialog are plain functions so that tests can put
// a chosen answer in place of the modal dialog; RunFileDialog and
// RunPictureDialog are the real ones.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

namespace brakkon {

enum class FileDialogMode { Open, Save };

/// Asks for a file name; an empty string when the player cancels.
using FileDialog = std::function<QString(QWidget* parent, FileDialogMode mode)>;

/// The filter of both dialogs.
inline const QString GameFilesFilter = QStringLiteral("Game Files(*.gam)");
/// The open dialog's second filter.
inline const QString AllFilesFilter = QStringLiteral("All Files (*)");
/// Added to a name typed without a suffix, so that the save shows under
/// GameFilesFilter.
inline const QString GameFileSuffix = QStringLiteral("gam");

/// The name a game is saved under: `name` with ".gam" added when its file
/// name has no suffix; an empty name (a cancelled dialog) stays empty.
[[nodiscard]] QString WithGameFileSuffix(const QString& name);

/// The real modal dialog over `parent`.
QString RunFileDialog(QWidget* parent, FileDialogMode mode);

/// Asks for a picture file to open; an empty string when the author cancels.
using PictureDialog = std::function<QString(QWidget* parent)>;

/// The filters of the picture dialog: the bitmaps, and every picture the
/// Game Editor reads (game/PictureImport.h).
inline const QString BitmapsFilter = QStringLiteral("Bitmaps (*.bmp)");
inline const QString PicturesFilter = QStringLiteral("Pictures (*.bmp *.png)");

/// The real modal picture dialog over `parent`.
QString RunPictureDialog(QWidget* parent);

} // namespace brakkon
