#pragma once

#include <QString>
#include <QStringList>

namespace visemer {

// The desktop's open action for a file or a web address: xdg-open where it
// is installed, and otherwise the first of the programs that show such a
// thing directly (a help viewer for a compiled help file, the system's web
// browser for an address). Nothing it starts writes to the editor's output.
// Returns whether a program was started.
bool openOnDesktop(const QString& target, bool webAddress);

// The programs tried, in order, for such a target.
QStringList desktopOpeners(const QString& target, bool webAddress);

} // namespace visemer
