// Cutting a long clip into passages, choosing the words each alignment
// keeps, and placing the phones on the clip, over a scripted search.

#include "voice/PassageSearch.h"
#include "voice/VoiceDecoder.h"
#include "voice/VoiceError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace visemer {
namespace {

constexpr int kFrame = VoiceDecoder::kSampleRate / 100; // samples in 10 ms
constexpr int kSecond = 100;                            // frames
constexpr double kChangeMs = 7.8125;                    // a change lies this far into its frame

// A voice made up at test time: each 10 ms frame either silent or loud,
// a loud frame carrying its own number so the search can tell where on
// the clip a passage starts. Every phone lasts 100 ms.
struct ScriptedVoice {
    std::vector<PhoneSegment> truth; // on the clip, in frames
    std::vector<std::int16_t> samples;
    Pronunciations dialogue;

    void pause(int frames) {
        truth.push_back({"SIL", this->frames(), this->frames() + frames});
        samples.insert(samples.end(), static_cast<std::size_t>(frames) * kFrame, 0);
    }
    // A pause whose quiet wavers, as a synthesizer's or a room's does: a
    // louder frame, still far below the voice, every third frame.
    void noisyPause(int frames) {
        truth.push_back({"SIL", this->frames(), this->frames() + frames});
        for (int frame = 0; frame < frames; ++frame)
            samples.insert(samples.end(), kFrame, frame % 3 == 2 ? kWaveringNoise : kQuietNoise);
    }
    static constexpr std::int16_t kQuietNoise = 3;     // about -81 dB
    static constexpr std::int16_t kWaveringNoise = 18; // about -65 dB
    void say(const std::string& spelling) {
        std::size_t from = 0;
        while (from < spelling.size()) {
            std::size_t to = spelling.find(' ', from);
            if (to == std::string::npos)
                to = spelling.size();
            const int first = frames();
            truth.push_back({spelling.substr(from, to - from), first, first + 10});
            for (int frame = first; frame < first + 10; ++frame)
                samples.insert(samples.end(), kFrame, static_cast<std::int16_t>(1000 + frame));
            from = to + 1;
        }
    }
    // A word of the dialogue, said or not.
    void word(const std::string& spelling, bool said = true) {
        dialogue.spellings.push_back({spelling});
        dialogue.afterBreak.push_back(false);
        if (said)
            say(spelling);
    }
    int frames() const { return static_cast<int>(samples.size() / kFrame); }
};

// Answers with the voice's own phones over the passage it is given, as a
// search that never errs would. A passage may come with its pauses taken
// out: each loud frame says where on the clip it lies, and silent frames
// are heard as silence, and so are the quiet frames of a noisy pause.
class ScriptedSearch final : public PhoneSearch {
public:
    explicit ScriptedSearch(const ScriptedVoice& voice) : voice_(voice) {}

    struct Passage {
        int start = 0;  // on the clip, in frames; -1 for one all silent
        int frames = 0; // from its first frame to its last, on the clip
    };
    std::vector<Passage> searched;
    std::vector<Passage> aligned;
    int failures = 0; // alignments that find no way through, from the first
    // As the real search does, an alignment lays the phone after a silence
    // back over it rather than take the silence for a pause.
    bool stretchesOverSilence = false;
    // And the last phone on to the passage's end.
    bool stretchesToTheEnd = false;
    // As the real search does with a voice it hears poorly, an alignment
    // holds the last phone but one over the last and crams the last into
    // the passage's final two frames.
    bool cramsTheLastPhone = false;

