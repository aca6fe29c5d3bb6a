#include "toolkit/ImageSignature.h"

#include <cstdint>
#include <filesystem>
#include <fstream>

namespace visemer {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12; // the oldest header: 16-bit sizes
constexpr std::uint32_t kInfoHeaderBytes = 40;

enum Packing : std::uint32_t { Plain = 0, RunLength8 = 1, RunLength4 = 2, BitFields = 3 };

std::uint32_t get32(const std::string& in, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    return value;
}

std::uint16_t get16(const std::string& in, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(in[at]) |
                                      (static_cast<unsigned char>(in[at + 1]) << 8));
}

bool knownDepth(std::uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Packed rows are whole when their stream reaches its end-of-bitmap mark
// inside the file.
bool runLengthStreamEnds(const std::string& bytes, std::size_t at, std::uint32_t bits) {
    while (at + 2 <= bytes.size()) {
        const auto count = static_cast<unsigned char>(bytes[at]);
        const auto code = static_cast<unsigned char>(bytes[at + 1]);
        at += 2;
        if (count > 0 || code == 0)
            continue; // a run, or the end of a row
        if (code == 1)
            return true;
        if (code == 2) {
            at += 2; // a jump to the right and down
            continue;
        }
        // Pixels written out one by one, padded to a whole word.
        const std::size_t literal = bits == 8 ? code : (code + 1u) / 2;
        at += (literal + 1) / 2 * 2;
    }
    return false;
}

} // namespace

ImageFileKind sniffImageFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return ImageFileKind::Unreadable;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return ImageFileKind::Unreadable;
    char head[2] = {0, 0};
    file.read(head, 2);
    if (file.gcount() == 2 && head[0] == 'B' && head[1] == 'M')
        return ImageFileKind::Bitmap;
    return ImageFileKind::Icon;
}

std::optional<Size> wholeBitmapSize(const std::string& bytes) {
    if (bytes.size() < kFileHeaderBytes + kCoreHeaderBytes || bytes.compare(0, 2, "BM") != 0)
        return std::nullopt;
    const std::uint32_t headerBytes = get32(bytes, kFileHeaderBytes);
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    std::uint32_t bits = 0;
    std::uint32_t packing = Plain;
    if (headerBytes == kCoreHeaderBytes) {
        width = get16(bytes, 18);
        height = get16(bytes, 20);
        planes = get16(bytes, 22);
        bits = get16(bytes, 24);
    } else {
        if (headerBytes < kInfoHeaderBytes || bytes.size() < kFileHeaderBytes + kInfoHeaderBytes)
            return std::nullopt;
        width = static_cast<std::int32_t>(get32(bytes, 18));
        height = static_cast<std::int32_t>(get32(bytes, 22));
        planes = get16(bytes, 26);
        bits = get16(bytes, 28);
        packing = get32(bytes, 30);
    }
    // Rows stored from the top are marked by a negative height; only plain
    // rows may be stored that way.
    const bool topDown = height < 0;
    const std::int64_t rows = topDown ? -height : height;
    if (width <= 0 || rows <= 0 || width > kLargestImageSide || rows > kLargestImageSide ||
        planes != 1 || !knownDepth(bits))
        return std::nullopt;
    const std::uint64_t pixelsAt = get32(bytes, 10);
    if (pixelsAt < kFileHeaderBytes + headerBytes || pixelsAt >= bytes.size())
        return std::nullopt;
    if (packing == Plain || packing == BitFields) {
        const auto stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
        if (bytes.size() - pixelsAt < stride * static_cast<std::uint64_t>(rows))
            return std::nullopt;
    } else if ((packing == RunLength8 && bits == 8) || (packing == RunLength4 && bits == 4)) {
        if (topDown || !runLengthStreamEnds(bytes, pixelsAt, bits))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return Size{static_cast<int>(width), static_cast<int>(rows)};
}

} // namespace visemer
