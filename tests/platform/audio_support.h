#pragma once

// Helpers of the audio tests: hand-written WAV files, the disk driver's capture, and the few
// measurements the tests make on what was played.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace bw::test {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QString& value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = std::string(old);
        setenv(name, value.toLocal8Bit().constData(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

inline std::vector<int16_t> Sine(double hz, int frames, double amplitude, int rate = kRate) {
    std::vector<int16_t> samples(static_cast<size_t>(frames));
    for (int i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(std::lround(amplitude * 32767.0 *
                                                      std::sin(2 * kPi * hz * i / rate)));
    return samples;
}

// A PCM WAV file; `dataBytesClaimed` overrides the data chunk's size field (a truncated file).
inline QByteArray WavBytes(const std::vector<int16_t>& samples, int channels = 1,
                           int rate = kRate, std::optional<uint32_t> dataBytesClaimed = {}) {
    QByteArray data(reinterpret_cast<const char*>(samples.data()),
                    static_cast<int>(samples.size() * 2));
    auto u32 = [](uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    const uint32_t dataSize = dataBytesClaimed.value_or(static_cast<uint32_t>(data.size()));
    QByteArray wav = "RIFF" + u32(36 + dataSize) + "WAVEfmt " + u32(16) + u16(1) +
                     u16(static_cast<uint16_t>(channels)) + u32(static_cast<uint32_t>(rate)) +
                     u32(static_cast<uint32_t>(rate * channels * 2)) +
                     u16(static_cast<uint16_t>(channels * 2)) + u16(16) + "data" + u32(dataSize);
    return wav + data;
}

inline QString WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

inline QByteArray ReadFile(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// The committed songs in the compressed formats.
inline QString SongData(const char* name) {
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + "/audio_data/" + name;
}

// brinewave3-decode of this build: in the data folder the test run names, else beside the
// test program's build folder.
inline QString DecoderPath() {
    if (const char* data = std::getenv("BW_TEST_DATA"))
        return QString::fromLocal8Bit(data) + "/brinewave3-decode";
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    return exe + "/../Brinewave3/brinewave3-decode";
}

template <typename Predicate>
bool WaitFor(Predicate done, int timeoutMs, int stepMs = 5) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(stepMs));
    }
    return true;
}

// Routes the mixer into a raw file (SDL's disk driver: 44.1 kHz s16 stereo, in real time)
// while it lives. Open the components after this and close them before Samples().
class DiskCapture {
public:
    DiskCapture()
        : path_(dir_.filePath("out.raw")),
          driver_("SDL_AUDIODRIVER", "disk"),
          file_("SDL_DISKAUDIOFILE", path_),
          delay_("SDL_DISKAUDIODELAY", QString::number(1024 * 1000 / kRate)) {}

    QString dir() const { return dir_.path(); }
    qint64 Frames() const { return QFileInfo(path_).size() / 4; }
    // Waits until `seconds` more of output have been written.
    bool WaitSeconds(double seconds, int timeoutMs = 10000) const {
        const qint64 target = Frames() + static_cast<qint64>(seconds * kRate);
        return WaitFor([&] { return Frames() >= target; }, timeoutMs);
    }
    // Interleaved left, right.
    std::vector<int16_t> Samples() const {
        QFile file(path_);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        std::vector<int16_t> samples(static_cast<size_t>(bytes.size() / 2));
        std::memcpy(samples.data(), bytes.constData(), samples.size() * 2);
        return samples;
    }

private:
    QTemporaryDir dir_;
    QString path_;
    ScopedEnv driver_;
    ScopedEnv file_;
    ScopedEnv delay_;
};

// One channel (0 left, 1 right) of interleaved stereo, frames [from, to).
inline std::vector<double> Channel(const std::vector<int16_t>& stereo, int channel,
                                   size_t from = 0, size_t to = SIZE_MAX) {
    std::vector<double> out;
    to = std::min(to, stereo.size() / 2);
    for (size_t i = from; i < to; ++i)
        out.push_back(stereo[2 * i + channel]);
    return out;
}

inline double Rms(const std::vector<double>& x) {
    double sum = 0;
    for (double v : x)
        sum += v * v;
    return x.empty() ? 0 : std::sqrt(sum / x.size());
}

// Amplitude of the `hz` component (Goertzel), in sample units.
inline double ToneAmplitude(const std::vector<double>& x, double hz) {
    const double w = 2 * kPi * hz / kRate;
    double s1 = 0, s2 = 0;
    for (double v : x) {
        const double s = v + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    const double power = s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2;
    return x.empty() ? 0 : 2 * std::sqrt(std::max(power, 0.0)) / x.size();
}

// First and one-past-last frame that is not silent; {0, 0} when all is silence.
inline std::pair<size_t, size_t> SoundingSpan(const std::vector<int16_t>& stereo) {
    const size_t frames = stereo.size() / 2;
    size_t first = frames, last = 0;
    for (size_t i = 0; i < frames; ++i) {
        if (stereo[2 * i] != 0 || stereo[2 * i + 1] != 0) {
            first = std::min(first, i);
            last = i + 1;
        }
    }
    return first < last ? std::pair{first, last} : std::pair<size_t, size_t>{0, 0};
}

}  // namespace bw::test
