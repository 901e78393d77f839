// The map image leaves the program through these writers. Each one writes to a
// temporary file beside the target and renames it over the target only after a
// complete, checked write: a failed write returns false with a reason and leaves
// neither a partial file nor a changed original, and never ends the program.
#pragma once
#include "gui/Types.h"
#include <QImage>
#include <functional>
#include <optional>
#include <string>

class TBitmap;

namespace output {

struct WriteOptions {
    // The image's real size: pHYs in a PNG, the JFIF density (as dots per inch)
    // in a JPEG, the header's resolution in a BMP. 0 writes none.
    int PixelsPerMetre = 0;
    // Asked every few rows while the file is encoded; false stops the write,
    // which then fails with nothing left behind.
    std::function<bool()> KeepGoing;
};

struct PngOptions : WriteOptions {
    // Written as a tRNS chunk when set. The map save leaves it unset, so saved
    // maps carry no transparency.
    std::optional<TColor> Transparent;
};

// PNG through libpng: row filter Sub, deflate level 7, not interlaced, IDAT
// chunks of at most 65535 bytes. An image of less than 16 bits per pixel
// (indexed or monochrome) is stored as a palette image, any other as 8-bit RGB.
bool WritePng(const QImage& image, const std::string& path, std::string* error = nullptr,
              const PngOptions& options = {});
bool WritePng(const TBitmap& bmp, const std::string& path, std::string* error = nullptr,
              const PngOptions& options = {});

// JPEG through libjpeg: colour from the RGB pixels, three components,
// quality 90 with baseline tables, floating-point DCT, sequential.
bool WriteJpeg(const QImage& image, const std::string& path, std::string* error = nullptr);
bool WriteJpeg(const QImage& image, const std::string& path, std::string* error, const WriteOptions& options);
bool WriteJpeg(const TBitmap& bmp, const std::string& path, std::string* error = nullptr);
bool WriteJpeg(const TBitmap& bmp, const std::string& path, std::string* error, const WriteOptions& options);

// Windows bitmap: 24 bits per pixel, bottom-up rows, uncompressed.
bool WriteBmp(const QImage& image, const std::string& path, std::string* error = nullptr);
bool WriteBmp(const QImage& image, const std::string& path, std::string* error, const WriteOptions& options);
bool WriteBmp(const TBitmap& bmp, const std::string& path, std::string* error = nullptr);
bool WriteBmp(const TBitmap& bmp, const std::string& path, std::string* error, const WriteOptions& options);

// The PNG writer's fixed settings, for the checks that read files back.
constexpr int PNG_COMPRESSION_LEVEL = 7;
constexpr int PNG_IDAT_MAX = 65535;
constexpr int JPEG_QUALITY = 90;

} // namespace output
