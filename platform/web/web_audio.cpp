// The browser calls no audio callback of ours on its own: the frame loop mixes a little ahead of
// the audio clock at every pump (page.js schedules the stretches back to back).
#include "platform/web/web_audio.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <vector>

#include "platform/core/mixer.h"

// Calls into page.js.
EM_JS(int, OpenAudioContext, (int rate), { return MarvazeAudio.open(rate) ? 1 : 0; });
EM_JS(void, PlayAudio, (const int16_t* frames, int count), { MarvazeAudio.play(frames, count); });
EM_JS(int, AudioFramesWanted, (), { return MarvazeAudio.wanted(); });

namespace {

std::vector<int16_t> stretch;

}  // namespace

bool OpenWebAudio() { return OpenAudioContext(MixRate) != 0; }

void FeedWebAudio() {
    // Without a running context (before the first gesture, or no Web Audio at all) the page asks
    // for the frames its clock has let pass, and drops them: the mixer drains as a silent device
    // would, so no sound piles up.
    int frames = AudioFramesWanted();
    if (frames <= 0) return;
    stretch.resize(static_cast<size_t>(frames) * 2);
    MixInto(gameMixer, stretch.data(), frames);
    PlayAudio(stretch.data(), frames);
}
