#include "tool/TimingPicture.h"

#include "exchange/Vocabulary.h"
#include "text/DecimalText.h"
#include "tool/TextPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace visemer::tool {
namespace {

constexpr int kMargin = 10;
constexpr int kTitleHeight = 22;
constexpr int kWaveHeight = 120;
constexpr int kRulerHeight = 36;
constexpr int kBandHeight = 104;
constexpr int kLargestDrawing = 72;
constexpr int kSmallestDrawing = 12;
constexpr int kLeastTickGap = 90;  // pixels between labelled ticks
constexpr int kNarrowestEdged = 3; // pixels a row needs to show its edge

constexpr Colour kPaper{250, 250, 247};
constexpr Colour kInk{40, 40, 40};
constexpr Colour kFaint{120, 120, 120};
constexpr Colour kWave{62, 104, 168};
constexpr Colour kWaveLine{200, 206, 214};
constexpr Colour kRowShades[] = {{233, 239, 247}, {222, 230, 242}};
constexpr Colour kClosed{196, 196, 196};
constexpr Colour kRowEdge{140, 150, 165};

class Layout {
public:
    Layout(const PictureSpan& span, int left, int width)
        : from_(span.fromMs), to_(std::max(span.toMs, span.fromMs + 1)), left_(left),
          width_(width) {}
    double x(double ms) const { return left_ + (ms - from_) / (to_ - from_) * width_; }
    double msAt(double x) const { return from_ + (x - left_) / width_ * (to_ - from_); }
    double from() const { return from_; }
    double to() const { return to_; }
    int left() const { return left_; }
    int right() const { return left_ + width_; }
    int width() const { return width_; }

private:
    double from_, to_;
    int left_, width_;
};

std::string secondsText(double seconds, double step) {
    char text[32];
    if (step >= 60 && seconds >= 60)
        std::snprintf(text, sizeof text, "%d:%02d", static_cast<int>(seconds) / 60,
                      static_cast<int>(seconds) % 60);
    else if (step >= 1)
        std::snprintf(text, sizeof text, "%.0f s", seconds);
    else
        std::snprintf(text, sizeof text, "%.1f s", seconds);
    return text;
}

void drawWave(Canvas& canvas, const ClipEnvelope& envelope, const Layout& layout, int top) {
    const int middle = top + kWaveHeight / 2;
    canvas.fill(layout.left(), middle, layout.width(), 1, kWaveLine);
    const double half = kWaveHeight / 2.0 - 1;
    for (int x = layout.left(); x < layout.right(); ++x) {
        const double start = std::max(0.0, layout.msAt(x));
        const double end = std::min(envelope.lengthMs, layout.msAt(x + 1));
        if (end <= start)
            continue;
        const auto first = static_cast<std::size_t>(start / ClipEnvelope::kBinMs);
        const auto last = std::min(envelope.low.size(),
                                   static_cast<std::size_t>(std::ceil(end / ClipEnvelope::kBinMs)));
        int low = 0, high = 0;
        for (std::size_t bin = first; bin < std::max(last, first + 1) && bin < envelope.low.size();
             ++bin) {
            low = std::min<int>(low, envelope.low[bin]);
            high = std::max<int>(high, envelope.high[bin]);
        }
        const int y1 = middle - static_cast<int>(std::lround(high / 32768.0 * half));
        const int y2 = middle - static_cast<int>(std::lround(low / 32768.0 * half));
        canvas.fill(x, y1, 1, std::max(1, y2 - y1 + 1), kWave);
    }
}

void drawRuler(Canvas& canvas, const TextPainter& text, const Layout& layout, int top, int fps) {
    canvas.fill(layout.left(), top, layout.width(), 1, kFaint);
    const double spanSeconds = (layout.to() - layout.from()) / 1000;
    static constexpr double kSteps[] = {0.1, 0.2, 0.5, 1,   2,   5,    10,   15,  30,
                                        60,  120, 300, 600, 900, 1800, 3600, 7200};
    double step = kSteps[std::size(kSteps) - 1];
    for (const double candidate : kSteps)
        if (candidate / spanSeconds * layout.width() >= kLeastTickGap) {
            step = candidate;
            break;
        }
    // A tick for every frame where frames stand four pixels apart or more.
    if (fps > 0 && 1000.0 / fps / (layout.to() - layout.from()) * layout.width() >= 4)
        for (long frame = static_cast<long>(std::ceil(layout.from() * fps / 1000));
             frame * 1000.0 / fps <= layout.to(); ++frame)
            canvas.fill(static_cast<int>(layout.x(frame * 1000.0 / fps)), top, 1, 4, kFaint);
    for (long tick = static_cast<long>(std::ceil(layout.from() / 1000 / step));
         tick * step * 1000 <= layout.to(); ++tick) {
        const double seconds = tick * step;
        const int x = static_cast<int>(layout.x(seconds * 1000));
        canvas.fill(x, top, 1, 9, kInk);
        const std::string label = secondsText(seconds, step);
        const std::string frames = std::to_string(std::lround(seconds * fps)) + " f";
        if (x + 3 + std::max(text.width(label), text.width(frames)) > canvas.width())
            continue; // a label cut at the edge would mislead
        text.draw(canvas, label, x + 3, top + 4, kInk);
        if (fps > 0)
            text.draw(canvas, frames, x + 3, top + 4 + text.lineHeight(), kFaint);
    }
}

void drawBand(Canvas& canvas, const TextPainter& text, const std::vector<TimedLabel>& rows,
              const MouthDrawings& drawings, const Layout& layout, int top) {
    std::size_t shade = 0;
    for (const TimedLabel& row : rows) {
        if (row.endMs <= layout.from() || row.startMs >= layout.to())
            continue;
        const int left =
            std::max(layout.left(), static_cast<int>(std::lround(layout.x(row.startMs))));
        const int right =
            std::min(layout.right(), static_cast<int>(std::lround(layout.x(row.endMs))));
        const bool closed = row.label == Vocabulary::labelOfDrawing('C');
        // Rows too narrow to tell apart are drawn as one stretch of voice,
        // the pauses still shaded.
        const bool narrow = right - left < kNarrowestEdged;
        canvas.fill(left, top, std::max(1, right - left), kBandHeight,
                    closed ? kClosed : kRowShades[narrow ? 0 : shade++ % 2]);
        if (!narrow)
            canvas.fill(left, top, 1, kBandHeight, kRowEdge);
        const int inner = right - left - 4;
        if (text.width(row.label) <= inner)
            text.draw(canvas, row.label, left + 3, top + 2, kInk);
        const auto letter = Vocabulary::drawingOf(row.label);
        const Canvas* drawing = letter ? drawings.of(*letter) : nullptr;
        const int size = std::min({kLargestDrawing, inner, kBandHeight - text.lineHeight() - 6});
        if (drawing && size >= kSmallestDrawing)
            canvas.draw(*drawing, left + 2 + (inner - size) / 2, top + text.lineHeight() + 4, size,
                        size);
    }
    canvas.fill(layout.left(), top + kBandHeight, layout.width(), 1, kRowEdge);
}

} // namespace

Canvas drawTiming(const Timing& timing, const ClipEnvelope* envelope, const MouthDrawings& drawings,
                  const PictureSpan& span) {
    const int height = kMargin + kTitleHeight + (envelope ? kWaveHeight : 0) + kRulerHeight +
                       kBandHeight + 1 + kMargin;
    Canvas canvas(span.width, height, kPaper);
    const TextPainter text(12);
    const TextPainter title(14);
    const Layout layout(span, kMargin, span.width - 2 * kMargin);
    int top = kMargin;
    title.draw(canvas, span.title, kMargin, top, kInk);
    top += kTitleHeight;
    if (envelope) {
        drawWave(canvas, *envelope, layout, top);
        top += kWaveHeight;
    }
    drawRuler(canvas, text, layout, top, static_cast<int>(readDecimal(timing.fps)));
    top += kRulerHeight;
    drawBand(canvas, text, timeRows(timing, delayUnitMs(timing)), drawings, layout, top);
    return canvas;
}

} // namespace visemer::tool
