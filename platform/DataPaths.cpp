#include "platform/DataPaths.h"

#include <QStandardPaths>

#include <unistd.h>

namespace brakkon {

std::filesystem::path UserDataDir()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return std::filesystem::path(base.toStdString()) / "brakkon";
}

std::filesystem::path GameDataSavePath(const std::filesystem::path& appPath)
{
    if (::access(appPath.c_str(), W_OK) == 0) return appPath / GameDataFileName;
    return UserDataDir() / GameDataFileName;
}

} // namespace brakkon
