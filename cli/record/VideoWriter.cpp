#include "cli/record/VideoWriter.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace mtd::cli::record {

std::optional<std::filesystem::path> findFfmpeg() {
  const char* path = std::getenv("PATH");
  if (path == nullptr) return std::nullopt;
  std::string rest = path;
  std::size_t start = 0;
  while (start <= rest.size()) {
    const std::size_t end = std::min(rest.find(':', start), rest.size());
    const std::string folder = rest.substr(start, end - start);
    const std::filesystem::path candidate =
        std::filesystem::path(folder.empty() ? "." : folder) / "ffmpeg";
    std::error_code ignored;
    if (std::filesystem::is_regular_file(candidate, ignored) &&
        access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    start = end + 1;
  }
  return std::nullopt;
}

std::vector<std::string> ffmpegArguments(const std::filesystem::path& ffmpeg, VideoFormat format,
                                         int width, int height, int fps,
                                         const std::filesystem::path& output, bool seekable) {
  std::vector<std::string> a = {ffmpeg.string(), "-hide_banner", "-loglevel", "error", "-f",
                                "rawvideo", "-pix_fmt", "bgr0", "-video_size",
                                std::to_string(width) + "x" + std::to_string(height), "-framerate",
                                std::to_string(fps), "-i", "pipe:0",
                                // The encoders' 4:2:0 sampling needs even sides.
                                "-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2", "-threads", "1", "-fflags",
                                "+bitexact", "-flags:v", "+bitexact", "-map_metadata", "-1"};
  if (format == VideoFormat::Mp4) {
    a.insert(a.end(), {"-c:v", "libx264", "-preset", "medium", "-tune", "animation", "-crf", "20",
                       "-pix_fmt", "yuv420p", "-f", "mp4"});
    if (!seekable) a.insert(a.end(), {"-movflags", "frag_keyframe+empty_moov"});
  } else {
    a.insert(a.end(), {"-c:v", "libvpx-vp9", "-crf", "32", "-b:v", "0", "-row-mt", "0", "-pix_fmt",
                       "yuv420p", "-f", "webm"});
  }
  a.insert(a.end(), {"-y", output.string()});
  return a;
}

VideoWriter::~VideoWriter() {
  if (pipe_ >= 0) ::close(pipe_);
  if (child_ > 0) {
    kill(child_, SIGTERM);
    int status = 0;
    waitpid(child_, &status, 0);
  }
}

bool VideoWriter::start(int width, int height) {
  const std::vector<std::string> arguments =
      ffmpegArguments(ffmpeg_, format_, width, height, fps_, output_, seekable_);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) {
    error_ = std::string("cannot start ffmpeg (") + std::strerror(errno) + ")";
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawn(&child_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[0]);
  if (spawned != 0) {
    ::close(ends[1]);
    child_ = -1;
    error_ = std::string("cannot start ") + ffmpeg_.string() + " (" + std::strerror(spawned) + ")";
    return false;
  }
  pipe_ = ends[1];
  row_.resize(static_cast<std::size_t>(width) * 4);
  return true;
}

bool VideoWriter::writeAll(const unsigned char* bytes, std::size_t length) {
  while (length > 0) {
    const ssize_t written = ::write(pipe_, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      error_ = "ffmpeg stopped taking frames";
      return false;
    }
    bytes += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

bool VideoWriter::addFrame(const Frame& frame, std::int64_t periods) {
  if (child_ < 0 && !start(frame.width, frame.height)) return false;
  for (std::int64_t copy = 0; copy < periods; ++copy) {
    for (int y = 0; y < frame.height; ++y) {
      // The words are 0x00RRGGBB: in memory B, G, R, 0 on every machine this runs on.
      const auto* row = &frame.pixels[static_cast<std::size_t>(y) * frame.stride];
      for (int x = 0; x < frame.width; ++x) {
        const std::uint32_t word = row[x];
        unsigned char* out = &row_[static_cast<std::size_t>(x) * 4];
        out[0] = static_cast<unsigned char>(word);
        out[1] = static_cast<unsigned char>(word >> 8);
        out[2] = static_cast<unsigned char>(word >> 16);
        out[3] = 0;
      }
      if (!writeAll(row_.data(), row_.size())) return false;
    }
  }
  return true;
}

bool VideoWriter::reap() {
  int status = 0;
  while (waitpid(child_, &status, 0) < 0) {
    if (errno != EINTR) break;
  }
  child_ = -1;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool VideoWriter::finish() {
  if (child_ < 0) {
    if (error_.empty()) error_ = "no frame to write";
    return false;
  }
  ::close(pipe_);
  pipe_ = -1;
  if (!reap()) {
    error_ = "ffmpeg could not make the video (its message is above)";
    return false;
  }
  return true;
}

}  // namespace mtd::cli::record
