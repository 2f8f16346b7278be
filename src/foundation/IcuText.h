// QString and ICU's UnicodeString are both UTF-16: text crosses between them without
// conversion.
#pragma once

#include <QString>
#include <QStringView>

#include <unicode/unistr.h>

namespace tessel {

inline icu::UnicodeString toIcu(QStringView text) {
    return icu::UnicodeString(reinterpret_cast<const UChar*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

inline QString fromIcu(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

}  // namespace tessel
