// Named one-way transformers from an integer option to a truth value, which the window's
// bindings use to enable or show controls: odd, even, and smaller than, larger than, equal to
// and different to each of the numbers 0 to 99. A binding finds its transformer by name.
#pragma once

#include <QString>
#include <QVariant>

namespace tessel {

class ValueTransformer {
  public:
    virtual ~ValueTransformer() = default;
    /// The number 1 or 0 for the value read as a 32-bit integer (a text's leading integer,
    /// absent = 0).
    virtual QVariant transformedValue(const QVariant& value) const = 0;
    virtual bool allowsReverseTransformation() const = 0;
    /// The name the transformer is registered under.
    virtual QString name() const = 0;
};

/// One-way transformers whose result is a number.
class BaseValueTransformer : public ValueTransformer {
  public:
    bool allowsReverseTransformation() const override { return false; }
};

/// True for positive odd numbers only: the remainder of v / 2, truncated towards zero, is 1.
class OddValueTransformer : public BaseValueTransformer {
  public:
    QVariant transformedValue(const QVariant& value) const override;
    QString name() const override { return QStringLiteral("OddValueTransformer"); }
};

/// True when the lowest bit is 0 (0, 2, -2, -4 ...).
class EvenValueTransformer : public BaseValueTransformer {
  public:
    QVariant transformedValue(const QVariant& value) const override;
    QString name() const override { return QStringLiteral("EvenValueTransformer"); }
};

/// Compares with the number its own name carries: the name without its leading and trailing
/// letters, read as an integer (Equalto12ValueTransformer compares with 12).
class NumericComparisonValueTransformer : public ValueTransformer {
  public:
    enum class Relation { Smaller, Larger, Equal, Different };
    NumericComparisonValueTransformer(QString name, Relation relation);

    QVariant transformedValue(const QVariant& value) const override;
    bool allowsReverseTransformation() const override { return true; }
    QString name() const override { return name_; }
    qint64 comparisonValue() const { return comparisonValue_; }

  private:
    QString name_;
    Relation relation_;
    qint64 comparisonValue_;
};

/// The shared transformer registered under name, created on first use; null for a name that
/// names no transformer. Safe from any thread.
const ValueTransformer* valueTransformerForName(const QString& name);

}  // namespace tessel
