#include "ui/cartoon.hpp"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace quilmor::ui {

QPixmap MakeCartoon(int width, int height) {
  QPixmap picture(width, height);
  picture.fill(QColor(255, 255, 225));
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF plot(12, 8, width - 20, height - 20);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
  // A logistic curve: Fc = 1/(1+exp(-z)).
  auto point = [&plot](double z) {
    const double fc = 1.0 / (1.0 + std::exp(-z));
    return QPointF(plot.left() + (z + 5.0) / 10.0 * plot.width(),
                   plot.bottom() - fc * plot.height());
  };
  QPainterPath curve(point(-5.0));
  for (double z = -5.0; z <= 5.0; z += 0.25) curve.lineTo(point(z));
  painter.setPen(QPen(QColor(0, 0, 255), 2));
  painter.drawPath(curve);
  painter.setPen(QPen(QColor(200, 0, 0), 1.5));
  const double observed[] = {-3.6, -2.1, -1.2, -0.4, 0.3, 1.1, 1.8, 3.0};
  const double offset[] = {0.03, -0.04, 0.05, -0.03, 0.04, -0.05, 0.03, -0.02};
  for (int i = 0; i < 8; ++i) {
    QPointF p = point(observed[i]);
    p.ry() -= offset[i] * plot.height();
    painter.drawEllipse(p, 2.5, 2.5);
  }
  return picture;
}

}  // namespace quilmor::ui
