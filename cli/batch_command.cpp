// `quilmor-cli batch INPUT... --out DIR`: the complete run of every series of
// a network, on every core, into DIR/summary.csv and DIR/summary.jsonl (one
// row per series in input order) and, with --reports, each series' input
// file, report and parameter file. A series that cannot be used or stops gets
// its row with the reason and the batch goes on. `--shard K/N` takes every
// N-th series so that N processes cover a network once; `quilmor-cli merge`
// joins their summaries into the one an unsharded batch writes.
//
// Exit status: 0 every series ran, 3 some did not (their rows say why), 2 bad
// usage or a summary that could not be written.
#include <CLI/CLI.hpp>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/batch_sources.hpp"
#include "cli/cli_app.hpp"
#include "cli/design_output.hpp"
#include "cli/progress_bar.hpp"
#include "cli/read_input.hpp"
#include "cli/run_options.hpp"
#include "report/data_module.hpp"
#include "report/input_rules.hpp"
#include "run/batch.hpp"
#include "run/save_run.hpp"
#include "textio/csv_writer.hpp"
#include "textio/file_lock.hpp"
#include "textio/number_parse.hpp"
#include "textio/text_file.hpp"

#ifndef QUILMOR_VERSION
#define QUILMOR_VERSION "0.0.0"
#endif

namespace quilmor::cli {

namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kPrefix = "quilmor-cli batch: ";
constexpr const char* kInputHeader = " Input data for Quilmor program";
constexpr const char* kSummaryCsv = "summary.csv";
constexpr const char* kSummaryJsonl = "summary.jsonl";
constexpr const char* kShardFile = "summary.shard.json";

struct BatchSettings {
  RunSettings run;
  std::string out;
  bool recursive = false;
  std::string longColumns;  // "NAME,VALUE"
  bool reports = false;
  int jobs = 0;
  std::string shardText = "1/1";
  run::Shard shard;
  bool quiet = false;
};

// Messages of one series, kept for its row; questions are answered No.
class CollectingInteraction : public UserInteraction {
 public:
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool ConfirmYesNo(const std::string& text) override {
    messages.push_back(text + " (answered No)");
    return false;
  }
  void AppendProgress(const std::string&) override {}
  void Pause(int) override {}
  std::optional<std::string> ChooseOpenFile(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogRequest&) override { return {}; }
  void RequestQuit() override {}
  std::vector<std::string> messages;
};

// The parameter columns of the summary, as NAME.json names them.
constexpr const char* kParameterColumns[] = {"A",    "B",     "E",     "C",         "As",
                                             "Bs",   "Ag",    "Bg",    "P",         "mean",
                                             "sigma", "average_x", "std_dev_x", "shift"};

// A design point's label in the column names: "100" for T = 100, "F0.999"
// for a frequency given as such.
std::string PointLabel(const report::DesignPoint& point, bool fromFrequency) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", fromFrequency ? point.frequency : point.returnPeriod);
  return fromFrequency ? std::string("F") + text : std::string(text);
}

struct DesignColumn {
  const char* name;
  double run::DesignRow::*value;
  bool bootstrap;  // only with --bootstrap
};
constexpr DesignColumn kDesignColumns[] = {
    {"X", &run::DesignRow::x, false},
    {"method_lower", &run::DesignRow::methodLower, false},
    {"method_upper", &run::DesignRow::methodUpper, false},
    {"chosen_anew_lower", &run::DesignRow::chosenAnewLower, true},
    {"chosen_anew_upper", &run::DesignRow::chosenAnewUpper, true},
    {"same_function_lower", &run::DesignRow::sameFunctionLower, true},
    {"same_function_upper", &run::DesignRow::sameFunctionUpper, true},
    {"bootstrap_median", &run::DesignRow::bootstrapMedian, true},
};

