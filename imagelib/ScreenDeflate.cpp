#include "imagelib/ScreenDeflate.h"

#include "imagelib/BitWriter.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <queue>

namespace imagelib {
namespace {

constexpr std::size_t kWindow = 32768, kMinMatch = 3, kMaxMatch = 258;
constexpr int kHashBits = 16;
constexpr std::size_t kLong = 24;
constexpr int kMaxChain = 256;          // candidates tried at a position
constexpr std::size_t kBlockTokens = 16384;  // tokens coded with one set of codes

// A literal (distance 0) or a match.
struct Token {
  std::uint16_t lengthOrLiteral;
  std::uint16_t distance;
};

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                      31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                        33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                        1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                         6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// 258 has a code of its own (285), without extra bits; 284 stops at 257.
int LengthSymbol(int length) {
  return static_cast<int>(std::upper_bound(kLengthBase.begin(), kLengthBase.end(), length) - kLengthBase.begin()) - 1;
}

int DistanceSymbol(int distance) {
  return static_cast<int>(std::upper_bound(kDistanceBase.begin(), kDistanceBase.end(), distance) - kDistanceBase.begin()) - 1;
}

// ---- finding matches

class Matcher {
 public:
  Matcher(const std::uint8_t* data, std::size_t size, std::size_t stride)
      : data_(data),
        size_(size),
        stride_(stride),
        head_(std::size_t{1} << kHashBits, kNone),
        prev_(kWindow, kNone),
        longHead_(std::size_t{1} << kHashBits, kNone),
        longPrev_(kWindow, kNone) {}

  std::vector<Token> Parse();

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  struct Match {
    std::size_t length = 0, distance = 0;
  };

  // A hash of kLong bytes: text is drawn from a few patterns of a few
  // pixels, which four bytes cannot tell apart; eight pixels mostly can.
  std::uint32_t LongHash(std::size_t p) const {
    std::uint64_t h = 0;
    for (std::size_t k = 0; k < kLong; k += 8) {
      std::uint64_t v;
      std::memcpy(&v, data_ + p + k, 8);
      h = (h ^ v) * 0x9E3779B97F4A7C15ull;
    }
    return static_cast<std::uint32_t>(h >> (64 - kHashBits));
  }
  std::uint32_t Hash(std::size_t p) const {
    std::uint32_t v;
    std::memcpy(&v, data_ + p, 4);
    return (v * 2654435761u) >> (32 - kHashBits);
  }
  // Inside a run (of one byte or of one pixel) the bytes ahead are the same
  // one or three bytes on: such a place only repeats the one before it.
  bool InsideRun(std::size_t p) const {
    return std::memcmp(data_ + p, data_ + p + 1, 4) == 0 || std::memcmp(data_ + p, data_ + p + 3, 4) == 0;
  }
  void Insert(std::size_t p);
  std::size_t Length(std::size_t p, std::size_t from, std::size_t limit) const;
  void Try(std::size_t p, std::size_t from, Match& best) const;
  // Tries the places in one chain, from the one `ahead` of `p` the others
  // were `ahead` of theirs.
  void Chain(const std::vector<std::uint32_t>& head, const std::vector<std::uint32_t>& prev, std::uint32_t h,
             std::size_t p, std::size_t ahead, Match& best) const;
  Match Best(std::size_t p) const;

