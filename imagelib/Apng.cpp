#include "imagelib/Apng.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <iterator>
#include <utility>

#include "imagelib/Png.h"

namespace imagelib {
namespace {

// The palette form gives up beyond this: a long recording of many small
// changes stays well inside the memory a recording may take.
constexpr std::size_t kMaxIndexedBytes = 16u << 20;
// Frames packed again at the stop, at most: about a second's work on two
// processors. A colour
// that came late to a long or fast recording leaves it RGB instead, so that
// the stop never waits long for the smaller file.
constexpr std::size_t kMaxWidenedPixels = 80'000'000;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

// A frame's time as the fraction the format keeps: milliseconds while they
// fit 16 bits, tenths of a second beyond (a frame of over a minute).
void PutDelay(std::vector<std::uint8_t>& out, std::uint32_t ms) {
  if (ms <= 0xFFFF) {
    Put16(out, ms);
    Put16(out, 1000);
  } else {
    Put16(out, std::min<std::uint32_t>((ms + 50) / 100, 0xFFFF));
    Put16(out, 10);
  }
}

struct FrameControl {
  Region region;
  std::uint32_t durationMs;
  Dispose dispose;
  Blend blend;
};

// fcTL, then the rows: IDAT for the first frame, fdAT (with its sequence
// number) for the others.
void AppendFrame(std::vector<std::uint8_t>& out, std::uint32_t& sequence, const FrameControl& f,
                 const std::vector<std::uint8_t>& rows) {
  std::vector<std::uint8_t> fctl;
  const bool first = sequence == 0;
  Put32(fctl, sequence++);
  Put32(fctl, static_cast<std::uint32_t>(f.region.width));
  Put32(fctl, static_cast<std::uint32_t>(f.region.height));
  Put32(fctl, static_cast<std::uint32_t>(f.region.x));
  Put32(fctl, static_cast<std::uint32_t>(f.region.y));
  PutDelay(fctl, f.durationMs);
  fctl.push_back(static_cast<std::uint8_t>(f.dispose));
  fctl.push_back(static_cast<std::uint8_t>(f.blend));
  AppendChunk(out, "fcTL", fctl);
  if (first) {
    AppendChunk(out, "IDAT", rows);
    return;
  }
  std::vector<std::uint8_t> fdat;
  fdat.reserve(rows.size() + 4);
  Put32(fdat, sequence++);
  fdat.insert(fdat.end(), rows.begin(), rows.end());
  AppendChunk(out, "fdAT", fdat);
}

std::vector<std::uint8_t> Head(const Image& size, int bits, int colourType, std::uint32_t frames) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr, actl;
  Put32(ihdr, static_cast<std::uint32_t>(size.width));
  Put32(ihdr, static_cast<std::uint32_t>(size.height));
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(colourType), 0, 0, 0});
  AppendChunk(out, "IHDR", ihdr);
  Put32(actl, frames);
  Put32(actl, 0);  // plays forever
  AppendChunk(out, "acTL", actl);
  return out;
}

int BitsFor(std::size_t colours) { return colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8; }

std::size_t Area(const Region& r) { return static_cast<std::size_t>(r.width) * r.height; }

// The frame drawn over the canvas: pixels the canvas shows already become
// see-through (index 0).
std::vector<std::uint8_t> SeeThrough(std::vector<std::uint8_t> indices, const Image& image, const Image& canvas,
                                     const Region& r) {
  std::size_t at = 0;
  for (int y = r.y; y < r.y + r.height; ++y)
    for (int x = r.x; x < r.x + r.width; ++x, ++at)
      if (std::memcmp(image.Pixel(x, y), canvas.Pixel(x, y), 3) == 0) indices[at] = 0;
  return indices;
}

// Whether the see-through form packs smaller: it does where little changed,
// not where everything moved (a scrolling text), as unchanged pixels break
// the runs the text repeats. Both tried as they will be packed, on a band
// from the middle (a fast level ranks them wrongly: it misses the long
// matches of repeated text that the strong one finds).
bool SmallerOver(const std::vector<std::uint8_t>& source, const std::vector<std::uint8_t>& over, const Region& r,
                 int bits) {
  const int rows = std::min(r.height, 48);
  const std::size_t from = static_cast<std::size_t>((r.height - rows) / 2) * r.width;
  return DeflatedIndices(&over[from], r.width, rows, bits).size() <
         DeflatedIndices(&source[from], r.width, rows, bits).size();
}

}  // namespace

