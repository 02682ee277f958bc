#pragma once
// RIFF WAVE files with PCM samples and an optional LIST/INFO chunk.

#include <string>
#include <utility>
#include <vector>

#include "byte_writer.h"

namespace media {

struct WaveFormat {
    int channels;
    int sampleRate;
    int bitsPerSample;  // 8 (unsigned) or 16 (signed)
};

// Four-letter INFO ids (INAM, IART, ...) and their texts.
using WaveInfo = std::vector<std::pair<std::string, std::string>>;

// `samples` are interleaved frames already in the file's sample format.
Bytes EncodeWave(const WaveFormat& format, const Bytes& samples, const WaveInfo& info);

// 16-bit samples as little-endian bytes.
Bytes PcmBytes(const std::vector<std::int16_t>& samples);

}  // namespace media
