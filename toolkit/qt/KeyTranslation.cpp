#include "toolkit/qt/KeyTranslation.h"

#include "toolkit/ToolkitTypes.h"

#include <QKeyEvent>

namespace visemer {
namespace {

// X11 key symbols of the number pad (XK_KP_Space to XK_KP_Equal). On a real
// X server these tell a number-pad key apart even where Qt's keypad flag is
// not enough.
constexpr quint32 kFirstKeypadSym = 0xff80;
constexpr quint32 kLastKeypadSym = 0xffbd;

bool isKeypad(const QKeyEvent& event) {
    if (event.modifiers() & Qt::KeypadModifier)
        return true;
    const quint32 sym = event.nativeVirtualKey();
    return sym >= kFirstKeypadSym && sym <= kLastKeypadSym;
}

int keypadCode(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return 96 + (key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk:
        return 106;
    case Qt::Key_Plus:
        return Key::NumpadPlus;
    case Qt::Key_Minus:
        return Key::NumpadMinus;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 110;
    case Qt::Key_Slash:
        return 111;
    case Qt::Key_Enter:
    case Qt::Key_Return:
        return Key::Enter;
    default:
        return 0;
    }
}

int mainKeyboardCode(int key) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return Key::A + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return 48 + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return Key::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Space:
        return Key::Space;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return Key::Enter;
    case Qt::Key_Escape:
        return Key::Escape;
    case Qt::Key_Insert:
        return Key::Insert;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        return 0;
    }
}

// The letter keys by X key code (the same for evdev and the older XFree86
// numbering): the letters a US keyboard prints on them, row by row.
constexpr quint32 kTopLetterRow = 24;    // Q W E R T Y U I O P
constexpr quint32 kMiddleLetterRow = 38; // A S D F G H J K L
constexpr quint32 kBottomLetterRow = 52; // Z X C V B N M
constexpr char kTopLetters[] = "QWERTYUIOP";
constexpr char kMiddleLetters[] = "ASDFGHJKL";
constexpr char kBottomLetters[] = "ZXCVBNM";

int usLetterAt(quint32 scanCode) {
    const auto letterIn = [scanCode](quint32 first, const char* letters, quint32 count) {
        return scanCode >= first && scanCode < first + count ? letters[scanCode - first] : 0;
    };
    int letter = letterIn(kTopLetterRow, kTopLetters, sizeof kTopLetters - 1);
    if (!letter)
        letter = letterIn(kMiddleLetterRow, kMiddleLetters, sizeof kMiddleLetters - 1);
    if (!letter)
        letter = letterIn(kBottomLetterRow, kBottomLetters, sizeof kBottomLetters - 1);
    return letter ? Key::A + (letter - 'A') : 0;
}

// A letter of another script (Cyrillic, Greek, ...) stands for the letter
// at the same place on a US keyboard, so the letter shortcuts work whatever
// layout is active. Latin layouts keep the letter printed on the key.
int nonLatinLetterCode(const QKeyEvent& event) {
    const int key = event.key();
    if (key <= 0x7f || key > 0x10ffff || !QChar::isLetter(char32_t(key)))
        return 0;
    if (key <= 0x24f) // Latin-1 and Latin Extended letters
        return 0;
    return usLetterAt(event.nativeScanCode());
}

} // namespace

int shortcutKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    int code = 0;
    if (isKeypad(event)) {
        // With Num Lock off the digit keys arrive as cursor keys, which are
        // not number-pad digits; + and - are the same either way.
        code = keypadCode(key);
        if (code == 0)
            code = mainKeyboardCode(key);
    } else {
        code = mainKeyboardCode(key);
        if (code == 0)
            code = nonLatinLetterCode(event);
    }
    if (code == 0)
        return 0;
    const auto modifiers = event.modifiers();
    if (modifiers & Qt::ShiftModifier)
        code |= Key::Shift;
    if (modifiers & Qt::ControlModifier)
        code |= Key::Ctrl;
    if (modifiers & Qt::AltModifier)
        code |= Key::Alt;
    return code;
}

} // namespace visemer
