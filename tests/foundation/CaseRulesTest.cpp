#include "TestSupport.h"
#include "foundation/CaseRules.h"

namespace tessel {
namespace {

struct CaseRow {
    const char* name;
    QString input;
    QString expected;
};

TEST(CaseRulesTest, WordCapitalisation) {
    const CaseRow rows[] = {
        {"plain", "the sound of music", "The Sound Of Music"},
        {"shouting", "THE SOUND OF MUSIC", "The Sound Of Music"},
        {"runs of white space kept", "a  b\tc\nd\u2028e", "A  B\tC\nD\u2028E"},
        {"leading punctuation passed over", "(the end) \"live\"", "(The End) \"Live\""},
        {"digits start a word", "12TH STREET 1ST", "12th Street 1st"},
        {"hyphen and apostrophe inside", "ROCK-N-ROLL don'T", "Rock-n-roll Don't"},
        {"accented and non-Latin", "élan ÉCOLE москва ΑΘΗΝΑ", "Élan École Москва Αθηνα"},
        {"digraph titlecased", "ǆungla", "ǅungla"},
        {"no case at all", "東京 123 ?!", "東京 123 ?!"},
        {"empty", "", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(capitalizedString(row.input), row.expected) << row.name;
}

TEST(CaseRulesTest, TitleCase) {
    const CaseRow rows[] = {
        {"small word inside", "the sound of music", "The Sound of Music"},
        {"first word keeps capital", "the end", "The End"},
        {"last word keeps capital", "shut up", "Shut Up"},
        {"already title case", "Live in London", "Live in London"},
        {"next to punctuation", "songs (the best) of, the", "Songs (The Best) Of, The"},
        {"two adjacent, second visited first", "out of the blue", "Out of the Blue"},
        {"two adjacent, jungle", "one in the jungle", "One in the Jungle"},
        {"article after conjunction", "rock and a hard place", "Rock and a Hard Place"},
        {"preposition pair", "hold on to me", "Hold on to Me"},
        {"same word twice: only the first", "x a a y", "X a A Y"},
        {"tab is not a space of the table", "x\tof\ty", "X\tOf\tY"},
        {"empty", "", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(titlecaseString(row.input), row.expected) << row.name;
}

TEST(CaseRulesTest, EverySmallWordIsLoweredBetweenTwoWords) {
    const QStringList smallWordsLowered{"the", "a",  "an",  "it",  "to",  "of", "in", "on",
                                        "at",  "by", "for", "via", "up",  "en", "v",  "vs",
                                        "as",  "if", "and", "or",  "nor", "but"};
    EXPECT_EQ(smallWords().size(), 22);
    for (const QString& word : smallWordsLowered) {
        const QString input = QStringLiteral("Word %1 Word").arg(word.toUpper());
        EXPECT_EQ(titlecaseString(input), QStringLiteral("Word %1 Word").arg(word))
            << word.toStdString();
    }
    EXPECT_EQ(titlecaseString(QStringLiteral("word into word")), QStringLiteral("Word Into Word"));
}

TEST(CaseRulesTest, ProperCase) {
    const CaseRow rows[] = {
        {"sentence", "hello WORLD", "Hello world"},
        {"music", "the sound of music", "The sound of music"},
        {"one character", "a", "A"},
        {"empty", "", ""},
        {"leading digit", "1ST ONE", "1st one"},
        {"sharp s widens", "ßtraße", "SStraße"},
        {"character outside the BMP", "𐐨𐐀", "𐐀𐐨"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(propercaseString(row.input), row.expected) << row.name;
}

}  // namespace
}  // namespace tessel