std::vector<std::string> SummaryHeader(const report::DesignOptions& design) {
  std::vector<std::string> header = {"index", "name", "source", "file", "N", "code", "distribution"};
  for (const char* name : kParameterColumns) header.emplace_back(name);
  for (const char* name : {"sse", "r", "aicc"}) header.emplace_back(name);
  const std::vector<report::DesignPoint> points = report::DesignPoints(design);
  for (std::size_t p = 0; p < points.size(); ++p) {
    const std::string label = PointLabel(points[p], p >= design.returnPeriods.size());
    for (const DesignColumn& column : kDesignColumns) {
      if (column.bootstrap && design.bootstrapReplicates <= 0) continue;
      header.push_back(std::string(column.name) + "_" + label);
    }
  }
  header.emplace_back("status");
  header.emplace_back("message");
  return header;
}

std::string CsvLine(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) line += ',';
    line += textio::CsvField(cells[i]);
  }
  return line + "\r\n";
}

// One line of text for a summary cell: line breaks and other control
// characters become blanks.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

struct SeriesRow {
  std::string csv;
  std::string json;
  bool ok = false;
};

struct BatchJob {
  BatchSeries series;
};

class BatchRunner {
 public:
  BatchRunner(const BatchSettings& settings, std::filesystem::path folder)
      : m_settings(settings), m_folder(std::move(folder)) {}

  SeriesRow Run(const BatchSeries& series) const;

 private:
  // The input of a series in the data module; false (with `refusal`) when
  // it cannot be used.
  bool TakeInput(const BatchSeries& series, report::TDMQuilmor& dm, bool& writeInput,
                 std::vector<std::string>& lines, std::string& refusal) const;
  SeriesRow Row(const BatchSeries& series, const char* status, const std::string& message,
                const RunRecord* record) const;

  const BatchSettings& m_settings;
  const std::filesystem::path m_folder;
};

bool BatchRunner::TakeInput(const BatchSeries& series, report::TDMQuilmor& dm, bool& writeInput,
                            std::vector<std::string>& lines, std::string& refusal) const {
  const RunSettings& s = m_settings.run;
  writeInput = true;
  if (series.file) {
    std::error_code ec;
    auto read = std::filesystem::is_directory(*series.file, ec)
                    ? std::nullopt
                    : textio::ReadTextLines(*series.file);
    if (!read) {
      refusal = "cannot read \"" + series.source + "\"";
      return false;
    }
    if (!read->empty() && read->front() == kInputHeader) {
      lines = std::move(*read);
      if (dm.TakeInputLines(lines, series.source) != report::TDMQuilmor::ReadResult::Ok) {
        return false;  // the data module's message is the reason
      }
      writeInput = s.title1Given || s.title2Given || !s.threshold.empty();
    } else {
      const textio::ValueFile file = textio::ReadValueLines(std::move(*read), series.source, s.column);
      if (!file.error.empty()) {
        refusal = file.error;
        return false;
      }
      dm.TakeValueRows(file);
    }
  } else {
    if (!series.values.error.empty()) {
      refusal = series.values.error;
      return false;
    }
    dm.TakeValueRows(series.values);
    // A column of a table or a line of JSON is named by its name.
    if (series.fromTable && !report::rules::CheckTitle(series.name, 1)) dm.Title1 = series.name;
  }
  ApplyTitlesAndThreshold(s, dm);
  const report::rules::ValueCountCheck count =
      report::rules::CheckValueCount(std::count(dm.Skipped.begin(), dm.Skipped.end(), false));
  if (count.refused) {
    refusal = count.message;
    return false;
  }
  if (!count.message.empty()) dm.Ui().ShowMessage(count.message);
  return true;
}

