// Writes the alarm's warning sound: three short two-tone chirps, 16-bit mono PCM in a WAV file.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kVolume = 0.5;

void put16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    put16(out, static_cast<std::uint16_t>(value >> 16));
}

// A tone with soft edges, so it does not click.
void tone(std::vector<std::int16_t>& samples, double hertz, double seconds) {
    const int count = static_cast<int>(seconds * kRate);
    const int edge = kRate / 100;
    for (int i = 0; i < count; ++i) {
        const double envelope =
            std::min({1.0, static_cast<double>(i) / edge, static_cast<double>(count - i) / edge});
        const double value = std::sin(2.0 * std::numbers::pi * hertz * i / kRate);
        samples.push_back(static_cast<std::int16_t>(value * envelope * kVolume * 32767.0));
    }
}

void silence(std::vector<std::int16_t>& samples, double seconds) {
    samples.insert(samples.end(), static_cast<std::size_t>(seconds * kRate), 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.wav\n", argv[0]);
        return 2;
    }
    std::vector<std::int16_t> samples;
    for (int chirp = 0; chirp < 3; ++chirp) {
        tone(samples, 1320.0, 0.08);
        tone(samples, 880.0, 0.08);
        silence(samples, 0.06);
    }
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string wav = "RIFF";
    put32(wav, 36 + dataBytes);
    wav += "WAVEfmt ";
    put32(wav, 16);
    put16(wav, 1);  // PCM
    put16(wav, 1);  // mono
    put32(wav, kRate);
    put32(wav, kRate * 2);
    put16(wav, 2);
    put16(wav, 16);
    wav += "data";
    put32(wav, dataBytes);
    for (const std::int16_t sample : samples) {
        put16(wav, static_cast<std::uint16_t>(sample));
    }
    std::ofstream out(argv[1], std::ios::binary);
    out.write(wav.data(), static_cast<std::streamsize>(wav.size()));
    return out ? 0 : 1;
}
