#include "media_files.h"

#include <cstdio>
#include <stdexcept>

#include <jpeglib.h>

namespace media_test {

namespace {

std::string& MediaDirectoryStorage()
{
    static std::string directory;
    return directory;
}

std::string& GeneratorStorage()
{
    static std::string generator;
    return generator;
}

}  // namespace

void SetPaths(const std::string& mediaDirectory, const std::string& generator)
{
    MediaDirectoryStorage() = mediaDirectory;
    GeneratorStorage() = generator;
}

const std::string& MediaDirectory() { return MediaDirectoryStorage(); }
const std::string& GeneratorPath() { return GeneratorStorage(); }

Bytes ReadFileBytes(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    Bytes bytes;
    std::uint8_t buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    std::fclose(file);
    return bytes;
}

Bytes ReadMedia(const std::string& name) { return ReadFileBytes(MediaDirectory() + "/" + name); }

std::uint32_t U16(const Bytes& bytes, std::size_t at) { return bytes.at(at) | (bytes.at(at + 1) << 8); }

std::uint32_t U32(const Bytes& bytes, std::size_t at) { return U16(bytes, at) | (U16(bytes, at + 2) << 16); }

std::int32_t S32(const Bytes& bytes, std::size_t at) { return static_cast<std::int32_t>(U32(bytes, at)); }

std::string Text(const Bytes& bytes, std::size_t at, std::size_t length)
{
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                       bytes.begin() + static_cast<std::ptrdiff_t>(at + length));
}

DecodedImage DecodeJpeg(const Bytes& jpeg, bool smooth)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.dct_method = smooth ? JDCT_ISLOW : JDCT_IFAST;
    info.do_fancy_upsampling = smooth ? TRUE : FALSE;
    jpeg_start_decompress(&info);
    DecodedImage image;
    image.width = static_cast<int>(info.output_width);
    image.height = static_cast<int>(info.output_height);
    image.components = info.num_components;
    image.rgb.resize(static_cast<std::size_t>(image.width) * image.height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &image.rgb[static_cast<std::size_t>(info.output_scanline) * image.width * 3];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

std::vector<int> Wave::Channel16(int c) const
{
    const Bytes& data = chunks.at("data");
    const int channels = Channels();
    std::vector<int> samples;
    samples.reserve(data.size() / 2 / channels);
    for (std::size_t at = static_cast<std::size_t>(c) * 2; at + 1 < data.size(); at += 2 * channels) {
        samples.push_back(static_cast<std::int16_t>(U16(data, at)));
    }
    return samples;
}

Wave ParseWave(const Bytes& bytes)
{
    Wave wave;
    if (Text(bytes, 0, 4) != "RIFF" || U32(bytes, 4) + 8 != bytes.size()) {
        throw std::runtime_error("not a complete RIFF file");
    }
    wave.form = Text(bytes, 8, 4);
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::string id = Text(bytes, at, 4);
        const std::uint32_t size = U32(bytes, at + 4);
        if (at + 8 + size > bytes.size()) {
            throw std::runtime_error("chunk " + id + " runs past the end");
        }
        Bytes body(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                   bytes.begin() + static_cast<std::ptrdiff_t>(at + 8 + size));
        if (id == "LIST" && Text(body, 0, 4) == "INFO") {
            for (std::size_t sub = 4; sub + 8 <= body.size();) {
                const std::uint32_t length = U32(body, sub + 4);
                std::string value = Text(body, sub + 8, length);
                value = value.substr(0, value.find('\0'));
                wave.info[Text(body, sub, 4)] = value;
                sub += 8 + length + (length & 1);
            }
        }
        wave.order.push_back(id);
        wave.chunks[id] = std::move(body);
        at += 8 + size + (size & 1);
    }
    return wave;
}

}  // namespace media_test
