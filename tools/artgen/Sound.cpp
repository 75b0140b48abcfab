#include "Sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "Paint.h"

namespace bw::art {

namespace {

// One-pole low-pass noise run twice round the loop, so its state at the end meets the start.
void addWaterWash(std::vector<double>& left, std::vector<double>& right, Rng& rng) {
    const size_t n = left.size();
    std::vector<double> white(n * 2);
    for (double& v : white) {
        v = rng.range(-1.0, 1.0);
    }
    const double coefficient = 1.0 - std::exp(-2.0 * std::numbers::pi * 300.0 / 44100.0);
    double l = 0, r = 0;
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < n; ++i) {
            l += coefficient * (white[i] - l);
            r += coefficient * (white[n + i] - r);
            if (pass == 1) {
                left[i] += 0.06 * l;
                right[i] += 0.06 * r;
            }
        }
    }
}

void addBubble(std::vector<double>& left, std::vector<double>& right, double start,
               double frequency, double amplitude, double pan, int sampleRate, Rng& rng) {
    const size_t n = left.size();
    // Small bubbles ring high and die fast; the pitch glides up as the bubble rises and shrinks.
    const double decay = std::clamp(9.0 / frequency, 0.004, 0.03) * rng.range(0.7, 1.3);
    const double glide = rng.range(0.15, 0.6);
    const int length = static_cast<int>(decay * 7.0 * sampleRate);
    const double attack = 0.0008 * sampleRate;
    const double gainLeft = std::cos(pan * std::numbers::pi / 2) * amplitude;
    const double gainRight = std::sin(pan * std::numbers::pi / 2) * amplitude;
    const size_t first = static_cast<size_t>(start * sampleRate);
    double phase = 0;
    for (int k = 0; k < length; ++k) {
        const double t = static_cast<double>(k) / sampleRate;
        const double f = frequency * (1.0 + glide * t / decay);
        phase += 2.0 * std::numbers::pi * f / sampleRate;
        const double envelope = std::exp(-t / decay) * std::min(1.0, k / attack);
        const double v = std::sin(phase) * envelope;
        const size_t i = (first + static_cast<size_t>(k)) % n;
        left[i] += v * gainLeft;
        right[i] += v * gainRight;
    }
}

}  // namespace

StereoSound synthesiseBubbles(uint64_t seed, double seconds) {
    StereoSound sound;
    const size_t n = static_cast<size_t>(seconds * sound.sampleRate);
    std::vector<double> left(n, 0.0), right(n, 0.0);
    Rng rng(seed);
    addWaterWash(left, right, rng);
    // Bubbles come in bursts from a few streams, with stragglers between them.
    const int bursts = static_cast<int>(seconds * 3.5);
    for (int b = 0; b < bursts; ++b) {
        const double centre = rng.range(0.0, seconds);
        const double pan = rng.range(0.15, 0.85);
        const int count = rng.integer(3, 9);
        for (int i = 0; i < count; ++i) {
            const double frequency = std::exp(rng.range(std::log(450.0), std::log(2400.0)));
            const double start = std::fmod(centre + rng.range(0.0, 0.35) + seconds, seconds);
            addBubble(left, right, start, frequency, rng.range(0.08, 0.3),
                      std::clamp(pan + rng.range(-0.1, 0.1), 0.0, 1.0), sound.sampleRate, rng);
        }
    }
    for (int i = 0; i < static_cast<int>(seconds * 12); ++i) {
        const double frequency = std::exp(rng.range(std::log(300.0), std::log(3200.0)));
        addBubble(left, right, rng.range(0.0, seconds), frequency, rng.range(0.04, 0.16),
                  rng.range(0.0, 1.0), sound.sampleRate, rng);
    }
    // No DC offset, and a peak of about -3 dB.
    double meanLeft = 0, meanRight = 0;
    for (size_t i = 0; i < n; ++i) {
        meanLeft += left[i];
        meanRight += right[i];
    }
    meanLeft /= static_cast<double>(n);
    meanRight /= static_cast<double>(n);
    double peak = 1e-9;
    for (size_t i = 0; i < n; ++i) {
        left[i] -= meanLeft;
        right[i] -= meanRight;
        peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    }
    const double gain = 0.7 * 32767.0 / peak;
    sound.samples.resize(n * 2);
    for (size_t i = 0; i < n; ++i) {
        sound.samples[2 * i] = static_cast<int16_t>(std::lround(left[i] * gain));
        sound.samples[2 * i + 1] = static_cast<int16_t>(std::lround(right[i] * gain));
    }
    return sound;
}

QByteArray encodeWave(const StereoSound& sound) {
    QByteArray out;
    auto put16 = [&](uint16_t v) {
        out.append(static_cast<char>(v & 0xFF));
        out.append(static_cast<char>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            out.append(static_cast<char>((v >> (8 * i)) & 0xFF));
        }
    };
    const uint32_t dataBytes = static_cast<uint32_t>(sound.samples.size() * 2);
    const uint32_t rate = static_cast<uint32_t>(sound.sampleRate);
    out.append("RIFF", 4);
    put32(36 + dataBytes);
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    put32(16);
    put16(1);  // PCM
    put16(2);  // stereo
    put32(rate);
    put32(rate * 4);
    put16(4);
    put16(16);
    out.append("data", 4);
    put32(dataBytes);
    for (int16_t s : sound.samples) {
        put16(static_cast<uint16_t>(s));
    }
    return out;
}

}  // namespace bw::art
