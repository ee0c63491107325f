// The series of a batch, one after the other in input order, from any mix of
// folders (their value files, input files, tables and JSON Lines files),
// value files, input files (".inp"), wide tables (".csv", ".tsv": one column
// per series), a long table (--long NAME,VALUE: one row per value) and JSON
// Lines ({"name": ..., "values": [...]} per line; "-" is the standard input).
// A source that cannot be read becomes one refused series, so the batch goes
// on.
#pragma once

#include <cstddef>
#include <deque>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "run/batch.hpp"
#include "textio/value_file.hpp"

namespace quilmor::cli {

struct BatchSeries {
  std::size_t index = 0;  // 0-based, in input order over the whole batch
  std::string name;
  std::string source;  // where it came from: "x.txt", "net.csv column 3", "net.jsonl line 4"
  std::string stem;    // the file stem of its reports, unique in the batch
  // A file read by the worker that analyses it: an input file, or a file of
  // values (`--column` applies). Otherwise the values are here already, or
  // values.error says why the series cannot be used.
  std::optional<std::filesystem::path> file;
  textio::ValueFile values;
  bool fromTable = false;  // a column of a table or a JSON line: named by its name
};

struct SourceOptions {
  bool recursive = false;
  std::string longName;   // --long NAME,VALUE: the name column ("" : wide tables)
  std::string longValue;  // the value column
  std::optional<std::filesystem::path> outputFolder;  // never read from
};

class BatchSources {
 public:
  BatchSources(std::vector<std::string> inputs, SourceOptions options, std::istream& standardInput);

  // The next series of the batch that `shard` keeps; the series of other
  // shards are counted and named (so that indexes and stems agree in every
  // shard) but not kept. nullopt at the end.
  std::optional<BatchSeries> Next(const run::Shard& shard);

  // Series seen so far (of every shard).
  std::size_t Seen() const { return m_index; }

 private:
  struct Pending {
    std::filesystem::path path;  // "-": the standard input
    std::string given;           // as named on the command line, or in its folder
    std::string name;            // the series name of a single-series file
    bool fromFolder = false;
  };
  // Turns the next pending input into series (folders into pending files).
  void Expand();
  void AddTable(const Pending& input);
  void AddJsonLines(const Pending& input);  // opens it; ReadJsonLine reads on
  void ReadJsonLine();
  void AddFolder(const Pending& input);
  void Refuse(const std::string& name, const std::string& source, const std::string& message);

  SourceOptions m_options;
  std::istream& m_in;
  std::deque<Pending> m_pending;
  // The JSON Lines source being read, one series per line as they are asked for.
  struct JsonReader {
    std::unique_ptr<std::istream> file;
    std::istream* in = nullptr;  // nullptr: none open
    std::string label;
    std::string name;
    int line = 0;
  } m_json;
  std::deque<BatchSeries> m_ready;  // named, not yet handed out
  run::SafeNames m_names;
  std::size_t m_index = 0;
};

// The kind of a file named in a batch by its extension.
enum class SourceKind { Series, WideTable, JsonLines };
SourceKind KindOfSource(const std::filesystem::path& path, bool longTable);

}  // namespace quilmor::cli
