#include "imagelib/Jpeg.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wsign-compare"
#endif
#include <stb_image_write.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace imagelib {

std::vector<std::uint8_t> EncodeJpeg(const Image& image, int quality) {
  std::vector<std::uint8_t> out;
  if (image.width <= 0 || image.height <= 0 || quality < 1 || quality > 100) return out;
  auto append = [](void* context, void* data, int size) {
    auto* v = static_cast<std::vector<std::uint8_t>*>(context);
    auto* p = static_cast<std::uint8_t*>(data);
    v->insert(v->end(), p, p + size);
  };
  if (!stbi_write_jpg_to_func(append, &out, image.width, image.height, 3, image.rgb.data(), quality)) out.clear();
  return out;
}

}  // namespace imagelib
