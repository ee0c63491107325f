// Random numbers for resampling: every replicate of a bootstrap draws from a
// stream of its own, fixed by the seed and the replicate's index alone, so the
// numbers do not depend on which thread runs the replicate or when.
//
// The generator is Philox4x32-10 (Salmon, Moraes, Dror, Shaw, "Parallel random
// numbers: as easy as 1, 2, 3", 2011): a keyed bijection of a 128-bit counter.
// The seed is the 64-bit key; the counter holds the replicate's index in its
// upper half and the block number within the stream in its lower half. Two
// different (seed, replicate, block) triples never meet, so streams cannot
// overlap: each one has 2^64 blocks of four 32-bit words.
#pragma once

#include <array>
#include <cstdint>

namespace quilmor::engine {

using PhiloxCounter = std::array<std::uint32_t, 4>;
using PhiloxKey = std::array<std::uint32_t, 2>;

// One Philox4x32-10 block: ten rounds over `counter`, the key bumped by the
// Weyl constants between rounds.
PhiloxCounter Philox4x32(PhiloxCounter counter, PhiloxKey key);

// The stream of replicate `replicate` under `seed`. An ordinary value: copy
// it, and each copy goes on from the same point.
class ReplicateStream {
 public:
  ReplicateStream(std::uint64_t seed, std::uint64_t replicate);

  // 64 random bits: words 0 and 1, then 2 and 3 of each block, the first word
  // of a pair in the upper half.
  std::uint64_t NextBits();

  // Uniform in the open interval (0, 1): (k + 1/2) / 2^52 with k the upper 52
  // bits of NextBits(). Never 0 nor 1 (the extremes are 2^-53 and 1 - 2^-53),
  // so an inverse X(u) of a distribution is always defined on it.
  double NextUniform();

  // Uniform integer in [0, n) without modulo bias: draws below 2^64 mod n are
  // rejected (at most n - 1 of 2^64 values), the rest taken modulo n. n >= 1.
  std::uint64_t NextIndex(std::uint64_t n);

 private:
  PhiloxKey m_key;
  std::uint64_t m_replicate;
  std::uint64_t m_block = 0;
  PhiloxCounter m_words{};
  int m_used = 4;  // words of m_words already handed out
};

}  // namespace quilmor::engine
