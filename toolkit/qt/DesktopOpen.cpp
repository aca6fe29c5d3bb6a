#include "toolkit/qt/DesktopOpen.h"

#include <QProcess>
#include <QStandardPaths>

namespace visemer {

QStringList desktopOpeners(const QString& target, bool webAddress) {
    QStringList openers{QStringLiteral("xdg-open")};
    if (webAddress)
        openers << QStringLiteral("sensible-browser") << QStringLiteral("x-www-browser");
    else if (target.endsWith(QLatin1String(".chm"), Qt::CaseInsensitive))
        openers << QStringLiteral("xchm") << QStringLiteral("kchmviewer");
    return openers;
}

bool openOnDesktop(const QString& target, bool webAddress) {
    for (const QString& opener : desktopOpeners(target, webAddress)) {
        const QString program = QStandardPaths::findExecutable(opener);
        if (program.isEmpty())
            continue;
        QProcess process;
        process.setProgram(program);
        process.setArguments({target});
        process.setStandardInputFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        // Not waited for: the viewer lives on after the command returns.
        if (process.startDetached())
            return true;
    }
    return false;
}

} // namespace visemer
