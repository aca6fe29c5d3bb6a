// Phonemes of any language as the English phones the acoustic model hears,
// and the mouths they are drawn with.

#include "voice/ModelPhones.h"
#include "exchange/Vocabulary.h"
#include "voice/DialogueGrammar.h"
#include "voice/SpokenText.h"

#include <gtest/gtest.h>

#include <set>

namespace visemer {
namespace {

using Phones = std::vector<std::string>;

TEST(ModelPhones, AffricatesAndDiphthongsAreOnePhoneWhereEnglishHasOne) {
    EXPECT_EQ(modelPhonesOfPhoneme("tʃ"), Phones{"CH/tʃ"});
    EXPECT_EQ(modelPhonesOfPhoneme("ˈaɪ"), Phones{"AY/aɪ"});
    EXPECT_EQ(modelPhonesOfPhoneme("dʒ"), Phones{"JH/dʒ"});
    // German "z" and "pf" are two English phones, each drawn on its own.
    EXPECT_EQ(modelPhonesOfPhoneme("ts"), (Phones{"T/ts", "S/ts"}));
    EXPECT_EQ(modelPhonesOfPhoneme("pf"), (Phones{"P/pf", "F/pf"}));
    // A phoneme espeak-ng names with two vowels it has no name for.
    EXPECT_EQ(modelPhonesOfPhoneme("ɐ̃ʊ̃"), (Phones{"AH/ɐ", "UH/ʊ"}));
}

TEST(ModelPhones, StressLengthAndOtherMarksAreLetGo) {
    EXPECT_EQ(modelPhonesOfPhoneme("ˈiː"), Phones{"IY/i"});
    EXPECT_EQ(modelPhonesOfPhoneme("ɔ̃"), Phones{"AO/ɔ"});   // nasal
    EXPECT_EQ(modelPhonesOfPhoneme("rʲ"), Phones{"R/r"});   // palatalised
    EXPECT_EQ(modelPhonesOfPhoneme("t͡ʃ"), Phones{"CH/tʃ"}); // tie bar
    EXPECT_EQ(modelPhonesOfPhoneme("i̪5"), Phones{"IY/i"});  // tone number
    EXPECT_EQ(modelPhonesOfPhoneme("ʔ"), Phones{});
    EXPECT_EQ(modelPhonesOfPhoneme("ˌ"), Phones{});
    EXPECT_EQ(modelSpelling({"f", "ˈoːɹ", "ɾ", "i"}), "F/f OW/o R/ɹ D/ɾ IY/i");
}

TEST(ModelPhones, APhoneTellsTheModelPhoneAndThePhonemeBehindIt) {
    EXPECT_EQ(spokenPhone("IY", "y"), "IY/y");
    EXPECT_EQ(modelPhoneOf("IY/y"), "IY");
    EXPECT_EQ(phonemeOf("IY/y"), "y");
    EXPECT_EQ(modelPhoneOf("SIL"), "SIL");
    EXPECT_EQ(phonemeOf("AA"), "");
    // The alignment's word for it folds the model phone alone.
    EXPECT_EQ(phoneWord("IY/y"), "ph_iy/y");
    EXPECT_EQ(phoneWord("AA"), "ph_aa");
}

TEST(ModelPhones, RoundedFrontVowelsAreDrawnRoundNotAsTheirEnglishPhone) {
    EXPECT_EQ(Vocabulary::labelOfPhoneme("y", "IY"), "U");
    EXPECT_EQ(Vocabulary::labelOfPhoneme("ø", "UH"), "O");
    EXPECT_EQ(Vocabulary::labelOfPhoneme("ɯ", "UW"), "E");
    EXPECT_EQ(Vocabulary::labelOfPhoneme("i", "IY"), "E");
    EXPECT_EQ(Vocabulary::labelOfPhoneme("β", "B"), "B");
    EXPECT_EQ(Vocabulary::labelOfPhoneme("", "M"), "M");
}

class Spoken : public ::testing::Test {
protected:
    static std::string phonemes(const std::vector<SpokenWord>& words) {
        std::string all;
        for (const SpokenWord& word : words) {
            all += word.afterBreak ? " | " : " ";
            for (const std::string& phoneme : word.phonemes)
                all += phoneme + ".";
        }
        return all;
    }
    SpokenText spoken_;
};

TEST_F(Spoken, CodesAreFoundWhateverTheirCaseAndByTheirAliases) {
    ASSERT_TRUE(spoken_.language("de"));
    EXPECT_EQ(spoken_.language("DE")->code, "de");
    // Several languages answer to "fr": France's is espeak-ng's first choice.
    ASSERT_TRUE(spoken_.language("fr"));
    EXPECT_EQ(spoken_.language("fr")->code, "fr-fr");
    EXPECT_EQ(spoken_.language("en")->code, "en-gb");
    EXPECT_FALSE(spoken_.language("xx"));
    EXPECT_FALSE(spoken_.language(""));
    EXPECT_TRUE(std::is_sorted(spoken_.languages().begin(), spoken_.languages().end(),
                               [](const auto& a, const auto& b) { return a.code < b.code; }));
}

TEST_F(Spoken, NumbersAreSpokenAndClausesBreak) {
    const auto english = spoken_.words("Zorblax has 42, or more.", *spoken_.language("en-us"));
    // Zorblax has forty two | or more
    ASSERT_EQ(english.size(), 6U) << phonemes(english);
    EXPECT_TRUE(english[0].afterBreak);
    EXPECT_FALSE(english[3].afterBreak);
    EXPECT_TRUE(english[4].afterBreak);
    EXPECT_EQ(modelSpelling(english[2].phonemes).substr(0, 3), "F/f");
    // A word read by another language's rules keeps no mark of it.
    const auto russian = spoken_.words("Hello, Привет", *spoken_.language("ru"));
    EXPECT_EQ(phonemes(russian).find('('), std::string::npos) << phonemes(russian);
    EXPECT_EQ(russian.size(), 2U) << phonemes(russian);
}

TEST_F(Spoken, EveryLanguageListedReadsADialogueTheModelCanHear) {
    for (const SpokenLanguage& language : spoken_.languages()) {
        const auto words = spoken_.words("1 2 3. Mama, papa.", language);
        EXPECT_FALSE(pronunciationsOf(words).spellings.empty()) << language.code;
    }
}

TEST_F(Spoken, EverySoundOfTheBenchmarkedLanguagesHasAPhone) {
    const std::pair<const char*, const char*> samples[] = {
        {"de", "Über Äpfel, Bäche, Züge und Pfeffer: ich möchte zwölf Brötchen."},
        {"fr", "Un bon vin blanc, une brune heureuse; le juge mange du pain."},
        {"es", "El perro de San Roque no tiene rabo; mañana llueve."},
        {"it", "Gli gnocchi sono buoni, e la zia ha sciato."},
        {"pt", "Não sei o que é, mas a mãe chegou às nove."},
        {"nl", "Goedemorgen, het huis van de buurman is uitverkocht."},
        {"pl", "Chrząszcz brzmi w trzcinie, źrebię je żołędzie."},
        {"ru", "Щётка, чай, съешь же ещё этих мягких французских булок."},
        {"en-us", "The quick brown fox jumps over the lazy dog's thick azure yacht."},
    };
    for (const auto& [code, text] : samples) {
        for (const SpokenWord& word : spoken_.words(text, *spoken_.language(code))) {
            for (const std::string& phoneme : word.phonemes) {
                if (phoneme.find("ʔ") == std::string::npos && phoneme != "ʲ") {
                    EXPECT_FALSE(modelPhonesOfPhoneme(phoneme).empty()) << code << ": " << phoneme;
                }
            }
        }
    }
}

} // namespace
} // namespace visemer
