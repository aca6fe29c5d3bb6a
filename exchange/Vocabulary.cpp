#include "exchange/Vocabulary.h"

#include "timeline/PhonemeTable.h"

#include <array>
#include <utility>

namespace visemer::Vocabulary {
namespace {

using Pair = std::pair<std::string_view, std::string_view>;

// Vowels go by how open and how round the lips are; consonants by what the
// lips and teeth do, so that most of them keep their own label.
constexpr std::array<Pair, 40> kPhoneLabels{{
    {"AA", "A"}, {"AE", "A"},  {"AH", "A"},  {"AO", "O"},       {"AW", "A"}, {"AY", "I"},
    {"B", "B"},  {"CH", "CH"}, {"D", "D"},   {"DH", "TH"},      {"EH", "E"}, {"ER", "R"},
    {"EY", "E"}, {"F", "F"},   {"G", "G"},   {"HH", "H"},       {"IH", "E"}, {"IY", "E"},
    {"JH", "J"}, {"K", "K"},   {"L", "L"},   {"M", "M"},        {"N", "N"},  {"NG", "N"},
    {"OW", "O"}, {"OY", "O"},  {"P", "P"},   {"R", "R"},        {"S", "S"},  {"SH", "SH"},
    {"T", "T"},  {"TH", "TH"}, {"UH", "U"},  {"UW", "U"},       {"V", "V"},  {"W", "W"},
    {"Y", "Y"},  {"Z", "Z"},   {"ZH", "SH"}, {"SIL", "Closed"},
}};

// Rounded front vowels are heard as the front vowels of English but drawn
// with the lips rounded; the unrounded u is drawn spread.
constexpr std::array<Pair, 6> kPhonemeLabels{{
    {"y", "U"},
    {"ʏ", "U"},
    {"ø", "O"},
    {"œ", "O"},
    {"ɵ", "O"},
    {"ɯ", "E"},
}};

struct Drawing {
    char letter;
    std::string_view label; // the label that stands for it
    char cueShape;
    std::string_view switchName;
};

// Cue shapes: A closed lips (M B P), B teeth together (most consonants),
// C open (EH, AE), D wide open (AA), E slightly round (AO, ER), F puckered
// (UW, OW, W), G lip on teeth (F V), H tongue up (L), X at rest.
constexpr std::array<Drawing, 10> kDrawings{{
    {'A', "A", 'D', "AI"},
    {'B', "B", 'A', "MBP"},
    {'C', "Closed", 'X', "rest"},
    {'E', "E", 'C', "E"},
    {'F', "F", 'G', "FV"},
    {'L', "L", 'H', "L"},
    {'O', "O", 'E', "O"},
    {'Q', "W", 'F', "WQ"},
    {'R', "R", 'B', "etc"},
    {'S', "S", 'B', "etc"},
}};

// Where a cue shape is read back, B stands for the S drawing, the more
// common of the two that share it.
constexpr std::array<std::pair<char, char>, 9> kCueShapeDrawings{{
    {'A', 'B'},
    {'B', 'S'},
    {'C', 'E'},
    {'D', 'A'},
    {'E', 'O'},
    {'F', 'Q'},
    {'G', 'F'},
    {'H', 'L'},
    {'X', 'C'},
}};

constexpr char kLipsClosed = 'B';

const Drawing* findDrawing(char letter) {
    for (const Drawing& drawing : kDrawings)
        if (drawing.letter == letter)
            return &drawing;
    return nullptr;
}

} // namespace

std::string_view labelOfPhone(std::string_view phone) {
    for (const auto& [name, label] : kPhoneLabels)
        if (name == phone)
            return label;
    return "Closed";
}

std::string_view labelOfPhoneme(std::string_view phoneme, std::string_view modelPhone) {
    for (const auto& [name, label] : kPhonemeLabels)
        if (name == phoneme)
            return label;
    return labelOfPhone(modelPhone);
}

std::optional<char> drawingOf(std::string_view label) {
    const auto phoneme = PhonemeTable::find(label);
    if (!phoneme)
        return std::nullopt;
    return PhonemeTable::drawingLetterOf(phoneme->shapeSlot).front();
}

bool closesLips(std::string_view label) {
    return drawingOf(label) == kLipsClosed;
}

std::string_view labelOfDrawing(char drawing) {
    const Drawing* found = findDrawing(drawing);
    return found ? found->label : std::string_view("Closed");
}

char cueShapeOfDrawing(char drawing) {
    const Drawing* found = findDrawing(drawing);
    return found ? found->cueShape : 'X';
}

std::optional<char> drawingOfCueShape(char shape) {
    for (const auto& [cue, drawing] : kCueShapeDrawings)
        if (cue == shape)
            return drawing;
    return std::nullopt;
}

// "U" has a switch name of its own; every other label goes by its drawing.
std::string_view switchNameOf(std::string_view label) {
    if (label == "U")
        return "U";
    const auto drawing = drawingOf(label);
    const Drawing* found = drawing ? findDrawing(*drawing) : nullptr;
    return found ? found->switchName : std::string_view("rest");
}

std::optional<std::string_view> labelOfSwitchName(std::string_view name) {
    if (name == "U")
        return std::string_view("U");
    if (name == "etc")
        return std::string_view("S");
    for (const Drawing& drawing : kDrawings)
        if (drawing.switchName == name)
            return drawing.label;
    return std::nullopt;
}

} // namespace visemer::Vocabulary
