#include "lsp/message_framing.h"

#include <cctype>
#include <charconv>

namespace vt::lsp {

namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The length a header block names, or none when it names none or a bad one.
std::optional<size_t> ContentLength(std::string_view block) {
  std::optional<size_t> length;
  while (!block.empty()) {
    size_t end = block.find("\r\n");
    std::string_view line = block.substr(0, end);
    block = end == std::string_view::npos ? std::string_view() : block.substr(end + 2);
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    if (!EqualsIgnoringCase(Trimmed(line.substr(0, colon)), "Content-Length")) continue;
    std::string_view digits = Trimmed(line.substr(colon + 1));
    size_t value = 0;
    auto [rest, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || rest != digits.data() + digits.size() || digits.empty()) {
      return std::nullopt;
    }
    length = value;
  }
  return length;
}

}  // namespace

void FrameReader::Feed(std::string_view bytes) {
  // What was read already goes once it is a good share of the buffer.
  if (start_ > 0 && start_ * 2 >= buffer_.size()) {
    buffer_.erase(0, start_);
    start_ = 0;
  }
  buffer_.append(bytes);
}

std::optional<Frame> FrameReader::Next() {
  size_t blockEnd = buffer_.find("\r\n\r\n", start_);
  if (blockEnd == std::string::npos) return std::nullopt;
  std::string_view block(buffer_.data() + start_, blockEnd - start_);
  std::optional<size_t> length = ContentLength(block);
  size_t bodyStart = blockEnd + 4;
  if (!length) {
    start_ = bodyStart;
    return Frame{std::string(), true};
  }
  if (buffer_.size() - bodyStart < *length) return std::nullopt;
  Frame frame{buffer_.substr(bodyStart, *length), false};
  start_ = bodyStart + *length;
  return frame;
}

std::string FrameOf(std::string_view body) {
  std::string frame = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
  frame += body;
  return frame;
}

}  // namespace vt::lsp
