#pragma once

#include <cstdint>

// Numbers shared by the program's logic and every toolkit implementation.
// Their values are the ones the program and its stored files have always used.
namespace visemer {

enum class EventKind : int {
    None = 0, // a platform message the toolkit does not translate
    WindowMoved = 3,
    Close = 16,
    Control = 13100,
    Menu = 13101,
    WindowActivated = 13104,
};

// Event type of a control event, as lastEventType() reports it.
namespace ClickType {
inline constexpr int None = -1;
inline constexpr int Left = 0;
inline constexpr int Right = 1;
inline constexpr int Double = 2;
inline constexpr int RightDouble = 3;
// Drop-down lists report a selection made by the user with this code, a
// notification of their own that no click type shares.
inline constexpr int DropListSelection = 9;
} // namespace ClickType

namespace WindowFlag {
inline constexpr std::uint32_t CaptionBar = 0xC00000;
inline constexpr std::uint32_t SystemMenu = 0x080000;
inline constexpr std::uint32_t MinimizeBox = 0x020000;
inline constexpr std::uint32_t CentreOnScreen = 1;
inline constexpr std::uint32_t CentreOnActive = 2;
} // namespace WindowFlag

namespace ControlFlag {
inline constexpr std::uint32_t SunkenBorder = 0x200; // image control
inline constexpr std::uint32_t Centred = 1;          // text label
inline constexpr std::uint32_t ReadOnly = 0x800;     // text field
} // namespace ControlFlag

namespace ListFlag {
inline constexpr std::uint32_t MultiSelect = 4;
inline constexpr std::uint32_t ShowSelectionAlways = 8;
inline constexpr std::uint32_t GridLines = 0x10000;
inline constexpr std::uint32_t FullRowSelect = 0x40000000;
} // namespace ListFlag

enum class ListDisplayMode : int { LargeIcons = 0, SmallIcons = 1, List = 2, Report = 3 };

// Key codes of the keyboard shortcuts; modifier bits are added on top.
namespace Key {
inline constexpr int Tab = 9;
inline constexpr int Enter = 13;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int A = 65;
inline constexpr int Z = 90;
inline constexpr int Numpad1 = 97;
inline constexpr int Numpad9 = 105;
inline constexpr int NumpadPlus = 107;
inline constexpr int NumpadMinus = 109;
inline constexpr int F1 = 112;

inline constexpr int Shift = 0x10000;
inline constexpr int Ctrl = 0x20000;
inline constexpr int Alt = 0x40000;
inline constexpr int ModifierMask = Shift | Ctrl | Alt;
} // namespace Key

namespace MessageBoxFlag {
inline constexpr int Error = 0x10;
inline constexpr int ErrorOnTop = 0x1010;
inline constexpr int Warning = 0x30;
inline constexpr int Question = 0x23; // Yes, No and Cancel
} // namespace MessageBoxFlag

namespace MessageBoxButton {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace MessageBoxButton

namespace FontFlag {
inline constexpr int Underline = 4;
inline constexpr int Strikeout = 8;
inline constexpr int HighQuality = 0x10;
inline constexpr int Bold = 0x100;
inline constexpr int Italic = 0x200;
} // namespace FontFlag

// A handle to the picture held in an image slot. Each load makes a new
// handle, so a handle kept after its slot was freed or reloaded shows nothing.
class Image {
public:
    constexpr Image() = default;
    constexpr explicit Image(std::uint64_t id) : id_(id) {}
    constexpr bool isNull() const { return id_ == 0; }
    constexpr std::uint64_t id() const { return id_; }
    friend constexpr bool operator==(Image, Image) = default;

private:
    std::uint64_t id_ = 0;
};

struct Size {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Size, Size) = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(Rect, Rect) = default;
};

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

} // namespace visemer