  const std::uint8_t* data_;
  std::size_t size_, stride_;
  std::vector<std::uint32_t> head_, prev_;
  std::vector<std::uint32_t> longHead_, longPrev_;  // the same for kLong bytes
};

void Matcher::Insert(std::size_t p) {
  if (p + 7 > size_ || InsideRun(p)) return;
  const std::uint32_t h = Hash(p);
  prev_[p % kWindow] = head_[h];
  head_[h] = static_cast<std::uint32_t>(p);
  if (p + kLong > size_) return;
  const std::uint32_t l = LongHash(p);
  longPrev_[p % kWindow] = longHead_[l];
  longHead_[l] = static_cast<std::uint32_t>(p);
}

void Matcher::Chain(const std::vector<std::uint32_t>& head, const std::vector<std::uint32_t>& prev, std::uint32_t h,
                    std::size_t p, std::size_t ahead, Match& best) const {
  std::uint32_t at = head[h];
  for (int n = 0; n < kMaxChain && at != kNone && p + ahead - at <= kWindow && best.length < kMaxMatch; ++n) {
    if (at >= ahead && at - ahead < p) Try(p, at - ahead, best);
    const std::uint32_t next = prev[at % kWindow];
    if (next == kNone || next >= at) break;  // the slot was taken by a later position
    at = next;
  }
}

std::size_t Matcher::Length(std::size_t p, std::size_t from, std::size_t limit) const {
  std::size_t n = 0;
  while (n < limit && data_[from + n] == data_[p + n]) ++n;
  return n;
}

void Matcher::Try(std::size_t p, std::size_t from, Match& best) const {
  const std::size_t limit = std::min(kMaxMatch, size_ - p);
  if (best.length >= limit || data_[from + best.length] != data_[p + best.length]) return;
  const std::size_t n = Length(p, from, limit);
  if (n > best.length) best = {n, p - from};
}

Matcher::Match Matcher::Best(std::size_t p) const {
  Match best;
  if (p + kMinMatch > size_) return best;
  // The pixel on the left, the byte on the left and the row above first:
  // runs and what repeats from row to row, found without a search.
  for (std::size_t d : {std::size_t{3}, std::size_t{1}, stride_})
    if (d && d <= p && d <= kWindow) Try(p, p - d, best);
  // Inside a run the chains hold nothing (they would be nothing but it):
  // the places where the same run ends are looked up instead, each as far
  // back as this place is before the end.
  std::size_t end = p;
  while (end < p + kMaxMatch && end + 7 <= size_ && InsideRun(end)) ++end;
  if (end + 7 <= size_ && !InsideRun(end)) {
    if (end + kLong <= size_) Chain(longHead_, longPrev_, LongHash(end), p, end - p, best);
    Chain(head_, prev_, Hash(end), p, end - p, best);
  }
  if (best.length < kMinMatch || (best.length == kMinMatch && best.distance > 4096)) return {};
  return best;
}

std::vector<Token> Matcher::Parse() {
  std::vector<Token> tokens;
  tokens.reserve(size_ / 4 + 16);
  Match pending = size_ ? Best(0) : Match{};
  for (std::size_t p = 0; p < size_;) {
    Insert(p);
    // One step lazy: a longer match at the next byte is worth a literal here.
    const Match next = pending.length && pending.length < 32 && p + 1 < size_ ? Best(p + 1) : Match{};
    if (pending.length == 0 || next.length > pending.length) {
      tokens.push_back({data_[p], 0});
      ++p;
      pending = next.length ? next : (p < size_ ? Best(p) : Match{});
      continue;
    }
    tokens.push_back({static_cast<std::uint16_t>(pending.length), static_cast<std::uint16_t>(pending.distance)});
    for (std::size_t k = 1; k < pending.length; ++k) Insert(p + k);
    p += pending.length;
    pending = p < size_ ? Best(p) : Match{};
  }
  return tokens;
}

// ---- Huffman codes

// Lengths `count` (how many codes of each length) cut to `limit` bits, the
// code staying complete: two codes of the longest length become one a bit
// shorter, and a shorter code becomes two one bit longer. The shortest go
// to the most frequent symbols.
std::vector<std::uint8_t> Limited(const std::vector<std::uint32_t>& freq, std::vector<int> count, int limit) {
  for (int i = static_cast<int>(count.size()) - 1; i > limit; --i)
    while (count[i] > 0) {
      int j = i - 2;
      while (count[j] == 0) --j;
      count[i] -= 2;
      count[i - 1] += 1;
      count[j + 1] += 2;
      count[j] -= 1;
    }
  std::vector<std::uint32_t> order;
  for (std::uint32_t s = 0; s < freq.size(); ++s)
    if (freq[s]) order.push_back(s);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return freq[a] > freq[b]; });
  std::vector<std::uint8_t> lengths(freq.size(), 0);
  std::size_t at = 0;
  for (int len = 1; len <= limit; ++len)
    for (int k = 0; k < count[len]; ++k) lengths[order[at++]] = static_cast<std::uint8_t>(len);
  return lengths;
}

