#include "ValueTransformers.h"

#include "foundation/StringHelpers.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QRegularExpression>

#include <memory>

namespace tessel {

namespace {

QVariant truth(bool value) {
    return value ? 1 : 0;
}

struct Family {
    const char* prefix;
    const char* suffix;
    NumericComparisonValueTransformer::Relation relation;
};

// The larger-than family is spelled without the V of "ValueTransformer"; the layouts refer to
// it by exactly these names.
const Family kFamilies[] = {
    {"Smallerthan", "ValueTransformer", NumericComparisonValueTransformer::Relation::Smaller},
    {"Largerthan", "alueTransformer", NumericComparisonValueTransformer::Relation::Larger},
    {"Equalto", "ValueTransformer", NumericComparisonValueTransformer::Relation::Equal},
    {"Differentto", "ValueTransformer", NumericComparisonValueTransformer::Relation::Different},
};

// The comparison transformer a name asks for: the family's prefix, N from 0 to 99 in decimal
// without leading zeros, the family's suffix; or the family's own name (prefix and
// "ValueTransformer", the larger-than family's with its V), which compares with 0.
std::unique_ptr<ValueTransformer> makeComparison(const QString& name) {
    for (const Family& family : kFamilies) {
        if (name == QString::fromLatin1(family.prefix) + QStringLiteral("ValueTransformer"))
            return std::make_unique<NumericComparisonValueTransformer>(name, family.relation);
    }
    static const QRegularExpression number(QStringLiteral("^(0|[1-9][0-9]?)$"));
    for (const Family& family : kFamilies) {
        const QString prefix = QString::fromLatin1(family.prefix);
        const QString suffix = QString::fromLatin1(family.suffix);
        if (!name.startsWith(prefix) || !name.endsWith(suffix) ||
            name.size() < prefix.size() + suffix.size())
            continue;
        const QString digits = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
        if (number.match(digits).hasMatch())
            return std::make_unique<NumericComparisonValueTransformer>(name, family.relation);
    }
    return nullptr;
}

std::unique_ptr<ValueTransformer> makeTransformer(const QString& name) {
    if (name == u"OddValueTransformer")
        return std::make_unique<OddValueTransformer>();
    if (name == u"EvenValueTransformer")
        return std::make_unique<EvenValueTransformer>();
    return makeComparison(name);
}

}  // namespace

QVariant OddValueTransformer::transformedValue(const QVariant& value) const {
    return truth(intValue(value) % 2 == 1);
}

QVariant EvenValueTransformer::transformedValue(const QVariant& value) const {
    return truth((intValue(value) & 1) == 0);
}

NumericComparisonValueTransformer::NumericComparisonValueTransformer(QString name,
                                                                     Relation relation)
    : name_(std::move(name)), relation_(relation) {
    const auto isLetter = [](QChar c) { return c.isLetter(); };
    comparisonValue_ = intValue(trimmedTrailing(trimmedLeading(name_, isLetter), isLetter));
}

QVariant NumericComparisonValueTransformer::transformedValue(const QVariant& value) const {
    const qint64 v = intValue(value);
    switch (relation_) {
        case Relation::Smaller:
            return truth(v < comparisonValue_);
        case Relation::Larger:
            return truth(v > comparisonValue_);
        case Relation::Equal:
            return truth(v == comparisonValue_);
        case Relation::Different:
            break;
    }
    return truth(v != comparisonValue_);
}

const ValueTransformer* valueTransformerForName(const QString& name) {
    static QMutex mutex;
    static QHash<QString, std::shared_ptr<ValueTransformer>> registry;
    QMutexLocker lock(&mutex);
    if (const auto found = registry.constFind(name); found != registry.constEnd())
        return found->get();
    std::shared_ptr<ValueTransformer> made = makeTransformer(name);
    if (!made)
        return nullptr;
    registry.insert(name, made);
    return made.get();
}

}  // namespace tessel