SeriesRow BatchRunner::Run(const BatchSeries& series) const {
  const RunSettings& s = m_settings.run;
  CollectingInteraction ui;
  report::TDMQuilmor dm(ui);
  dm.Preference = s.preference;
  dm.NrOfIntervals = s.intervals;
  dm.FileName = (m_folder / (series.stem + ".inp")).string();
  const auto joined = [&ui](std::string extra) {
    std::string text;
    for (const std::string& m : ui.messages) text += (text.empty() ? "" : " ") + m;
    if (!extra.empty()) text += (text.empty() ? "" : " ") + extra;
    return OneLine(text);
  };
  bool writeInput = true;
  std::vector<std::string> lines;
  std::string refusal;
  if (!TakeInput(series, dm, writeInput, lines, refusal)) {
    return Row(series, "refused", joined(refusal), nullptr);
  }

  run::SaveRunOptions options;
  options.writeInput = writeInput;
  options.breakPointAllowed = s.breakpoint;
  options.plotting = s.plotting;
  options.threads = 1;  // one series per worker
  options.writeFiles = false;
  if (!writeInput) options.inputLines = &lines;
  const run::SaveRunResult result = run::SaveRun(dm, options);
  const bool done = result.status == run::SaveRunStatus::Done;
  if (!done && result.status != run::SaveRunStatus::Stopped) {
    return Row(series, "refused", joined({}), nullptr);
  }
  // The closing message of a run says where its files are: not the batch's.
  std::erase(ui.messages, run::DoneMessage(result.InputName, result.ReportName));
  if (done) {
    if (const std::string note = PoorFitText(result); !note.empty()) ui.messages.push_back(note);
  }

  RunRecord record = SaveRunRecord(
      result, dm, {s.json, s.csv, s.preference, s.breakpoint, std::stoi(s.intervals), s.design});
  std::ostringstream unused;
  CompleteRecord(record, unused, 1, false);

  if (m_settings.reports) {
    std::string inputText;
    std::vector<textio::FileContent> files;
    if (done) {
      if (writeInput) {
        inputText = result.inputText;
      } else {
        for (const std::string& line : lines) inputText += line + "\r\n";
      }
      files.push_back({result.InputName, inputText});
      files.push_back({textio::ChangeFileExt(result.InputName, ".aux"), result.finished.parameterText});
      files.push_back({result.ReportName, result.finished.reportText});
    }
    const auto extra = RunOutputTexts(record, s.json, s.csv);
    for (const auto& [name, content] : extra) files.push_back({name, content});
    std::string error;
    if (!files.empty() && !textio::WriteFilesAtomic(files, &error)) {
      return Row(series, "refused", joined("the reports could not be written: " + error), nullptr);
    }
  }
  return Row(series, done ? "ok" : "stopped", joined({}), &record);
}

SeriesRow BatchRunner::Row(const BatchSeries& series, const char* status,
                           const std::string& message, const RunRecord* record) const {
  const report::DesignOptions& design = m_settings.run.design;
  const bool withBootstrap = design.bootstrapReplicates > 0;
  std::vector<std::string> cells = {std::to_string(series.index), OneLine(series.name),
                                    OneLine(series.source), series.stem};
  Json json;
  json["index"] = series.index;
  json["name"] = OneLine(series.name);
  json["source"] = OneLine(series.source);
  json["file"] = series.stem;
  const run::AnalysisResult* analysis = record ? record->analysis : nullptr;
  const bool fitted = record && record->finished;
  if (analysis) {
    cells.push_back(std::to_string(analysis->series.N));
    json["N"] = analysis->series.N;
  } else {
    cells.emplace_back();
    json["N"] = nullptr;
  }
  const auto number = [](double v) { return std::isfinite(v) ? Json(v) : Json(nullptr); };
  if (fitted) {
    const report::ReportModel& m = analysis->model;
    const Json parameters = ParametersJson(m);
    cells.push_back(std::to_string(m.Fit.Code));
    cells.push_back(m.DistributionName);
    for (const char* name : kParameterColumns) {
      const auto p = parameters.find(name);
      cells.push_back(p == parameters.end() ? std::string() : textio::CsvNumber(p->get<double>()));
    }
    double sse = run::kNotComputed;
    double aicc = run::kNotComputed;
    for (const run::CandidateGoodness& c : record->candidates) {
      if (!c.chosen) continue;
      sse = c.measures.sse;
      aicc = c.measures.aicc;
    }
    const double r = m.Goodness.efficiency;
    cells.push_back(textio::CsvNumber(sse));
    cells.push_back(textio::CsvNumber(r));
    cells.push_back(textio::CsvNumber(aicc));
    json["code"] = m.Fit.Code;
    json["distribution"] = m.DistributionName;
    json["parameters"] = parameters;
    json["sse"] = number(sse);
    json["r"] = number(r);
    json["aicc"] = number(aicc);
    Json rows = Json::array();
    for (const run::DesignRow& row : record->designRows) {
      for (const DesignColumn& column : kDesignColumns) {
        if (column.bootstrap && !withBootstrap) continue;
        cells.push_back(textio::CsvNumber(row.*column.value));
      }
      rows.push_back(DesignRowJson(row));
    }
    json["design_values"] = std::move(rows);
  } else {
    const std::size_t empty = SummaryHeader(design).size() - cells.size() - 2;
    cells.insert(cells.end(), empty, std::string());
    for (const char* key : {"code", "distribution", "parameters", "sse", "r", "aicc"}) {
      json[key] = nullptr;
    }
    json["design_values"] = Json::array();
  }
  cells.emplace_back(status);
  cells.push_back(message);
  json["status"] = status;
  json["message"] = message;
  SeriesRow row;
  row.csv = CsvLine(cells);
  row.json = json.dump(-1, ' ', false, Json::error_handler_t::replace) + "\r\n";
  row.ok = std::string_view(status) == "ok";
  return row;
}

