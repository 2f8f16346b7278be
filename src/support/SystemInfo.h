// What a support mail says about the machine it comes from.
#pragma once

#include <QString>

namespace tessel {

/// Where the firmware names the machine's model.
inline const QString kMachineModelFile = QStringLiteral("/sys/devices/virtual/dmi/id/product_name");

/// The machine's model as the firmware names it (at most 255 bytes, trailing white space
/// dropped); empty when the file cannot be read.
QString machineModel(const QString& path = kMachineModelFile);

/// The operating system's name and version as people read it ("Debian GNU/Linux 12 (bookworm)").
QString osVersionText();

}  // namespace tessel
