#include "timeline/PhonemeTable.h"

namespace visemer {
namespace {

// Shape slots of the mouth bitmaps A, B, C, E, F, L, O, Q, R, S.
enum Shape : int { A, B, C, E, F, L, O, Q, R, S };

constexpr std::array<Phoneme, kPhonemeCount> kTable{{
    {"Closed", 32, C}, {"CH", 0, S},  {"SH", 0, S},  {"TH", 0, L},  {"A", 'A', A}, {"B", 'B', B},
    {"C", 'C', R},     {"D", 'D', S}, {"E", 'E', E}, {"F", 'F', F}, {"G", 'G', R}, {"H", 'H', R},
    {"I", 'I', A},     {"J", 'J', S}, {"K", 'K', R}, {"L", 'L', L}, {"M", 'M', B}, {"N", 'N', S},
    {"O", 'O', O},     {"P", 'P', B}, {"Q", 'Q', Q}, {"R", 'R', R}, {"S", 'S', S}, {"T", 'T', S},
    {"U", 'U', Q},     {"V", 'V', F}, {"W", 'W', Q}, {"X", 'X', R}, {"Y", 'Y', Q}, {"Z", 'Z', S},
}};

constexpr std::array<int, kShapeCount> kClipFrameOfShape{2, 3, 1, 4, 5, 6, 7, 8, 9, 10};

} // namespace

const std::array<Phoneme, kPhonemeCount>& PhonemeTable::all() {
    return kTable;
}

std::optional<Phoneme> PhonemeTable::find(std::string_view label) {
    for (const Phoneme& phoneme : kTable)
        if (phoneme.label == label)
            return phoneme;
    return std::nullopt;
}

std::optional<std::string_view> PhonemeTable::labelAt(int position) {
    if (position < 0 || position >= kPhonemeCount)
        return std::nullopt;
    return kTable[static_cast<std::size_t>(position)].label;
}

std::optional<std::string_view> PhonemeTable::labelForKey(int key) {
    if (key == 0)
        return std::nullopt;
    for (const Phoneme& phoneme : kTable)
        if (phoneme.key == key)
            return phoneme.label;
    return std::nullopt;
}

int PhonemeTable::clipFrameOfShape(int shapeSlot) {
    if (shapeSlot < 0 || shapeSlot >= kShapeCount)
        return 0;
    return kClipFrameOfShape[static_cast<std::size_t>(shapeSlot)];
}

std::optional<int> PhonemeTable::clipFrameOf(std::string_view label) {
    const auto phoneme = find(label);
    if (!phoneme)
        return std::nullopt;
    return clipFrameOfShape(phoneme->shapeSlot);
}

std::string_view PhonemeTable::drawingLetterOf(int shapeSlot) {
    constexpr std::array<std::string_view, kShapeCount> kLetters{"A", "B", "C", "E", "F",
                                                                 "L", "O", "Q", "R", "S"};
    if (shapeSlot < 0 || shapeSlot >= kShapeCount)
        return {};
    return kLetters[static_cast<std::size_t>(shapeSlot)];
}

} // namespace visemer
