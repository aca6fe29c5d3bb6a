#pragma once

#include <optional>
#include <string_view>

namespace visemer::Vocabulary {

// Every table that turns one way of naming mouth shapes into another lives
// here, and the README lists them.
//
// - phones: the recognizer's 39 English phones and "SIL";
// - phonemes of other languages, in IPA, where their lips differ from
//   their nearest English phone's;
// - labels: the editor's 30 labels, each shown with one of ten drawings;
// - drawings: the ten mouth pictures, named by their letters A B C E F L O
//   Q R S (C is the closed mouth);
// - cue shapes: the nine shapes of recognizer cue lists, A to H and X;
// - switch names: the ten mouth names of switch data (AI, E, O, U, WQ, L,
//   MBP, FV, etc, rest).

// Silence, and any phone the table does not know (noise, breath), close
// the mouth.
std::string_view labelOfPhone(std::string_view phone);
// The label of a phoneme of another language (in IPA) heard as the model
// phone nearest it: the phone's own label, unless the lips round or spread
// otherwise ("y" of French "tu" is heard as IY, with rounded lips).
std::string_view labelOfPhoneme(std::string_view phoneme, std::string_view modelPhone);

// The drawing a label shows; nothing for a text that is not a label.
std::optional<char> drawingOf(std::string_view label);
// Whether a label's drawing shows the lips pressed together (b, m, p).
bool closesLips(std::string_view label);
// The label that stands for a drawing where only the drawing is known.
std::string_view labelOfDrawing(char drawing);

char cueShapeOfDrawing(char drawing);
std::optional<char> drawingOfCueShape(char shape);

std::string_view switchNameOf(std::string_view label);
std::optional<std::string_view> labelOfSwitchName(std::string_view name);

} // namespace visemer::Vocabulary
