#include "toolkit/qt/QtImages.h"

#include "toolkit/ImageSignature.h"
#include "toolkit/qt/TextBytes.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

namespace visemer {
namespace {

// The largest drawing, 4096 pixels square at 32 bits, with room for its
// headers and colour table: a bitmap file beyond this is no drawing.
constexpr qint64 kLargestBitmapBytes = 4096LL * 4096 * 4 + 64 * 1024;

// A bitmap is decoded only when its file holds every pixel its header
// promises, from the bytes that were checked.
QImage readWholeBitmap(const std::string& path) {
    QFile file(toQt(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kLargestBitmapBytes)
        return {};
    QByteArray bytes = file.readAll();
    const std::optional<Size> size =
        wholeBitmapSize(std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!size)
        return {};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    const QImage image = reader.read();
    if (image.size() != QSize(size->width, size->height))
        return {};
    return image;
}

// The reader tells an image's size from its header, before decoding it.
bool fitsInASlot(const QImageReader& reader) {
    const QSize size = reader.size();
    return fitsInAnImageSlot(size.width(), size.height());
}

} // namespace

Image QtImages::load(int slot, const std::string& path) {
    free(slot);
    const ImageFileKind kind = sniffImageFile(path);
    if (kind == ImageFileKind::Unreadable)
        return {};

    Entry made;
    if (kind == ImageFileKind::Bitmap) {
        const QImage image = readWholeBitmap(path);
        if (image.isNull())
            return {};
        made.picture = QPixmap::fromImage(image);
        made.icon = QIcon(made.picture);
    } else {
        QImageReader reader(toQt(path), "ico");
        reader.setDecideFormatFromContent(false);
        QImage largest;
        const int count = reader.imageCount();
        for (int i = 0; i < count; ++i) {
            if (!reader.jumpToImage(i))
                break;
            if (!fitsInASlot(reader))
                continue;
            const QImage image = reader.read();
            if (image.isNull())
                continue;
            made.icon.addPixmap(QPixmap::fromImage(image));
            if (largest.isNull() ||
                image.width() * image.height() > largest.width() * largest.height())
                largest = image;
        }
        if (largest.isNull())
            return {};
        made.picture = QPixmap::fromImage(largest);
    }
    made.handle = Image(nextId_++);
    slots_[slot] = made;
    return made.handle;
}

void QtImages::free(int slot) {
    slots_.erase(slot);
}

void QtImages::clear() {
    slots_.clear();
}

Image QtImages::of(int slot) const {
    const auto found = slots_.find(slot);
    return found == slots_.end() ? Image{} : found->second.handle;
}

const QtImages::Entry* QtImages::entry(Image image) const {
    if (image.isNull())
        return nullptr;
    for (const auto& [slot, held] : slots_)
        if (held.handle == image)
            return &held;
    return nullptr;
}

const QPixmap* QtImages::picture(Image image) const {
    const Entry* held = entry(image);
    return held ? &held->picture : nullptr;
}

QIcon QtImages::icon(Image image) const {
    const Entry* held = entry(image);
    return held ? held->icon : QIcon();
}

} // namespace visemer
