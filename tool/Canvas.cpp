#include "tool/Canvas.h"

#include <algorithm>
#include <png.h>

namespace visemer::tool {

Canvas::Canvas(int width, int height, Colour background)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * 3) {
    fill(0, 0, width_, height_, background);
}

Colour Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return {};
    const std::uint8_t* pixel = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    return {pixel[0], pixel[1], pixel[2]};
}

void Canvas::fill(int x, int y, int width, int height, Colour colour) {
    const int left = std::max(0, x), right = std::min(width_, x + width);
    const int top = std::max(0, y), bottom = std::min(height_, y + height);
    for (int row = top; row < bottom; ++row) {
        std::uint8_t* pixel = &pixels_[(static_cast<std::size_t>(row) * width_ + left) * 3];
        for (int column = left; column < right; ++column) {
            *pixel++ = colour.red;
            *pixel++ = colour.green;
            *pixel++ = colour.blue;
        }
    }
}

void Canvas::blend(int x, int y, Colour colour, int opacity) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || opacity <= 0)
        return;
    opacity = std::min(opacity, 255);
    std::uint8_t* pixel = &pixels_[(static_cast<std::size_t>(y) * width_ + x) * 3];
    const auto mix = [opacity](std::uint8_t under, std::uint8_t over) {
        return static_cast<std::uint8_t>((under * (255 - opacity) + over * opacity + 127) / 255);
    };
    pixel[0] = mix(pixel[0], colour.red);
    pixel[1] = mix(pixel[1], colour.green);
    pixel[2] = mix(pixel[2], colour.blue);
}

void Canvas::draw(const Canvas& picture, int x, int y, int width, int height) {
    if (picture.width_ == 0 || picture.height_ == 0 || width <= 0 || height <= 0)
        return;
    for (int row = std::max(0, -y); row < height && y + row < height_; ++row) {
        const int top = row * picture.height_ / height;
        const int bottom = std::max(top + 1, (row + 1) * picture.height_ / height);
        for (int column = std::max(0, -x); column < width && x + column < width_; ++column) {
            const int left = column * picture.width_ / width;
            const int right = std::max(left + 1, (column + 1) * picture.width_ / width);
            unsigned sum[3] = {0, 0, 0};
            for (int sy = top; sy < bottom; ++sy)
                for (int sx = left; sx < right; ++sx) {
                    const Colour c = picture.at(sx, sy);
                    sum[0] += c.red;
                    sum[1] += c.green;
                    sum[2] += c.blue;
                }
            const unsigned count = static_cast<unsigned>((bottom - top) * (right - left));
            std::uint8_t* pixel =
                &pixels_[(static_cast<std::size_t>(y + row) * width_ + x + column) * 3];
            for (int i = 0; i < 3; ++i)
                pixel[i] = static_cast<std::uint8_t>((sum[i] + count / 2) / count);
        }
    }
}

std::string Canvas::png() const {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width_);
    image.height = static_cast<png_uint_32>(height_);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels_.data(), 0, nullptr))
        return {};
    std::string bytes(size, '\0');
    if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, pixels_.data(), 0, nullptr))
        return {};
    bytes.resize(size);
    return bytes;
}

bool Canvas::fromPng(const std::string& bytes, Canvas& canvas) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()))
        return false;
    image.format = PNG_FORMAT_RGB;
    Canvas read(static_cast<int>(image.width), static_cast<int>(image.height), {});
    if (!png_image_finish_read(&image, nullptr, read.pixels_.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    canvas = std::move(read);
    return true;
}

} // namespace visemer::tool
