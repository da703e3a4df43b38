#include "cli/record/GifWriter.h"

#include <algorithm>
#include <array>

namespace mtd::cli::record {

namespace {

int writeToStream(GifFileType* gif, const GifByteType* bytes, int length) {
  auto* stream = static_cast<std::FILE*>(gif->UserData);
  return static_cast<int>(std::fwrite(bytes, 1, static_cast<std::size_t>(length), stream));
}

// GIF delays are 16-bit centiseconds; a longer still frame is split.
constexpr std::int64_t MAX_DELAY = 65535;

}  // namespace

GifWriter::~GifWriter() {
  if (gif_ != nullptr) {
    int ignored = 0;
    EGifCloseFile(gif_, &ignored);
  }
}

bool GifWriter::fail(const std::string& what) {
  if (error_.empty()) error_ = what;
  return false;
}

bool GifWriter::open(int width, int height) {
  int status = 0;
  gif_ = EGifOpen(stream_, writeToStream, &status);
  if (gif_ == nullptr) return fail(std::string("GIF: ") + GifErrorString(status));
  EGifSetGifVersion(gif_, true);
  std::array<GifColorType, GifPalette::SIZE> colours{};
  for (int i = 0; i < GifPalette::SIZE; ++i) {
    const Rgb& c = palette_.colours()[i];
    colours[i] = GifColorType{c.r, c.g, c.b};
  }
  ColorMapObject* map = GifMakeMapObject(GifPalette::SIZE, colours.data());
  const int described = EGifPutScreenDesc(gif_, width, height, 8, 0, map);
  GifFreeMapObject(map);
  if (described == GIF_ERROR) return fail("GIF: cannot write the header");
  if (loop_) {
    // The application extension browsers read: loop count 0, for ever.
    static const GifByteType name[] = "NETSCAPE2.0";
    static const GifByteType count[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, name) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, count) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
      return fail("GIF: cannot write the loop extension");
    }
  }
  width_ = width;
  height_ = height;
  shown_.assign(static_cast<std::size_t>(width) * height, 0);
  current_.resize(shown_.size());
  return true;
}

std::optional<GifWriter::Change> GifWriter::changedRectangle() const {
  int left = width_;
  int right = -1;
  int top = height_;
  int bottom = -1;
  for (int y = 0; y < height_; ++y) {
    const auto* now = current_.data() + static_cast<std::size_t>(y) * width_;
    const auto* before = shown_.data() + static_cast<std::size_t>(y) * width_;
    const auto mismatch = std::mismatch(now, now + width_, before);
    if (mismatch.first == now + width_) continue;
    int last = width_ - 1;
    while (now[last] == before[last]) --last;
    left = std::min(left, static_cast<int>(mismatch.first - now));
    right = std::max(right, last);
    top = std::min(top, y);
    bottom = y;
  }
  if (right < 0) return std::nullopt;
  return Change{left, top, right - left + 1, bottom - top + 1};
}

std::int64_t GifWriter::centiseconds(std::int64_t period) const {
  return (period * 100 + fps_ / 2) / fps_;
}

bool GifWriter::writePending() {
  if (!pending_) return true;
  std::int64_t delay = centiseconds(periods_) - centiseconds(pendingStart_);
  const Change change = *pending_;
  bool first = true;
  // A still frame longer than one delay allows is written again with the rest of its time.
  while (first || delay > 0) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.DelayTime = static_cast<int>(std::min(delay, MAX_DELAY));
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    delay -= control.DelayTime;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    const Change part = first ? change : Change{0, 0, 1, 1};
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_ERROR ||
        EGifPutImageDesc(gif_, part.left, part.top, part.width, part.height, false, nullptr) ==
            GIF_ERROR) {
      return fail("GIF: cannot write a frame");
    }
    for (int y = part.top; y < part.top + part.height; ++y) {
      GifPixelType* row = shown_.data() + static_cast<std::size_t>(y) * width_ + part.left;
      if (EGifPutLine(gif_, row, part.width) == GIF_ERROR) return fail("GIF: cannot write a frame");
    }
    first = false;
  }
  pending_.reset();
  return true;
}

bool GifWriter::addFrame(const Frame& frame, std::int64_t periods) {
  if (periods <= 0) return true;
  if (gif_ == nullptr && !open(frame.width, frame.height)) return false;
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      current_[static_cast<std::size_t>(y) * width_ + x] = palette_.indexOf(frame.at(x, y));
    }
  }
  const bool firstFrame = periods_ == 0;
  const std::optional<Change> change =
      firstFrame ? std::optional<Change>(Change{0, 0, width_, height_}) : changedRectangle();
  if (change) {
    if (!writePending()) return false;
    pending_ = change;
    pendingStart_ = periods_;
    shown_.swap(current_);
  }
  periods_ += periods;
  if (std::ferror(stream_)) return fail("cannot be written");
  return true;
}

bool GifWriter::finish() {
  if (gif_ == nullptr) return fail("no frame to write");
  if (!writePending()) return false;
  int status = 0;
  const int closed = EGifCloseFile(gif_, &status);
  gif_ = nullptr;
  if (closed == GIF_ERROR) return fail(std::string("GIF: ") + GifErrorString(status));
  return true;
}

}  // namespace mtd::cli::record
