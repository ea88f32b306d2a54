// Makes the walk's two sound clips, snd/andar.snd (a soft footstep on gravel) and snd/golpe.snd
// (a dull hit): raw 16-bit stereo 22050 Hz little-endian PCM, no header.
//
//   sndgen <folder>     writes <folder>/andar.snd and <folder>/golpe.snd
//
// The output is the same byte for byte on every run and machine: the noise comes from a fixed
// integer generator and the arithmetic is only +, -, * and / on doubles (no libm curves,
// whose last bits may differ between C libraries).

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kPi = 3.14159265358979323846;

struct StereoClip {
    std::vector<double> left;
    std::vector<double> right;
    explicit StereoClip(int frames) : left(frames, 0.0), right(frames, 0.0) {}
    int Frames() const { return static_cast<int>(left.size()); }
};

// xorshift32: a fixed sequence for a fixed seed.
class Noise {
public:
    explicit Noise(uint32_t seed) : m_state(seed) {}
    // Uniform in [-1, 1).
    double Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state) / 2147483648.0 - 1.0;
    }
    // Uniform in [0, 1).
    double Unit() { return (Next() + 1.0) * 0.5; }

private:
    uint32_t m_state;
};

// Sine by its Taylor series after reducing the angle to [-pi, pi] (error below 1e-7).
double Sine(double angle)
{
    const double turns = angle / (2.0 * kPi);
    double x = angle - 2.0 * kPi * static_cast<double>(static_cast<long long>(turns + (turns < 0 ? -0.5 : 0.5)));
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 9; ++n) {
        term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
        sum += term;
    }
    return sum;
}

// 0 at t <= 0, 1 at t >= 1, flat at both ends.
double SmoothStep(double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return t * t * t * (t * (t * 6.0 - 15.0) + 10.0);
}

// Per-sample factor of an exponential decay with the given time constant (first-order).
double DecayFactor(double seconds)
{
    return 1.0 - 1.0 / (seconds * kSampleRate);
}

// One-pole low-pass; coefficient a ~ 1 - e^(-2 pi fc / fs).
class LowPass {
public:
    explicit LowPass(double a) : m_a(a) {}
    double operator()(double x) { return m_y += m_a * (x - m_y); }

private:
    double m_a;
    double m_y = 0.0;
};

// Fades the ends in and out smoothly so that the clip starts and ends on silence.
void Fade(StereoClip& clip, double fadeInSeconds, double fadeOutSeconds)
{
    const int frames = clip.Frames();
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double left = static_cast<double>(frames - 1 - i) / kSampleRate;
        const double gain = SmoothStep(t / fadeInSeconds) * SmoothStep(left / fadeOutSeconds);
        clip.left[i] *= gain;
        clip.right[i] *= gain;
    }
}

void Normalise(StereoClip& clip, double peak)
{
    double largest = 0.0;
    for (int i = 0; i < clip.Frames(); ++i)
        largest = std::max({largest, std::fabs(clip.left[i]), std::fabs(clip.right[i])});
    if (largest == 0.0)
        return;
    for (int i = 0; i < clip.Frames(); ++i) {
        clip.left[i] *= peak / largest;
        clip.right[i] *= peak / largest;
    }
}

