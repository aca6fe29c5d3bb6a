#pragma once

#include "toolkit/ToolkitTypes.h"

#include <QIcon>
#include <QPixmap>
#include <map>
#include <string>

namespace visemer {

// The numbered image slots. A bitmap keeps its picture; an icon keeps all
// of its sizes, and its largest one is the picture it shows at its own size.
class QtImages {
public:
    Image load(int slot, const std::string& path);
    void free(int slot);
    void clear();
    Image of(int slot) const;
    const QPixmap* picture(Image image) const;
    QIcon icon(Image image) const;

private:
    struct Entry {
        Image handle;
        QPixmap picture;
        QIcon icon;
    };
    const Entry* entry(Image image) const;

    std::map<int, Entry> slots_;
    std::uint64_t nextId_ = 1;
};

} // namespace visemer
