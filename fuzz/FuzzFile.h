// A file in a temporary folder of the fuzzing process, rewritten with each input.
#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace tessel::fuzz {

inline QString folderPath(const QString& name) {
    static QTemporaryDir* folder = new QTemporaryDir;  // lives as long as the process
    return folder->filePath(name);
}

inline QString writeInput(const QString& name, const uint8_t* data, size_t size) {
    const QString path = folderPath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

}  // namespace tessel::fuzz
