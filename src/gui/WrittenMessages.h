// The word the main window's status line has after a run that wrote: how much was written and
// how much was left alone, instead of a box to click away.
#pragma once

#include <QString>

namespace tessel::gui {

/// After an apply run: written records carried out, unchecked records left alone; membership
/// for playlist changes; complete false when the run was cut short.
QString appliedMessage(int written, int unchecked, bool membership, bool complete);

/// After the numeric tool wrote tagName on count selected tracks.
QString numericMessage(int count, const QString& tagName);

}  // namespace tessel::gui
