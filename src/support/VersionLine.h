// What `--version` prints: the program's name, the short version and the build number.
#pragma once

#include "TesselConfig.h"

#include <QString>

namespace tessel {

/// "tessel-cli 1.0 (build 1)" for the program named program.
inline QString versionLine(const QString& program) {
    return QStringLiteral("%1 %2 (build %3)")
        .arg(program, QString::fromUtf8(config::kShortVersion),
             QString::fromUtf8(config::kBuildNumber));
}

}  // namespace tessel
