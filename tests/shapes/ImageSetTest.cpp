#include "ids/MenuIds.h"
#include "tests/support/Editor.h"
#include "tests/support/ImageFiles.h"

#include <filesystem>

namespace visemer::testing {
namespace {

class ImageSet : public Editor {
protected:
    std::string makeFolder(const std::string& name) {
        const std::string path = folder.file(name);
        std::filesystem::create_directories(path);
        return path + "/";
    }
};

TEST_F(ImageSet, LoadImagesReplacesOnlyTheBitmapsTheFolderHas) {
    const std::string chosen = makeFolder("set");
    writeBitmap(chosen + "A.bmp", 60, 50);
    writeBitmap(chosen + "O.bmp", 70, 50);
    writeIcon(chosen + "L.bmp", {16, 48}); // an icon, whatever the name says
    const Image icon = ui.imageOf(10);
    const Image about = ui.imageOf(20);
    ui.answerFolderDialog(chosen);
    ui.chooseMenu(MenuId::LoadImages);
    settle();

    ASSERT_EQ(ui.folderDialogs().size(), 1u);
    EXPECT_EQ(ui.folderDialogs()[0].title, "Select Image Folder");
    EXPECT_EQ(ui.folderDialogs()[0].initialFolder, "/");
    EXPECT_EQ(ui.imageSize(ui.imageOf(0)), (Size{60, 50}));
    EXPECT_EQ(ui.imageSize(ui.imageOf(6)), (Size{70, 50}));
    EXPECT_EQ(ui.imageSize(ui.imageOf(5)), (Size{48, 48}));
    for (const int missing : {1, 2, 3, 4, 7, 8, 9})
        EXPECT_TRUE(ui.imageOf(missing).isNull()) << missing;
    EXPECT_EQ(ui.imageOf(10), icon) << "icons are never reloaded";
    EXPECT_EQ(ui.imageOf(20), about);
    EXPECT_EQ(shownShape(), 0);
    EXPECT_EQ(ui.controlRect(Control::Preview), (Rect{10, 20, 64, 54}));
    EXPECT_TRUE(ui.messageBoxes().empty());

    ui.pressKey('B');
    settle();
    EXPECT_EQ(shownShape(), -1) << "a missing shape shows nothing";
}

TEST_F(ImageSet, CancellingKeepsTheImagesAndSaysSo) {
    const Image first = ui.imageOf(0);
    ui.chooseMenu(MenuId::LoadImages);
    settle();
    ASSERT_EQ(ui.messageBoxes().size(), 1u);
    EXPECT_EQ(ui.messageBoxes()[0].title, "Canceled");
    EXPECT_EQ(ui.messageBoxes()[0].text, "Canceled, last set of images will be used.");
    EXPECT_EQ(ui.messageBoxes()[0].flags, 0x30);
    EXPECT_EQ(ui.imageOf(0), first);
}

TEST_F(ImageSet, DefaultImagesPutsTheDefaultBitmapsBack) {
    ui.answerFolderDialog(makeFolder("empty"));
    ui.chooseMenu(MenuId::LoadImages);
    ui.pressKey('O');
    ui.chooseMenu(MenuId::DefaultImages);
    settle();
    for (int slot = 0; slot < 10; ++slot)
        EXPECT_EQ(ui.imageSize(ui.imageOf(slot)), (Size{testBitmapWidth(slot), kTestBitmapHeight}));
    EXPECT_EQ(shownShape(), 0) << "slot 0 is shown, whatever the row's shape";
    EXPECT_TRUE(ui.messageBoxes().empty());
}

} // namespace
} // namespace visemer::testing
