#include "ui/paste.hpp"

namespace quilmor::ui {

std::string* GridCells::Cell(int column, int row) {
  if (column < 0 || column >= kColumns || row < 0 || row > kMaxGridRows) return nullptr;
  const auto needed = static_cast<std::size_t>(row) + 1;
  if (rows.size() < needed) rows.resize(needed);
  return &rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

std::string GridCells::Text(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0) return {};
  const auto r = static_cast<std::size_t>(row);
  return r < rows.size() ? rows[r][static_cast<std::size_t>(column)] : std::string();
}

bool SpreadPastedText(GridCells& cells, int column, int row, std::string_view text,
                      char separator) {
  int c = column;
  int r = row;
  int k = 1;  // line ends met so far + 1
  auto emptyCell = [&] {
    if (std::string* cell = cells.Cell(c, r)) cell->clear();
  };
  emptyCell();
  const std::size_t length = text.size();
  for (std::size_t i = 0; i < length; ++i) {
    const char ch = text[i];
    if (ch == '\t') {
      ++c;
      if (i + 1 < length) emptyCell();
    } else if (ch == '\r') {
      if (k > kMaxGridRows) return false;
      cells.rowCount = k;
      ++k;
      ++r;
      c = column;
      ++i;  // the line feed
      if (i + 1 < length) emptyCell();
    } else if ((ch >= '0' && ch <= '9') || ch == '-' || ch == separator) {
      if (std::string* cell = cells.Cell(c, r)) cell->push_back(ch);
    }
  }
  return true;
}

std::string NormaliseLineEnds(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (ch == '\n') {
      out += "\r\n";
    } else {
      out.push_back(ch);
    }
  }
  return out;
}

}  // namespace quilmor::ui
