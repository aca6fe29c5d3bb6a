#pragma once

#include <QString>
#include <string>

namespace visemer {

// The program's text is bytes; widgets show it as UTF-8.
inline QString toQt(const std::string& bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string fromQt(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    return std::string(utf8.constData(), static_cast<std::size_t>(utf8.size()));
}

} // namespace visemer
