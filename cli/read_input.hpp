// The content of an input as the analysis reads it: an input file (".inp")
// as it stands, or a plain file of values (one per line, or a CSV column) as
// the input file written from it would hold it. Nothing is written.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "textio/input_file.hpp"
#include "textio/interaction.hpp"
#include "textio/value_file.hpp"

namespace quilmor::report {
class TDMQuilmor;
}

namespace quilmor::cli {

// nullopt after a message on `err` that begins with `prefix`
// ("quilmor-cli fit: ").
std::optional<textio::InputFileContent> ReadAnalysisInput(const std::filesystem::path& inputFile,
                                                          int column, UserInteraction& ui,
                                                          std::ostream& err,
                                                          const std::string& prefix);

}  // namespace quilmor::cli
