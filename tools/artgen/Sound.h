#pragma once

// The bubbling loop: many small bubbles, each a short sine that rises in pitch as it decays,
// at random times, pitches and places in the stereo field, over a faint wash of water.
// Bubbles that ring past the end wrap round to the start, so the loop has no seam.

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace bw::art {

struct StereoSound {
    int sampleRate = 44100;
    std::vector<int16_t> samples;  // interleaved left, right
    int frames() const { return static_cast<int>(samples.size() / 2); }
};

StereoSound synthesiseBubbles(uint64_t seed, double seconds);
QByteArray encodeWave(const StereoSound& sound);

}  // namespace bw::art