// ---- the palette form

bool IndexedApng::IndexOf(const std::uint8_t* rgb, std::uint8_t& index) {
  const std::uint32_t key = 0xFF000000u | std::uint32_t{rgb[0]} << 16 | std::uint32_t{rgb[1]} << 8 | rgb[2];
  std::size_t slot = (key * 2654435761u) >> 22;  // 1024 slots, at most a quarter used
  for (;; slot = (slot + 1) & 1023) {
    if (keys_[slot] == key) {
      index = indices_[slot];
      return true;
    }
    if (keys_[slot] == 0) break;
  }
  if (colours_.size() == 256) return false;
  keys_[slot] = key;
  index = indices_[slot] = static_cast<std::uint8_t>(colours_.size());
  colours_.push_back({rgb[0], rgb[1], rgb[2]});
  return true;
}

bool IndexedApng::Indices(const Image& image, const Region& r, std::vector<std::uint8_t>& out) {
  out.resize(Area(r));
  std::size_t at = 0;
  for (int y = r.y; y < r.y + r.height; ++y) {
    const std::uint8_t* pixel = image.Pixel(r.x, y);
    std::uint32_t lastKey = ~0u;
    std::uint8_t lastIndex = 0;
    for (int x = 0; x < r.width; ++x, pixel += 3, ++at) {
      const std::uint32_t key = std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[2];
      if (key != lastKey && !IndexOf(pixel, lastIndex)) return false;  // runs of one colour are the common case
      lastKey = key;
      out[at] = lastIndex;
    }
  }
  return true;
}

bool IndexedApng::Add(const Image& image, const Image* canvas, const Region& changed) {
  // Packed narrower than a byte, a rectangle starts at the left edge: ffmpeg
  // unpacks such rows as if they began there (and so shows a sliver of the
  // frame in the wrong place). What is added left of the change is the
  // canvas as it is, and costs little.
  const Region r = bits_ < 8 ? Region{0, changed.y, changed.x + changed.width, changed.height} : changed;
  std::vector<std::uint8_t> indices;
  if (!Indices(image, r, indices)) return false;
  bits_ = std::max(bits_, BitsFor(colours_.size()));
  Frame frame{r, Blend::Source, bits_, {}};
  if (canvas) {
    std::vector<std::uint8_t> over = SeeThrough(indices, image, *canvas, r);
    if (SmallerOver(indices, over, r, bits_)) {
      frame.blend = Blend::Over;
      indices.swap(over);
    }
  }
  frame.data = DeflatedIndices(indices.data(), r.width, r.height, bits_);
  kept_ += frame.data.size();
  if (kept_ > kMaxIndexedBytes) return false;
  frames_.push_back(std::move(frame));
  return true;
}

void IndexedApng::Complete(std::uint32_t durationMs, Dispose dispose) {
  frames_.back().durationMs = durationMs;
  frames_.back().dispose = dispose;
}

void IndexedApng::Widen(Frame& f) const {
  const Region& r = f.region;
  const std::vector<std::uint8_t> indices = InflatedIndices(f.data, r.width, r.height, f.bits);
  f.data = DeflatedIndices(indices.data(), r.width, r.height, bits_);
  f.bits = bits_;
}

void IndexedApng::WidenAll() {
  // Two halves at once: a colour that came late leaves every frame before
  // it to be packed again while the stop waits.
  auto widen = [this](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k)
      if (frames_[k].bits != bits_) Widen(frames_[k]);
  };
  const std::size_t half = frames_.size() / 2;
  std::exception_ptr failures[2];
  auto guarded = [&](int k, std::size_t from, std::size_t to) {
    try {
      widen(from, to);
    } catch (...) {
      failures[k] = std::current_exception();
    }
  };
  std::thread other;
  try {
    other = std::thread(guarded, 1, half, frames_.size());
  } catch (const std::system_error&) {
    guarded(1, half, frames_.size());  // no thread to be had: this half is done here
  }
  guarded(0, 0, half);
  if (other.joinable()) other.join();
  for (const std::exception_ptr& failure : failures)
    if (failure) std::rethrow_exception(failure);
}

