#pragma once

#include <QImage>
#include <QList>
#include <QString>

namespace visemer::art {

// Writes an icon file holding each picture as a 32-bit image with alpha.
bool writeIconFile(const QList<QImage>& pictures, const QString& path);

} // namespace visemer::art
