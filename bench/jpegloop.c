/* The outside reference for the album import: a plain C program that makes an 80-pixel
 * nearest-neighbour thumbnail of every JPEG named on its command line with the same libjpeg
 * calls as the import (decode only the sampled rows, skip the others with jpeg_skip_scanlines)
 * and writes nothing. Its time is the floor of what the import can reach on one core.
 * Usage: bench_jpegloop FILE.jpg...   Exit status 1 when a file cannot be decoded. */

#include <stdio.h>
#include <stdlib.h>

#include <jpeglib.h>

static int thumbnail(const char *path, unsigned char *out)
{
    FILE *input = fopen(path, "rb");
    if (!input)
        return 0;
    struct jpeg_decompress_struct info;
    struct jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, input);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    const int width = (int)info.output_width;
    const int height = (int)info.output_height;
    int tw = 80;
    int th = 80;
    if (width >= height)
        th = (width / 2 + height * 80) / width;
    else
        tw = (height / 2 + width * 80) / height;
    JSAMPLE *row = malloc((size_t)width * 3);
    for (int k = th - 1; k >= 0; --k) {
        const int wanted = height - 1 - (int)((long long)k * height / th);
        const int current = (int)info.output_scanline;
        if (wanted > current)
            jpeg_skip_scanlines(&info, (JDIMENSION)(wanted - current));
        JSAMPROW rows[1] = { row };
        jpeg_read_scanlines(&info, rows, 1);
        unsigned char *to = out + (size_t)k * 240;
        for (int x = 0; x < tw; ++x) {
            const int sx = (int)((long long)x * width / tw);
            to[3 * x] = row[3 * sx + 2];
            to[3 * x + 1] = row[3 * sx + 1];
            to[3 * x + 2] = row[3 * sx];
        }
    }
    jpeg_abort_decompress(&info);
    jpeg_destroy_decompress(&info);
    free(row);
    fclose(input);
    return 1;
}

int main(int argc, char **argv)
{
    static unsigned char out[80 * 80 * 3];
    unsigned sum = 0;
    for (int i = 1; i < argc; ++i) {
        if (!thumbnail(argv[i], out))
            return 1;
        sum += out[0];
    }
    return sum == 0xFFFFFFFFu; /* keeps the thumbnails from being optimised away */
}
