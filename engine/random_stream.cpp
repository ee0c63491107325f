#include "engine/random_stream.hpp"

#include <cassert>

namespace quilmor::engine {
namespace {

// Multipliers and key increments of Philox4x32 (the increments are the
// fractional parts of the golden ratio and of sqrt(3)).
constexpr std::uint32_t kMultiplier0 = 0xD2511F53;
constexpr std::uint32_t kMultiplier1 = 0xCD9E8D57;
constexpr std::uint32_t kKeyIncrement0 = 0x9E3779B9;
constexpr std::uint32_t kKeyIncrement1 = 0xBB67AE85;
constexpr int kRounds = 10;

constexpr std::uint32_t Low(std::uint64_t v) { return static_cast<std::uint32_t>(v); }
constexpr std::uint32_t High(std::uint64_t v) { return static_cast<std::uint32_t>(v >> 32); }

// One round: two 32 x 32 -> 64 bit products, their halves mixed with the
// other words and the key.
PhiloxCounter Round(const PhiloxCounter& c, const PhiloxKey& key) {
  const std::uint64_t p0 = std::uint64_t{kMultiplier0} * c[0];
  const std::uint64_t p1 = std::uint64_t{kMultiplier1} * c[2];
  return {High(p1) ^ c[1] ^ key[0], Low(p1), High(p0) ^ c[3] ^ key[1], Low(p0)};
}

}  // namespace

PhiloxCounter Philox4x32(PhiloxCounter counter, PhiloxKey key) {
  for (int round = 0; round < kRounds; ++round) {
    if (round > 0) {
      key[0] += kKeyIncrement0;
      key[1] += kKeyIncrement1;
    }
    counter = Round(counter, key);
  }
  return counter;
}

ReplicateStream::ReplicateStream(std::uint64_t seed, std::uint64_t replicate)
    : m_key{Low(seed), High(seed)}, m_replicate(replicate) {}

std::uint64_t ReplicateStream::NextBits() {
  if (m_used == 4) {
    m_words = Philox4x32({Low(m_block), High(m_block), Low(m_replicate), High(m_replicate)}, m_key);
    ++m_block;
    m_used = 0;
  }
  const std::uint64_t bits = (std::uint64_t{m_words[m_used]} << 32) | m_words[m_used + 1];
  m_used += 2;
  return bits;
}

double ReplicateStream::NextUniform() {
  constexpr double kStep = 1.0 / 4503599627370496.0;  // 2^-52
  const std::uint64_t k = NextBits() >> 12;           // upper 52 bits
  return (static_cast<double>(k) + 0.5) * kStep;      // exact: an odd multiple of 2^-53
}

std::uint64_t ReplicateStream::NextIndex(std::uint64_t n) {
  assert(n >= 1);
  // 2^64 mod n, computed in 64 bits as (2^64 - n) mod n.
  const std::uint64_t rejectBelow = (0 - n) % n;
  std::uint64_t bits = NextBits();
  while (bits < rejectBelow) bits = NextBits();
  return bits % n;
}

}  // namespace quilmor::engine
