#include "tool/ReviewPage.h"

#include "exchange/Json.h"

#include <cstdio>

namespace visemer::tool {
namespace {

std::string htmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// JSON inside a script element: "</" would end the element.
std::string scriptSafe(std::string json) {
    for (std::size_t at = json.find("</"); at != std::string::npos; at = json.find("</", at + 2))
        json.replace(at, 2, "<\\/");
    return json;
}

std::string decimal(double value, const char* format = "%.2f") {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string figuresOf(const LineOutcome& outcome) {
    if (!outcome.figures)
        return {};
    const DraftFigures& f = *outcome.figures;
    std::string text = decimal(f.seconds) + " s, " + std::to_string(f.rows) + " rows";
    if (f.wordsLeftOut)
        text += ", " + std::to_string(f.wordsLeftOut) + " words left out";
    if (f.wordsNotReached)
        text += ", " + std::to_string(f.wordsNotReached) + " not reached";
    text += f.confidence ? ", confidence " + decimal(*f.confidence * 100, "%.0f") + "%"
                         : ", drafted without text";
    return text;
}

constexpr const char* kStyle = R"(
body { font: 14px/1.4 sans-serif; margin: 0; background: #f4f4f1; color: #222; }
header { padding: 10px 16px; background: #2c3e57; color: #fff; }
header p { margin: 4px 0 0; color: #cfd8e3; }
ol { list-style: none; margin: 0; padding: 8px 16px; }
li { display: grid; grid-template-columns: 90px 110px 1fr; gap: 4px 12px; align-items: start;
     background: #fff; border: 2px solid #dde; border-radius: 6px; margin: 0 0 8px; padding: 8px; }
li.chosen { border-color: #3c6ea8; }
li .name { grid-column: 1 / 4; font-weight: bold; }
li .status { font-weight: normal; color: #555; }
li.failed .status, li.needs .status { color: #a33; }
li .mouth { width: 96px; height: 96px; background: #eee; }
li .picture { max-width: 100%; }
li .facts { grid-column: 1 / 4; color: #444; }
button { font-size: 14px; width: 84px; padding: 6px; }
)";

constexpr const char* kScript = R"(
"use strict";
const lines = JSON.parse(document.getElementById("lines").textContent);
const items = Array.from(document.querySelectorAll("li.line"));
const audio = new Audio();
let chosen = 0, playing = -1, frame = 0;

// The drawing of the row under the clip's position: the last row that
// starts by then and has one, as the editor's preview leaves the drawing
// be for a row without one.
function drawingAt(line, ms) {
  const rows = line.rows;
  let low = 0, high = rows.length - 1, found = -1;
  while (low <= high) {
    const middle = (low + high) >> 1;
    if (rows[middle][0] <= ms) { found = middle; low = middle + 1; } else { high = middle - 1; }
  }
  for (let i = found; i >= 0; --i) if (rows[i][1]) return rows[i][1];
  return "";
}

function show(index, ms) {
  const mouth = items[index].querySelector(".mouth");
  const drawing = drawingAt(lines[index], ms);
  mouth.dataset.ms = String(ms);
  if (drawing && mouth.dataset.drawing !== drawing) {
    mouth.src = "mouths/" + drawing + ".png";
    mouth.dataset.drawing = drawing;
  }
}

function tick() {
  if (playing < 0) return;
  show(playing, audio.currentTime * 1000);
  if (audio.ended) { stop(); return; }
  frame = requestAnimationFrame(tick);
}

function stop() {
  if (playing < 0) return;
  audio.pause();
  cancelAnimationFrame(frame);
  items[playing].querySelector("button").textContent = "Play";
  items[playing].classList.remove("playing");
  playing = -1;
}

function play(index) {
  stop();
  choose(index);
  const line = lines[index];
  if (!line.clip) return;
  playing = index;
  items[index].querySelector("button").textContent = "Stop";
  items[index].classList.add("playing");
  audio.src = line.clip;
  audio.currentTime = 0;
  audio.play().then(tick, () => { if (playing === index) stop(); });
}

function choose(index) {
  if (index < 0 || index >= items.length) return;
  items[chosen].classList.remove("chosen");
  chosen = index;
  items[chosen].classList.add("chosen");
  items[chosen].scrollIntoView({ block: "nearest" });
}

items.forEach((item, index) => {
  item.addEventListener("click", () => choose(index));
  item.querySelector("button").addEventListener("click", (event) => {
    event.stopPropagation();
    if (playing === index) stop(); else play(index);
  });
});
document.addEventListener("keydown", (event) => {
  if (event.key === " ") {
    event.preventDefault();
    if (playing === chosen) stop(); else play(chosen);
  } else if (event.key === "ArrowDown" || event.key === "ArrowRight") {
    event.preventDefault();
    choose(chosen + 1);
  } else if (event.key === "ArrowUp" || event.key === "ArrowLeft") {
    event.preventDefault();
    choose(chosen - 1);
  }
});
if (items.length) items[0].classList.add("chosen");
)";

} // namespace

std::string reviewPage(const std::vector<ReviewLine>& lines, const std::string& title) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<link rel=\"icon\" href=\"data:,\">\n<title>" +
                       htmlEscaped(title) + "</title>\n<style>" + kStyle +
                       "</style>\n</head>\n<body>\n<header><strong>" + htmlEscaped(title) +
                       "</strong><p>" + std::to_string(lines.size()) +
                       " lines, the worst first. Space plays or stops the chosen line; the "
                       "arrow keys choose another.</p></header>\n<ol id=\"list\">\n";
    std::string data = "[";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ReviewLine& line = lines[i];
        const LineOutcome& outcome = line.outcome;
        const std::string name = outcome.clip.empty() ? outcome.project : outcome.clip;
        const char* kind = outcome.status == LineStatus::Failed       ? " failed"
                           : outcome.status == LineStatus::NeedsALook ? " needs"
                                                                      : "";
        const char first = line.rows.empty() ? 0 : line.rows.front().second;
        html +=
            "<li class=\"line" + std::string(kind) + "\" id=\"line-" + std::to_string(i) +
            "\" data-confidence=\"" +
            (outcome.figures && outcome.figures->confidence
                 ? decimal(*outcome.figures->confidence, "%.3f")
                 : std::string()) +
            "\">\n<div class=\"name\">" + std::to_string(i + 1) + ". " + htmlEscaped(name) +
            " <span class=\"status\">" + statusName(outcome.status) +
            (outcome.reason.empty() ? "" : ": " + htmlEscaped(outcome.reason)) +
            "</span></div>\n<button type=\"button\"" + (line.clip.empty() ? " disabled" : "") +
            ">Play</button>\n" +
            (first ? "<img class=\"mouth\" alt=\"mouth\" src=\"mouths/" + std::string(1, first) +
                         ".png\" data-drawing=\"" + std::string(1, first) + "\">"
                   : std::string("<div class=\"mouth\"></div>")) +
            "\n" +
            (line.picture.empty()
                 ? "<div class=\"picture\">" + htmlEscaped(line.problem) + "</div>"
                 : "<img class=\"picture\" loading=\"lazy\" alt=\"timing\" src=\"" +
                       htmlEscaped(line.picture) + "\">") +
            "\n<div class=\"facts\">" + htmlEscaped(figuresOf(outcome)) +
            (outcome.project.empty() ? "" : " &middot; " + htmlEscaped(outcome.project)) +
            "</div>\n</li>\n";
        std::string rows = "[";
        for (std::size_t r = 0; r < line.rows.size(); ++r)
            rows += (r ? "," : "") + std::string("[") + jsonNumber(line.rows[r].first) + "," +
                    (line.rows[r].second ? "\"" + std::string(1, line.rows[r].second) + "\""
                                         : std::string("\"\"")) +
                    "]";
        data += std::string(i ? ",\n" : "\n") + "{\"clip\": " + jsonQuoted(line.clip) +
                ", \"end\": " + jsonNumber(line.rowsMs) + ", \"rows\": " + rows + "]}";
    }
    data += "\n]";
    html += "</ol>\n<script id=\"lines\" type=\"application/json\">" + scriptSafe(data) +
            "</script>\n<script>" + kScript + "</script>\n</body>\n</html>\n";
    return html;
}

} // namespace visemer::tool
