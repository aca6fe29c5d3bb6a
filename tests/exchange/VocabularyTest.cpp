// The tables between phones, labels, drawings, cue shapes and switch names.

#include "exchange/Vocabulary.h"
#include "timeline/PhonemeTable.h"

#include <gtest/gtest.h>

namespace visemer {
namespace {

using namespace Vocabulary;

TEST(Vocabulary, EveryPhoneBecomesOneOfTheThirtyLabels) {
    const char* phones[] = {"AA", "AE", "AH", "AO", "AW", "AY", "B",  "CH", "D",  "DH",
                            "EH", "ER", "EY", "F",  "G",  "HH", "IH", "IY", "JH", "K",
                            "L",  "M",  "N",  "NG", "OW", "OY", "P",  "R",  "S",  "SH",
                            "T",  "TH", "UH", "UW", "V",  "W",  "Y",  "Z",  "ZH", "SIL"};
    for (const char* phone : phones)
        EXPECT_TRUE(PhonemeTable::find(labelOfPhone(phone))) << phone;
    EXPECT_EQ(labelOfPhone("SIL"), "Closed");
    EXPECT_EQ(labelOfPhone("+NSN+"), "Closed") << "noise closes the mouth";
    EXPECT_EQ(labelOfPhone("M"), "M");
    EXPECT_EQ(drawingOf(labelOfPhone("B")), drawingOf(labelOfPhone("P")));
}

TEST(Vocabulary, DrawingsFollowTheEditorsShapes) {
    EXPECT_EQ(drawingOf("Closed"), 'C');
    EXPECT_EQ(drawingOf("C"), 'R') << "the letter C uses the R drawing";
    EXPECT_EQ(drawingOf("TH"), 'L');
    EXPECT_EQ(drawingOf("closed"), std::nullopt);
    for (const Phoneme& phoneme : PhonemeTable::all()) {
        const char drawing = *drawingOf(phoneme.label);
        EXPECT_EQ(drawingOf(labelOfDrawing(drawing)), drawing) << phoneme.label;
    }
}

TEST(Vocabulary, CueShapesAndSwitchNamesComeBackToTheSameName) {
    for (const Phoneme& phoneme : PhonemeTable::all()) {
        const char cue = cueShapeOfDrawing(*drawingOf(phoneme.label));
        const auto back = drawingOfCueShape(cue);
        ASSERT_TRUE(back) << phoneme.label;
        EXPECT_EQ(cueShapeOfDrawing(*back), cue) << phoneme.label;

        const std::string_view name = switchNameOf(phoneme.label);
        const auto label = labelOfSwitchName(name);
        ASSERT_TRUE(label) << phoneme.label;
        EXPECT_EQ(switchNameOf(*label), name) << phoneme.label;
    }
    EXPECT_EQ(cueShapeOfDrawing('C'), 'X');
    EXPECT_EQ(cueShapeOfDrawing('B'), 'A');
    EXPECT_EQ(switchNameOf("Closed"), "rest");
    EXPECT_EQ(switchNameOf("U"), "U");
    EXPECT_EQ(switchNameOf("W"), "WQ");
    EXPECT_EQ(switchNameOf("Xylophone"), "rest");
    EXPECT_EQ(drawingOfCueShape('Y'), std::nullopt);
    EXPECT_EQ(labelOfSwitchName("ai"), std::nullopt) << "names compare exactly";
}

} // namespace
} // namespace visemer
