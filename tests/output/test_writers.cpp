// The image writers, checked by reading their files back with libpng,
// libjpeg, zlib and by hand.
#include "gui/Graphics.h"
#include "gui/ImageWriters.h"
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace {

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t Be32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[3]) << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]; }
uint16_t Le16(const uint8_t* p) { return uint16_t(p[1] << 8 | p[0]); }

struct Chunk {
    std::string type;
    std::vector<uint8_t> data;
};

std::vector<Chunk> PngChunks(const std::vector<uint8_t>& f) {
    static const uint8_t sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    std::vector<Chunk> out;
    if (f.size() < 8 || std::memcmp(f.data(), sig, 8) != 0) return out;
    size_t p = 8;
    while (p + 12 <= f.size()) {
        uint32_t len = Be32(&f[p]);
        if (p + 12 + len > f.size()) break;
        Chunk c{std::string(reinterpret_cast<const char*>(&f[p + 4]), 4), {}};
        c.data.assign(f.begin() + long(p + 8), f.begin() + long(p + 8 + len));
        out.push_back(std::move(c));
        p += 12 + len;
    }
    return out;
}

// Pixels through libpng's own reader, as 8-bit RGB.
QImage ReadPng(const std::string& path) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&img, path.c_str())) return {};
    img.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> buf(PNG_IMAGE_SIZE(img));
    if (!png_image_finish_read(&img, nullptr, buf.data(), 0, nullptr)) return {};
    QImage out(int(img.width), int(img.height), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            const uint8_t* p = &buf[(size_t(y) * img.width + x) * 3];
            out.setPixel(x, y, qRgb(p[0], p[1], p[2]));
        }
    return out;
}

// A picture with flat areas, lines and noise, like a drawn map with text.
QImage MapLike(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            QRgb c = qRgb(230, 240, 255);
            if ((x / 17 + y / 13) % 3 == 0) c = qRgb(255, 200, 120);
            if (x % 23 == 0 || (x + y) % 31 == 0) c = qRgb(0, 0, 0);
            if (rng() % 50 == 0) c = qRgb(rng() % 256, rng() % 256, rng() % 256);
            img.setPixel(x, y, c);
        }
    return img;
}

QImage Noise(int w, int h, unsigned seed) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(rng() % 256, rng() % 256, rng() % 256));
    return img;
}

bool SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

// The three writers, named for the failure message.
using Writer = bool (*)(const QImage&, const std::string&, std::string*);
const std::pair<const char*, Writer> kWriters[] = {
    {"png", [](const QImage& i, const std::string& p, std::string* e) { return output::WritePng(i, p, e); }},
    {"jpeg", output::WriteJpeg},
    {"bmp", output::WriteBmp}};

class WriterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
    // Names in the folder, to see that no temporary file stayed behind.
    QStringList Entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
};

} // namespace

// ---- PNG ----

TEST_F(WriterTest, PngIsSubFilteredLevel7TruecolourWithoutTransparency) {
    const QImage img = MapLike(123, 77, 1);
    std::string error;
    ASSERT_TRUE(output::WritePng(img, Path("a.png"), &error)) << error;
    auto chunks = PngChunks(ReadBytes(Path("a.png")));
    ASSERT_FALSE(chunks.empty());
    ASSERT_EQ(chunks[0].type, "IHDR");
    const auto& ihdr = chunks[0].data;
    EXPECT_EQ(Be32(&ihdr[0]), 123u);
    EXPECT_EQ(Be32(&ihdr[4]), 77u);
    EXPECT_EQ(ihdr[8], 8);                       // bit depth
    EXPECT_EQ(ihdr[9], PNG_COLOR_TYPE_RGB);
    EXPECT_EQ(ihdr[12], PNG_INTERLACE_NONE);
    EXPECT_EQ(chunks.back().type, "IEND");

    std::vector<uint8_t> z;
    for (const Chunk& c : chunks) {
        EXPECT_NE(c.type, "tRNS");
        EXPECT_NE(c.type, "PLTE");
        if (c.type == "IDAT") z.insert(z.end(), c.data.begin(), c.data.end());
    }
    ASSERT_GE(z.size(), 2u);
    EXPECT_EQ(z[1] >> 6, 3) << "zlib header names a level other than 7..9";
    const size_t rowBytes = 1 + 123 * 3;
    std::vector<uint8_t> raw(rowBytes * 77 + 16);
    uLongf rawLen = uLongf(raw.size());
    ASSERT_EQ(uncompress(raw.data(), &rawLen, z.data(), uLong(z.size())), Z_OK);
    ASSERT_EQ(rawLen, rowBytes * 77);
    for (int y = 0; y < 77; ++y) EXPECT_EQ(raw[y * rowBytes], PNG_FILTER_VALUE_SUB) << "row " << y;

    EXPECT_TRUE(SamePixels(ReadPng(Path("a.png")), img));
}

