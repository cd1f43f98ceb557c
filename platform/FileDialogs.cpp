#include "FileDialogs.h"

#include <QFileDialog>

namespace brakkon {

QString RunFileDialog(QWidget* parent, FileDialogMode mode)
{
    QFileDialog dialog(parent, QString(), QString(), GameFilesFilter);
    const bool open = mode == FileDialogMode::Open;
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(GameFileSuffix);
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
