#include "cli/batch_sources.hpp"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <istream>
#include <nlohmann/json.hpp>
#include <system_error>

#include "textio/text_file.hpp"

namespace quilmor::cli {
namespace {

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

// The files a folder contributes: values, input files, tables, JSON Lines.
bool TakenFromFolder(const std::filesystem::path& path) {
  static const char* const kExtensions[] = {".txt", ".dat", ".inp",  ".csv",
                                            ".tsv", ".jsonl", ".ndjson"};
  const std::string ext = LowerExtension(path);
  return std::any_of(std::begin(kExtensions), std::end(kExtensions),
                     [&](const char* e) { return ext == e; });
}

bool Hidden(const std::filesystem::path& relative) {
  return std::any_of(relative.begin(), relative.end(), [](const std::filesystem::path& part) {
    const std::string name = part.string();
    return name.size() > 1 && name.front() == '.' && name != "..";
  });
}

bool SamePlace(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  const bool same = std::filesystem::equivalent(a, b, ec);
  return !ec && same;
}

}  // namespace

SourceKind KindOfSource(const std::filesystem::path& path, bool longTable) {
  if (path == "-") return SourceKind::JsonLines;
  const std::string ext = LowerExtension(path);
  if (ext == ".csv" || ext == ".tsv") return SourceKind::WideTable;
  if (ext == ".jsonl" || ext == ".ndjson") return SourceKind::JsonLines;
  (void)longTable;
  return SourceKind::Series;
}

BatchSources::BatchSources(std::vector<std::string> inputs, SourceOptions options,
                           std::istream& standardInput)
    : m_options(std::move(options)), m_in(standardInput) {
  for (const std::string& input : inputs) {
    const std::filesystem::path path(input);
    m_pending.push_back({path, input, path.stem().string(), false});
  }
}

void BatchSources::Refuse(const std::string& name, const std::string& source,
                          const std::string& message) {
  BatchSeries series;
  series.name = name;
  series.source = source;
  series.values.error = message;
  series.index = m_index++;
  series.stem = m_names.Take(series.name);
  m_ready.push_back(std::move(series));
}

void BatchSources::AddFolder(const Pending& input) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  const auto take = [&](const std::filesystem::directory_entry& entry) {
    std::error_code typeError;
    if (!entry.is_regular_file(typeError) || !TakenFromFolder(entry.path())) return;
    const std::filesystem::path relative = entry.path().lexically_relative(input.path);
    if (!Hidden(relative)) files.push_back(relative);
  };
  if (m_options.recursive) {
    std::filesystem::recursive_directory_iterator it(
        input.path, std::filesystem::directory_options::skip_permission_denied, ec);
    for (std::filesystem::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
      // Never read what this batch writes.
      if (m_options.outputFolder && it->is_directory(ec) &&
          SamePlace(it->path(), *m_options.outputFolder)) {
        it.disable_recursion_pending();
        continue;
      }
      if (!Hidden(it->path().lexically_relative(input.path))) take(*it);
    }
  } else {
    for (std::filesystem::directory_iterator it(input.path, ec), end; !ec && it != end;
         it.increment(ec)) {
      take(*it);
    }
  }
  if (ec) {
    Refuse(input.name, input.given, "cannot read the folder \"" + input.given + "\": " + ec.message());
    return;
  }
  // In name order, so that every run (and every shard) sees the same order.
  std::sort(files.begin(), files.end());
  std::vector<Pending> entries;
  for (const std::filesystem::path& relative : files) {
    std::filesystem::path name = relative;
    name.replace_extension();
    entries.push_back({input.path / relative, (input.path / relative).string(),
                       name.generic_string(), true});
  }
  m_pending.insert(m_pending.begin(), entries.begin(), entries.end());
}

void BatchSources::AddTable(const Pending& input) {
  auto lines = textio::ReadTextLines(input.path);
  if (!lines) {
    Refuse(input.name, input.given, "cannot read \"" + input.given + "\"");
    return;
  }
  std::string error;
  const bool longTable = !m_options.longName.empty();
  std::vector<textio::NamedColumn> columns =
      longTable ? textio::ReadLongColumns(std::move(*lines), input.given, m_options.longName,
                                          m_options.longValue, error)
                : textio::ReadWideColumns(std::move(*lines), input.given, error);
  if (!error.empty()) {
    Refuse(input.name, input.given, error);
    return;
  }
  if (columns.empty()) {
    Refuse(input.name, input.given, "\"" + input.given + "\" holds no series");
    return;
  }
  for (std::size_t c = 0; c < columns.size(); ++c) {
    BatchSeries series;
    series.name = std::move(columns[c].name);
    series.source = longTable ? input.given : input.given + " column " + std::to_string(c + 1);
    series.values = std::move(columns[c].values);
    series.fromTable = true;
    series.index = m_index++;
    series.stem = m_names.Take(series.name);
    m_ready.push_back(std::move(series));
  }
}

