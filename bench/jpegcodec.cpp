// JPEG throughput of our wrappers (ReadJpegFile / WriteJpegFile: block allocation, row order,
// Escape polls and progress) against plain libjpeg loops doing the same decode and encode, on a
// 12-megapixel picture. The difference is what the wrappers cost.

#include "imaging/jpegcodec.h"
#include "imaging/dibblock.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <vector>

#include <jpeglib.h>

using namespace glimmerix;

namespace
{

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

// A photo-like picture: smooth gradients with some noise, so the encoder has real work.
std::vector<std::uint8_t> makeRgb()
{
    std::vector<std::uint8_t> rgb(std::size_t(kWidth) * kHeight * 3);
    std::mt19937 random(7);
    std::size_t i = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int noise = int(random() % 24);
            rgb[i++] = std::uint8_t((x * 255 / kWidth + noise) & 255);
            rgb[i++] = std::uint8_t((y * 255 / kHeight + noise) & 255);
            rgb[i++] = std::uint8_t(((x + y) / 32 * 9 + noise) & 255);
        }
    }
    return rgb;
}

const std::vector<std::uint8_t> &pictureRgb()
{
    static const std::vector<std::uint8_t> rgb = makeRgb();
    return rgb;
}

BlockHandle pictureBlock()
{
    static const BlockHandle block = [] {
        const DecodeResult made = createImageBlock(kWidth, kHeight, 24, 0);
        BITMAPINFOHEADER *header = dibHeader(made.block);
        const auto &rgb = pictureRgb();
        for (int y = 0; y < kHeight; ++y) {
            unsigned char *row = dibRow(header, kHeight - 1 - y);
            const std::uint8_t *in = rgb.data() + std::size_t(y) * kWidth * 3;
            for (int x = 0; x < kWidth; ++x) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
        }
        return made.block;
    }();
    return block;
}

QString benchFolder()
{
    const QString folder = QDir::tempPath() + QStringLiteral("/glimmerix-bench");
    QDir().mkpath(folder);
    return folder;
}

QString sourceJpeg()
{
    static const QString path = [] {
        const QString p = benchFolder() + QStringLiteral("/12mp.jpg");
        WriteJpegFile(p, pictureBlock(), 90);
        return p;
    }();
    return path;
}

// Decodes with the library's defaults. With `keep` the rows are stored in one picture buffer
// (what any in-memory reader must do); without it they go through one reused row buffer, as
// djpeg does when it streams to a file.
void plainDecode(const QString &path, bool keep)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "rb");
    jpeg_decompress_struct info {};
    jpeg_error_mgr error {};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    const std::size_t rowBytes = std::size_t(info.output_width) * info.output_components;
    std::vector<std::uint8_t> picture(keep ? rowBytes * info.output_height : rowBytes);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.data() + (keep ? std::size_t(info.output_scanline) * rowBytes : 0);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    benchmark::DoNotOptimize(picture.data());
}

void plainEncode(const QString &path)
{
    std::FILE *file = std::fopen(QFile::encodeName(path).constData(), "wb");
    jpeg_compress_struct info {};
    jpeg_error_mgr error {};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = kWidth;
    info.image_height = kHeight;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    const auto &rgb = pictureRgb();
    while (info.next_scanline < info.image_height) {
        auto *row = const_cast<JSAMPROW>(rgb.data() + std::size_t(info.next_scanline) * kWidth * 3);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
}

void BM_LibjpegDecodeStreaming(benchmark::State &state)
{
    const QString path = sourceJpeg();
    for (auto _ : state)
        plainDecode(path, false);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_LibjpegDecodeToMemory(benchmark::State &state)
{
    const QString path = sourceJpeg();
    for (auto _ : state)
        plainDecode(path, true);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_ReadJpegFile(benchmark::State &state)
{
    const QString path = sourceJpeg();
    for (auto _ : state) {
        const BlockHandle block = ReadJpegFile(path);
        benchmark::DoNotOptimize(block);
        blockFree(block);
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_LibjpegEncode(benchmark::State &state)
{
    pictureRgb();
    const QString path = benchFolder() + QStringLiteral("/plain.jpg");
    for (auto _ : state)
        plainEncode(path);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_WriteJpegFile(benchmark::State &state)
{
    const BlockHandle block = pictureBlock();
    const QString path = benchFolder() + QStringLiteral("/wrapped.jpg");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteJpegFile(path, block, 90));
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

BENCHMARK(BM_LibjpegDecodeStreaming)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegDecodeToMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJpegFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibjpegEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteJpegFile)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
