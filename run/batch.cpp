#include "run/batch.hpp"

#include <cctype>

namespace quilmor::run {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Letters, digits and "-_.+" of ASCII, and every byte above it (8-bit text
// in the names of stations); the rest becomes "_".
bool KeptInStem(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '+' || c >= 0x80;
}

// The batch writes summary.csv, summary.jsonl and summary.shard.json: the
// JSON of a series "summary.shard" would be the last.
bool Reserved(const std::string& lowerStem) {
  return lowerStem == "summary" || lowerStem == "summary.shard";
}

}  // namespace

std::string SafeNames::Stem(std::string_view name) {
  std::string stem;
  for (const char c : name) {
    stem += KeptInStem(static_cast<unsigned char>(c)) ? c : '_';
    if (stem.size() == kMaxStemLength) break;
  }
  // No hidden files, no "." or "..".
  if (!stem.empty() && stem.front() == '.') stem.front() = '_';
  // Windows refuses names that end in a dot.
  while (!stem.empty() && stem.back() == '.') stem.back() = '_';
  return stem.empty() ? "series" : stem;
}

std::string SafeNames::Take(std::string_view name) {
  const std::string stem = Stem(name);
  std::string candidate = stem;
  for (int suffix = 2; Reserved(Lower(candidate)) || m_taken.count(Lower(candidate)); ++suffix) {
    candidate = stem + "_" + std::to_string(suffix);
  }
  m_taken.insert(Lower(candidate));
  return candidate;
}

std::optional<Shard> ParseShard(std::string_view text) {
  const auto slash = text.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const auto number = [](std::string_view digits) -> std::optional<int> {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    int value = 0;
    for (const char c : digits) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + (c - '0');
    }
    return value;
  };
  const auto k = number(text.substr(0, slash));
  const auto n = number(text.substr(slash + 1));
  if (!k || !n || *k < 1 || *k > *n) return std::nullopt;
  return Shard{*k, *n};
}

}  // namespace quilmor::run
