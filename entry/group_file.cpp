#include "entry/group_file.h"

namespace quillon {

namespace {
constexpr char kCr = '\r';
constexpr char kLf = '\n';
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kLineEnds = "\r\n";
}  // namespace

GroupFileLines SplitGroupFile(std::string_view bytes, std::size_t maxLines) {
  GroupFileLines file;
  if (bytes.starts_with(kUtf8ByteOrderMark)) {
    file.utf8 = true;
    bytes.remove_prefix(kUtf8ByteOrderMark.size());
  }
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of(kLineEnds, start);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = bytes.size();
    if (file.lines.size() < maxLines) {
      file.lines.push_back(bytes.substr(start, end - start));
    } else {
      ++file.leftOut;
    }
    start = end;
    if (terminated) {
      // CR LF is one line end; a lone CR or a lone LF is one too.
      if (bytes[start++] == kCr && start < bytes.size() && bytes[start] == kLf) ++start;
    }
  }
  return file;
}

std::string JoinGroupFile(const std::vector<std::string>& entries) {
  std::size_t size = kCrLf.size();
  for (const std::string& entry : entries) size += entry.size() + kCrLf.size();
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& entry : entries) {
    bytes += entry;
    bytes += kCrLf;
  }
  bytes += kCrLf;
  return bytes;
}

}  // namespace quillon