// Code lengths of at most `limit` bits for the frequencies; symbols never
// used get 0. At least two symbols get a code, as every decoder accepts.
std::vector<std::uint8_t> CodeLengths(std::vector<std::uint32_t> freq, int limit) {
  const std::size_t n = freq.size();
  for (std::size_t s = 0, used = std::count_if(freq.begin(), freq.end(), [](auto f) { return f > 0; }); used < 2; ++s)
    if (!freq[s]) freq[s] = 1, ++used;
  // Huffman's tree by merging the two lightest, then depths.
  std::vector<std::uint32_t> parent(2 * n, 0);
  using Node = std::pair<std::uint64_t, std::uint32_t>;
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
  for (std::size_t s = 0; s < n; ++s)
    if (freq[s]) queue.push({freq[s], static_cast<std::uint32_t>(s)});
  std::uint32_t next = static_cast<std::uint32_t>(n);
  while (queue.size() > 1) {
    const Node a = queue.top();
    queue.pop();
    const Node b = queue.top();
    queue.pop();
    parent[a.second] = parent[b.second] = next;
    queue.push({a.first + b.first, next++});
  }
  const std::uint32_t root = next - 1;
  std::vector<int> depth(2 * n, 0);
  for (std::uint32_t k = root; k-- > n;) depth[k] = depth[parent[k]] + 1;
  std::vector<std::uint8_t> lengths(n, 0);
  std::vector<int> count(64, 0);
  for (std::size_t s = 0; s < n; ++s)
    if (freq[s]) ++count[lengths[s] = static_cast<std::uint8_t>(depth[parent[s]] + 1)];
  return count[0] || *std::max_element(lengths.begin(), lengths.end()) <= limit ? lengths : Limited(freq, count, limit);
}

// Canonical codes for the lengths, bit-reversed: the stream is written from
// the lowest bit, a code from its highest.
std::vector<std::uint16_t> Codes(const std::vector<std::uint8_t>& lengths) {
  std::array<std::uint16_t, 17> count{}, next{};
  for (std::uint8_t l : lengths) ++count[l];
  count[0] = 0;
  for (int len = 1, code = 0; len <= 16; ++len) {
    code = (code + count[len - 1]) << 1;
    next[len] = static_cast<std::uint16_t>(code);
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (!lengths[s]) continue;
    std::uint32_t code = next[lengths[s]]++, reversed = 0;
    for (int b = 0; b < lengths[s]; ++b, code >>= 1) reversed = reversed << 1 | (code & 1);
    codes[s] = static_cast<std::uint16_t>(reversed);
  }
  return codes;
}

struct Code {
  std::vector<std::uint8_t> lengths;
  std::vector<std::uint16_t> codes;
  void Put(BitWriter& out, int symbol) const { out.Put(codes[symbol], lengths[symbol]); }
};

Code MakeCode(const std::vector<std::uint32_t>& freq, int limit) {
  Code code{CodeLengths(freq, limit), {}};
  code.codes = Codes(code.lengths);
  return code;
}

// The code lengths of both codes as the format sends them: runs of zeros
// (17, 18) and repeats of the length before (16), each with its extra bits.
struct LengthRun {
  std::uint8_t symbol, extra, extraBits;
};

std::vector<LengthRun> RunLengths(const std::vector<std::uint8_t>& all) {
  std::vector<LengthRun> out;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t run = 1;
    while (i + run < all.size() && all[i + run] == all[i]) ++run;
    if (all[i] == 0 && run >= 3) {
      const std::size_t n = std::min<std::size_t>(run, 138);
      out.push_back(n <= 10 ? LengthRun{17, static_cast<std::uint8_t>(n - 3), 3}
                            : LengthRun{18, static_cast<std::uint8_t>(n - 11), 7});
      i += n;
    } else if (all[i] != 0 && run >= 4) {
      out.push_back({all[i], 0, 0});
      const std::size_t n = std::min<std::size_t>(run - 1, 6);
      out.push_back({16, static_cast<std::uint8_t>(n - 3), 2});
      i += 1 + n;
    } else {
      out.push_back({all[i], 0, 0});
      ++i;
    }
  }
  return out;
}

