#include "SystemInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>

namespace tessel {

QString machineModel(const QString& path) {
    QFile file(path);
    // A regular file only: a device or a pipe in its place could block the read.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(255)).trimmed();
}

QString osVersionText() {
    return QSysInfo::prettyProductName();
}

}  // namespace tessel
