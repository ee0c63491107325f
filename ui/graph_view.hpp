// The graph on the Graphics page: painted anew for the size it is shown at
// and the screen's device pixel ratio, so that it stays sharp at any scaling
// and grows with the page, keeping the proportions of the 623 x 495 graph.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace quilmor::ui {

// The largest rectangle of the graph's proportions inside `area`, at its
// top left; its device pixel ratio maps the graph's 623 x 495 units onto
// `area` at `devicePixelRatio` screen pixels per unit.
struct GraphFit {
  int width = 0;  // in the widget's units
  int height = 0;
  double imageRatio = 1.0;  // device pixels per graph unit
};
GraphFit FitGraph(int areaWidth, int areaHeight, double devicePixelRatio);

class GraphView : public QWidget {
  Q_OBJECT

 public:
  // Paints a graph onto an image of 623 x 495 units (of any pixel ratio).
  using Painter = std::function<void(QImage&)>;

  explicit GraphView(QWidget* parent = nullptr);
  void SetPainter(Painter painter, const QImage& bitmap);
  void Clear();
  // The graph as it is saved: 623 x 495 pixels.
  const QImage& Image() const { return m_bitmap; }
  // The image last painted for the screen.
  const QImage& ScreenImage() const { return m_screen; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Painter m_painter;
  QImage m_bitmap;
  QImage m_screen;
};

}  // namespace quilmor::ui