// A heel then a toe rolling on gravel: clusters of tiny stone clicks, each a short noise
// burst panned a little left or right, over a soft low thud of the heel.
StereoClip Footstep()
{
    StereoClip clip(6615);  // 0.3 s
    Noise noise(0x5EED0A1Du);
    struct Grain {
        double amplitude;
        double decay;
        double leftGain;
        double rightGain;
    };
    std::vector<Grain> grains;
    // Crunch band ~300 Hz to ~2 kHz: two low-pass stages, minus a low-passed copy.
    LowPass crunchLeft(0.45), crunchLeft2(0.45), crunchRight(0.45), crunchRight2(0.45);
    LowPass bodyLeft(0.08), bodyRight(0.08);
    LowPass thudFilter(0.035);  // ~125 Hz
    double thud = 1.0;
    const double thudDecay = DecayFactor(0.03);
    for (int i = 0; i < clip.Frames(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        // Grain density: a sharp heel cluster, then a longer, lighter toe roll.
        const double heel = SmoothStep(t / 0.01) * (1.0 - SmoothStep((t - 0.02) / 0.07));
        const double toe = 0.55 * SmoothStep((t - 0.10) / 0.04) * (1.0 - SmoothStep((t - 0.13) / 0.12));
        const double density = 0.12 * std::max(heel, toe);
        if (noise.Unit() < density) {
            const double pan = 0.3 * noise.Next();
            grains.push_back(
                {0.3 + 0.7 * noise.Unit(), DecayFactor(0.0008 + 0.0025 * noise.Unit()), 1.0 - pan, 1.0 + pan});
        }
        double left = 0.0;
        double right = 0.0;
        for (Grain& grain : grains) {
            const double burst = grain.amplitude * noise.Next();
            left += burst * grain.leftGain;
            right += burst * grain.rightGain;
            grain.amplitude *= grain.decay;
        }
        grains.erase(std::remove_if(grains.begin(), grains.end(), [](const Grain& g) { return g.amplitude < 0.002; }),
                     grains.end());
        left = crunchLeft2(crunchLeft(left));
        right = crunchRight2(crunchRight(right));
        left -= bodyLeft(left);
        right -= bodyRight(right);
        const double low = 4.0 * thud * thudFilter(noise.Next()) * SmoothStep(t / 0.004);
        thud *= thudDecay;
        clip.left[i] = left + low;
        clip.right[i] = right + low;
    }
    Fade(clip, 0.003, 0.04);
    Normalise(clip, 0.35);
    return clip;
}

// A body knocked against stone: a low thump falling in pitch, a short knock partial and a
// muffled contact noise, the same on both sides.
StereoClip Hit()
{
    StereoClip clip(5512);  // 0.25 s
    Noise noise(0x0B0D1E5u);
    LowPass contactFilter(0.2);  // ~800 Hz
    double thumpPhase = 0.0;
    double knockPhase = 0.0;
    double thump = 1.0;
    double knock = 0.6;
    double contact = 0.6;
    const double thumpDecay = DecayFactor(0.06);
    const double knockDecay = DecayFactor(0.03);
    const double contactDecay = DecayFactor(0.008);
    for (int i = 0; i < clip.Frames(); ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double sweep = SmoothStep(t / 0.07);
        const double thumpHz = 95.0 - 40.0 * sweep;
        thumpPhase += 2.0 * kPi * thumpHz / kSampleRate;
        knockPhase += 2.0 * kPi * 170.0 / kSampleRate;
        const double value =
            thump * Sine(thumpPhase) + knock * Sine(knockPhase) + contact * contactFilter(noise.Next()) * 4.0;
        thump *= thumpDecay;
        knock *= knockDecay;
        contact *= contactDecay;
        clip.left[i] = value;
        clip.right[i] = value;
    }
    Fade(clip, 0.004, 0.03);
    Normalise(clip, 0.5);
    return clip;
}

int16_t ToSample(double value)
{
    return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
}

bool WriteClip(const StereoClip& clip, const std::string& path)
{
    std::vector<char> bytes;
    bytes.reserve(static_cast<size_t>(clip.Frames()) * 4);
    for (int i = 0; i < clip.Frames(); ++i) {
        for (int16_t sample : {ToSample(clip.left[i]), ToSample(clip.right[i])}) {
            const uint16_t bits = static_cast<uint16_t>(sample);
            bytes.push_back(static_cast<char>(bits & 0xFF));
            bytes.push_back(static_cast<char>(bits >> 8));
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: sndgen <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!WriteClip(Footstep(), folder + "/andar.snd") || !WriteClip(Hit(), folder + "/golpe.snd")) {
        std::fprintf(stderr, "sndgen: cannot write the clips into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
