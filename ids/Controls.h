#pragma once

// The numbers of the windows and controls. Commands address the controls
// by these numbers; stored files and the event loop rely on them.
namespace visemer {

namespace Window {
inline constexpr int Main = 0;
inline constexpr int About = 1;
} // namespace Window

namespace Control {
inline constexpr int Preview = 0;
inline constexpr int Sequencer = 1;
inline constexpr int Phonemes = 2;
inline constexpr int PlayButton = 3;
inline constexpr int FpsLabel = 4;
inline constexpr int FpsList = 5;
inline constexpr int FirstDelayButton = 6; // "1"; the pad runs to "12"
inline constexpr int LastDelayButton = 17;
inline constexpr int DelayDown = 18;
inline constexpr int DelayUp = 19;
inline constexpr int TotalFramesLabel = 20;
inline constexpr int FramesDown = 21;
inline constexpr int FramesUp = 22;
inline constexpr int TotalFrames = 23;
inline constexpr int PreviewFrame = 24;
inline constexpr int SequencerFrame = 25;
inline constexpr int ShapesFrame = 26;
inline constexpr int Browser = 27;
inline constexpr int Projector = 28;

inline constexpr int AboutPicture = 500;
inline constexpr int AboutTitle = 502;
inline constexpr int AboutCredit = 503;
inline constexpr int MakerLink = 504;
inline constexpr int ScriptCredit = 505;
inline constexpr int ScriptAuthorLink = 506;
inline constexpr int AboutNotice = 507;
} // namespace Control

namespace Font {
inline constexpr int AboutTitle = 501;
inline constexpr int PadSign = 508;
} // namespace Font

inline constexpr int kMainMenu = 0;

} // namespace visemer
