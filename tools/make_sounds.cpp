// Writes the game's four sound effects as WAV files into the folder given
// as the only argument: fire.WAV (a shot), ban.WAV (a shell burst),
// ban2.WAV (a vehicle explosion) and crash.WAV (a collision knock).
//
// The sounds are synthesised, so the program ships no recordings and a
// build always makes the same bytes: the noise comes from a fixed-seed
// generator of our own, not from the standard library's distributions,
// whose output differs between library versions.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "arena/rounding.h"

namespace {

constexpr int kRate = 44100;  // samples per second, mono
constexpr double kTwoPi = 6.283185307179586;
// Peak level -1 dBFS: loud, with headroom so that resampling in the sound
// server cannot clip.
const double kPeak = 32767.0 * std::pow(10.0, -1.0 / 20.0);

using Samples = std::vector<double>;

// xorshift32: small, fast and the same on every platform.
class Noise {
 public:
  explicit Noise(uint32_t seed) : x_(seed) {}
  double next() {  // uniform in [-1, 1)
    x_ ^= x_ << 13;
    x_ ^= x_ >> 17;
    x_ ^= x_ << 5;
    return static_cast<double>(x_) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t x_;
};

// One-pole low-pass filter whose cut-off may change every sample.
class LowPass {
 public:
  double step(double in, double cutoffHz) {
    const double a = 1.0 - std::exp(-kTwoPi * cutoffHz / kRate);
    y_ += a * (in - y_);
    return y_;
  }

 private:
  double y_ = 0.0;
};

double decay(double tSeconds, double timeConstantSeconds) {
  return std::exp(-tSeconds / timeConstantSeconds);
}

// A sine whose frequency glides, kept as a running phase so the glide has
// no jumps.
class Sweep {
 public:
  double step(double freqHz) {
    phase_ += kTwoPi * freqHz / kRate;
    return std::sin(phase_);
  }

 private:
  double phase_ = 0.0;
};

Samples make(double seconds) { return Samples(static_cast<std::size_t>(seconds * kRate)); }
double timeOf(std::size_t i) { return static_cast<double>(i) / kRate; }

// A shot: a sharp crack of bright noise over a low thump that drops in
// pitch, gone in a quarter of a second.
Samples fire() {
  Samples s = make(0.25);
  Noise noise(0x5EED0001u);
  LowPass crackLow, body;
  Sweep thump;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = timeOf(i);
    const double n = noise.next();
    const double crack = (n - crackLow.step(n, 1500.0)) * decay(t, 0.012);
    const double rumble = body.step(n, 400.0 + 1600.0 * decay(t, 0.03)) * decay(t, 0.06);
    const double low = thump.step(50.0 + 90.0 * decay(t, 0.03)) * decay(t, 0.07);
    s[i] = 0.6 * crack + 1.5 * rumble + 0.9 * low;
  }
  return s;
}

// A shell burst: noise that darkens as it dies away over half a second.
Samples ban() {
  Samples s = make(0.5);
  Noise noise(0x5EED0002u);
  LowPass a, b;
  Sweep low;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = timeOf(i);
    const double cutoff = 300.0 + 2700.0 * decay(t, 0.08);
    const double n = b.step(a.step(noise.next(), cutoff), cutoff);
    s[i] = n * decay(t, 0.12) + 0.3 * low.step(70.0) * decay(t, 0.1);
  }
  return s;
}

// A vehicle explosion: a deep blast that keeps rumbling for over a second.
Samples ban2() {
  Samples s = make(1.2);
  Noise noise(0x5EED0003u), wobbleNoise(0x5EED0004u);
  LowPass blast1, blast2, rumble1, rumble2, wobble;
  Sweep thump;
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = timeOf(i);
    const double n = noise.next();
    const double cutoff = 120.0 + 1100.0 * decay(t, 0.25);
    const double blast = blast2.step(blast1.step(n, cutoff), cutoff) * decay(t, 0.35);
    // The rumble swells and fades at random a few times a second.
    const double swell = 0.6 + 4.0 * std::fabs(wobble.step(wobbleNoise.next(), 6.0));
    const double deep = rumble2.step(rumble1.step(n, 90.0), 90.0) * swell * decay(t, 0.5);
    const double low = thump.step(30.0 + 30.0 * decay(t, 0.1)) * decay(t, 0.15);
    s[i] = blast + 2.5 * deep + 0.8 * low;
  }
  return s;
}

