#include "project/ScriptExport.h"

#include "ids/Controls.h"
#include "project/ClipScript.h"
#include "project/FileExtension.h"
#include "timeline/RowWalk.h"
#include "files/TextFiles.h"
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
    ClipScript::opening(files);
    ClipScript::openArray(files, ClipScript::kDelays);
    walk.pass([&](int row) {
        ClipScript::item(files, ui.itemText(Control::Sequencer, row, Timeline::Delay));
    });
    ClipScript::closeArray(files);
    walk.selectFirst();
    ClipScript::openArray(files, ClipScript::kJumps);
    walk.pass([&](int row) {
        ClipScript::item(files, ClipScript::jumpTarget(
                                    ui.itemText(Control::Sequencer, row, Timeline::Label)));
    });
    ClipScript::closeArray(files);
    ClipScript::closing(files, walk.rows());
    if (!files.closeFile(kScriptFile) || !created)
        ui.messageBox("Export Script", "Unable to save... ", MessageBoxFlag::Warning);
}

} // namespace visemer