std::string ShardText(const run::Shard& shard, std::size_t total, std::size_t taken) {
  Json json = {{"program", {{"name", "quilmor-cli"}, {"version", QUILMOR_VERSION}}},
               {"shard", shard.index},
               {"shards", shard.count},
               {"series_total", total},
               {"series_in_shard", taken}};
  return json.dump(2) + "\r\n";
}

// The folder of the outputs, made when missing. Empty after a message.
std::optional<std::filesystem::path> OutputFolder(const std::string& out, std::ostream& err) {
  if (out.empty()) {
    err << kPrefix << "give the folder of the outputs with --out DIR\n";
    return std::nullopt;
  }
  if (const auto refusal = report::rules::CheckFileName(out)) {
    err << kPrefix << *refusal << '\n';
    return std::nullopt;
  }
  std::error_code ec;
  std::filesystem::create_directories(out, ec);
  if (ec || !std::filesystem::is_directory(out)) {
    err << kPrefix << "cannot make the folder \"" << out << "\"" << (ec ? ": " + ec.message() : "")
        << '\n';
    return std::nullopt;
  }
  return std::filesystem::absolute(out, ec).lexically_normal();
}

// Nothing is read from the folder a batch writes into.
bool ReadsOutputFolder(const std::vector<std::string>& inputs, const std::filesystem::path& folder,
                       std::ostream& err) {
  std::error_code ec;
  std::filesystem::path outside = std::filesystem::weakly_canonical(folder, ec);
  if (outside.filename().empty()) outside = outside.parent_path();
  for (const std::string& input : inputs) {
    if (input == "-") continue;
    const std::filesystem::path path = std::filesystem::weakly_canonical(input, ec);
    if (ec) continue;
    const auto [end, rest] = std::mismatch(outside.begin(), outside.end(), path.begin(), path.end());
    if (end == outside.end()) {
      err << kPrefix << "\"" << input << "\" lies in the output folder \"" << folder.string()
          << "\"; give the outputs a folder of their own\n";
      return true;
    }
  }
  return false;
}

bool ParseLongColumns(const std::string& text, SourceOptions& options, std::ostream& err) {
  if (text.empty()) return true;
  const auto comma = text.find(',');
  if (comma == std::string::npos || comma == 0 || comma + 1 == text.size() ||
      text.find(',', comma + 1) != std::string::npos) {
    err << kPrefix << "--long takes the name column and the value column: --long NAME,VALUE "
                      "(header names or numbers from 1), not \""
        << textio::Excerpt(text) << "\"\n";
    return false;
  }
  options.longName = text.substr(0, comma);
  options.longValue = text.substr(comma + 1);
  return true;
}