void PutCodes(BitWriter& out, const Code& literals, const Code& distances) {
  int nlit = 286, ndist = 30;
  while (nlit > 257 && !literals.lengths[nlit - 1]) --nlit;
  while (ndist > 1 && !distances.lengths[ndist - 1]) --ndist;
  std::vector<std::uint8_t> all(literals.lengths.begin(), literals.lengths.begin() + nlit);
  all.insert(all.end(), distances.lengths.begin(), distances.lengths.begin() + ndist);
  const std::vector<LengthRun> runs = RunLengths(all);
  std::vector<std::uint32_t> freq(19, 0);
  for (const LengthRun& r : runs) ++freq[r.symbol];
  const Code lengthCode = MakeCode(freq, 7);
  static constexpr std::array<int, 19> kOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
  int nlen = 19;
  while (nlen > 4 && !lengthCode.lengths[kOrder[nlen - 1]]) --nlen;
  out.Put(static_cast<std::uint32_t>(nlit - 257), 5);
  out.Put(static_cast<std::uint32_t>(ndist - 1), 5);
  out.Put(static_cast<std::uint32_t>(nlen - 4), 4);
  for (int k = 0; k < nlen; ++k) out.Put(lengthCode.lengths[kOrder[k]], 3);
  for (const LengthRun& r : runs) {
    lengthCode.Put(out, r.symbol);
    if (r.extraBits) out.Put(r.extra, r.extraBits);
  }
}

// One block with codes of its own.
void PutBlock(BitWriter& out, const Token* tokens, std::size_t count, bool last) {
  std::vector<std::uint32_t> litFreq(286, 0), distFreq(30, 0);
  for (std::size_t k = 0; k < count; ++k) {
    const Token& t = tokens[k];
    if (!t.distance) {
      ++litFreq[t.lengthOrLiteral];
      continue;
    }
    ++litFreq[257 + LengthSymbol(t.lengthOrLiteral)];
    ++distFreq[DistanceSymbol(t.distance)];
  }
  litFreq[256] = 1;  // the block's end
  const Code literals = MakeCode(litFreq, 15), distances = MakeCode(distFreq, 15);
  out.Put(last ? 1 : 0, 1);
  out.Put(2, 2);  // codes of its own
  PutCodes(out, literals, distances);
  for (std::size_t k = 0; k < count; ++k) {
    const Token& t = tokens[k];
    if (!t.distance) {
      literals.Put(out, t.lengthOrLiteral);
      continue;
    }
    const int ls = LengthSymbol(t.lengthOrLiteral), ds = DistanceSymbol(t.distance);
    literals.Put(out, 257 + ls);
    if (kLengthExtra[ls]) out.Put(t.lengthOrLiteral - kLengthBase[ls], kLengthExtra[ls]);
    distances.Put(out, ds);
    if (kDistanceExtra[ds]) out.Put(t.distance - kDistanceBase[ds], kDistanceExtra[ds]);
  }
  literals.Put(out, 256);
}

}  // namespace

std::vector<std::uint8_t> DeflateScreen(const std::uint8_t* data, std::size_t size, std::size_t stride) {
  const std::vector<Token> tokens = Matcher(data, size, stride).Parse();
  BitWriter bits;
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kBlockTokens, tokens.size() - at);
    PutBlock(bits, tokens.data() + at, n, at + n == tokens.size());
    at += n;
  } while (at < tokens.size());
  std::vector<std::uint8_t> out = {0x78, 0xDA};
  const std::vector<std::uint8_t> body = bits.Finish();
  out.insert(out.end(), body.begin(), body.end());
  std::uint32_t adler = static_cast<std::uint32_t>(adler32(0, nullptr, 0));
  for (std::size_t p = 0; p < size;) {
    const std::size_t n = std::min<std::size_t>(size - p, std::size_t{1} << 30);
    adler = static_cast<std::uint32_t>(adler32(adler, data + p, static_cast<uInt>(n)));
    p += n;
  }
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
  return out;
}

}  // namespace imagelib
