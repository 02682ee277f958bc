#pragma once
// Little-endian byte building for the file formats the generator writes.

#include <cstdint>
#include <string>
#include <vector>

namespace media {

using Bytes = std::vector<std::uint8_t>;

inline void PutU8(Bytes& out, unsigned value) { out.push_back(static_cast<std::uint8_t>(value)); }

inline void PutU16(Bytes& out, unsigned value)
{
    PutU8(out, value & 0xFF);
    PutU8(out, (value >> 8) & 0xFF);
}

inline void PutU32(Bytes& out, std::uint32_t value)
{
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

inline void PutU32BigEndian(Bytes& out, std::uint32_t value)
{
    PutU8(out, value >> 24);
    PutU8(out, (value >> 16) & 0xFF);
    PutU8(out, (value >> 8) & 0xFF);
    PutU8(out, value & 0xFF);
}

inline void PutText(Bytes& out, const std::string& text)
{
    for (char c : text) {
        out.push_back(static_cast<std::uint8_t>(c));
    }
}

inline void PutBytes(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// Writes the bytes to the file; false when the file cannot be written.
bool WriteFile(const std::string& path, const Bytes& bytes);

}  // namespace media