TEST_F(WriterTest, PngDataChunksAreFilledUpTo65535Bytes) {
    // Noise does not compress, so the data need several chunks.
    const QImage img = Noise(300, 300, 2);
    ASSERT_TRUE(output::WritePng(img, Path("n.png")));
    std::vector<size_t> sizes;
    for (const Chunk& c : PngChunks(ReadBytes(Path("n.png"))))
        if (c.type == "IDAT") sizes.push_back(c.data.size());
    ASSERT_GE(sizes.size(), 3u);
    for (size_t i = 0; i < sizes.size(); ++i) {
        EXPECT_LE(sizes[i], 65535u);
        if (i + 1 < sizes.size()) {
            EXPECT_EQ(sizes[i], 65535u) << "chunk " << i;
        }
    }
    EXPECT_TRUE(SamePixels(ReadPng(Path("n.png")), img));
}

TEST_F(WriterTest, PngTransparentColourOnlyWhenAsked) {
    output::PngOptions opt;
    opt.Transparent = RGB(0x12, 0x34, 0x56);
    ASSERT_TRUE(output::WritePng(MapLike(20, 10, 3), Path("t.png"), nullptr, opt));
    bool found = false;
    for (const Chunk& c : PngChunks(ReadBytes(Path("t.png"))))
        if (c.type == "tRNS") {
            found = true;
            ASSERT_EQ(c.data.size(), 6u);
            EXPECT_EQ(c.data[1], 0x12);
            EXPECT_EQ(c.data[3], 0x34);
            EXPECT_EQ(c.data[5], 0x56);
        }
    EXPECT_TRUE(found);
}

TEST_F(WriterTest, PngOfIndexedImagesKeepsThePalette) {
    QImage idx(37, 9, QImage::Format_Indexed8);
    idx.setColorTable({qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 8, 7)});
    for (int y = 0; y < idx.height(); ++y)
        for (int x = 0; x < idx.width(); ++x) idx.setPixel(x, y, uint((x * 7 + y) % 4));
    ASSERT_TRUE(output::WritePng(idx, Path("p.png")));
    auto chunks = PngChunks(ReadBytes(Path("p.png")));
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks[0].data[9], PNG_COLOR_TYPE_PALETTE);
    EXPECT_EQ(chunks[0].data[8], 8);
    bool plte = false;
    for (const Chunk& c : chunks)
        if (c.type == "PLTE") {
            plte = c.data.size() == 12;
        }
    EXPECT_TRUE(plte);
    EXPECT_TRUE(SamePixels(ReadPng(Path("p.png")), idx.convertToFormat(QImage::Format_RGB32)));

    QImage mono(19, 5, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) mono.setPixel(x, y, uint((x + y) % 3 == 0));
    ASSERT_TRUE(output::WritePng(mono, Path("m.png")));
    chunks = PngChunks(ReadBytes(Path("m.png")));
    EXPECT_EQ(chunks[0].data[8], 1);
    EXPECT_TRUE(SamePixels(ReadPng(Path("m.png")), mono.convertToFormat(QImage::Format_RGB32)));
}

TEST_F(WriterTest, PngFromBitmapAndIntoAFolderOfOtherCase) {
    TBitmap bmp(40, 30);
    bmp.Canvas()->Brush->Color = clRed;
    bmp.Canvas()->FillRect(Rect(0, 0, 20, 30));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Maps"));
    ASSERT_TRUE(output::WritePng(bmp, Path("MAPS/b.png")));
    QImage back = ReadPng(Path("Maps/b.png"));
    ASSERT_EQ(back.size(), QSize(40, 30));
    EXPECT_EQ(back.pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(back.pixel(30, 5) & 0xFFFFFF, 0xFFFFFFu);
}

// ---- JPEG ----

namespace {

struct JpegRead {
    int width = 0, height = 0, components = 0, quant0 = 0, chromaQuant0 = 0;
    bool progressive = false, ok = false;
    J_COLOR_SPACE space = JCS_UNKNOWN;
    QImage pixels;
};

struct ReadError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void ReadErrorExit(j_common_ptr c) { std::longjmp(reinterpret_cast<ReadError*>(c->err)->jump, 1); }

JpegRead ReadJpeg(const std::vector<uint8_t>& bytes) {
    JpegRead r;
    jpeg_decompress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    ReadError err;
    std::vector<uint8_t> row;
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ReadErrorExit;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return JpegRead{};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, bytes.data(), (unsigned long)bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    r.width = int(cinfo.image_width);
    r.height = int(cinfo.image_height);
    r.components = cinfo.num_components;
    r.space = cinfo.jpeg_color_space;
    r.progressive = cinfo.progressive_mode;
    r.quant0 = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : -1;
    r.chromaQuant0 = cinfo.quant_tbl_ptrs[1] ? cinfo.quant_tbl_ptrs[1]->quantval[0] : -1;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    r.pixels = QImage(r.width, r.height, QImage::Format_RGB32);
    row.resize(size_t(r.width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        int y = int(cinfo.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < r.width; ++x) r.pixels.setPixel(x, y, qRgb(row[x * 3], row[x * 3 + 1], row[x * 3 + 2]));
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    r.ok = true;
    return r;
}

} // namespace

TEST_F(WriterTest, JpegIsBaselineColourQuality90AndCloseToTheImage) {
    QImage img(90, 50, QImage::Format_RGB32);
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 90; ++x) img.setPixel(x, y, x < 45 ? qRgb(x * 5, 120, 255 - y * 4) : qRgb(40, 200, 90));
    std::string error;
    ASSERT_TRUE(output::WriteJpeg(img, Path("a.jpg"), &error)) << error;
    const auto bytes = ReadBytes(Path("a.jpg"));
    JpegRead r = ReadJpeg(bytes);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.width, 90);
    EXPECT_EQ(r.height, 50);
    EXPECT_EQ(r.components, 3);
    EXPECT_EQ(r.space, JCS_YCbCr);
    EXPECT_FALSE(r.progressive);
    // Quality 90 scales the standard tables by 20%: both DC entries become 3.
    EXPECT_EQ(r.quant0, 3);
    EXPECT_EQ(r.chromaQuant0, 3);
    bool sof0 = false;
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) sof0 = true;
        EXPECT_FALSE(bytes[i] == 0xFF && (bytes[i + 1] == 0xC1 || bytes[i + 1] == 0xC2)) << "not baseline";
    }
    EXPECT_TRUE(sof0);
    double sum = 0;
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 90; ++x) {
            QRgb a = img.pixel(x, y), b = r.pixels.pixel(x, y);
            sum += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(sum / (90 * 50 * 3), 3.0);
    // The flat right half comes back almost exactly.
    QRgb flat = r.pixels.pixel(70, 25);
    EXPECT_NEAR(qRed(flat), 40, 3);
    EXPECT_NEAR(qGreen(flat), 200, 3);
    EXPECT_NEAR(qBlue(flat), 90, 3);
}

