#pragma once

#include "tool/Canvas.h"

#include <memory>
#include <string>

namespace visemer::tool {

// Text drawn on a canvas with a sans-serif font of the system's (DejaVu
// Sans, or Liberation Sans). Without one it draws nothing, and says so.
class TextPainter {
public:
    explicit TextPainter(int pixelSize);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    bool hasFont() const;
    // The width of the text in pixels, and the height of a line.
    int width(const std::string& text) const;
    int lineHeight() const { return lineHeight_; }
    // Draws the text with its top left corner at x, y.
    void draw(Canvas& canvas, const std::string& text, int x, int y, Colour colour) const;

private:
    struct Face;
    std::unique_ptr<Face> face_;
    int lineHeight_ = 0;
    int ascent_ = 0;
};

} // namespace visemer::tool