bool IndexedApng::Close() {
  std::size_t narrower = 0;
  for (const Frame& f : frames_)
    if (f.bits != bits_) narrower += Area(f.region);
  if (narrower > kMaxWidenedPixels) return false;
  WidenAll();
  body_.clear();
  std::uint32_t sequence = 0;
  for (const Frame& f : frames_) AppendFrame(body_, sequence, {f.region, f.durationMs, f.dispose, f.blend}, f.data);
  return true;
}

void IndexedApng::AppendPalette(std::vector<std::uint8_t>& out) const {
  std::vector<std::uint8_t> plte;
  for (const auto& c : colours_) plte.insert(plte.end(), c.begin(), c.end());
  AppendChunk(out, "PLTE", plte);
  AppendChunk(out, "tRNS", {0});  // index 0 see-through, all others opaque
}

// ---- the writer

ApngWriter::ApngWriter() = default;
ApngWriter::~ApngWriter() = default;

void ApngWriter::Start(const Image& image, std::uint32_t durationMs) {
  started_ = true;
  region_ = {0, 0, image.width, image.height};
  data_ = DeflatedRgbFrame(image);
  durationMs_ = durationMs;
  last_ = image;
  indexed_ = std::make_unique<IndexedApng>();
  if (!indexed_->Add(image, nullptr, region_)) indexed_.reset();
}

bool ApngWriter::Add(const Image& image, std::uint32_t durationMs) {
  if (image.width <= 0 || image.height <= 0 || closed_) return false;
  if (!started_) {
    Start(image, durationMs);
    return true;
  }
  if (image.width != last_.width || image.height != last_.height) return false;
  Region region = ChangedRegion(last_, image);
  if (region.Empty()) {
    durationMs_ += durationMs;  // the same picture, shown longer
    return true;
  }
  // The frame waiting may give the canvas back as it was before it, when the
  // new one differs less from that: a menu or a tooltip that closes again.
  // Not the first frame: nothing was before it.
  bool restore = false;
  if (frames_ > 0) {
    const Region overCanvas = ChangedRegion(canvas_, image);
    restore = Area(overCanvas) < Area(region);
    if (restore) region = overCanvas.Empty() ? Region{0, 0, 1, 1} : overCanvas;
  }
  Flush(restore ? Dispose::Previous : Dispose::None);
  if (!restore) canvas_ = std::move(last_);
  region_ = region;
  data_ = DeflatedRgbFrame(Cut(image, region));
  durationMs_ = durationMs;
  last_ = image;
  if (indexed_ && !indexed_->Add(image, &canvas_, region)) indexed_.reset();
  return true;
}

void ApngWriter::Flush(Dispose dispose) {
  const std::size_t before = body_.size();
  AppendFrame(body_, sequence_, {region_, durationMs_, dispose, Blend::Source}, data_);
  rgbSize_ += body_.size() - before;
  if (indexed_) indexed_->Complete(durationMs_, dispose);
  ++frames_;
  data_.clear();
}

bool ApngWriter::Close() {
  if (!started_) return false;
  if (closed_) return true;  // a second call changes nothing
  closed_ = true;
  Flush(Dispose::None);
  useIndexed_ = indexed_ && indexed_->Close() && indexed_->Size() < rgbSize_;
  return true;
}

std::vector<std::uint8_t> ApngWriter::Head() const {
  if (!useIndexed_) return imagelib::Head(last_, 8, 2, frames_);  // 8-bit truecolour
  std::vector<std::uint8_t> out = imagelib::Head(last_, indexed_->Bits(), 3, frames_);
  indexed_->AppendPalette(out);
  return out;
}

std::vector<std::uint8_t> ApngWriter::Tail() const {
  std::vector<std::uint8_t> out;
  AppendChunk(out, "IEND", {});
  return out;
}

const std::vector<std::uint8_t>* ApngWriter::KeptBody() const { return useIndexed_ ? &indexed_->Body() : nullptr; }

std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames) {
  ApngWriter writer;
  for (const TimedFrame& f : frames)
    if (!writer.Add(f.image, f.durationMs)) return {};
  return writer.Finish();
}

}  // namespace imagelib
