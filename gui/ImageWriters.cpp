#include "gui/ImageWriters.h"
#include "gui/Graphics.h"
#include "gui/BinaryFile.h"
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <png.h>
#include <vector>

namespace output {

namespace {

bool RejectEmpty(const QImage& image, std::string* error) {
    if (!image.isNull() && image.width() > 0 && image.height() > 0) return false;
    if (error) *error = "the image is empty";
    return true;
}

// A converted copy that could not be made (no memory) is a failure, not a crash.
bool RejectUnconverted(const QImage& image, std::string* error) {
    if (!image.isNull()) return false;
    if (error) *error = "not enough memory for the image";
    return true;
}

constexpr int ROWS_PER_ASK = 64;
constexpr const char* STOPPED = "stopped";

bool Stopped(const WriteOptions& o, int row) { return o.KeepGoing && row % ROWS_PER_ASK == 0 && !o.KeepGoing(); }

// ---- PNG ----

struct PngError {
    char text[256] = "";
};

void PngErrorFn(png_structp png, png_const_charp msg) {
    auto* e = static_cast<PngError*>(png_get_error_ptr(png));
    std::snprintf(e->text, sizeof e->text, "%s", msg ? msg : "");
    png_longjmp(png, 1);
}

void PngWarningFn(png_structp, png_const_charp) {}

// The image as it goes to libpng: palette images keep their indexes, all
// others become rows of R, G, B bytes.
struct PngSource {
    QImage image;
    bool palette = false;
    int bitDepth = 8;
    std::vector<png_color> colors;
    std::vector<png_byte> alpha;   // tRNS of a palette image
    png_color_16 trnsColor{};
    bool hasTrns = false;
};

PngSource PreparePng(const QImage& in, const PngOptions& options) {
    PngSource s;
    QImage::Format f = in.format();
    if (f == QImage::Format_Mono || f == QImage::Format_MonoLSB || f == QImage::Format_Indexed8) {
        s.palette = true;
        s.image = f == QImage::Format_Indexed8 ? in : in.convertToFormat(QImage::Format_Mono);
        s.bitDepth = f == QImage::Format_Indexed8 ? 8 : 1;
        QVector<QRgb> table = s.image.colorTable();
        // Every index in use needs an entry, or the file is invalid.
        int entries = int(table.size());
        if (s.bitDepth == 8) {
            for (int y = 0; y < s.image.height(); ++y) {
                const uchar* row = s.image.constScanLine(y);
                entries = std::max(entries, int(*std::max_element(row, row + s.image.width())) + 1);
            }
        } else {
            entries = std::max(entries, 2);
        }
        entries = std::min(entries, 1 << s.bitDepth);
        for (int i = 0; i < entries; ++i) {
            QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
            s.colors.push_back(png_color{png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
        }
        if (options.Transparent) {
            uint32_t want = ToPixel(*options.Transparent) & 0xFFFFFF;
            for (int i = 0; i < entries; ++i) {
                uint32_t have = (uint32_t(s.colors[i].red) << 16) | (uint32_t(s.colors[i].green) << 8) | s.colors[i].blue;
                if (have == want) {
                    s.alpha.assign(i + 1, 255);
                    s.alpha[i] = 0;
                    s.hasTrns = true;
                    break;
                }
            }
        }
    } else {
        s.image = in.convertToFormat(QImage::Format_RGB888);
        if (options.Transparent) {
            s.trnsColor.red = png_uint_16(GetRValue(*options.Transparent));
            s.trnsColor.green = png_uint_16(GetGValue(*options.Transparent));
            s.trnsColor.blue = png_uint_16(GetBValue(*options.Transparent));
            s.hasTrns = true;
        }
    }
    return s;
}

// Everything libpng touches happens here, under its setjmp; no object with a
// destructor is created between the setjmp and the last libpng call.
bool EncodePng(FILE* f, const PngSource& s, const WriteOptions& o, std::string& reason) {
    PngError err;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &err, PngErrorFn, PngWarningFn);
    if (!png) {
        reason = "libpng could not start";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        reason = "libpng could not start";
        return false;
    }
    const int width = s.image.width(), height = s.image.height();
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        reason = std::string("PNG: ") + err.text;
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), s.bitDepth,
                 s.palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (s.palette) png_set_PLTE(png, info, s.colors.data(), int(s.colors.size()));
    if (s.hasTrns) {
        if (s.palette)
            png_set_tRNS(png, info, s.alpha.data(), int(s.alpha.size()), nullptr);
        else
            png_set_tRNS(png, info, nullptr, 0, &s.trnsColor);
    }
    if (o.PixelsPerMetre > 0)
        png_set_pHYs(png, info, png_uint_32(o.PixelsPerMetre), png_uint_32(o.PixelsPerMetre), PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, PNG_COMPRESSION_LEVEL);
    // The compressed data go out one buffer per IDAT chunk.
    png_set_compression_buffer_size(png, PNG_IDAT_MAX);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        if (Stopped(o, y)) {
            png_destroy_write_struct(&png, &info);
            reason = STOPPED;
            return false;
        }
        png_write_row(png, s.image.constScanLine(y));
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

// ---- JPEG ----

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char text[JMSG_LENGTH_MAX];
};

// libjpeg's own handler ends the process; this one returns to the writer.
void JpegErrorExit(j_common_ptr cinfo) {
    auto* e = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, e->text);
    std::longjmp(e->jump, 1);
}

void JpegOutputMessage(j_common_ptr) {}

// The rows as libjpeg takes them: 32-bit pixels as they are where libjpeg
// reads that layout itself, else R, G, B bytes. Either way the file holds the
// same three colour components.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr QImage::Format JPEG_ROWS = QImage::Format_RGB32;
constexpr J_COLOR_SPACE JPEG_SPACE = JCS_EXT_BGRX;
constexpr int JPEG_ROW_COMPONENTS = 4;
#else
constexpr QImage::Format JPEG_ROWS = QImage::Format_RGB888;
constexpr J_COLOR_SPACE JPEG_SPACE = JCS_RGB;
constexpr int JPEG_ROW_COMPONENTS = 3;
#endif

// image: in the JPEG_ROWS format.
bool EncodeJpeg(FILE* f, const QImage& image, const WriteOptions& o, std::string& reason) {
    jpeg_compress_struct cinfo;
    std::memset(&cinfo, 0, sizeof cinfo);
    JpegError err;
    std::memset(&err, 0, sizeof err);
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = JpegErrorExit;
    err.mgr.output_message = JpegOutputMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        reason = std::string("JPEG: ") + err.text;
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = JPEG_ROW_COMPONENTS;
    cinfo.in_color_space = JPEG_SPACE;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, JPEG_QUALITY, TRUE);
    cinfo.dct_method = JDCT_FLOAT;
    if (o.PixelsPerMetre > 0) {
        cinfo.write_JFIF_header = TRUE;
        cinfo.density_unit = 1;   // dots per inch, what word processors read
        cinfo.X_density = cinfo.Y_density = UINT16(std::lround(o.PixelsPerMetre * 0.0254));
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        if (Stopped(o, int(cinfo.next_scanline))) {
            jpeg_destroy_compress(&cinfo);
            reason = STOPPED;
            return false;
        }
        JSAMPROW rows[1] = {const_cast<JSAMPROW>(image.constScanLine(int(cinfo.next_scanline)))};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

// ---- BMP ----

// image: Format_BGR888, the byte order of the file.
bool EncodeBmp(FILE* f, const QImage& image, const WriteOptions& o, std::string& reason) {
    const uint32_t height = uint32_t(image.height());
    uint8_t head[54];
    uint64_t stride;
    if (!gui::BmpHeader(uint32_t(image.width()), height, head, stride)) {
        reason = "the image is too large for a bitmap file";
        return false;
    }
    auto put = [&](const void* data, size_t n) {
        if (std::fwrite(data, 1, n, f) == n) return true;
        reason = std::string("BMP: ") + std::strerror(errno);
        return false;
    };
    if (o.PixelsPerMetre > 0)
        for (int at : {38, 42})
            for (int b = 0; b < 4; ++b) head[at + b] = uint8_t(uint32_t(o.PixelsPerMetre) >> (8 * b));
    if (!put(head, sizeof head)) return false;
    std::vector<uint8_t> row(stride, 0);
    for (int y = int(height) - 1; y >= 0; --y) {
        if (Stopped(o, y)) {
            reason = STOPPED;
            return false;
        }
        std::memcpy(row.data(), image.constScanLine(y), size_t(image.width()) * 3);
        if (!put(row.data(), row.size())) return false;
    }
    return true;
}

} // namespace

bool WritePng(const QImage& image, const std::string& path, std::string* error, const PngOptions& options) {
    if (RejectEmpty(image, error)) return false;
    PngSource source = PreparePng(image, options);
    if (RejectUnconverted(source.image, error)) return false;
    return AtomicWriteBinary(
        path, [&](FILE* f, std::string& reason) { return EncodePng(f, source, options, reason); }, error);
}

bool WritePng(const TBitmap& bmp, const std::string& path, std::string* error, const PngOptions& options) {
    return WritePng(bmp.Image(), path, error, options);
}

bool WriteJpeg(const QImage& image, const std::string& path, std::string* error, const WriteOptions& options) {
    if (RejectEmpty(image, error)) return false;
    const QImage rgb = image.convertToFormat(JPEG_ROWS);
    if (RejectUnconverted(rgb, error)) return false;
    return AtomicWriteBinary(
        path, [&](FILE* f, std::string& reason) { return EncodeJpeg(f, rgb, options, reason); }, error);
}

bool WriteJpeg(const QImage& image, const std::string& path, std::string* error) {
    return WriteJpeg(image, path, error, WriteOptions{});
}

bool WriteJpeg(const TBitmap& bmp, const std::string& path, std::string* error) {
    return WriteJpeg(bmp.Image(), path, error, WriteOptions{});
}

bool WriteJpeg(const TBitmap& bmp, const std::string& path, std::string* error, const WriteOptions& options) {
    return WriteJpeg(bmp.Image(), path, error, options);
}

bool WriteBmp(const QImage& image, const std::string& path, std::string* error, const WriteOptions& options) {
    if (RejectEmpty(image, error)) return false;
    const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
    if (RejectUnconverted(bgr, error)) return false;
    return AtomicWriteBinary(
        path, [&](FILE* f, std::string& reason) { return EncodeBmp(f, bgr, options, reason); }, error);
}

bool WriteBmp(const QImage& image, const std::string& path, std::string* error) {
    return WriteBmp(image, path, error, WriteOptions{});
}

bool WriteBmp(const TBitmap& bmp, const std::string& path, std::string* error) {
    return WriteBmp(bmp.Image(), path, error, WriteOptions{});
}

bool WriteBmp(const TBitmap& bmp, const std::string& path, std::string* error, const WriteOptions& options) {
    return WriteBmp(bmp.Image(), path, error, options);
}

} // namespace output
