#include "tool/MouthDrawings.h"

#include "tool/DefaultDrawings.h"

#include <cstdint>
#include <fstream>
#include <iterator>

namespace visemer::tool {
namespace {

constexpr char kLetters[] = {'A', 'B', 'C', 'E', 'F', 'L', 'O', 'Q', 'R', 'S'};

std::uint32_t little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

} // namespace

std::optional<Canvas> readBitmap(const std::string& bytes) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 40 || bytes.compare(0, 2, "BM") != 0)
        return std::nullopt;
    const std::uint32_t offset = little(bytes, 10, 4);
    const std::uint32_t headerSize = little(bytes, kFileHeader, 4);
    const auto width = static_cast<std::int32_t>(little(bytes, kFileHeader + 4, 4));
    const auto signedHeight = static_cast<std::int32_t>(little(bytes, kFileHeader + 8, 4));
    const std::uint32_t bits = little(bytes, kFileHeader + 14, 2);
    const std::uint32_t compression = little(bytes, kFileHeader + 16, 4);
    std::uint32_t colours = little(bytes, kFileHeader + 32, 4);
    const bool bottomUp = signedHeight > 0;
    const std::int64_t height = bottomUp ? signedHeight : -static_cast<std::int64_t>(signedHeight);
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || compression != 0 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32))
        return std::nullopt;
    if (bits <= 8 && colours == 0)
        colours = 1U << bits;
    const std::size_t palette = kFileHeader + headerSize;
    if (bits <= 8 && palette + colours * 4 > bytes.size())
        return std::nullopt;
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (offset + stride * static_cast<std::size_t>(height) > bytes.size())
        return std::nullopt;
    Canvas canvas(width, static_cast<int>(height), {});
    for (std::int64_t row = 0; row < height; ++row) {
        const std::size_t line =
            offset + stride * static_cast<std::size_t>(bottomUp ? height - 1 - row : row);
        for (std::int32_t column = 0; column < width; ++column) {
            Colour colour;
            if (bits >= 24) {
                const std::size_t at = line + static_cast<std::size_t>(column) * (bits / 8);
                colour = {static_cast<std::uint8_t>(bytes[at + 2]),
                          static_cast<std::uint8_t>(bytes[at + 1]),
                          static_cast<std::uint8_t>(bytes[at])};
            } else {
                const std::size_t bit = static_cast<std::size_t>(column) * bits;
                const auto byte = static_cast<unsigned char>(bytes[line + bit / 8]);
                const unsigned index = (byte >> (8 - bits - bit % 8)) & ((1U << bits) - 1);
                if (index >= colours)
                    return std::nullopt;
                const std::size_t at = palette + index * 4;
                colour = {static_cast<std::uint8_t>(bytes[at + 2]),
                          static_cast<std::uint8_t>(bytes[at + 1]),
                          static_cast<std::uint8_t>(bytes[at])};
            }
            canvas.fill(column, static_cast<int>(row), 1, 1, colour);
        }
    }
    return canvas;
}

MouthDrawings MouthDrawings::builtIn() {
    MouthDrawings drawings;
    for (const char letter : kLetters)
        if (auto picture = readBitmap(std::string(defaultDrawing(letter))))
            drawings.drawings_.emplace(letter, std::move(*picture));
    return drawings;
}

MouthDrawings MouthDrawings::fromFolder(const std::string& folder) {
    MouthDrawings drawings;
    for (const char letter : kLetters) {
        std::ifstream file(folder + "/" + letter + ".bmp", std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), {});
        if (auto picture = readBitmap(bytes))
            drawings.drawings_.emplace(letter, std::move(*picture));
    }
    return drawings;
}

const Canvas* MouthDrawings::of(char letter) const {
    const auto found = drawings_.find(letter);
    return found == drawings_.end() ? nullptr : &found->second;
}

} // namespace visemer::tool
