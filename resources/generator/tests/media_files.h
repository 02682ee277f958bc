#pragma once
// Reading back the files the generator wrote.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace media_test {

using Bytes = std::vector<std::uint8_t>;

// Set once by main from the command line.
void SetPaths(const std::string& mediaDirectory, const std::string& generator);
const std::string& MediaDirectory();
const std::string& GeneratorPath();

Bytes ReadFileBytes(const std::string& path);
Bytes ReadMedia(const std::string& name);

std::uint32_t U16(const Bytes& bytes, std::size_t at);
std::uint32_t U32(const Bytes& bytes, std::size_t at);
std::int32_t S32(const Bytes& bytes, std::size_t at);
std::string Text(const Bytes& bytes, std::size_t at, std::size_t length);

struct DecodedImage {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<std::uint8_t> rgb;  // rows from the top

    const std::uint8_t* At(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// Decoders differ in their inverse transform and in how they spread the
// halved chroma; `smooth` picks the exact transform with interpolated chroma,
// otherwise the fast transform with replicated chroma.
DecodedImage DecodeJpeg(const Bytes& jpeg, bool smooth = true);

struct Wave {
    std::string form;                         // "WAVE"
    std::vector<std::string> order;           // chunk ids in file order
    std::map<std::string, Bytes> chunks;      // chunk bodies by id
    std::map<std::string, std::string> info;  // LIST/INFO texts by id

    int Channels() const { return static_cast<int>(U16(chunks.at("fmt "), 2)); }
    int SampleRate() const { return static_cast<int>(U32(chunks.at("fmt "), 4)); }
    int BitsPerSample() const { return static_cast<int>(U16(chunks.at("fmt "), 14)); }
    // Channel `c` of a 16-bit file.
    std::vector<int> Channel16(int c) const;
};

Wave ParseWave(const Bytes& bytes);

}  // namespace media_test
