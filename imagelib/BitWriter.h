// Bits packed from the lowest bit of each byte up, as GIF's LZW codes and
// deflate streams are. Pure C++.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace imagelib {

class BitWriter {
 public:
  // The lowest `count` bits of `bits` (at most 32).
  void Put(std::uint32_t bits, int count) {
    acc_ |= static_cast<std::uint64_t>(bits) << used_;
    used_ += count;
    while (used_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(acc_));
      acc_ >>= 8;
      used_ -= 8;
    }
  }
  // Everything put, the last byte filled with zeros.
  std::vector<std::uint8_t> Finish() {
    if (used_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_));
    acc_ = 0;
    used_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint64_t acc_ = 0;
  int used_ = 0;
};

}  // namespace imagelib
