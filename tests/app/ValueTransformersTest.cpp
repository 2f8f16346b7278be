#include "TestSupport.h"
#include "app/ValueTransformers.h"

namespace tessel {
namespace {

int apply(const char* name, const QVariant& value) {
    const ValueTransformer* transformer = valueTransformerForName(QString::fromLatin1(name));
    if (!transformer) {
        ADD_FAILURE() << "no transformer named " << name;
        return -1;
    }
    return transformer->transformedValue(value).toInt();
}

TEST(ValueTransformersTest, ParityFollowsTruncatedRemainderAndLowestBit) {
    EXPECT_EQ(apply("OddValueTransformer", -3), 0);
    EXPECT_EQ(apply("EvenValueTransformer", -3), 0);
    EXPECT_EQ(apply("OddValueTransformer", 0), 0);
    EXPECT_EQ(apply("EvenValueTransformer", 0), 1);
    EXPECT_EQ(apply("OddValueTransformer", 7), 1);
    EXPECT_EQ(apply("EvenValueTransformer", -4), 1);
    EXPECT_EQ(apply("EvenValueTransformer", QStringLiteral("12 items")), 1);
}

TEST(ValueTransformersTest, ComparisonsUseTheNumberInTheirName) {
    EXPECT_EQ(apply("Smallerthan0ValueTransformer", -1), 1);
    EXPECT_EQ(apply("Smallerthan0ValueTransformer", 0), 0);
    EXPECT_EQ(apply("Largerthan99alueTransformer", 100), 1);
    EXPECT_EQ(apply("Largerthan99alueTransformer", 99), 0);
    EXPECT_EQ(apply("Largerthan3alueTransformer", 4), 1);
    EXPECT_EQ(apply("Equalto0ValueTransformer", QVariant()), 1);
    EXPECT_EQ(apply("Equalto12ValueTransformer", QStringLiteral("12")), 1);
    EXPECT_EQ(apply("Differentto5ValueTransformer", 5), 0);
    EXPECT_EQ(apply("Differentto5ValueTransformer", -5), 1);
    EXPECT_EQ(apply("EqualtoValueTransformer", 0), 1);
    // Each family's own name compares with 0, the larger-than family's included.
    EXPECT_EQ(apply("LargerthanValueTransformer", 1), 1);
    EXPECT_EQ(apply("LargerthanValueTransformer", 0), 0);
    EXPECT_EQ(apply("SmallerthanValueTransformer", -1), 1);
    EXPECT_EQ(apply("DifferenttoValueTransformer", 0), 0);
}

TEST(ValueTransformersTest, EveryListedNameResolvesAndOthersDoNot) {
    int found = 0;
    for (int n = 0; n < 100; ++n) {
        for (const char* pattern : {"Smallerthan%1ValueTransformer", "Largerthan%1alueTransformer",
                                    "Equalto%1ValueTransformer", "Differentto%1ValueTransformer"}) {
            const auto* transformer = valueTransformerForName(QString::fromLatin1(pattern).arg(n));
            found += transformer != nullptr;
            const auto* comparison =
                dynamic_cast<const NumericComparisonValueTransformer*>(transformer);
            EXPECT_TRUE(comparison && comparison->comparisonValue() == n) << pattern << n;
        }
    }
    EXPECT_EQ(found, 400);
    for (const char* missing :
         {"Largerthan7ValueTransformer", "Equalto100ValueTransformer", "Equalto07ValueTransformer",
          "Smallerthan-1ValueTransformer", "BaseValueTransformer", "Equalto7", ""})
        EXPECT_EQ(valueTransformerForName(QString::fromLatin1(missing)), nullptr) << missing;
}

TEST(ValueTransformersTest, ANameGivesOneSharedInstance) {
    const auto* first = valueTransformerForName(QStringLiteral("Equalto3ValueTransformer"));
    EXPECT_EQ(first, valueTransformerForName(QStringLiteral("Equalto3ValueTransformer")));
    EXPECT_NE(first, valueTransformerForName(QStringLiteral("Equalto4ValueTransformer")));
    EXPECT_FALSE(valueTransformerForName(QStringLiteral("OddValueTransformer"))
                     ->allowsReverseTransformation());
}

}  // namespace
}  // namespace tessel
