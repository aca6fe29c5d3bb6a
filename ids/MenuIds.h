#pragma once

// Identifiers of menu events. Menu items and keyboard shortcuts share them:
// a single-key shortcut raises its own key code.
namespace visemer::MenuId {

inline constexpr int New = 1;
inline constexpr int Open = 2;
inline constexpr int Save = 3;
inline constexpr int SaveAs = 4;
inline constexpr int LoadAudio = 5;
inline constexpr int ExportScript = 6;
inline constexpr int Exit = 7;
inline constexpr int LoadImages = 8;
inline constexpr int DefaultImages = 9;
inline constexpr int Help = 10;
inline constexpr int About = 12;

inline constexpr int Play = 13;        // Enter
inline constexpr int Closed = 32;      // Space
inline constexpr int AppendFrame = 45; // Insert
inline constexpr int RemoveFrame = 46; // Delete
inline constexpr int FirstLetter = 65; // A
inline constexpr int LastLetter = 90;  // Z
inline constexpr int FirstNumpad = 97; // number-pad 1
inline constexpr int LastNumpad = 105; // number-pad 9
inline constexpr int DelayUp = 107;    // number-pad +
inline constexpr int DelayDown = 109;  // number-pad -

} // namespace visemer::MenuId
