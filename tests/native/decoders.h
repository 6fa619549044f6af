// Independent decoders for the encoder tests: libpng, libjpeg, giflib.
#pragma once

#include <cstddef>
#include <cstdio>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

struct Decoded {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;
  int lumaSampling = 0;  // JPEG: horizontal sampling factor of the luma component
  int colours = 0;       // GIF: size of the colour table
};

inline Decoded DecodePng(const std::vector<std::uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) throw std::runtime_error(image.message);
  image.format = PNG_FORMAT_RGB;
  Decoded d{static_cast<int>(image.width), static_cast<int>(image.height), std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  if (!png_image_finish_read(&image, nullptr, d.rgb.data(), 0, nullptr)) throw std::runtime_error(image.message);
  return d;
}

inline Decoded DecodeJpeg(const std::vector<std::uint8_t>& bytes) {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), bytes.size());
  jpeg_read_header(&cinfo, TRUE);
  Decoded d;
  d.lumaSampling = cinfo.comp_info[0].h_samp_factor;
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  d.width = static_cast<int>(cinfo.output_width);
  d.height = static_cast<int>(cinfo.output_height);
  d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = &d.rgb[static_cast<std::size_t>(cinfo.output_scanline) * d.width * 3];
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return d;
}

inline Decoded DecodeGif(const std::vector<std::uint8_t>& bytes) {
  struct Reader {
    const std::vector<std::uint8_t>* data;
    std::size_t at;
  } reader{&bytes, 0};
  auto read = [](GifFileType* gif, GifByteType* buf, int n) -> int {
    auto* r = static_cast<Reader*>(gif->UserData);
    int take = static_cast<int>(std::min<std::size_t>(n, r->data->size() - r->at));
    std::memcpy(buf, r->data->data() + r->at, take);
    r->at += take;
    return take;
  };
  int error = 0;
  GifFileType* gif = DGifOpen(&reader, read, &error);
  if (!gif) throw std::runtime_error("DGifOpen");
  if (DGifSlurp(gif) != GIF_OK) {
    DGifCloseFile(gif, &error);
    throw std::runtime_error("DGifSlurp");
  }
  Decoded d{gif->SWidth, gif->SHeight, {}};
  const SavedImage& frame = gif->SavedImages[0];
  const ColorMapObject* map = frame.ImageDesc.ColorMap ? frame.ImageDesc.ColorMap : gif->SColorMap;
  d.colours = map->ColorCount;
  d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(d.width) * d.height; ++i) {
    const GifColorType& c = map->Colors[frame.RasterBits[i]];
    d.rgb[i * 3] = c.Red;
    d.rgb[i * 3 + 1] = c.Green;
    d.rgb[i * 3 + 2] = c.Blue;
  }
  DGifCloseFile(gif, &error);
  return d;
}
