#include "timeline/PhonemeTable.h"

#include <gtest/gtest.h>
#include <set>

namespace visemer {
namespace {

TEST(PhonemeTable, EveryRowAgreesWithItsShape) {
    std::set<std::string_view> labels;
    for (const Phoneme& phoneme : PhonemeTable::all()) {
        labels.insert(phoneme.label);
        EXPECT_EQ(phoneme.iconSlot(), phoneme.shapeSlot + 10);
        EXPECT_EQ(PhonemeTable::clipFrameOf(phoneme.label),
                  PhonemeTable::clipFrameOfShape(phoneme.shapeSlot));
    }
    EXPECT_EQ(labels.size(), 30u);
}

TEST(PhonemeTable, LabelsMapToTheirDrawingsAndClipFrames) {
    struct Case {
        const char* label;
        int shapeSlot;
        int clipFrame;
    } cases[] = {
        {"Closed", 2, 1}, {"C", 8, 9}, {"A", 0, 2},   {"I", 0, 2},   {"B", 1, 3},  {"M", 1, 3},
        {"P", 1, 3},      {"E", 3, 4}, {"V", 4, 5},   {"TH", 5, 6},  {"L", 5, 6},  {"O", 6, 7},
        {"W", 7, 8},      {"X", 8, 9}, {"CH", 9, 10}, {"SH", 9, 10}, {"Z", 9, 10},
    };
    for (const auto& c : cases) {
        const auto phoneme = PhonemeTable::find(c.label);
        ASSERT_TRUE(phoneme) << c.label;
        EXPECT_EQ(phoneme->shapeSlot, c.shapeSlot) << c.label;
        EXPECT_EQ(PhonemeTable::clipFrameOf(c.label), c.clipFrame) << c.label;
    }
}

TEST(PhonemeTable, LookupsAreExactAndCaseSensitive) {
    for (const char* text : {"a", "closed", "CLOSED", "Closed ", " A", "", "th", "AA"})
        EXPECT_FALSE(PhonemeTable::find(text)) << '"' << text << '"';
    EXPECT_EQ(PhonemeTable::labelAt(0), "Closed");
    EXPECT_EQ(PhonemeTable::labelAt(3), "TH");
    EXPECT_EQ(PhonemeTable::labelAt(29), "Z");
    EXPECT_FALSE(PhonemeTable::labelAt(-1));
    EXPECT_FALSE(PhonemeTable::labelAt(30));
    EXPECT_EQ(PhonemeTable::labelForKey(32), "Closed");
    EXPECT_EQ(PhonemeTable::labelForKey('C'), "C");
    EXPECT_FALSE(PhonemeTable::labelForKey(0));
    for (const char* keyless : {"CH", "SH", "TH"})
        EXPECT_EQ(PhonemeTable::find(keyless)->key, 0) << keyless;
    EXPECT_EQ(PhonemeTable::clipFrameOfShape(10), 0);
}

} // namespace
} // namespace visemer
