// Pictures of timings, compared with the golden pictures in
// golden-render/ with a tolerance (fonts and scaling may differ by a shade
// between machines), and checked where a fault would show: the shaded
// "Closed" rows, the waveform under the voice, a drawing that could not
// be read. VISEMER_UPDATE_GOLDEN=1 writes the golden pictures anew.

#include "tests/support/TempDir.h"
#include "tool/Canvas.h"
#include "tool/ClipEnvelope.h"
#include "tool/MouthDrawings.h"
#include "tool/TimingPicture.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace visemer::tool {
namespace {

const std::string kGolden = VISEMER_GOLDEN_RENDER;

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The share of pixels whose colour differs by more than a shade.
double differingShare(const Canvas& a, const Canvas& b) {
    std::size_t differing = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = a.at(x, y), q = b.at(x, y);
            if (std::abs(p.red - q.red) > 48 || std::abs(p.green - q.green) > 48 ||
                std::abs(p.blue - q.blue) > 48)
                ++differing;
        }
    return static_cast<double>(differing) / (a.width() * a.height());
}

void expectLikeGolden(const Canvas& drawn, const std::string& name) {
    const std::string path = kGolden + "/" + name + ".png";
    if (std::getenv("VISEMER_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << drawn.png();
        return;
    }
    Canvas golden(0, 0, {});
    ASSERT_TRUE(Canvas::fromPng(readAll(path), golden)) << "no golden picture " << path;
    ASSERT_EQ(drawn.width(), golden.width()) << name;
    ASSERT_EQ(drawn.height(), golden.height()) << name;
    const double share = differingShare(drawn, golden);
    if (share > 0.005) {
        const std::string failed = ::testing::TempDir() + name + ".png";
        std::ofstream(failed, std::ios::binary) << drawn.png();
        ADD_FAILURE() << name << ": " << share * 100 << "% of the pixels differ; drawn: " << failed;
    }
}

Timing sampleTiming(const char* fps, bool browser) {
    Timing timing;
    timing.fps = fps;
    timing.browser = browser;
    for (const auto& [label, delay] :
         std::vector<std::pair<const char*, const char*>>{{"Closed", "3"},
                                                          {"M", "1"},
                                                          {"A", "2"},
                                                          {"TH", "1"},
                                                          {"E", "3"},
                                                          {"O", "2"},
                                                          {"W", "1"},
                                                          {"S", "1"},
                                                          {"Closed", "4"}})
        timing.rows.push_back({label, delay});
    return timing;
}

// Silence, a second of a rising and falling tone, silence.
ClipEnvelope toneEnvelope() {
    ClipEnvelope envelope;
    envelope.lengthMs = 2000;
    for (double at = 0; at < envelope.lengthMs; at += ClipEnvelope::kBinMs) {
        const double level = at < 300 || at >= 1300 ? 0 : std::sin((at - 300) / 1000 * M_PI);
        const auto peak = static_cast<std::int16_t>(level * 30000);
        envelope.low.push_back(static_cast<std::int16_t>(-peak));
        envelope.high.push_back(peak);
    }
    return envelope;
}

TEST(RenderPicture, AClipWithItsRowsLooksAsItDid) {
    const ClipEnvelope envelope = toneEnvelope();
    PictureSpan span;
    span.toMs = 2000;
    span.width = 640;
    span.title = "line.vsq";
    const Canvas drawn =
        drawTiming(sampleTiming("30", true), &envelope, MouthDrawings::builtIn(), span);
    expectLikeGolden(drawn, "clip-and-rows");

    // Where a fault would show: the waveform is drawn under the tone and
    // not in the silence before it, and the first row, "Closed", is
    // shaded grey while the next is not.
    const int left = 10, plot = 620, waveMiddle = 10 + 22 + 60;
    const auto xAt = [&](double ms) { return left + static_cast<int>(ms / 2000 * plot); };
    EXPECT_EQ(drawn.at(xAt(800), waveMiddle - 40).blue, 168);
    EXPECT_NE(drawn.at(xAt(150), waveMiddle - 40).blue, 168);
    const int band = 10 + 22 + 120 + 36 + 100; // under the drawings
    const Colour closed = drawn.at(xAt(100), band);
    EXPECT_EQ(closed.red, closed.blue) << "a Closed row is grey";
    const Colour open = drawn.at(xAt(600), band);
    EXPECT_GT(open.blue, open.red) << "a voiced row is not";
}

TEST(RenderPicture, WithoutAClipTheBandIsDrawnAloneAndAStretchCanBeChosen) {
    PictureSpan span;
    span.fromMs = 500;
    span.toMs = 1500;
    span.width = 480;
    span.title = "no clip";
    const Canvas drawn =
        drawTiming(sampleTiming("24", false), nullptr, MouthDrawings::builtIn(), span);
    EXPECT_EQ(drawn.height(), 10 + 22 + 36 + 104 + 1 + 10);
    expectLikeGolden(drawn, "band-alone");
}

TEST(RenderPicture, AFolderOfDrawingsLacksWhatItLacks) {
    testing::TempDir folder;
    const std::string bitmap(std::string_view(readAll(VISEMER_IMAGES "/O.bmp")));
    std::ofstream(folder.file("O.bmp"), std::ios::binary) << bitmap;
    std::ofstream(folder.file("A.bmp"), std::ios::binary) << "not a bitmap";
    const MouthDrawings drawings = MouthDrawings::fromFolder(folder.path());
    EXPECT_EQ(drawings.count(), 1U);
    ASSERT_NE(drawings.of('O'), nullptr);
    EXPECT_EQ(drawings.of('O')->width(), 160);
    EXPECT_EQ(drawings.of('A'), nullptr);
    EXPECT_EQ(MouthDrawings::builtIn().count(), 10U);
}

TEST(RenderPicture, BitmapsOfEachDepthReadTheSame) {
    // A 2 x 2 picture, bottom row first: blue, white / red, green.
    const auto header = [](int bits, int paletteColours, std::string pixels) {
        std::string bytes = "BM";
        const auto put = [&](std::uint32_t value, int size) {
            for (int i = 0; i < size; ++i)
                bytes += static_cast<char>(value >> (8 * i) & 0xFF);
        };
        const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(paletteColours) * 4;
        put(offset + static_cast<std::uint32_t>(pixels.size()), 4);
        put(0, 4);
        put(offset, 4);
        put(40, 4);
        put(2, 4);
        put(2, 4);
        put(1, 2);
        put(static_cast<std::uint32_t>(bits), 2);
        put(0, 4);
        put(static_cast<std::uint32_t>(pixels.size()), 4);
        put(2835, 4);
        put(2835, 4);
        put(static_cast<std::uint32_t>(paletteColours), 4);
        put(0, 4);
        if (paletteColours)
            bytes +=
                std::string("\xFF\x00\x00\x00\xFF\xFF\xFF\x00\x00\x00\xFF\x00\x00\xFF\x00\x00", 16);
        return bytes + pixels;
    };
    const std::string rgb = header(24, 0,
                                   std::string("\xFF\x00\x00\xFF\xFF\xFF\x00\x00", 8) +
                                       std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8));
    const std::string indexed =
        header(8, 4, std::string("\x00\x01\x00\x00", 4) + std::string("\x02\x03\x00\x00", 4));
    for (const std::string& bytes : {rgb, indexed}) {
        const auto picture = readBitmap(bytes);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->at(0, 0).red, 255); // top left: red
        EXPECT_EQ(picture->at(1, 0).green, 255);
        EXPECT_EQ(picture->at(0, 1).blue, 255); // bottom left: blue
        EXPECT_EQ(picture->at(1, 1).red + picture->at(1, 1).green, 510);
    }
    EXPECT_FALSE(readBitmap("BM"));
    EXPECT_FALSE(readBitmap(rgb.substr(0, rgb.size() - 4)));
}

TEST(RenderPicture, APictureWrittenAsPngReadsBack) {
    Canvas canvas(3, 2, {1, 2, 3});
    canvas.fill(1, 1, 1, 1, {200, 100, 50});
    Canvas back(0, 0, {});
    ASSERT_TRUE(Canvas::fromPng(canvas.png(), back));
    EXPECT_EQ(back.at(1, 1).green, 100);
    EXPECT_EQ(back.at(0, 0).blue, 3);
    EXPECT_FALSE(Canvas::fromPng("not a png", back));
}

} // namespace
} // namespace visemer::tool
