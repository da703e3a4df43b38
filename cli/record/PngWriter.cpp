#include "cli/record/PngWriter.h"

#include <cairo.h>

#include <cstring>

namespace mtd::cli::record {

namespace {

cairo_status_t writeToStream(void* closure, const unsigned char* data, unsigned int length) {
  auto* stream = static_cast<std::FILE*>(closure);
  return std::fwrite(data, 1, length, stream) == length ? CAIRO_STATUS_SUCCESS
                                                        : CAIRO_STATUS_WRITE_ERROR;
}

}  // namespace

bool PngWriter::addFrame(const Frame& frame, std::int64_t periods) {
  const std::int64_t first = seen_;
  seen_ += periods;
  if (written_ || wanted_ < first || wanted_ >= seen_) return true;
  cairo_surface_t* image =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, frame.width, frame.height);
  cairo_surface_flush(image);
  unsigned char* data = cairo_image_surface_get_data(image);
  const int stride = cairo_image_surface_get_stride(image);
  for (int y = 0; y < frame.height; ++y) {
    std::memcpy(data + static_cast<std::size_t>(y) * stride,
                &frame.pixels[static_cast<std::size_t>(y) * frame.stride],
                static_cast<std::size_t>(frame.width) * 4);
  }
  cairo_surface_mark_dirty(image);
  const cairo_status_t status = cairo_surface_write_to_png_stream(image, writeToStream, stream_);
  cairo_surface_destroy(image);
  if (status != CAIRO_STATUS_SUCCESS) {
    error_ = "cannot be written";
    return false;
  }
  written_ = true;
  return true;
}

bool PngWriter::finish() {
  if (written_) return true;
  error_ = "the recording has only " + std::to_string(seen_) + " frames (0 to " +
           std::to_string(seen_ - 1) + ")";
  return false;
}

}  // namespace mtd::cli::record
