#include "jpeg_file.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace media {

Bytes EncodeJpeg(const std::vector<Rgb8>& pixels, int width, int height, int quality)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);

    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.dct_method = JDCT_ISLOW;
    info.optimize_coding = TRUE;
    info.write_JFIF_header = TRUE;
    info.JFIF_major_version = 1;
    info.JFIF_minor_version = 1;
    info.density_unit = 1;
    info.X_density = 96;
    info.Y_density = 96;
    info.comp_info[0].h_samp_factor = 2;
    info.comp_info[0].v_samp_factor = 2;
    for (int c = 1; c < 3; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }

    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(static_cast<size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const Rgb8* source = pixels.data() + static_cast<size_t>(info.next_scanline) * width;
        for (size_t x = 0; x < static_cast<size_t>(width); ++x) {
            row[3 * x] = source[x].r;
            row[3 * x + 1] = source[x].g;
            row[3 * x + 2] = source[x].b;
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

}  // namespace media