void BatchSources::AddJsonLines(const Pending& input) {
  m_json = {};
  if (input.path == "-") {
    m_json.in = &m_in;
    m_json.label = "standard input";
    m_json.name = "stdin";
  } else {
    std::error_code ec;
    auto file = std::make_unique<std::ifstream>(input.path, std::ios::binary);
    if (!*file || std::filesystem::is_directory(input.path, ec)) {
      Refuse(input.name, input.given, "cannot read \"" + input.given + "\"");
      return;
    }
    m_json.file = std::move(file);
    m_json.in = m_json.file.get();
    m_json.label = input.given;
    m_json.name = input.name;
  }
}

void BatchSources::ReadJsonLine() {
  JsonReader& r = m_json;
  std::string line;
  while (std::getline(*r.in, line)) {
    const int number = ++r.line;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    const std::string at = "line " + std::to_string(number) + " of " + r.label;
    BatchSeries series;
    series.name = r.name + "_" + std::to_string(number);
    series.source = r.label + " line " + std::to_string(number);
    series.fromTable = true;
    const nlohmann::json json = nlohmann::json::parse(line, nullptr, false);
    std::string& error = series.values.error;
    if (json.is_discarded() || !json.is_object()) {
      error = at + " is not a JSON object such as {\"name\": \"A\", \"values\": [1.5, 2]}";
    } else {
      if (const auto name = json.find("name"); name != json.end()) {
        if (name->is_string()) {
          series.name = name->get<std::string>();
        } else if (name->is_number()) {
          series.name = name->dump();
        }
      }
      const auto values = json.find("values");
      if (values == json.end() || !values->is_array()) {
        error = at + " has no \"values\" array";
      } else {
        for (std::size_t v = 0; v < values->size() && error.empty(); ++v) {
          const nlohmann::json& value = (*values)[v];
          if (value.is_null()) {
            series.values.rows.push_back({});
          } else if (value.is_number()) {
            series.values.rows.push_back({value.get<double>()});
          } else {
            error = "value " + std::to_string(v + 1) + " on " + at +
                    " is not a number: " + textio::Excerpt(value.dump());
          }
        }
        if (error.empty() && std::none_of(series.values.rows.begin(), series.values.rows.end(),
                                          [](const textio::ValueRow& row) { return row.value; })) {
          error = at + " holds no values";
        }
        if (!error.empty()) series.values.rows.clear();
      }
    }
    series.index = m_index++;
    series.stem = m_names.Take(series.name);
    m_ready.push_back(std::move(series));
    return;
  }
  const bool failed = r.in->bad();
  const std::string label = r.label;
  const std::string name = r.name;
  m_json = {};
  if (failed) Refuse(name, label, "cannot read all of \"" + label + "\"");
}

void BatchSources::Expand() {
  if (m_json.in) {
    ReadJsonLine();
    return;
  }
  const Pending input = m_pending.front();
  m_pending.pop_front();
  std::error_code ec;
  if (input.path != "-" && std::filesystem::is_directory(input.path, ec)) {
    AddFolder(input);
    return;
  }
  switch (KindOfSource(input.path, !m_options.longName.empty())) {
    case SourceKind::WideTable:
      AddTable(input);
      return;
    case SourceKind::JsonLines:
      AddJsonLines(input);
      return;
    case SourceKind::Series:
      break;
  }
  BatchSeries series;
  series.name = input.name;
  series.source = input.given;
  series.file = input.path;
  series.index = m_index++;
  series.stem = m_names.Take(series.name);
  m_ready.push_back(std::move(series));
}

std::optional<BatchSeries> BatchSources::Next(const run::Shard& shard) {
  for (;;) {
    while (m_ready.empty()) {
      if (m_pending.empty() && !m_json.in) return std::nullopt;
      Expand();
    }
    BatchSeries series = std::move(m_ready.front());
    m_ready.pop_front();
    if (shard.Keeps(series.index)) return series;
  }
}

}  // namespace quilmor::cli
