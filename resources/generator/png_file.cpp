#include "png_file.h"

#include <algorithm>
#include <array>
#include <string>

namespace media {

namespace {

std::uint32_t Crc32(const Bytes& bytes, std::size_t from)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(const Bytes& bytes)
{
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void PutPngChunk(Bytes& out, const std::string& type, const Bytes& data)
{
    PutU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    PutText(out, type);
    PutBytes(out, data);
    PutU32BigEndian(out, Crc32(out, typeAt));
}

// A zlib stream of stored blocks: valid everywhere, no compressor needed.
Bytes StoredZlib(const Bytes& raw)
{
    Bytes out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + length == raw.size();
        PutU8(out, last ? 1 : 0);
        PutU16(out, static_cast<unsigned>(length));
        PutU16(out, static_cast<unsigned>(~length & 0xFFFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    PutU32BigEndian(out, Adler32(raw));
    return out;
}

}  // namespace

Bytes EncodePng(const std::vector<Rgba8>& pixels, int width, int height)
{
    Bytes out{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    Bytes header;
    PutU32BigEndian(header, static_cast<std::uint32_t>(width));
    PutU32BigEndian(header, static_cast<std::uint32_t>(height));
    PutU8(header, 8);  // bits per channel
    PutU8(header, 6);  // RGBA
    PutU8(header, 0);
    PutU8(header, 0);
    PutU8(header, 0);
    PutPngChunk(out, "IHDR", header);

    Bytes raw;
    raw.reserve(static_cast<std::size_t>(width * 4 + 1) * height);
    for (int y = 0; y < height; ++y) {
        PutU8(raw, 0);  // no filter
        for (int x = 0; x < width; ++x) {
            const Rgba8& p = pixels[static_cast<std::size_t>(y) * width + x];
            PutU8(raw, p.r);
            PutU8(raw, p.g);
            PutU8(raw, p.b);
            PutU8(raw, p.a);
        }
    }
    PutPngChunk(out, "IDAT", StoredZlib(raw));
    PutPngChunk(out, "IEND", {});
    return out;
}

}  // namespace media