// A collision: a short metallic knock, a few inharmonic partials such as a
// struck plate gives, the high ones dying first, over a click of noise.
Samples crash() {
  Samples s = make(0.2);
  Noise noise(0x5EED0005u);
  LowPass clickLow;
  struct Partial {
    double freqHz, amplitude, decaySeconds;
  };
  constexpr Partial kPartials[] = {
      {420.0, 1.0, 0.06}, {1130.0, 0.7, 0.04}, {2210.0, 0.5, 0.025}, {3650.0, 0.3, 0.015}};
  for (std::size_t i = 0; i < s.size(); ++i) {
    const double t = timeOf(i);
    double v = 0.0;
    for (const Partial& p : kPartials)
      v += p.amplitude * std::sin(kTwoPi * p.freqHz * t) * decay(t, p.decaySeconds);
    const double n = noise.next();
    s[i] = v + 0.8 * (n - clickLow.step(n, 2000.0)) * decay(t, 0.003);
  }
  return s;
}

// Raised-cosine fades, so the sound starts and ends at exactly zero and a
// restart in the middle of a sound does not click.
void fade(Samples& s, double inSeconds, double outSeconds) {
  const std::size_t in = static_cast<std::size_t>(inSeconds * kRate);
  const std::size_t out = static_cast<std::size_t>(outSeconds * kRate);
  for (std::size_t i = 0; i < in && i < s.size(); ++i)
    s[i] *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * static_cast<double>(i) / in);
  for (std::size_t k = 0; k < out && k < s.size(); ++k)
    s[s.size() - 1 - k] *= 0.5 - 0.5 * std::cos(kTwoPi * 0.5 * static_cast<double>(k) / out);
}

std::vector<int16_t> normalise(const Samples& s) {
  double peak = 0.0;
  for (double v : s) peak = std::max(peak, std::fabs(v));
  const double gain = peak > 0.0 ? kPeak / peak : 0.0;
  std::vector<int16_t> out(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) out[i] = zelkar::toInt16Clamped(s[i] * gain);
  return out;
}

void putLE(std::string& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A canonical 44-byte RIFF header (PCM, mono, 16 bits) and the samples,
// little-endian whatever the machine.
std::string wavBytes(const std::vector<int16_t>& pcm) {
  constexpr uint32_t kBytesPerSample = 2, kChannels = 1, kBits = 16, kFmtSize = 16, kPcm = 1;
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.size()) * kBytesPerSample;
  std::string b;
  b.reserve(44 + dataBytes);
  b += "RIFF";
  putLE(b, 36 + dataBytes, 4);  // the rest of the file after this field
  b += "WAVEfmt ";
  putLE(b, kFmtSize, 4);
  putLE(b, kPcm, 2);
  putLE(b, kChannels, 2);
  putLE(b, kRate, 4);
  putLE(b, kRate * kChannels * kBytesPerSample, 4);  // bytes per second
  putLE(b, kChannels * kBytesPerSample, 2);          // bytes per frame
  putLE(b, kBits, 2);
  b += "data";
  putLE(b, dataBytes, 4);
  for (int16_t v : pcm) putLE(b, static_cast<uint16_t>(v), 2);
  return b;
}

bool writeFile(const std::string& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "make_sounds: cannot write %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const int err = errno;
  if (std::fclose(f) != 0 || !written) {
    std::fprintf(stderr, "make_sounds: cannot write %s: %s\n", path.c_str(),
                 std::strerror(written ? errno : err));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds FOLDER\n");
    return 2;
  }
  struct Effect {
    const char* file;
    Samples (*synth)();
    double fadeInSeconds, fadeOutSeconds;
  };
  const Effect effects[] = {
      {"fire.WAV", fire, 0.001, 0.015},
      {"ban.WAV", ban, 0.003, 0.03},
      {"ban2.WAV", ban2, 0.005, 0.08},
      {"crash.WAV", crash, 0.0005, 0.015},
  };
  bool ok = true;
  for (const Effect& e : effects) {
    Samples s = e.synth();
    fade(s, e.fadeInSeconds, e.fadeOutSeconds);
    ok = writeFile(std::string(argv[1]) + "/" + e.file, wavBytes(normalise(s))) && ok;
  }
  return ok ? 0 : 1;
}
