// Graph files in every format the program writes: Windows bitmap and PNG
// (pixels), SVG and PDF (vector drawings whose texts stay texts), at the
// screen's 96 dots per inch or at a resolution given.
#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "graphs/draw_graph.hpp"

namespace quilmor::graphs {

enum class GraphFormat { Bitmap, Png, Svg, Pdf };

// The format named by the extension of `path` (".bmp", ".png", ".svg",
// ".pdf", any letter case); nullopt for any other name.
std::optional<GraphFormat> GraphFormatOf(const std::string& path);

// The filter of a file dialog that saves a graph in one of the formats.
inline constexpr const char* kGraphFileFilter =
    "PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf);;Windows bitmap (*.bmp)";

// Resolutions a graph file may have, in dots per inch. At 96 the graph is the
// 623 x 495 pixels the Graphics page shows; at N its pixels (bitmap, PNG) or
// its drawing grid (SVG, PDF) are N / 96 times finer, the size on paper the
// same.
inline constexpr int kScreenDpi = 96;
inline constexpr int kMinDpi = 24;
inline constexpr int kMaxDpi = 1200;

// The picture as an image of Near(623 * dpi / 96) x Near(495 * dpi / 96)
// pixels, `dpi` stored in it. At 96 dots per inch exactly what PaintGraph
// paints; above, lines and text are smoothed.
QImage RenderGraphImage(const GraphPicture& picture, int dpi = kScreenDpi);

// The picture as an SVG document and as a one-page PDF document of
// 623 x 495 pixels at 96 dots per inch (6.49 x 5.16 inches), drawn with the
// same painter as the images: lines stay lines and texts stay texts in the
// Arial font. The first title line is the document's title.
std::string EncodeSvg(const GraphPicture& picture, int dpi = kScreenDpi);
std::string EncodePdf(const GraphPicture& picture, int dpi = kScreenDpi);

// SaveGraphFile: the picture written to `path` in the format of its extension
// (GraphFormatOf), atomically (under a temporary name in the same folder,
// then renamed). False with `error` set when the name has no known extension,
// `dpi` lies outside kMinDpi..kMaxDpi or the file could not be written; the
// file that was there before is then unchanged. Needs a QGuiApplication (see
// EnsureGuiApplication).
bool SaveGraphFile(const GraphPicture& picture, const std::string& path, int dpi = kScreenDpi,
                   std::string* error = nullptr);

}  // namespace quilmor::graphs
