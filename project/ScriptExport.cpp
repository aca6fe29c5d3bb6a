#include "project/ScriptExport.h"

#include "ids/Controls.h"
#include "project/FileExtension.h"
#include "timeline/RowWalk.h"
#include "files/TextFiles.h"
#include "timeline/DecimalText.h"
#include "timeline/PhonemeTable.h"
#include "timeline/Timeline.h"
#include "toolkit/UiToolkit.h"

namespace visemer {
namespace {

constexpr int kScriptFile = 0;

// A label becomes its drawing's frame of the mouth clip; any other text
// goes into the script as it stands.
std::string clipFrameText(const std::string& label) {
    const auto frame = PhonemeTable::clipFrameOf(label);
    return frame ? writeDecimal(*frame) : label;
}

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
    files.writeLine("onClipEvent(load){");
    files.writeLine("faz = 1;");
    files.writeText("del = [0");
    walk.pass([&](int row) {
        files.writeText("," + ui.itemText(Control::Sequencer, row, Timeline::Delay));
    });
    files.writeText("];");
    files.writeLine("");
    walk.selectFirst();
    files.writeText("jmp = [0");
    walk.pass([&](int row) {
        files.writeText("," + clipFrameText(ui.itemText(Control::Sequencer, row, Timeline::Label)));
    });
    files.writeText("];");
    files.writeLine("");
    files.writeLine("}");
    files.writeLine("onClipEvent(enterFrame){");
    files.writeLine("if( faz < " + writeDecimal(static_cast<std::int64_t>(walk.rows()) + 2) + "){");
    files.writeLine("if(del[faz]>0){");
    files.writeLine("del[faz] -= 1;");
    files.writeLine("}else{");
    files.writeLine("this.gotoAndPlay(jmp[faz]);");
    files.writeLine("faz += 1;");
    files.writeLine("}");
    files.writeLine("}");
    files.writeLine("}");
    if (!files.closeFile(kScriptFile) || !created)
        ui.messageBox("Export Script", "Unable to save... ", MessageBoxFlag::Warning);
}

} // namespace visemer
