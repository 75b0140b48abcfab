// "bubbles1.wav": a few seconds of 44.1 kHz 16-bit bubbling that loops without a click.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cmath>
#include <vector>

#include "Sound.h"

namespace {

struct Wave {
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;
};

// A small independent RIFF reader, so the check does not trust the writer.
bool parseWave(const QByteArray& bytes, Wave& wave) {
    auto u32 = [&](qsizetype at) {
        uint32_t v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
        return v;
    };
    auto u16 = [&](qsizetype at) { return static_cast<int>(u32(at) & 0xFFFF); };
    if (bytes.size() < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE") return false;
    qsizetype at = 12;
    bool haveFormat = false;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const qsizetype size = u32(at + 4);
        if (at + 8 + size > bytes.size()) return false;
        if (id == "fmt ") {
            if (u16(at + 8) != 1) return false;  // PCM
            wave.channels = u16(at + 10);
            wave.rate = static_cast<int>(u32(at + 12));
            wave.bits = u16(at + 22);
            haveFormat = true;
        } else if (id == "data" && haveFormat) {
            wave.samples.resize(static_cast<size_t>(size / 2));
            for (size_t i = 0; i < wave.samples.size(); ++i) {
                wave.samples[i] = static_cast<int16_t>(u16(at + 8 + 2 * qsizetype(i)));
            }
            return true;
        }
        at += 8 + size + (size & 1);
    }
    return false;
}

class BubbleSound : public ::testing::Test {
  protected:
    void SetUp() override {
        if (qEnvironmentVariableIsEmpty("BW_TEST_DATA")) GTEST_SKIP() << "BW_TEST_DATA unset";
        QFile file(QDir(qEnvironmentVariable("BW_TEST_DATA")).filePath("bubbles1.wav"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "bubbles1.wav is missing";
        ASSERT_TRUE(parseWave(file.readAll(), wave)) << "not a PCM wave file";
    }
    double seconds() const {
        return static_cast<double>(wave.samples.size()) / wave.channels / wave.rate;
    }
    Wave wave;
};

TEST_F(BubbleSound, Is44100Hz16BitAndAFewSecondsLong) {
    EXPECT_EQ(wave.rate, 44100);
    EXPECT_EQ(wave.bits, 16);
    EXPECT_GE(wave.channels, 1);
    EXPECT_GE(seconds(), 2.0);
    EXPECT_LE(seconds(), 10.0);
}

TEST_F(BubbleSound, HasNoDcOffsetAndIsAudibleWithoutClipping) {
    for (int c = 0; c < wave.channels; ++c) {
        double sum = 0, squares = 0;
        int peak = 0;
        size_t count = 0;
        for (size_t i = static_cast<size_t>(c); i < wave.samples.size(); i += wave.channels) {
            sum += wave.samples[i];
            squares += double(wave.samples[i]) * wave.samples[i];
            peak = std::max(peak, std::abs(int(wave.samples[i])));
            ++count;
        }
        EXPECT_LT(std::fabs(sum / count), 0.002 * 32768) << "channel " << c;
        EXPECT_GT(std::sqrt(squares / count), 0.01 * 32768) << "too quiet";
        EXPECT_LT(peak, 32767) << "clipped";
    }
}

// The jump from the last sample back to the first is no larger than the sound's own
// steps from one sample to the next: no click at the loop point.
TEST_F(BubbleSound, LoopsWithoutAClick) {
    const size_t frames = wave.samples.size() / wave.channels;
    for (int c = 0; c < wave.channels; ++c) {
        std::vector<int> steps;
        for (size_t f = 1; f < frames; ++f) {
            steps.push_back(std::abs(wave.samples[f * wave.channels + c] -
                                     wave.samples[(f - 1) * wave.channels + c]));
        }
        std::sort(steps.begin(), steps.end());
        const int typicalLargeStep = steps[steps.size() * 99 / 100];
        const int seam = std::abs(wave.samples[c] - wave.samples[(frames - 1) * wave.channels + c]);
        EXPECT_LE(seam, typicalLargeStep) << "channel " << c;
    }
}

TEST(BubbleSynthesis, IsDeterministic) {
    const auto a = bw::art::synthesiseBubbles(7, 1.0);
    const auto b = bw::art::synthesiseBubbles(7, 1.0);
    const auto c = bw::art::synthesiseBubbles(8, 1.0);
    EXPECT_EQ(a.samples, b.samples);
    EXPECT_NE(a.samples, c.samples);
    EXPECT_EQ(a.frames(), 44100);
}

}  // namespace
