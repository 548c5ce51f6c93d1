// Synthesises the program's two sounds as 16-bit PCM mono 44.1 kHz WAV files:
//   set.wav  two wooden pieces snapping together (a soft knock, ~0.12 s)
//   win.wav  the puzzle is solved: a rising four-note chime (~1.4 s)
// Both are peak-normalised to -3 dBFS. Everything is computed, nothing
// random is left unseeded, so every build makes the same files.
//
// Usage: gen-sounds <output folder>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.70794578;  // -3 dBFS

using Samples = std::vector<double>;

size_t SampleIndex(double seconds) {
    return size_t(std::lround(seconds * kRate));
}

// A small deterministic noise source (xorshift32), -1..1.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    double Next() {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return double(m_state) / 2147483648.0 - 1.0;
    }

private:
    uint32_t m_state;
};

// A vibrating mode struck at `start`: a sine that dies away exponentially,
// starting from zero so the strike itself does not click.
struct Mode {
    double Frequency;  // Hz
    double Gain;
    double Decay;  // seconds for the level to fall to 1/e
};

void AddMode(Samples& out, double start, const Mode& m, double attack) {
    for (size_t i = SampleIndex(start); i < out.size(); ++i) {
        const double t = double(i) / kRate - start;
        const double envelope = std::exp(-t / m.Decay) * std::min(1.0, t / attack);
        if (envelope < 1e-5 && t > attack) break;
        out[i] += m.Gain * envelope * std::sin(2 * kPi * m.Frequency * t);
    }
}

// The short scrape of the two edges touching: noise, dulled by a one-pole
// low-pass so it ticks rather than hisses.
void AddContactNoise(Samples& out, double start, double gain, double decay, Noise& noise) {
    const double k = 1 - std::exp(-2 * kPi * 2500.0 / kRate);
    double low = 0;
    for (size_t i = SampleIndex(start); i < std::min(out.size(), SampleIndex(start + 8 * decay));
         ++i) {
        const double t = double(i) / kRate - start;
        low += k * (noise.Next() - low);
        out[i] += gain * low * std::exp(-t / decay) * std::min(1.0, t / 0.0003);
    }
}

// One knock of wood on wood: a handful of inharmonic, quickly damped modes.
void AddKnock(Samples& out, double start, double gain, double pitch, Noise& noise) {
    static const Mode kModes[] = {
        {690, 1.00, 0.022},  {1130, 0.55, 0.016}, {1870, 0.35, 0.011},
        {2790, 0.20, 0.007}, {3950, 0.10, 0.004},
    };
    for (const Mode& m : kModes)
        AddMode(out, start, {m.Frequency * pitch, m.Gain * gain, m.Decay}, 0.0004);
    AddContactNoise(out, start, 0.6 * gain, 0.0015, noise);
}

void FadeOut(Samples& s, double seconds) {
    const size_t n = std::min(s.size(), SampleIndex(seconds));
    for (size_t i = 0; i < n; ++i)
        s[s.size() - n + i] *= 0.5 * (1 + std::cos(kPi * double(i) / double(n)));
}

// The click of a piece snapping home: a firm knock and, a moment later, the
// softer second contact as it settles.
Samples JoinSound() {
    Samples s(SampleIndex(0.12));
    Noise noise(20231);
    AddKnock(s, 0.002, 1.0, 1.0, noise);
    AddKnock(s, 0.019, 0.35, 1.06, noise);
    FadeOut(s, 0.02);
    return s;
}

double MidiToHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// A soft mallet on a small metal bar: the fundamental rings longest, the
// overtones (the upper one slightly out of tune, as in a real bar) die first.
void AddChimeNote(Samples& out, double start, int note, double gain, double ring) {
    const double f = MidiToHz(note);
    AddMode(out, start, {f, gain, ring}, 0.004);
    AddMode(out, start, {2 * f, 0.28 * gain, ring * 0.45}, 0.003);
    AddMode(out, start, {3 * f, 0.08 * gain, ring * 0.25}, 0.002);
    AddMode(out, start, {4.07 * f, 0.05 * gain, ring * 0.15}, 0.002);
}

// C major rising over an octave; the top note carries and rings out.
Samples WinSound() {
    Samples s(SampleIndex(1.4));
    constexpr int kNotes[] = {72, 76, 79, 84};
    constexpr double kStep = 0.11;
    for (int i = 0; i < 4; ++i) {
        const bool last = i == 3;
        AddChimeNote(s, 0.005 + kStep * i, kNotes[i], last ? 1.0 : 0.7, last ? 0.45 : 0.3);
    }
    FadeOut(s, 0.25);
    return s;
}

void Normalise(Samples& s) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::fabs(v));
    if (peak > 0)
        for (double& v : s) v *= kPeak / peak;
}

void Put16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A canonical 44-byte RIFF/WAVE header followed by the samples.
bool WriteWav(const std::filesystem::path& path, Samples s) {
    Normalise(s);
    const uint32_t dataBytes = uint32_t(s.size() * 2);
    std::string out = "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, kRate);
    Put32(out, kRate * 2);  // bytes per second
    Put16(out, 2);          // bytes per frame
    Put16(out, 16);         // bits per sample
    out += "data";
    Put32(out, dataBytes);
    for (double v : s)
        Put16(out, uint32_t(int16_t(std::lround(std::clamp(v, -1.0, 1.0) * 32767))) & 0xFFFF);
    std::ofstream file(path, std::ios::binary);
    file.write(out.data(), std::streamsize(out.size()));
    if (!file) std::fprintf(stderr, "gen-sounds: cannot write %s\n", path.c_str());
    return bool(file);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen-sounds <output folder>\n");
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    const bool ok = WriteWav(dir / "set.wav", JoinSound()) && WriteWav(dir / "win.wav", WinSound());
    return ok ? 0 : 1;
}
