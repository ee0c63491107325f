// quilmor-cli run in this process, as a user runs it: its exit status and
// what it wrote to its output and error streams.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.hpp"

namespace quilmor::cli {

struct CliResult {
  int code;
  std::string out;
  std::string err;
};

inline CliResult Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "quilmor-cli");
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  const int code = RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}

}  // namespace quilmor::cli