int RunBatch(BatchSettings& settings, CommandContext& context) {
  std::ostream& err = context.err;
  const auto shard = run::ParseShard(settings.shardText);
  if (!shard) {
    err << kPrefix << "--shard takes K/N, the K-th of N shards (1 <= K <= N), not \""
        << textio::Excerpt(settings.shardText) << "\"\n";
    return kExitUsage;
  }
  settings.shard = *shard;
  if (settings.jobs < 0 || settings.jobs > 1024) {
    err << kPrefix << "--jobs must be a number of workers from 1 to 1024 (0: every core)\n";
    return kExitUsage;
  }
  SourceOptions sourceOptions;
  sourceOptions.recursive = settings.recursive;
  if (!ParseLongColumns(settings.longColumns, sourceOptions, err)) return kExitUsage;
  if (std::count(settings.run.inputs.begin(), settings.run.inputs.end(), "-") > 1) {
    err << kPrefix << "the standard input (\"-\") can be read only once\n";
    return kExitUsage;
  }
  const auto folder = OutputFolder(settings.out, err);
  if (!folder) return kExitUsage;
  if (ReadsOutputFolder(settings.run.inputs, *folder, err)) return kExitUsage;
  sourceOptions.outputFolder = *folder;

  // One batch at a time writes into a folder.
  textio::FileLock lock;
  bool busy = false;
  std::string lockError;
  if (!lock.Acquire(*folder / "summary", textio::FileLock::Wait::No, busy, lockError)) {
    err << kPrefix
        << (busy ? "another batch is writing into \"" + folder->string() + "\""
                 : "cannot write into \"" + folder->string() + "\": " + lockError)
        << '\n';
    return kExitUsage;
  }
  // What a killed batch left: the temporaries of its summaries and reports.
  textio::RemoveStaleTemporariesIn(*folder);

  textio::StagedFile csv(*folder / kSummaryCsv);
  textio::StagedFile jsonl(*folder / kSummaryJsonl);
  csv.Append(CsvLine(SummaryHeader(settings.run.design)));

  // The bar needs the number of series first: a counting pass, when a bar is
  // drawn and the standard input is not among the inputs.
  const bool readsStdin =
      std::find(settings.run.inputs.begin(), settings.run.inputs.end(), "-") !=
      settings.run.inputs.end();
  const bool bar = ProgressWanted(settings.quiet) && !readsStdin;
  std::size_t expected = 0;
  if (bar) {
    BatchSources counter(settings.run.inputs, sourceOptions, std::cin);
    while (counter.Next(settings.shard)) ++expected;
  }
  ProgressBar progress(err, expected, bar);

  BatchSources sources(settings.run.inputs, sourceOptions, std::cin);
  const BatchRunner runner(settings, *folder);
  const int workers = settings.jobs > 0
                          ? settings.jobs
                          : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::size_t taken = 0;
  std::size_t notRun = 0;
  try {
    run::ProcessInOrder<BatchSeries, SeriesRow>(
        workers, static_cast<std::size_t>(workers) * 4,
        [&]() { return sources.Next(settings.shard); },
        [&](BatchSeries& series) { return runner.Run(series); },
        [&](SeriesRow& row) {
          ++taken;
          if (!row.ok) ++notRun;
          csv.Append(row.csv);
          jsonl.Append(row.json);
          progress.Advance();
        });
  } catch (const std::exception& e) {
    err << kPrefix << "the batch could not be completed: " << e.what() << '\n';
    return kExitUsage;
  }
  progress.Finish();
  const std::string shardText = ShardText(settings.shard, sources.Seen(), taken);
  std::string error;
  if (!csv.Commit() || !jsonl.Commit() ||
      !textio::WriteFileAtomic(*folder / kShardFile, shardText, &error)) {
    const std::string& reason = !csv.Error().empty() ? csv.Error()
                                : !jsonl.Error().empty() ? jsonl.Error()
                                                         : error;
    err << kPrefix << "the summary could not be written into \"" << folder->string()
        << "\": " << reason << '\n';
    return kExitUsage;
  }
  context.out << taken << " series, " << taken - notRun << " ran, " << notRun
              << " refused or stopped: " << (*folder / kSummaryCsv).string() << '\n';
  return notRun == 0 ? kExitOk : kExitSomeNotRun;
}

