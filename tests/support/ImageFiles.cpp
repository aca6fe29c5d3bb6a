#include "tests/support/ImageFiles.h"

#include "toolkit/ImageSignature.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace visemer::testing {
namespace {

void put16(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

std::uint16_t get16(const std::string& in, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(in[at]) |
                                      (static_cast<unsigned char>(in[at + 1]) << 8));
}

void putInfoHeader(std::string& out, int width, int height, int bits, std::uint32_t imageBytes) {
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(bits));
    put32(out, 0);
    put32(out, imageBytes);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
}

} // namespace

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void writeBitmap(const std::string& path, int width, int height, Colour colour) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const int rows = height < 0 ? -height : height;
    const auto imageBytes = static_cast<std::uint32_t>(stride * rows);
    std::string out = "BM";
    put32(out, 54 + imageBytes);
    put32(out, 0);
    put32(out, 54);
    putInfoHeader(out, width, height, 24, imageBytes);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(colour.blue));
            out.push_back(static_cast<char>(colour.green));
            out.push_back(static_cast<char>(colour.red));
        }
        out.append(static_cast<std::size_t>(stride - width * 3), '\0');
    }
    writeBytes(path, out);
}

void writeIcon(const std::string& path, const std::vector<int>& sizes) {
    std::vector<std::string> images;
    for (const int size : sizes) {
        const int maskStride = (size + 31) / 32 * 4;
        const auto pixelBytes = static_cast<std::uint32_t>(size * size * 4);
        const auto maskBytes = static_cast<std::uint32_t>(maskStride * size);
        std::string image;
        putInfoHeader(image, size, size * 2, 32, pixelBytes + maskBytes);
        for (int i = 0; i < size * size; ++i) {
            image.push_back(static_cast<char>(40));
            image.push_back(static_cast<char>(160));
            image.push_back(static_cast<char>(40));
            image.push_back(static_cast<char>(255));
        }
        image.append(maskBytes, '\0');
        images.push_back(std::move(image));
    }
    std::string out;
    put16(out, 0);
    put16(out, 1);
    put16(out, static_cast<std::uint16_t>(sizes.size()));
    auto offset = static_cast<std::uint32_t>(6 + 16 * sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        out.push_back(static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]));
        out.push_back(static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]));
        out.push_back(0);
        out.push_back(0);
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& image : images)
        out += image;
    writeBytes(path, out);
}

void writeRunLengthBitmap(const std::string& path, int width, int height) {
    std::string pixels;
    // One run of colour 1 on the first row, then the end of the bitmap:
    // every other pixel is colour 0.
    pixels += '\x10';
    pixels += '\x01';
    pixels += '\x00';
    pixels += '\x01';
    std::string out = "BM";
    const std::uint32_t offset = 14 + 40 + 2 * 4;
    put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(width));
    put32(out, static_cast<std::uint32_t>(height));
    put16(out, 1);
    put16(out, 8);
    put32(out, 1); // run-length encoded, 8 bits a pixel
    put32(out, static_cast<std::uint32_t>(pixels.size()));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 2);
    put32(out, 0);
    put32(out, 0x00F0E0D0);
    put32(out, 0x00402020);
    writeBytes(path, out + pixels);
}

std::optional<Size> readImageFileSize(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (sniffImageFile(path) == ImageFileKind::Bitmap)
        return wholeBitmapSize(bytes);
    if (bytes.size() < 6 || get16(bytes, 0) != 0 || get16(bytes, 2) != 1)
        return std::nullopt;
    const int count = get16(bytes, 4);
    if (count == 0 || bytes.size() < 6 + 16 * static_cast<std::size_t>(count))
        return std::nullopt;
    Size largest;
    for (int i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * static_cast<std::size_t>(i);
        const int width = static_cast<unsigned char>(bytes[entry]);
        const int height = static_cast<unsigned char>(bytes[entry + 1]);
        const Size size{width == 0 ? 256 : width, height == 0 ? 256 : height};
        if (size.width * size.height > largest.width * largest.height)
            largest = size;
    }
    return largest;
}

} // namespace visemer::testing
