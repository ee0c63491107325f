#include "graphs/graph_file.hpp"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <filesystem>

#include "graphs/bitmap.hpp"
#include "textio/text_file.hpp"

namespace quilmor::graphs {
namespace {

constexpr double kInchMeters = 0.0254;
constexpr double kPointsPerInch = 72.0;

std::string LowerExtension(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

double Zoom(int dpi) { return static_cast<double>(dpi) / kScreenDpi; }

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Bytes(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::optional<GraphFormat> GraphFormatOf(const std::string& path) {
  const std::string extension = LowerExtension(path);
  if (extension == ".bmp") return GraphFormat::Bitmap;
  if (extension == ".png") return GraphFormat::Png;
  if (extension == ".svg") return GraphFormat::Svg;
  if (extension == ".pdf") return GraphFormat::Pdf;
  return std::nullopt;
}

QImage RenderGraphImage(const GraphPicture& picture, int dpi) {
  QImage image = NewGraphImage();
  if (dpi == kScreenDpi) {
    PaintGraph(picture, image);
    return image;
  }
  const double zoom = Zoom(dpi);
  image = QImage(Near(kGraphWidth * zoom), Near(kGraphHeight * zoom), QImage::Format_RGB32);
  const int dotsPerMeter = Near(dpi / kInchMeters);
  image.setDotsPerMeterX(dotsPerMeter);
  image.setDotsPerMeterY(dotsPerMeter);
  image.fill(QColor(192, 192, 192));
  QPainter painter(&image);
  painter.scale(zoom, zoom);
  PaintGraph(painter, picture, true);
  return image;
}

std::string EncodeSvg(const GraphPicture& picture, int dpi) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  const double zoom = Zoom(dpi);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setResolution(dpi);
  svg.setSize(QSize(Near(kGraphWidth * zoom), Near(kGraphHeight * zoom)));
  svg.setViewBox(QRect(0, 0, Near(kGraphWidth * zoom), Near(kGraphHeight * zoom)));
  svg.setTitle(Latin1(picture.Title1));
  svg.setDescription(Latin1(CreditLine()));
  {
    QPainter painter(&svg);
    painter.scale(zoom, zoom);
    PaintGraph(painter, picture, true);
  }
  return Bytes(bytes);
}

std::string EncodePdf(const GraphPicture& picture, int dpi) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(dpi);
    pdf.setPageSize(QPageSize(QSizeF(kGraphWidth * kPointsPerInch / kScreenDpi,
                                     kGraphHeight * kPointsPerInch / kScreenDpi),
                              QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(Latin1(picture.Title1));
    pdf.setCreator(QStringLiteral("Quilmor"));
    QPainter painter(&pdf);
    painter.scale(Zoom(dpi), Zoom(dpi));
    PaintGraph(painter, picture, true);
  }
  return Bytes(bytes);
}

bool SaveGraphFile(const GraphPicture& picture, const std::string& path, int dpi,
                   std::string* error) {
  const std::optional<GraphFormat> format = GraphFormatOf(path);
  if (!format) {
    if (error) *error = "the name must end in \".png\", \".svg\", \".pdf\" or \".bmp\"";
    return false;
  }
  if (dpi < kMinDpi || dpi > kMaxDpi) {
    if (error) {
      *error = "the resolution must lie between " + std::to_string(kMinDpi) + " and " +
               std::to_string(kMaxDpi) + " dots per inch";
    }
    return false;
  }
  switch (*format) {
    case GraphFormat::Bitmap:
    case GraphFormat::Png:
      return SaveGraphImage(RenderGraphImage(picture, dpi), path, error);
    case GraphFormat::Svg:
      return textio::WriteFileAtomic(path, EncodeSvg(picture, dpi), error);
    case GraphFormat::Pdf:
      return textio::WriteFileAtomic(path, EncodePdf(picture, dpi), error);
  }
  return false;
}

}  // namespace quilmor::graphs
