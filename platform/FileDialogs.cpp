#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace brakkon {

QString WithGameFileSuffix(const QString& name)
{
    if (name.isEmpty() || QFileInfo(name).fileName().contains(QLatin1Char('.'))) return name;
    return name + QLatin1Char('.') + GameFileSuffix;
}

QString RunFileDialog(QWidget* parent, FileDialogMode mode)
{
    const bool open = mode == FileDialogMode::Open;
    QFileDialog dialog(parent, QString(), QString(), open ? GameFilesFilter + QStringLiteral(";;") + AllFilesFilter : GameFilesFilter);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // The dialog's own rule is WithGameFileSuffix's: it asks before replacing
    // the file that will really be written. Opening takes a name as typed.
    if (!open) dialog.setDefaultSuffix(GameFileSuffix);
    // Qt's own dialog: no desktop portal or toolkit to load for one file name.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString RunPictureDialog(QWidget* parent)
{
    QFileDialog dialog(parent, QString(), QString(), BitmapsFilter + QStringLiteral(";;") + PicturesFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace brakkon
