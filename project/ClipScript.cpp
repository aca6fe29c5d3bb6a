#include "project/ClipScript.h"

#include "files/TextFiles.h"
#include "text/DecimalText.h"
#include "timeline/PhonemeTable.h"

namespace visemer::ClipScript {
namespace {

void opening(TextFiles& files) {
    files.writeLine("onClipEvent(load){");
    files.writeLine("faz = 1;");
}

void openArray(TextFiles& files, const char* name) {
    files.writeText(std::string(name) + " = [0");
}

void item(TextFiles& files, const std::string& text) {
    files.writeText("," + text);
}

void closeArray(TextFiles& files) {
    files.writeText("];");
    files.writeLine("");
}

void closing(TextFiles& files, std::int64_t rows) {
    files.writeLine("}");
    files.writeLine("onClipEvent(enterFrame){");
    // One past the sentinel: the arrays start with a fixed 0 at index 0.
    files.writeLine("if( faz < " + writeDecimal(rows + 2) + "){");
    files.writeLine("if(del[faz]>0){");
    files.writeLine("del[faz] -= 1;");
    files.writeLine("}else{");
    files.writeLine("this.gotoAndPlay(jmp[faz]);");
    files.writeLine("faz += 1;");
    files.writeLine("}");
    files.writeLine("}");
    files.writeLine("}");
}

} // namespace

std::string jumpTarget(const std::string& label) {
    const auto frame = PhonemeTable::clipFrameOf(label);
    return frame ? writeDecimal(*frame) : label;
}

void write(TextFiles& files, RowSource& rows) {
    opening(files);
    openArray(files, "del");
    rows.eachCell(RowSource::Column::Delay,
                  [&](std::int64_t, const std::string& delay) { item(files, delay); });
    closeArray(files);
    openArray(files, "jmp");
    rows.eachCell(RowSource::Column::Label,
                  [&](std::int64_t, const std::string& label) { item(files, jumpTarget(label)); });
    closeArray(files);
    closing(files, rows.rows());
}

} // namespace visemer::ClipScript
