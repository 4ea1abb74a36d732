// The game sounds, synthesised: 16-bit PCM mono WAV at 44100 Hz.
#include "art.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace art {

namespace {

constexpr int Rate = 44100;
constexpr double Pi = 3.14159265358979323846;

using Buffer = std::vector<double>;

Buffer silence(double seconds) { return Buffer(size_t(seconds * Rate), 0.0); }

// A struck tone: partials (ratio, level, decay time) over one fundamental, with a short attack.
struct Partial {
    double ratio, level, decay;
};
void strike(Buffer& b, double at, double freq, double amp, const std::vector<Partial>& partials, double attack = 0.004)
{
    const size_t start = size_t(at * Rate);
    for (size_t i = start; i < b.size(); ++i) {
        const double t = double(i - start) / Rate;
        const double env = std::min(1.0, t / attack);
        double v = 0;
        for (const Partial& p : partials)
            v += p.level * std::exp(-t / p.decay) * std::sin(2 * Pi * freq * p.ratio * t);
        b[i] += amp * env * v;
    }
}

// A short burst of noise through a resonant band-pass: one small hard impact.
void click(Buffer& b, double at, double centre, double q, double amp, double length, uint32_t seed)
{
    const size_t start = size_t(at * Rate);
    const size_t n = size_t(length * Rate);
    // band-pass biquad (constant skirt gain)
    const double w0 = 2 * Pi * centre / Rate, alpha = std::sin(w0) / (2 * q);
    const double a0 = 1 + alpha, b0 = alpha / a0, b2 = -alpha / a0;
    const double a1 = -2 * std::cos(w0) / a0, a2 = (1 - alpha) / a0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t k = 0; k < n && start + k < b.size(); ++k) {
        const double t = double(k) / Rate;
        const double x = (random01(int(k), 0, seed) * 2 - 1) * std::exp(-t / (length * 0.18));
        const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        b[start + k] += amp * y;
    }
}

// Fades the ends, scales the peak to `peak` and writes 16-bit PCM.
bool writeWav(const QString& path, Buffer b, double peak, QString* error)
{
    const size_t fadeIn = size_t(0.003 * Rate);
    const size_t fadeOut = std::min(size_t(0.12 * Rate), b.size() / 5);
    for (size_t i = 0; i < b.size(); ++i) {
        double g = 1;
        if (i < fadeIn)
            g = double(i) / fadeIn;
        if (i + fadeOut > b.size())
            g = std::min(g, 0.5 - 0.5 * std::cos(Pi * double(b.size() - i) / fadeOut));
        b[i] *= g;
    }
    double max = 0;
    for (double v : b)
        max = std::max(max, std::abs(v));
    const double gain = max > 0 ? peak / max : 0;
    QByteArray data;
    data.reserve(int(b.size() * 2));
    for (double v : b) {
        const int s = std::clamp(int(std::lround(v * gain * 32767)), -32767, 32767);
        data.append(char(s & 0xff));
        data.append(char((s >> 8) & 0xff));
    }
    QByteArray out;
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.append(char((v >> (8 * i)) & 0xff));
    };
    auto u16 = [&](uint16_t v) {
        out.append(char(v & 0xff));
        out.append(char(v >> 8));
    };
    out += "RIFF";
    u32(uint32_t(36 + data.size()));
    out += "WAVEfmt ";
    u32(16);
    u16(1);        // PCM
    u16(1);        // mono
    u32(Rate);
    u32(Rate * 2); // bytes per second
    u16(2);        // block align
    u16(16);       // bits per sample
    out += "data";
    u32(uint32_t(data.size()));
    out += data;
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out) != out.size()) {
        *error = QStringLiteral("cannot write %1").arg(path);
        return false;
    }
    return true;
}

const std::vector<Partial> bell = {{1, 1.0, 0.22}, {2.0, 0.35, 0.18}, {2.76, 0.22, 0.12}, {5.4, 0.08, 0.05}};
const std::vector<Partial> marimba = {{1, 1.0, 0.22}, {4.0, 0.25, 0.05}, {9.9, 0.06, 0.015}};
const std::vector<Partial> soft = {{1, 1.0, 0.26}, {2.0, 0.18, 0.2}, {3.0, 0.05, 0.1}};

