#include "ui/graph_view.hpp"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "graphs/draw_graph.hpp"

namespace quilmor::ui {

namespace {
constexpr int kWidth = graphs::kGraphWidth;
constexpr int kHeight = graphs::kGraphHeight;
}  // namespace

GraphFit FitGraph(int areaWidth, int areaHeight, double devicePixelRatio) {
  GraphFit fit;
  if (areaWidth <= 0 || areaHeight <= 0) return fit;
  const double scale =
      std::min(static_cast<double>(areaWidth) / kWidth, static_cast<double>(areaHeight) / kHeight);
  fit.width = std::max(1, static_cast<int>(std::floor(kWidth * scale)));
  fit.height = std::max(1, static_cast<int>(std::floor(kHeight * scale)));
  fit.imageRatio = scale * devicePixelRatio;
  return fit;
}

GraphView::GraphView(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void GraphView::SetPainter(Painter painter, const QImage& bitmap) {
  m_painter = std::move(painter);
  m_bitmap = bitmap;
  m_screen = QImage();
  update();
}

void GraphView::Clear() {
  m_painter = nullptr;
  m_bitmap = QImage();
  m_screen = QImage();
  update();
}

QSize GraphView::sizeHint() const { return {kWidth, kHeight}; }
QSize GraphView::minimumSizeHint() const { return {kWidth / 3, kHeight / 3}; }
int GraphView::heightForWidth(int width) const { return width * kHeight / kWidth; }

void GraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  if (!m_painter) return;
  const GraphFit fit = FitGraph(width(), height(), devicePixelRatioF());
  // Painting does not shrink below the graph's own pixels; a smaller view
  // shows them scaled down.
  const double ratio = std::max(1.0, fit.imageRatio);
  const QSize pixels(static_cast<int>(std::lround(kWidth * ratio)),
                     static_cast<int>(std::lround(kHeight * ratio)));
  if (m_screen.size() != pixels) {
    QImage image(pixels, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    m_painter(image);
    m_screen = image;
  }
  painter.setRenderHint(QPainter::SmoothPixmapTransform, ratio > fit.imageRatio);
  painter.drawImage(QRectF(0, 0, fit.width, fit.height), m_screen,
                    QRectF(0, 0, m_screen.width(), m_screen.height()));
}

}  // namespace quilmor::ui
