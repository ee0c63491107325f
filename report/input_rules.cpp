#include "report/input_rules.hpp"

#include <string>

#include "engine/catalogue.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

namespace quilmor::report::rules {

namespace {

// The buttons from the catalogue's columns, with the codes as the texts the
// page stores.
struct ButtonTable {
  std::array<std::string, kPreferenceButtonCount> codes;
  std::array<PreferenceButton, kPreferenceButtonCount> buttons{};
};

ButtonTable MakeButtonTable() {
  ButtonTable table;
  table.codes[0] = "1";
  table.buttons[0] = {"AllRadioButton", "Best fitting of all", nullptr, PreferenceNote::None};
  std::size_t i = 1;
  for (const int code : engine::PreferenceButtonOrder()) {
    const engine::CodeInfo& row = engine::CodeRow(code);
    table.codes[i] = std::to_string(code);
    // The generalised normal is the one preference outside best of all.
    const PreferenceNote note = row.fit == engine::FitMethod::GeneralNormal
                                    ? PreferenceNote::GeneralizedNormal
                                    : PreferenceNote::Warning;
    table.buttons[i] = {row.buttonName, row.buttonCaption, nullptr, note};
    ++i;
  }
  for (std::size_t k = 0; k < table.buttons.size(); ++k) {
    table.buttons[k].code = table.codes[k].c_str();
  }
  return table;
}

}  // namespace

const std::array<PreferenceButton, kPreferenceButtonCount>& PreferenceButtons() {
  static const ButtonTable table = MakeButtonTable();
  return table.buttons;
}

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const PreferenceButton* ButtonOf(int code) {
  for (const PreferenceButton& button : PreferenceButtons()) {
    if (textio::ParseInt(button.code) == code) return &button;
  }
  return nullptr;
}

}  // namespace

NrOfDataCheck CheckNrOfData(std::string_view text) {
  NrOfDataCheck check;
  const std::optional<int> n = textio::ParseInt(Trimmed(text));
  if (!n) {
    check.message = kNrOfDataNotInteger;
    return check;
  }
  if (*n < kMinData) {
    check.message = kMinimumData;
    check.belowMinimum = true;
    return check;
  }
  check.count = *n;
  if (*n > kMaxUsedData) check.message = kFirst2500;
  return check;
}

ValueCountCheck CheckValueCount(long long values) {
  if (values < kMinData) return {true, kMinimumData};
  if (values > kMaxUsedData) return {false, kFirst2500};
  return {};
}

IntervalsCheck CheckIntervals(std::string_view text) {
  IntervalsCheck check;
  const std::optional<int> k = textio::ParseInt(Trimmed(text));
  if (!k) {
    check.message = kIntervalsNotInteger;
  } else if (*k < kMinIntervals || *k > kMaxIntervals) {
    check.message = kIntervalsOutOfRange;
    check.fieldText = *k > kMaxIntervals ? kMaxIntervals : kMinIntervals;
  } else {
    check.intervals = *k;
  }
  return check;
}

std::optional<double> CheckThreshold(std::string_view text, char separator) {
  return textio::StringToFloat(text, separator);
}

std::optional<int> CheckPreference(std::string_view text) {
  const std::optional<int> code = textio::ParseInt(Trimmed(text));
  if (!code || !ButtonOf(*code)) return std::nullopt;
  return code;
}

std::string PreferenceNoteText(int code) {
  const PreferenceButton* button = ButtonOf(code);
  if (!button) return {};
  switch (button->note) {
    case PreferenceNote::GeneralizedNormal:
      return kGeneralizedNormalNote;
    case PreferenceNote::Warning:
      return kDistrWarning;
    case PreferenceNote::None:
      break;
  }
  return {};
}

namespace {

// The first control character of `text` described for a message, or "".
std::string ControlCharacter(std::string_view text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u != 0x7F) continue;
    switch (u) {
      case '\r':
        return "a carriage return";
      case '\n':
        return "a line feed";
      case '\t':
        return "a tab";
      case 0:
        return "a NUL character";
      default: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        return std::string("the control character 0x") + kHex[u >> 4] + kHex[u & 0xF];
      }
    }
  }
  return {};
}

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

}  // namespace

std::optional<std::string> CheckTitle(std::string_view text, int which) {
  const std::string found = ControlCharacter(text);
  if (found.empty()) return std::nullopt;
  return std::string(which == 1 ? "The first" : "The second") + " title holds " + found +
         "; a title must be one line of printable text";
}

std::optional<std::string> CheckFileName(std::string_view name) {
  const std::string found = ControlCharacter(name);
  if (found.empty()) return std::nullopt;
  return "The file name \"" + textio::Excerpt(name, 200) + "\" holds " + found +
         "; choose a name of printable characters";
}

std::optional<std::string> CheckInputExtension(std::string_view name) {
  const std::string lowered = Lowered(name);
  for (const char* extension : {".out", ".aux"}) {
    const std::size_t n = std::char_traits<char>::length(extension);
    if (lowered.size() >= n && lowered.compare(lowered.size() - n, n, extension) == 0) {
      return "The file \"" + textio::Excerpt(name, 200) + "\" ends in \"" + extension +
             "\", the name of a file the run writes; an input must have another name "
             "(\".inp\" or \".txt\" for example)";
    }
  }
  return std::nullopt;
}

}  // namespace quilmor::report::rules