    std::vector<PhoneSegment> phones(const std::int16_t* samples, std::size_t count) override {
        return hear(samples, count, searched);
    }
    std::vector<PhoneSegment> align(const PhoneGraph&, const std::int16_t* samples,
                                    std::size_t count) override {
        auto heard = hear(samples, count, aligned);
        if (failures > 0) {
            --failures;
            return {};
        }
        if (stretchesOverSilence)
            for (std::size_t i = heard.size() - 1; i-- > 0;)
                if (heard[i].phone == "SIL") {
                    heard[i + 1].first = heard[i].first;
                    heard.erase(heard.begin() + static_cast<std::ptrdiff_t>(i));
                }
        if (cramsTheLastPhone && heard.size() > 2 && heard.back().phone == "SIL" &&
            heard.back().end - heard.back().first > 2) {
            PhoneSegment crammed = heard[heard.size() - 2];
            heard[heard.size() - 3].end = crammed.end;
            heard.erase(heard.end() - 2);
            crammed.end = heard.back().end;
            crammed.first = crammed.end - 2;
            heard.back().end = crammed.first;
            heard.push_back(crammed);
        }
        if (stretchesToTheEnd && heard.size() > 1 && heard.back().phone == "SIL") {
            heard[heard.size() - 2].end = heard.back().end;
            heard.pop_back();
        }
        return heard;
    }

private:
    std::vector<PhoneSegment> hear(const std::int16_t* samples, std::size_t count,
                                   std::vector<Passage>& passages) const {
        const int frames = static_cast<int>(count / kFrame);
        // Each frame's place on the clip, counted on from the loud frames.
        std::vector<int> at(static_cast<std::size_t>(frames), -1);
        int last = -1;
        for (int frame = 0; frame < frames; ++frame) {
            const int value = samples[static_cast<std::size_t>(frame) * kFrame];
            at[static_cast<std::size_t>(frame)] = value >= 1000 ? value - 1000
                                                  : last < 0    ? -1
                                                                : last + 1;
            last = at[static_cast<std::size_t>(frame)];
        }
        for (int frame = frames - 2; frame >= 0; --frame)
            if (at[static_cast<std::size_t>(frame)] < 0 &&
                at[static_cast<std::size_t>(frame) + 1] > 0)
                at[static_cast<std::size_t>(frame)] = at[static_cast<std::size_t>(frame) + 1] - 1;
        passages.push_back(frames == 0 || at.front() < 0
                               ? Passage{-1, frames}
                               : Passage{at.front(), at.back() + 1 - at.front()});
        // Frame by frame, the voice's phone there; silent frames are silence.
        std::vector<PhoneSegment> found;
        int heardSegment = -2;
        for (int frame = 0; frame < frames; ++frame) {
            const bool loud = samples[static_cast<std::size_t>(frame) * kFrame] >= 1000;
            int segment = -1;
            if (loud)
                for (std::size_t i = 0; i < voice_.truth.size(); ++i)
                    if (voice_.truth[i].first <= at[static_cast<std::size_t>(frame)] &&
                        at[static_cast<std::size_t>(frame)] < voice_.truth[i].end)
                        segment = static_cast<int>(i);
            if (segment == heardSegment) {
                found.back().end = frame + 1;
                continue;
            }
            found.push_back(
                {segment < 0 ? "SIL" : voice_.truth[static_cast<std::size_t>(segment)].phone, frame,
                 frame + 1});
            heardSegment = segment;
        }
        return found;
    }
    const ScriptedVoice& voice_;
};

std::vector<TimedPhone> run(PassageSearch& search, const ScriptedVoice& voice) {
    // In blocks of a tenth of a second, as the decoder hands them over.
    for (std::size_t at = 0; at < voice.samples.size(); at += 1600)
        search.feed(voice.samples.data() + at,
                    std::min<std::size_t>(1600, voice.samples.size() - at));
    return search.finish();
}

std::vector<std::string> spokenPhones(const std::vector<TimedPhone>& phones) {
    std::vector<std::string> spoken;
    for (const TimedPhone& phone : phones)
        if (phone.phone != "SIL")
            spoken.push_back(phone.phone);
    return spoken;
}

std::vector<std::string> dialoguePhones(const ScriptedVoice& voice) {
    ScriptedVoice spelled;
    for (const auto& spellings : voice.dialogue.spellings)
        spelled.say(spellings.front());
    std::vector<std::string> phones;
    for (const PhoneSegment& segment : spelled.truth)
        phones.push_back(segment.phone);
    return phones;
}

const char* const kWords[] = {"P AA T", "K IY S", "M OW D", "B EH N", "L UW F", "G AE Z"};

// Words of 0.3 s with 0.2 s between them and a 1 s pause every 20 words,
// for about `seconds`.
ScriptedVoice dialogueOf(int seconds) {
    ScriptedVoice voice;
    voice.pause(50);
    for (int word = 0; voice.frames() < seconds * kSecond; ++word) {
        voice.word(kWords[word % 6]);
        voice.pause(word % 20 == 19 ? 100 : 20);
    }
    return voice;
}

TEST(PassageSearch, APhoneSearchCutsAtTheQuietestMomentOfEachPassagesLastThird) {
    ScriptedVoice voice;
    for (int phone = 0; voice.frames() < 24 * kSecond; ++phone)
        voice.say("AA");
    voice.pause(kSecond);
    while (voice.frames() < 70 * kSecond)
        voice.say("IY");
    ScriptedSearch scripted(voice);
    PassageSearch search(scripted);
    const auto phones = run(search, voice);

    ASSERT_GE(scripted.searched.size(), 3u);
    EXPECT_EQ(scripted.searched[0].start, 0);
    EXPECT_EQ(scripted.searched[0].frames, 24 * kSecond) << "cut where the pause starts";
    // The second passage starts with the pause, which the search does not
    // hear but for its margins.
    EXPECT_EQ(scripted.searched[1].frames, 20 * kSecond - kSecond + 6);
    for (const auto& passage : scripted.searched)
        EXPECT_LE(passage.frames, 30 * kSecond);

    // Every phone once, in order, where the voice has it: a change inside a
    // passage lies a little into its frame, one at a cut on the cut.
    ASSERT_EQ(phones.size(), voice.truth.size());
    for (std::size_t i = 0; i < phones.size(); ++i) {
        EXPECT_EQ(phones[i].phone, voice.truth[i].phone) << i;
        const double start = voice.truth[i].first * 10.0;
        EXPECT_TRUE(phones[i].startMs == start || phones[i].startMs == start + kChangeMs)
            << "phone " << i << " starts at " << phones[i].startMs;
        if (i > 0) {
            EXPECT_EQ(phones[i].startMs, phones[i - 1].endMs) << i;
        }
    }
    EXPECT_EQ(phones[0].startMs, 0);
    EXPECT_EQ(phones.back().endMs, voice.frames() * 10.0);
}

TEST(PassageSearch, ALongDialogueIsAlignedOnceFromWordToWord) {
    const ScriptedVoice voice = dialogueOf(95);
    ScriptedSearch scripted(voice);
    PassageSearch search(scripted);
    search.alignTo(voice.dialogue);
    const auto phones = run(search, voice);

    EXPECT_EQ(spokenPhones(phones), dialoguePhones(voice)) << "each word's phones once, in order";
    EXPECT_EQ(search.wordsNotHeard(), 0u);
    EXPECT_EQ(search.wordsSkipped(), 0u);
    ASSERT_GE(scripted.aligned.size(), 4u);
    // Each passage after the first goes on from the end of a word that
    // ended at least two seconds before the cut of the one before: at that
    // end, or just before the next word where the pause after it was closed.
    std::vector<int> wordEnds, wordStarts;
    for (std::size_t i = 0; i + 1 < voice.truth.size(); ++i) {
        if (voice.truth[i].phone != "SIL" && voice.truth[i + 1].phone == "SIL")
            wordEnds.push_back(voice.truth[i].end);
        if (voice.truth[i].phone == "SIL" && voice.truth[i + 1].phone != "SIL")
            wordStarts.push_back(voice.truth[i + 1].first);
    }
    for (std::size_t i = 1; i < scripted.aligned.size(); ++i) {
        const auto& before = scripted.aligned[i - 1];
        const int start = scripted.aligned[i].start;
        if (start < 0)
            continue;
        const bool atEnd = std::find(wordEnds.begin(), wordEnds.end(), start) != wordEnds.end();
        const bool atOnset =
            std::find(wordStarts.begin(), wordStarts.end(), start + 5) != wordStarts.end();
        EXPECT_TRUE(atEnd || atOnset) << "passage " << i << " starts at frame " << start;
        const auto endBefore = std::upper_bound(wordEnds.begin(), wordEnds.end(), start);
        ASSERT_NE(endBefore, wordEnds.begin());
        EXPECT_LE(*(endBefore - 1), before.start + before.frames - 2 * kSecond) << "passage " << i;
        EXPECT_GT(start, before.start) << "passage " << i;
    }
    for (std::size_t i = 1; i < phones.size(); ++i)
        EXPECT_EQ(phones[i].startMs, phones[i - 1].endMs) << i;
    EXPECT_EQ(phones.back().endMs, voice.frames() * 10.0);
}

TEST(PassageSearch, AnAlignmentThatFindsNoWayIsTriedWithAnEarlierCut) {
    const ScriptedVoice voice = dialogueOf(45);
    ScriptedSearch scripted(voice);
    scripted.failures = 1;
    PassageSearch search(scripted);
    search.alignTo(voice.dialogue);
    const auto phones = run(search, voice);

    ASSERT_GE(scripted.aligned.size(), 2u);
    EXPECT_EQ(scripted.aligned[0].start, scripted.aligned[1].start);
    EXPECT_LT(scripted.aligned[1].frames, scripted.aligned[0].frames);
    EXPECT_GE(scripted.aligned[1].frames, 20 * kSecond) << "never shorter than 20 s";
    EXPECT_EQ(spokenPhones(phones), dialoguePhones(voice));

    ScriptedSearch hopeless(voice);
    hopeless.failures = 1000;
    PassageSearch failing(hopeless);
    failing.alignTo(voice.dialogue);
    try {
        run(failing, voice);
        FAIL() << "a voice that never matches is reported";
    } catch (const VoiceError& error) {
        EXPECT_EQ(
            std::string(error.what()).rfind("the voice could not be matched to the dialogue", 0),
            0u)
            << error.what();
    }
    EXPECT_LE(hopeless.aligned.size(), 4u) << "four cuts at most";
    for (const auto& passage : hopeless.aligned)
        EXPECT_GE(passage.frames, 20 * kSecond);
}

TEST(PassageSearch, WordsTheVoiceLeavesOutAreCountedAndItsEndAfterTheDialogueIsClosed) {
    ScriptedVoice voice;
    voice.pause(50);
    voice.word("P AA T", false);
    voice.word("K IY S", false);
    for (int word = 0; word < 12; ++word) {
        voice.word(kWords[(word + 2) % 6]);
        voice.pause(20);
    }
    voice.pause(40 * kSecond); // a long silence after the last word
    ScriptedSearch scripted(voice);
    PassageSearch search(scripted);
    search.alignTo(voice.dialogue);
    const auto phones = run(search, voice);

    EXPECT_EQ(search.wordsSkipped(), 2u);
    EXPECT_EQ(search.wordsNotHeard(), 0u);
    // From the end of the last word to the end of the clip, only silence.
    const auto lastSpoken = std::find_if(phones.rbegin(), phones.rend(),
                                         [](const TimedPhone& p) { return p.phone != "SIL"; });
    ASSERT_NE(lastSpoken, phones.rend());
    EXPECT_LE(lastSpoken->endMs, (voice.frames() - 40 * kSecond) * 10.0 + kChangeMs);
    EXPECT_EQ(phones.back().endMs, voice.frames() * 10.0);

    // A voice that stops before the dialogue does leaves its last words
    // unheard.
    ScriptedVoice shortVoice;
    shortVoice.pause(50);
    for (int word = 0; word < 10; ++word) {
        shortVoice.word(kWords[word % 6], word < 7);
        shortVoice.pause(word < 7 ? 20 : 0);
    }
    ScriptedSearch shortScripted(shortVoice);
    PassageSearch shortSearch(shortScripted);
    shortSearch.alignTo(shortVoice.dialogue);
    run(shortSearch, shortVoice);
    EXPECT_EQ(shortSearch.wordsNotHeard(), 3u);
}

TEST(PassageSearch, SilenceBeforeAndBetweenWordsIsClosedWhereTheSearchWouldStretchWords) {
    for (const bool noisy : {false, true}) {
        SCOPED_TRACE(noisy ? "pauses whose quiet wavers" : "digital silence");
        ScriptedVoice voice;
        const auto pause = [&](int frames) {
            noisy ? voice.noisyPause(frames) : voice.pause(frames);
        };
        pause(kSecond);
        for (int word = 0; word < 8; ++word) {
            voice.word(kWords[word % 6]);
            // A second's pause in the middle, where the text has no comma.
            pause(word == 3 ? kSecond : 20);
        }
        ScriptedSearch scripted(voice);
        scripted.stretchesOverSilence = true;
        PassageSearch search(scripted);
        search.alignTo(voice.dialogue);
        const auto phones = run(search, voice);

        const auto phoneAt = [&](int frame) {
            const double ms = frame * 10.0 + 5;
            for (const TimedPhone& phone : phones)
                if (phone.startMs <= ms && ms < phone.endMs)
                    return phone.phone;
            return std::string("none");
        };
        for (const PhoneSegment& truth : voice.truth) {
            if (truth.phone == "SIL") {
                // All but a few frames at each end of every pause of 150 ms.
                for (int frame = truth.first + 5; frame < truth.end - 5; ++frame)
                    EXPECT_EQ(phoneAt(frame), "SIL") << "frame " << frame;
            } else {
                EXPECT_EQ(phoneAt(truth.first + 5), truth.phone) << "frame " << truth.first + 5;
            }
        }
        EXPECT_EQ(spokenPhones(phones), dialoguePhones(voice));
    }
}

// Aligned by a search that, as the real one does, lays phones over the
// silence beside them and on to the clip's end.
std::vector<TimedPhone> alignStretchingOverSilence(const ScriptedVoice& voice) {
    ScriptedSearch scripted(voice);
    scripted.stretchesOverSilence = true;
    scripted.stretchesToTheEnd = true;
    PassageSearch search(scripted);
    search.alignTo(voice.dialogue);
    return run(search, voice);
}

TEST(PassageSearch, QuietTheSearchGivesAPhoneBesideSilenceIsClosed) {
    // A lead-in too short to be passed over before the alignment, a pause,
    // and a tail: each heard by the search as part of the phone beside it.
    ScriptedVoice voice;
    voice.pause(8);
    voice.word("P AA T");
    voice.pause(20);
    voice.word("K IY S");
    voice.pause(12);
    const auto phones = alignStretchingOverSilence(voice);

    ASSERT_GE(phones.size(), 3u);
    EXPECT_EQ(phones.front().phone, "SIL");
    EXPECT_NEAR(phones.front().endMs, 70 + kChangeMs, 0.01) << "all but the frame before the voice";
    EXPECT_EQ(phones[1].phone, "P");
    EXPECT_EQ(phones.back().phone, "SIL");
    EXPECT_NEAR(phones.back().startMs, (8 + 30 + 20 + 30 + 1) * 10 + kChangeMs, 0.01)
        << "all but the frame after the voice";
    EXPECT_EQ(phones[phones.size() - 2].phone, "S");
    EXPECT_EQ(spokenPhones(phones), dialoguePhones(voice));
}

// A voice fades out over a stretch louder than the silence; into a
// recording's hiss that stretch is silence, but before a synthesizer's
// digital silence it is the voice's own quiet end.
TEST(PassageSearch, AVoiceFadingIntoHissIsClosedWhereItFades) {
    for (const bool hiss : {true, false}) {
        SCOPED_TRACE(hiss ? "into hiss" : "into digital silence");
        ScriptedVoice voice;
        voice.noisyPause(30);
        voice.word("P AA T");
        // Eight frames of fading voice, about -65 dB, then the clip's end,
        // too short to be a pause.
        voice.samples.insert(voice.samples.end(), 8 * kFrame, ScriptedVoice::kWaveringNoise);
        hiss ? voice.noisyPause(8) : voice.pause(8);
        const auto phones = alignStretchingOverSilence(voice);

        ASSERT_GE(phones.size(), 2u);
        EXPECT_EQ(phones.back().phone, "SIL");
        const TimedPhone& last = phones[phones.size() - 2];
        EXPECT_EQ(last.phone, "T");
        // The voice ends at frame 60; one frame is left where it fades.
        EXPECT_NEAR(last.endMs, (hiss ? 61 : 69) * 10 + kChangeMs, 0.01);
    }
}

TEST(PassageSearch, APhoneCrammedIntoTheQuietAfterTheVoiceIsClosed) {
    ScriptedVoice voice;
    voice.pause(20);
    voice.word("P AA T");
    voice.pause(30);
    ScriptedSearch scripted(voice);
    scripted.cramsTheLastPhone = true;
    PassageSearch search(scripted);
    search.alignTo(voice.dialogue);
    const auto phones = run(search, voice);

    // The word is heard, and its crammed t is silence with the rest.
    EXPECT_EQ(spokenPhones(phones), (std::vector<std::string>{"P", "AA"}));
    EXPECT_EQ(search.wordsNotHeard(), 0u);
    const auto vowel = std::find_if(phones.begin(), phones.end(),
                                    [](const TimedPhone& phone) { return phone.phone == "AA"; });
    ASSERT_NE(vowel, phones.end());
    ASSERT_NE(vowel + 1, phones.end());
    EXPECT_NEAR(vowel[1].startMs, (20 + 30) * 10 + kChangeMs, 0.01);
    for (auto after = vowel + 1; after != phones.end(); ++after)
        EXPECT_EQ(after->phone, "SIL") << after->startMs;
}

} // namespace
} // namespace visemer
