#pragma once

namespace visemer::PlaybackRate {

// The frame rates the FPS list offers; 30 is selected at start.
inline constexpr int kLowestFps = 12;
inline constexpr int kHighestFps = 30;

// Frames per second taken off the rate for "Browser" timing, and for
// "Projector".
inline constexpr int kBrowserAdjustment = -2;
inline constexpr int kProjectorAdjustment = 0;

// Milliseconds one delay step lasts: 1000 / ((fps + adjustment) / 2),
// worked out in single precision as the preview has always done; not
// positive when the rate is not.
float delayUnit(int fps, int timingAdjustment);

// How long a row of the given delay shows: delay steps of the unit.
// Delays below one, and any delay at a rate that is not positive, last
// nothing; no row lasts longer than an hour, far beyond any real timing and
// short of what a sleep can count. The preview sums these to know when each
// row is due.
double stepMs(int delay, float unit);

} // namespace visemer::PlaybackRate
