#include "project/ScriptExport.h"

#include "files/TextFiles.h"
#include "ids/Controls.h"
#include "project/ClipScript.h"
#include "project/FileExtension.h"
#include "project/WalkedRows.h"
#include "timeline/RowWalk.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

namespace visemer {
namespace {

constexpr int kScriptFile = 0;

} // namespace

void ExportScript(UiToolkit& ui, Timeline& timeline, TextFiles& files) {
    RowWalk walk(ui, timeline);
    walk.selectFirst();
    std::string path = ui.saveFileDialog("Save Script As...", "", "Actionscript (*.as)|*.as", 0);
    if (path.empty())
        return;
    if (ui.selectedFilter() == 0 && extensionPart(path).empty())
        path += ".as";

    const bool created = files.createFile(kScriptFile, path);
    WalkedRows rows(ui, walk);
    ClipScript::write(files, rows);
    if (!files.closeFile(kScriptFile) || !created)
        ui.messageBox("Export Script", "Unable to save... ", MessageBoxFlag::Warning);
}

} // namespace visemer
