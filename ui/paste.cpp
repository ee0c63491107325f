#include "ui/paste.hpp"

#include <algorithm>

#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::ui {

namespace {

// One cell as the value it holds: blanks (the no-break blank of Latin-1
// included) and the thousands separator left out.
std::string CleanCell(std::string_view cell, char separator) {
  const char thousands = separator == ',' ? '.' : ',';
  std::string clean;
  clean.reserve(cell.size());
  for (char ch : cell) {
    if (ch == ' ' || ch == '\xA0' || ch == thousands) continue;
    clean.push_back(ch);
  }
  return clean;
}

}  // namespace

PastedColumn ReadPastedColumn(std::string_view text, int firstRow, char separator) {
  PastedColumn column;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    const std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    if (end == std::string_view::npos) {
      start = text.size();
    } else {
      start = end + 1;
      if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    const int row = firstRow + static_cast<int>(column.cells.size());
    if (row >= kMaxGridRows) {
      column.error = "The pasted text has more rows than the grid holds (" +
                     std::to_string(kMaxGridRows) + "); nothing was pasted";
      column.cells.clear();
      return column;
    }
    const std::string_view raw = line.substr(0, line.find('\t'));
    std::string cell = CleanCell(raw, separator);
    if (!cell.empty() && !textio::StringToFloat(cell, separator)) {
      column.error = "Row " + std::to_string(row + 1) + " of the pasted text holds \"" +
                     textio::Excerpt(raw) + "\", which is not a number; nothing was pasted";
      column.cells.clear();
      return column;
    }
    column.cells.push_back(std::move(cell));
  }
  if (std::all_of(column.cells.begin(), column.cells.end(),
                  [](const std::string& cell) { return cell.empty(); })) {
    column.error = kPasteFailedMessage;
    column.cells.clear();
  }
  return column;
}

std::vector<std::string> ApplyPaste(const std::vector<std::string>& column, int startRow,
                                    const std::vector<std::string>& pasted) {
  if (startRow <= 0) return pasted;
  std::vector<std::string> result = column;
  const std::size_t start = static_cast<std::size_t>(startRow);
  if (result.size() < start + pasted.size()) result.resize(start + pasted.size());
  std::copy(pasted.begin(), pasted.end(), result.begin() + static_cast<std::ptrdiff_t>(start));
  return result;
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
