#include "tool/TextPainter.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace visemer::tool {
namespace {

constexpr const char* kFonts[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};

} // namespace

struct TextPainter::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

TextPainter::TextPainter(int pixelSize) : face_(std::make_unique<Face>()) {
    if (FT_Init_FreeType(&face_->library) != 0)
        return;
    for (const char* font : kFonts)
        if (FT_New_Face(face_->library, font, 0, &face_->face) == 0)
            break;
    if (!face_->face || FT_Set_Pixel_Sizes(face_->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        face_->face = nullptr;
        return;
    }
    ascent_ = static_cast<int>(face_->face->size->metrics.ascender >> 6);
    lineHeight_ = static_cast<int>(face_->face->size->metrics.height >> 6);
}

TextPainter::~TextPainter() = default;

bool TextPainter::hasFont() const {
    return face_->face != nullptr;
}

int TextPainter::width(const std::string& text) const {
    if (!hasFont())
        return 0;
    long advance = 0;
    for (const char c : text)
        if (FT_Load_Char(face_->face, static_cast<unsigned char>(c), FT_LOAD_DEFAULT) == 0)
            advance += face_->face->glyph->advance.x;
    return static_cast<int>(advance >> 6);
}

void TextPainter::draw(Canvas& canvas, const std::string& text, int x, int y, Colour colour) const {
    if (!hasFont())
        return;
    long penX = static_cast<long>(x) << 6;
    for (const char c : text) {
        if (FT_Load_Char(face_->face, static_cast<unsigned char>(c), FT_LOAD_RENDER) != 0)
            continue;
        const FT_GlyphSlot glyph = face_->face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        const int left = static_cast<int>(penX >> 6) + glyph->bitmap_left;
        const int top = y + ascent_ - glyph->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned column = 0; column < bitmap.width; ++column)
                canvas.blend(left + static_cast<int>(column), top + static_cast<int>(row), colour,
                             bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column]);
        penX += glyph->advance.x;
    }
}

} // namespace visemer::tool
