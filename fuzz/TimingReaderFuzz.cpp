// One reader of convert's on arbitrary bytes, chosen when built
// (VISEMER_TIMING_READER): what it reads is laid out as rows and written
// back, as convert does; a FormatError is the only way it may refuse.
#include "exchange/RowLayout.h"
#include "exchange/TimingFormats.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

enum Reader { CueTsv = 1, CueJson = 2, SwitchData = 3, TimingJson = 4 };

void lay(const std::vector<visemer::TimedLabel>& stretches) {
    for (const double unit : {33.333, 71.428})
        visemer::layOutRows(stretches, unit);
    visemer::writeCueTsv(stretches);
    visemer::writeSwitchData(stretches, 24);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        switch (VISEMER_TIMING_READER) {
        case CueTsv:
            lay(visemer::readCueTsv(text));
            break;
        case CueJson: {
            const visemer::CueList cues = visemer::readCueJson(text);
            lay(cues.stretches);
            visemer::writeCueJson(cues.stretches, cues.soundFile);
            break;
        }
        case SwitchData:
            for (const auto names : {visemer::SwitchNames::Mouths, visemer::SwitchNames::Cues}) {
                try {
                    lay(visemer::readSwitchData(text, 24, names));
                } catch (const visemer::FormatError&) {
                }
            }
            lay(visemer::readSwitchData(text, 24));
            break;
        case TimingJson: {
            const visemer::Timing timing = visemer::readTimingJson(text);
            visemer::writeTimingJson(timing);
            lay(visemer::timeRows(timing, visemer::delayUnitMs(timing)));
            break;
        }
        }
        visemer::jsonTimingIn(text);
    } catch (const visemer::FormatError&) {
    }
    return 0;
}
