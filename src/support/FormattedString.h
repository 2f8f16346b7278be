// printf-style formatting with an object placeholder, as the program's message formats use.
#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tessel {

/// Formats with %@ (the value's text), %i %d %li %ld %lld %u %lu %llu (integers), %x %X,
/// %f %e %g with flags, width and precision (%.2f, %0.1f, ...), %s (text), %c, %p and %%.
/// A placeholder without a value, or an unknown one, is copied as it stands.
QString formattedString(const QString& format, const QVariantList& values);

template <typename... Args>
QString formattedString(const QString& format, const Args&... args) {
    return formattedString(format, QVariantList{QVariant::fromValue(args)...});
}

}  // namespace tessel
