#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace visemer {

// One of the 30 phoneme labels and everything derived from it.
struct Phoneme {
    std::string_view label;
    int key;       // the menu identifier of its key, 0 for none
    int shapeSlot; // mouth bitmap, 0 to 9
    constexpr int iconSlot() const { return shapeSlot + 10; }
};

inline constexpr int kPhonemeCount = 30;
inline constexpr int kShapeCount = 10;

// The fixed vocabulary of the timeline, in phoneme-list order. Lookups
// compare whole texts exactly, letter case included.
class PhonemeTable {
public:
    static const std::array<Phoneme, kPhonemeCount>& all();
    static std::optional<Phoneme> find(std::string_view label);
    // The label at a place of the phoneme list; nothing outside 0 to 29.
    static std::optional<std::string_view> labelAt(int position);
    // The label a key assigns: Space gives "Closed", A to Z their letter.
    static std::optional<std::string_view> labelForKey(int key);
    // The frame of the mouth clip that shows a shape: its drawings run C, A,
    // B, E, F, L, O, Q, R, S as frames 1 to 10. 0 outside 0 to 9.
    static int clipFrameOfShape(int shapeSlot);
    static std::optional<int> clipFrameOf(std::string_view label);
    // The letter that names a shape's drawing, A B C E F L O Q R S for
    // shapes 0 to 9 (C is the closed mouth); empty for any other number.
    static std::string_view drawingLetterOf(int shapeSlot);
};

} // namespace visemer
