#include "toolkit/qt/QtImages.h"

#include "toolkit/ImageSignature.h"
#include "toolkit/qt/TextBytes.h"

#include <QImageReader>

namespace visemer {
namespace {

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

    QImageReader reader(toQt(path), kind == ImageFileKind::Bitmap ? "bmp" : "ico");
    reader.setDecideFormatFromContent(false);
    Entry made;
    if (kind == ImageFileKind::Bitmap) {
        if (!fitsInASlot(reader))
            return {};
        const QImage image = reader.read();
        if (image.isNull())
            return {};
        made.picture = QPixmap::fromImage(image);
        made.icon = QIcon(made.picture);
    } else {
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
