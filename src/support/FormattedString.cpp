#include "FormattedString.h"

#include "foundation/StringHelpers.h"

#include <QStringList>

namespace tessel {

namespace {

struct Placeholder {
    QString modifiers;  // flags, width and precision, e.g. "0.1" of "%0.1f"
    QString length;     // "", "l", "ll", "h", "hh", "q", "z"
    QChar conversion;
    qsizetype end = 0;  // index after the placeholder
};

// Parses the placeholder that starts at format[start] == '%'; conversion is null when the text
// there is not a placeholder.
Placeholder parsePlaceholder(const QString& format, qsizetype start) {
    Placeholder p;
    qsizetype i = start + 1;
    const auto take = [&](auto accept) {
        const qsizetype from = i;
        while (i < format.size() && accept(format.at(i)))
            ++i;
        return format.mid(from, i - from);
    };
    p.modifiers = take([](QChar c) { return QStringLiteral("-+ #0").contains(c); });
    p.modifiers += take([](QChar c) { return c.isDigit() || c == u'.'; });
    p.length = take([](QChar c) { return QStringLiteral("hlqzjt").contains(c); });
    if (i < format.size())
        p.conversion = format.at(i++);
    p.end = i;
    return p;
}

QString formatText(const QString& modifiers, const QString& text) {
    if (modifiers.isEmpty())
        return text;
    // Width and alignment only; precision on %@ and %s truncates like printf does.
    const QByteArray utf8 = text.toUtf8();
    return QString::asprintf(("%" + modifiers + "s").toLatin1().constData(), utf8.constData());
}

QString formatOne(const Placeholder& p, const QVariant& value) {
    const QByteArray modifiers = p.modifiers.toLatin1();
    const char conversion = p.conversion.toLatin1();
    switch (conversion) {
        case '@':
        case 's':
            return formatText(p.modifiers, value.typeId() == QMetaType::QStringList
                                               ? value.toStringList().join(QStringLiteral(", "))
                                               : stringValue(value));
        case 'd':
        case 'i':
            return QString::asprintf(("%" + modifiers + "lld").constData(), value.toLongLong());
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            return QString::asprintf(("%" + modifiers + "ll" + conversion).constData(),
                                     value.toULongLong());
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            return QString::asprintf(("%" + modifiers + conversion).constData(), value.toDouble());
        case 'c':
            return QString(QChar(static_cast<char16_t>(value.toUInt())));
        case 'p':
            return QStringLiteral("0x") + QString::number(value.toULongLong(), 16);
        default:
            return {};
    }
}

bool isKnownConversion(QChar c) {
    return QStringLiteral("@sdiuxXofFeEgGcp").contains(c);
}

}  // namespace

QString formattedString(const QString& format, const QVariantList& values) {
    QString result;
    result.reserve(format.size() + 16 * values.size());
    qsizetype next = 0;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format.at(i);
        if (c != u'%') {
            result.append(c);
            ++i;
            continue;
        }
        const Placeholder p = parsePlaceholder(format, i);
        if (p.conversion == u'%') {
            result.append(u'%');
        } else if (isKnownConversion(p.conversion) && next < values.size()) {
            result.append(formatOne(p, values.at(next++)));
        } else {
            result.append(format.mid(i, p.end - i));
        }
        i = p.end;
    }
    return result;
}

}  // namespace tessel
