#include "graphs/bitmap.hpp"

#include <QBuffer>
#include <QByteArray>
#include <cctype>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "textio/text_file.hpp"

namespace quilmor::graphs {
namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void Put16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

bool EndsWithPng(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension == ".png";
}

}  // namespace

std::string EncodeBitmap(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_RGB32);
  const auto width = static_cast<std::uint32_t>(image.width());
  const auto height = static_cast<std::uint32_t>(image.height());
  const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = rowBytes * height;
  const std::uint32_t offset = kFileHeaderSize + kInfoHeaderSize;

  std::string out;
  out.reserve(offset + pixelBytes);
  // BITMAPFILEHEADER
  out += "BM";
  Put32(out, offset + pixelBytes);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, offset);
  // BITMAPINFOHEADER
  Put32(out, kInfoHeaderSize);
  Put32(out, width);
  Put32(out, height);  // positive: rows from the bottom up
  Put16(out, 1);       // planes
  Put16(out, 24);      // bits per pixel
  Put32(out, 0);       // BI_RGB
  Put32(out, pixelBytes);
  Put32(out, static_cast<std::uint32_t>(image.dotsPerMeterX()));
  Put32(out, static_cast<std::uint32_t>(image.dotsPerMeterY()));
  Put32(out, 0);  // colours used
  Put32(out, 0);  // important colours
  // Pixels: blue, green, red per pixel.
  for (std::uint32_t row = height; row-- > 0;) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(static_cast<int>(row)));
    std::uint32_t written = 0;
    for (std::uint32_t x = 0; x < width; ++x) {
      out.push_back(static_cast<char>(qBlue(line[x])));
      out.push_back(static_cast<char>(qGreen(line[x])));
      out.push_back(static_cast<char>(qRed(line[x])));
      written += 3;
    }
    for (; written < rowBytes; ++written) out.push_back('\0');
  }
  return out;
}

bool SaveGraphImage(const QImage& image, const std::string& path, std::string* error) {
  std::string content;
  if (EndsWithPng(path)) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
      if (error) *error = "the image could not be encoded as PNG";
      return false;
    }
    content.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  } else {
    content = EncodeBitmap(image);
  }
  return textio::WriteFileAtomic(path, content, error);
}

std::optional<QImage> LoadGraphImage(const std::string& path) {
  // Only regular files are read: a folder or a device is no picture.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  if (ec || size > static_cast<std::uintmax_t>(INT_MAX)) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::ifstream in(path, std::ios::binary);
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    return std::nullopt;
  }
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(bytes.size()))) {
    return std::nullopt;
  }
  return image;
}

}  // namespace quilmor::graphs