Buffer roll()
{
    Buffer b = silence(0.72);
    // Two dice tumbling in a cup, then landing: impacts thin out and soften.
    double t = 0.005;
    uint32_t seed = 4001;
    for (int k = 0; t < 0.48; ++k) {
        const double r = random01(k, 1, 4000);
        const double amp = (0.35 + 0.65 * random01(k, 2, 4000)) * (1.0 - 0.5 * t / 0.48);
        click(b, t, 2200 + 2600 * r, 6, amp, 0.014, seed++);
        strike(b, t, 1900 + 1500 * random01(k, 3, 4000), amp * 0.25, {{1, 1, 0.012}, {2.3, 0.5, 0.006}}, 0.0005);
        t += 0.018 + 0.05 * random01(k, 4, 4000) * (0.5 + t * 2.5);
    }
    for (double land : {0.52, 0.585}) {
        click(b, land, 1700, 4, 0.9, 0.02, seed++);
        strike(b, land, 1450, 0.35, {{1, 1, 0.02}, {2.7, 0.4, 0.008}}, 0.0005);
        click(b, land + 0.035, 2600, 6, 0.35, 0.012, seed++);
    }
    return b;
}

Buffer chequer()
{
    Buffer b = silence(0.16);
    click(b, 0.0, 1400, 3, 0.6, 0.01, 4101);
    strike(b, 0.0, 1150, 0.8, {{1, 1, 0.018}, {2.05, 0.45, 0.009}, {0.54, 0.5, 0.03}}, 0.0008);
    return b;
}

Buffer twoNotes(double f1, double f2, double gap, const std::vector<Partial>& timbre, double length)
{
    Buffer b = silence(length);
    strike(b, 0.0, f1, 0.8, timbre);
    strike(b, gap, f2, 1.0, timbre);
    return b;
}

Buffer dance()
{
    Buffer b = silence(0.36);
    double phase = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = double(i) / Rate;
        const double f = 1100 * std::pow(280.0 / 1100.0, std::min(1.0, t / 0.3));
        phase += 2 * Pi * f / Rate;
        const double env = std::min(1.0, t / 0.006) * std::exp(-t / 0.12);
        b[i] = env * (std::sin(phase) + 0.22 * std::sin(3 * phase) + 0.08 * std::sin(5 * phase));
    }
    return b;
}

Buffer win()
{
    Buffer b = silence(1.4);
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (int i = 0; i < 4; ++i)
        strike(b, i * 0.11, notes[i], i == 3 ? 1.0 : 0.7, i == 3 ? std::vector<Partial>{{1, 1, 0.36}, {2, 0.3, 0.2}, {3, 0.1, 0.1}} : bell);
    strike(b, 0.33, 1318.5, 0.3, {{1, 1, 0.3}, {2, 0.2, 0.15}});
    return b;
}

Buffer loose()
{
    Buffer b = silence(1.5);
    const double notes[] = {392.0, 329.63, 293.66, 261.63};
    for (int i = 0; i < 4; ++i)
        strike(b, i * 0.26, notes[i], i == 3 ? 0.9 : 0.75, i == 3 ? std::vector<Partial>{{1, 1, 0.34}, {2, 0.15, 0.18}} : soft, 0.02);
    return b;
}

} // namespace

bool writeSounds(const QString& soundsDir, QString* error)
{
    if (!QDir().mkpath(soundsDir)) {
        *error = QStringLiteral("cannot create %1").arg(soundsDir);
        return false;
    }
    const QDir d(soundsDir);
    return writeWav(d.filePath("roll.wav"), roll(), 0.7, error)
           && writeWav(d.filePath("chequer.wav"), chequer(), 0.6, error)
           && writeWav(d.filePath("double.wav"), twoNotes(659.25, 880.0, 0.13, bell, 0.75), 0.6, error)
           && writeWav(d.filePath("take.wav"), twoNotes(523.25, 659.25, 0.1, marimba, 0.6), 0.6, error)
           && writeWav(d.filePath("drop.wav"), twoNotes(493.88, 392.0, 0.14, soft, 0.8), 0.55, error)
           && writeWav(d.filePath("dance.wav"), dance(), 0.5, error)
           && writeWav(d.filePath("win.wav"), win(), 0.65, error)
           && writeWav(d.filePath("loose.wav"), loose(), 0.55, error);
}

} // namespace art
