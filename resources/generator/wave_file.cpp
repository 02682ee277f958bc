#include "wave_file.h"

namespace media {

namespace {

void PutChunk(Bytes& out, const std::string& id, const Bytes& content)
{
    PutText(out, id);
    PutU32(out, static_cast<std::uint32_t>(content.size()));
    PutBytes(out, content);
    if (content.size() % 2 != 0) {
        PutU8(out, 0);
    }
}

}  // namespace

Bytes EncodeWave(const WaveFormat& format, const Bytes& samples, const WaveInfo& info)
{
    const unsigned blockAlign = static_cast<unsigned>(format.channels * format.bitsPerSample / 8);
    Bytes fmt;
    PutU16(fmt, 1);  // PCM
    PutU16(fmt, static_cast<unsigned>(format.channels));
    PutU32(fmt, static_cast<std::uint32_t>(format.sampleRate));
    PutU32(fmt, static_cast<std::uint32_t>(format.sampleRate) * blockAlign);
    PutU16(fmt, blockAlign);
    PutU16(fmt, static_cast<unsigned>(format.bitsPerSample));

    Bytes body;
    PutText(body, "WAVE");
    PutChunk(body, "fmt ", fmt);
    if (!info.empty()) {
        Bytes list;
        PutText(list, "INFO");
        for (const auto& [id, text] : info) {
            Bytes value(text.begin(), text.end());
            value.push_back(0);
            PutChunk(list, id, value);
        }
        PutChunk(body, "LIST", list);
    }
    PutChunk(body, "data", samples);

    Bytes out;
    PutChunk(out, "RIFF", body);
    return out;
}

Bytes PcmBytes(const std::vector<std::int16_t>& samples)
{
    Bytes out;
    out.reserve(samples.size() * 2);
    for (std::int16_t s : samples) {
        PutU16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

}  // namespace media