// --- merge ----------------------------------------------------------------------

struct ShardFiles {
  run::Shard shard;
  std::size_t total = 0;
  std::size_t rows = 0;
  std::string folder;
  std::ifstream csv;
  std::ifstream jsonl;
};

// The next line of a summary file with its CR LF.
bool NextLine(std::ifstream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  line += "\r\n";
  return true;
}

int RunMerge(const std::vector<std::string>& folders, const std::string& out,
             CommandContext& context) {
  constexpr const char* kMerge = "quilmor-cli merge: ";
  std::ostream& err = context.err;
  std::vector<std::unique_ptr<ShardFiles>> shards;
  for (const std::string& folder : folders) {
    auto files = std::make_unique<ShardFiles>();
    files->folder = folder;
    const auto meta = textio::ReadTextLines(std::filesystem::path(folder) / kShardFile);
    std::string text;
    for (const std::string& line : meta.value_or(std::vector<std::string>{})) text += line + "\n";
    const Json json = Json::parse(text, nullptr, false);
    if (!meta || json.is_discarded() || !json.is_object() || !json.contains("shard") ||
        !json.contains("shards") || !json.contains("series_total") ||
        !json["shard"].is_number_unsigned() || !json["shards"].is_number_unsigned() ||
        !json["series_total"].is_number_unsigned()) {
      err << kMerge << "\"" << folder << "\" holds no batch summary (" << kShardFile
          << " is missing or unreadable)\n";
      return kExitUsage;
    }
    files->shard = {json["shard"].get<int>(), json["shards"].get<int>()};
    files->total = json["series_total"].get<std::size_t>();
    files->csv.open(std::filesystem::path(folder) / kSummaryCsv, std::ios::binary);
    files->jsonl.open(std::filesystem::path(folder) / kSummaryJsonl, std::ios::binary);
    if (!files->csv || !files->jsonl) {
      err << kMerge << "\"" << folder << "\" lacks " << kSummaryCsv << " or " << kSummaryJsonl
          << '\n';
      return kExitUsage;
    }
    shards.push_back(std::move(files));
  }
  if (shards.empty()) {
    err << kMerge << "name the folders of the shards\n";
    return kExitUsage;
  }
  std::sort(shards.begin(), shards.end(),
            [](const auto& a, const auto& b) { return a->shard.index < b->shard.index; });
  const int count = shards.front()->shard.count;
  const std::size_t total = shards.front()->total;
  for (std::size_t k = 0; k < shards.size(); ++k) {
    const ShardFiles& s = *shards[k];
    if (s.shard.count != count || s.total != total ||
        s.shard.index != static_cast<int>(k) + 1 || static_cast<int>(shards.size()) != count) {
      err << kMerge << "the folders are not the " << count << " shards of one batch of " << total
          << " series (\"" << s.folder << "\" is shard " << s.shard.index << "/" << s.shard.count
          << " of " << s.total << "); give each shard 1/" << count << " to " << count << "/"
          << count << " once\n";
      return kExitUsage;
    }
  }
  const auto folder = OutputFolder(out, err);
  if (!folder) return kExitUsage;

  std::string header;
  for (auto& s : shards) {
    std::string line;
    if (!NextLine(s->csv, line)) line.clear();
    if (header.empty()) header = line;
    if (line != header || line.empty()) {
      err << kMerge << "the summaries of \"" << shards.front()->folder << "\" and \"" << s->folder
          << "\" have different columns (other options)\n";
      return kExitUsage;
    }
  }
  textio::StagedFile csv(*folder / kSummaryCsv);
  textio::StagedFile jsonl(*folder / kSummaryJsonl);
  csv.Append(header);
  std::size_t notRun = 0;
  // Series i is row i div N of shard i mod N + 1.
  for (std::size_t i = 0; i < total; ++i) {
    ShardFiles& s = *shards[i % static_cast<std::size_t>(count)];
    std::string csvLine, jsonLine;
    const bool read = NextLine(s.csv, csvLine) && NextLine(s.jsonl, jsonLine);
    const std::string index = std::to_string(i);
    const Json row = read ? Json::parse(jsonLine, nullptr, false) : Json();
    if (!read || csvLine.rfind(index + ",", 0) != 0 || row.is_discarded() ||
        !row.contains("index") || row["index"] != i) {
      err << kMerge << "the summary of \"" << s.folder << "\" lacks the row of series " << i
          << " or holds another there (an unfinished or changed shard)\n";
      return kExitUsage;
    }
    if (row.value("status", "") != "ok") ++notRun;
    csv.Append(csvLine);
    jsonl.Append(jsonLine);
  }
  std::string error;
  if (!csv.Commit() || !jsonl.Commit() ||
      !textio::WriteFileAtomic(*folder / kShardFile, ShardText({1, 1}, total, total), &error)) {
    err << kMerge << "the summary could not be written into \"" << folder->string() << "\": "
        << (!csv.Error().empty() ? csv.Error() : !jsonl.Error().empty() ? jsonl.Error() : error)
        << '\n';
    return kExitUsage;
  }
  context.out << total << " series from " << count << " shards: " << (*folder / kSummaryCsv).string()
              << '\n';
  return notRun == 0 ? kExitOk : kExitSomeNotRun;
}

}  // namespace

