#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace visemer::tool {

struct Colour {
    std::uint8_t red = 0, green = 0, blue = 0;
};

// A picture in memory, 8-bit RGB, drawn on by rectangles and pictures and
// written as PNG. Drawing outside it is clipped.
class Canvas {
public:
    Canvas(int width, int height, Colour background);

    int width() const { return width_; }
    int height() const { return height_; }
    Colour at(int x, int y) const;

    void fill(int x, int y, int width, int height, Colour colour);
    // Mixes the colour over what is there, `opacity` from 0 to 255.
    void blend(int x, int y, Colour colour, int opacity);
    // The picture scaled to the box (each pixel the mean of those it
    // covers), its top left corner at x, y.
    void draw(const Canvas& picture, int x, int y, int width, int height);

    // The PNG file's bytes.
    std::string png() const;
    // Reads a PNG (of any kind libpng reads) into RGB; false when it is none.
    static bool fromPng(const std::string& bytes, Canvas& canvas);

private:
    int width_;
    int height_;
    std::vector<std::uint8_t> pixels_; // rows of RGB, top first
};

} // namespace visemer::tool
