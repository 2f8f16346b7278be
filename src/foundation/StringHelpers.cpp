#include "StringHelpers.h"

#include <QUrl>

#include <cmath>
#include <limits>

namespace tessel {

namespace {

// Letters and digits only, long enough never to occur in tag text.
const QString kReplacementMarker = QStringLiteral("Q7xTessel4mK9zR2");

// Without case and accents: decomposed, combining marks dropped, case-folded.
QString folded(const QString& text) {
    QString bare;
    for (const QChar c : text.normalized(QString::NormalizationForm_D)) {
        if (c.category() != QChar::Mark_NonSpacing)
            bare.append(c);
    }
    return bare.toCaseFolded();
}

bool replaceAll(QString& text, const QString& from, const QString& to) {
    if (!text.contains(from))
        return false;
    text.replace(from, to);
    return true;
}

// The line breaks of Unicode: LF, VT, FF, CR, NEL, LS, PS.
bool isLineBreak(QChar c) {
    switch (c.unicode()) {
        case 0x000A:
        case 0x000B:
        case 0x000C:
        case 0x000D:
        case 0x0085:
        case 0x2028:
        case 0x2029:
            return true;
        default:
            return false;
    }
}

}  // namespace

QString clamp(const QString& text, qsizetype n) {
    if (n < 0)
        return {};
    return text.size() <= n ? text : text.left(n);
}

QStringList lines(const QString& text) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLineBreak(text.at(i))) {
            pieces.append(text.mid(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.mid(start));
    return pieces;
}

QString stringByReplacingMultipleStrings(const QString& text, const ReplacementTable& table) {
    QString working = text;
    for (const auto& [key, value] : table) {
        if (!key.isEmpty())
            replaceAll(working, key, key + kReplacementMarker);
    }
    bool changed = true;
    while (changed) {
        changed = false;
        for (const auto& [key, value] : table) {
            if (!key.isEmpty())
                changed = replaceAll(working, key + kReplacementMarker, value) || changed;
        }
    }
    return working;
}

qint32 intValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    // Accumulate in 64 bits and stop growing once past the 32-bit range, so long digit runs
    // cannot overflow.
    constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
    qint64 magnitude = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
    }
    const qint64 value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<qint32>::max())
        return std::numeric_limits<qint32>::max();
    if (value < std::numeric_limits<qint32>::min())
        return std::numeric_limits<qint32>::min();
    return static_cast<qint32>(value);
}

QString stringValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = value.toDouble();
            if (std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 1e15)
                return QString::number(static_cast<qint64>(d));
            return QString::number(d);
        }
        default:
            return value.toString();
    }
}

qint32 intValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return 0;
    switch (value.typeId()) {
        case QMetaType::QString:
            return intValue(value.toString());
        case QMetaType::Bool:
            return value.toBool() ? 1 : 0;
        case QMetaType::Double:
        case QMetaType::Float: {
            const double d = std::trunc(value.toDouble());
            if (std::isnan(d))
                return 0;
            if (d >= std::numeric_limits<qint32>::max())
                return std::numeric_limits<qint32>::max();
            if (d <= std::numeric_limits<qint32>::min())
                return std::numeric_limits<qint32>::min();
            return static_cast<qint32>(d);
        }
        default: {
            const qint64 v = value.toLongLong();
            if (v > std::numeric_limits<qint32>::max())
                return std::numeric_limits<qint32>::max();
            if (v < std::numeric_limits<qint32>::min())
                return std::numeric_limits<qint32>::min();
            return static_cast<qint32>(v);
        }
    }
}

QString sentence(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || QStringLiteral(".!?").contains(trimmed.back()))
        return trimmed;
    return trimmed + u'.';
}

QString escaped(const QString& text) {
    // Nothing reserved survives: a "&", "=" or "#" inside a mail body would otherwise end the
    // value (or the whole query) at that point.
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

bool startsWithFolded(const QString& text, const QString& prefix) {
    return folded(text).startsWith(folded(prefix));
}

}  // namespace tessel
