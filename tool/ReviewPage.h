#pragma once

#include "tool/BatchDraft.h"

#include <string>
#include <vector>

namespace visemer::tool {

// One line of a review page: what the batch said of it, and what the page
// shows and plays, by paths relative to the page.
struct ReviewLine {
    LineOutcome outcome;
    std::string picture; // empty when the project could not be drawn
    std::string clip;    // empty when it has none
    // Where each row starts on the clip, in ms, with the letter of its
    // drawing (0 for a label with none, where the preview leaves the
    // drawing as it was), in the preview's own steps.
    std::vector<std::pair<double, char>> rows;
    double rowsMs = 0;
    std::string problem; // why the project could not be shown
};

// The page: the lines in the order given, each with its picture, figures
// and a button that plays its clip and shows, beside it, the drawing of
// the row at the clip's position. Space plays or stops the chosen line,
// the arrow keys choose another. Everything it uses is in its folder:
// mouths/A.png to S.png, and the pictures and clips named in the lines.
std::string reviewPage(const std::vector<ReviewLine>& lines, const std::string& title);

} // namespace visemer::tool