// ---- BMP ----

TEST_F(WriterTest, BmpIs24BitBottomUpWithPaddedRows) {
    // Width 5: 15 bytes of pixels, padded to 16.
    QImage img(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) img.setPixel(x, y, qRgb(x * 50, y * 100, 7 + x + y));
    ASSERT_TRUE(output::WriteBmp(img, Path("a.bmp")));
    const auto f = ReadBytes(Path("a.bmp"));
    ASSERT_EQ(f.size(), 54u + 16 * 3);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(&f[2]), f.size());
    EXPECT_EQ(Le32(&f[10]), 54u);
    EXPECT_EQ(Le32(&f[14]), 40u);
    EXPECT_EQ(int32_t(Le32(&f[18])), 5);
    EXPECT_EQ(int32_t(Le32(&f[22])), 3);   // positive: bottom-up
    EXPECT_EQ(Le16(&f[26]), 1);
    EXPECT_EQ(Le16(&f[28]), 24);
    EXPECT_EQ(Le32(&f[30]), 0u);           // BI_RGB
    EXPECT_EQ(Le32(&f[34]), 16u * 3);
    for (int y = 0; y < 3; ++y) {
        const uint8_t* row = &f[54 + size_t(2 - y) * 16];
        for (int x = 0; x < 5; ++x) {
            QRgb p = img.pixel(x, y);
            EXPECT_EQ(row[x * 3 + 0], qBlue(p));
            EXPECT_EQ(row[x * 3 + 1], qGreen(p));
            EXPECT_EQ(row[x * 3 + 2], qRed(p));
        }
        EXPECT_EQ(row[15], 0);
    }
    QImage viaQt(QString::fromStdString(Path("a.bmp")));
    EXPECT_TRUE(SamePixels(viaQt, img));
}

// ---- failures ----

TEST_F(WriterTest, FailuresReportAndLeaveNoFile) {
    const QImage img = MapLike(30, 20, 4);
    for (auto [name, write] : kWriters) {
        SCOPED_TRACE(name);
        std::string error;
        EXPECT_FALSE(write(img, Path("missing/x.img"), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("missing/x.img"))));

        // A folder stands where the file should go: the rename fails.
        ASSERT_TRUE(QDir(dir.path()).mkpath("taken"));
        error.clear();
        EXPECT_FALSE(write(img, Path("taken"), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(Entries(), QStringList{"taken"});

        error.clear();
        EXPECT_FALSE(write(QImage(), Path("empty.img"), &error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(Entries(), QStringList{"taken"});
    }
}

// A disk that fills up mid-write: each library's error comes back as false,
// the program goes on, the old file stays and no temporary is left.
TEST_F(WriterTest, WriteErrorsInsideTheLibrariesKeepTheOldFile) {
    const QImage big = Noise(400, 400, 5);
    const std::string target = Path("keep.img");
    {
        std::ofstream(target) << "old";
    }
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    for (auto [name, write] : kWriters) {
        SCOPED_TRACE(name);
        rlimit small = saved;
        small.rlim_cur = 20000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        std::string error;
        bool ok = write(big, target, &error);
        setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(ok);
        EXPECT_FALSE(error.empty());
        auto bytes = ReadBytes(target);
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old");
        EXPECT_EQ(Entries(), QStringList{"keep.img"});
    }
    std::signal(SIGXFSZ, oldHandler);
    // And the writers still work afterwards.
    EXPECT_TRUE(output::WriteJpeg(big, target));
    EXPECT_TRUE(ReadJpeg(ReadBytes(target)).ok);
}
