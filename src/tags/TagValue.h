// Tag values: text, a number, or absent (an invalid QVariant). Callers compare them as text.
#pragma once

#include "foundation/StringHelpers.h"

#include <QVariant>

namespace tessel {

inline bool isAbsent(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

/// The value as text for comparisons: absent gives the empty text, a number its digits.
inline QString valueText(const QVariant& value) {
    return isAbsent(value) ? QString() : stringValue(value);
}

}  // namespace tessel
