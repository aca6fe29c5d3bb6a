// The editor's process as started from a shell: it has a QApplication of
// its own, so this program has none.

#include "app/EditorMain.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

namespace visemer {
namespace {

struct Started {};

TEST(EditorCommandLine, QtSeesOnlyTheProgramsName) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    char name[] = "visemer";
    char reverse[] = "-reverse";
    char style[] = "-style=windows";
    char project[] = "take.vsq";
    char* arguments[] = {name, reverse, style, project, nullptr};
    QStringList seen;
    Qt::LayoutDirection direction = Qt::RightToLeft;
    // Leaves before the window is made, once Qt has read the arguments.
    EXPECT_THROW(runEditor(4, arguments,
                           [&](QApplication&) {
                               seen = QCoreApplication::arguments();
                               direction = QGuiApplication::layoutDirection();
                               throw Started{};
                           }),
                 Started);
    EXPECT_EQ(seen, QStringList{QStringLiteral("visemer")});
    EXPECT_EQ(direction, Qt::LeftToRight) << "-reverse would mirror the whole window";
}

} // namespace
} // namespace visemer
