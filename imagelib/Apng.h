// APNG files for a recording of the frame, lossless, that keep the real
// timing. Pure C++.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "imagelib/Animation.h"

namespace imagelib {

// How a frame leaves the canvas for the next one, and how it is drawn.
enum class Dispose : std::uint8_t { None = 0, Previous = 2 };
enum class Blend : std::uint8_t { Source = 0, Over = 1 };

// The palette form of a recording's APNG, made next to the RGB one while the
// recording's colours fit: index 0 is see-through (a frame drawn over the
// canvas leaves unchanged pixels as they are), so 255 colours at most. Each
// frame is packed at as few bits a pixel as the palette needs so far;
// frames packed narrower than the last are packed again at the end.
class IndexedApng {
 public:
  // `region` of `image`, drawn over `canvas` (null for the first frame,
  // drawn whole). False, and nothing more to be had of this form, when the
  // colours no longer fit or the form outgrew the memory it may keep.
  bool Add(const Image& image, const Image* canvas, const Region& region);
  // The last frame added shows `durationMs` and leaves the canvas so.
  void Complete(std::uint32_t durationMs, Dispose dispose);
  // After the last Complete: the frames' chunks, and their size. False
  // when too many frames would have to be packed again for the stop to be
  // quick: the form is then not to be used.
  bool Close();
  std::size_t Size() const { return body_.size(); }
  const std::vector<std::uint8_t>& Body() const { return body_; }
  // IHDR's bit depth, and the PLTE and tRNS chunks, for the head.
  int Bits() const { return bits_; }
  void AppendPalette(std::vector<std::uint8_t>& out) const;

 private:
  struct Frame {
    Region region;
    Blend blend;
    int bits;
    std::vector<std::uint8_t> data;
    std::uint32_t durationMs = 0;
    Dispose dispose = Dispose::None;
  };
  bool IndexOf(const std::uint8_t* rgb, std::uint8_t& index);
  // The indices of `r` of `image`; false when the colours no longer fit.
  bool Indices(const Image& image, const Region& r, std::vector<std::uint8_t>& out);
  void Widen(Frame& frame) const;
  void WidenAll();

  std::vector<std::array<std::uint8_t, 3>> colours_{{0, 0, 0}};  // index 0: see-through
  // The colours' indices, hashed: 0xFF000000 | colour in keys_, 0 for none.
  std::vector<std::uint32_t> keys_ = std::vector<std::uint32_t>(1024, 0);
  std::vector<std::uint8_t> indices_ = std::vector<std::uint8_t>(1024, 0);
  int bits_ = 1;
  std::size_t kept_ = 0;
  std::vector<Frame> frames_;
  std::vector<std::uint8_t> body_;
};

// An APNG that decodes to exactly the frames added: the first whole, each
// later one only the rectangle in which it differs from what shows beneath.
// While the colours fit a palette it is also made in the palette form,
// kept in memory, which takes the place of the RGB frames when smaller.
class ApngWriter : public AnimationWriter {
 public:
  ApngWriter();
  ~ApngWriter() override;
  bool Add(const Image& image, std::uint32_t durationMs) override;
  bool Close() override;
  std::vector<std::uint8_t> Head() const override;
  std::vector<std::uint8_t> Tail() const override;
  const std::vector<std::uint8_t>* KeptBody() const override;

 private:
  void Start(const Image& image, std::uint32_t durationMs);
  void Flush(Dispose dispose);

  Image last_;    // the frame not written yet
  Image canvas_;  // what it is drawn over
  bool started_ = false, closed_ = false;
  Region region_;                       // the last frame's rectangle, not written yet
  std::vector<std::uint8_t> data_;      // its rows, compressed
  std::uint32_t durationMs_ = 0;        // and its time so far
  std::uint32_t frames_ = 0, sequence_ = 0;
  std::size_t rgbSize_ = 0;             // every RGB frame's chunks, taken out or not
  std::unique_ptr<IndexedApng> indexed_;  // none: the colours did not fit
  bool useIndexed_ = false;
};

// All of `frames` at once; empty for no frames or frames of different sizes.
std::vector<std::uint8_t> EncodeApng(const std::vector<TimedFrame>& frames);

}  // namespace imagelib
