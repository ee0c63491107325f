// Graph files: Windows bitmaps as the program saves them, PNG as well.
#pragma once

#include <QImage>
#include <optional>
#include <string>

namespace quilmor::graphs {

// The image as a Windows bitmap file: BITMAPFILEHEADER, BITMAPINFOHEADER,
// 24 bits per pixel, no compression, rows bottom-up padded to 4 bytes, the
// image's resolution in pixels per meter.
std::string EncodeBitmap(const QImage& image);

// Writes the image to `path` atomically (temporary name in the same folder,
// then renamed): a PNG when the name ends in ".png" (any letter case), a
// Windows bitmap otherwise. False with `error` set when it could not be
// written; the file that was there before is then unchanged.
bool SaveGraphImage(const QImage& image, const std::string& path, std::string* error = nullptr);

// Reads a picture file (bitmap, PNG or any format Qt reads); nullopt when the
// file cannot be read or is not a picture.
std::optional<QImage> LoadGraphImage(const std::string& path);

}  // namespace quilmor::graphs