void AddBatchCommand(CLI::App& app, CommandContext& context) {
  auto settings = std::make_shared<BatchSettings>();
  CLI::App* batch = app.add_subcommand(
      "batch",
      "Run every series of a network: DIR/summary.csv and DIR/summary.jsonl, one row per series");
  batch
      ->add_option("input", settings->run.inputs,
                   "Folders, value files, input files (.inp), tables (.csv, .tsv: one column per "
                   "series), JSON Lines (.jsonl; - reads the standard input)")
      ->required();
  batch->add_option("--out", settings->out, "Folder of the outputs (made when missing)")
      ->required();
  batch->add_flag("--recursive", settings->recursive, "Also read the folders inside the folders");
  batch->add_option("--long", settings->longColumns,
                    "Tables are long: NAME,VALUE gives the column of the series name and of the "
                    "value (header names or numbers from 1)");
  batch->add_flag("--reports", settings->reports,
                  "Also write each series' .inp, .out and .aux (and --json, --csv) into DIR");
  batch->add_option("--jobs", settings->jobs, "Series analysed at once (default: every core)");
  batch->add_option("--shard", settings->shardText,
                    "K/N: take the series i with i mod N = K-1 (for N processes on N machines)");
  batch->add_flag("-q,--quiet", settings->quiet, "No progress bar");
  AddRunOptions(*batch, settings->run);
  batch->get_option("--column")
      ->description("For a value file of several columns (.txt, .dat): the column that holds "
                    "the values; every column of a .csv or .tsv table is a series of its own");
  batch->callback([settings, batch, &context]() {
    if (!FinishRunSettings(*batch, settings->run, context.err)) {
      context.exitCode = kExitUsage;
      return;
    }
    context.exitCode = RunBatch(*settings, context);
  });

  auto folders = std::make_shared<std::vector<std::string>>();
  auto out = std::make_shared<std::string>();
  CLI::App* merge = app.add_subcommand(
      "merge", "Join the summaries of the shards of a batch into the one summary of the batch");
  merge->add_option("folders", *folders, "The output folders of the shards")->required();
  merge->add_option("--out", *out, "Folder of the merged summary")->required();
  merge->callback([folders, out, &context]() {
    context.exitCode = RunMerge(*folders, *out, context);
  });
}

}  // namespace quilmor::cli
