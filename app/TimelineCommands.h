#pragma once

namespace visemer {

class EventLoop;
class Timeline;

// Puts the timeline's commands on their keys, lists and panel buttons.
void registerTimelineCommands(EventLoop& loop, Timeline& timeline);

} // namespace visemer
