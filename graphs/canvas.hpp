// The painter's tools the graphs share: the inks of colour and
// black-and-white mode, the Arial font in whole pixels, and a canvas that
// writes text by the top-left corner of its cell. Inside the graphs library
// only.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QPolygon>
#include <string>

#include "graphs/graph_types.hpp"

namespace quilmor::graphs {

inline const QColor kSilver(192, 192, 192);
inline const QColor kBlue(0, 0, 255);
inline const QColor kWhite(255, 255, 255);
inline const QColor kBlack(0, 0, 0);
inline const QColor kCyan(0, 255, 255);
inline const QColor kYellow(255, 255, 0);
inline const QColor kLime(0, 255, 0);  // the bootstrap band of the probability paper

// Pen patterns of the curves, in pixels: dotted limits, the dashed line of
// equality.
inline const QList<qreal> kDotPattern = {3, 3};
inline const QList<qreal> kDashPattern = {18, 6};

// Drawing inks of one mode: in black and white every white, cyan and yellow
// element is black and the plot background white.
struct Inks {
  bool colour = true;
  QColor Background() const { return colour ? kBlue : kWhite; }
  QColor Ink(const QColor& c) const { return colour ? c : kBlack; }
  QColor Ink(graphs::Ink ink) const {
    switch (ink) {
      case graphs::Ink::White:
        return Ink(kWhite);
      case graphs::Ink::Cyan:
        return Ink(kCyan);
      case graphs::Ink::Yellow:
        return Ink(kYellow);
    }
    return Ink(kWhite);
  }
};

// A font of `points` points at 96 dots per inch, as whole pixels
// (size 10 -> 13 px, 8 -> 11 px, 4 -> 5 px). At the screen's resolution
// without smoothing, so that every pixel has one of the graph's colours.
inline QFont ArialFont(int points, bool smooth) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize((points * 96 + 36) / 72);
  font.setStyleStrategy(smooth ? QFont::PreferAntialias : QFont::NoAntialias);
  font.setHintingPreference(smooth ? QFont::PreferNoHinting : QFont::PreferFullHinting);
  return font;
}

class Canvas {
 public:
  Canvas(QPainter& painter, bool colour, bool smooth)
      : m_painter(painter), m_inks{colour}, m_smooth(smooth) {
    m_painter.setRenderHint(QPainter::Antialiasing, smooth);
    m_painter.setRenderHint(QPainter::TextAntialiasing, smooth);
  }

  const Inks& inks() const { return m_inks; }
  QPainter& painter() { return m_painter; }

  void Fill(int left, int top, int right, int bottom, const QColor& colour) {
    m_painter.fillRect(QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)), colour);
  }
  void SetFont(int points, const QColor& colour) {
    m_painter.setFont(ArialFont(points, m_smooth));
    m_textColour = colour;
  }
  void SetPen(const QColor& colour, LineStyle style) {
    QPen pen(colour, 1);
    pen.setCapStyle(Qt::SquareCap);
    if (style == LineStyle::Dotted) pen.setDashPattern(kDotPattern);
    if (style == LineStyle::Dashed) pen.setDashPattern(kDashPattern);
    m_painter.setPen(pen);
  }
  // Text with the top-left corner of its cell at (x, y).
  void Text(int x, int y, const std::string& text) {
    const QPen pen = m_painter.pen();
    m_painter.setPen(m_textColour);
    m_painter.drawText(QPoint(x, y + m_painter.fontMetrics().ascent()),
                       QString::fromLatin1(text.data(), static_cast<int>(text.size())));
    m_painter.setPen(pen);
  }
  int TextWidth(const std::string& text) {
    return m_painter.fontMetrics().horizontalAdvance(
        QString::fromLatin1(text.data(), static_cast<int>(text.size())));
  }
  int TextHeight() { return m_painter.fontMetrics().height(); }
  void Line(int x1, int y1, int x2, int y2) { m_painter.drawLine(x1, y1, x2, y2); }
  void Polyline(const QPolygon& points) {
    if (points.size() >= 2) m_painter.drawPolyline(points);
  }

 private:
  QPainter& m_painter;
  Inks m_inks;
  bool m_smooth = false;
  QColor m_textColour = kBlack;
};

}  // namespace quilmor::graphs
