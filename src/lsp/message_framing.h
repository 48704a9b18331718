// The base protocol of the language server: each message is a header block
// ("Content-Length: N", other fields ignored, each line ended by CR LF,
// then an empty line) and N bytes of JSON. Pure: bytes in, messages out.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vt::lsp {

struct Frame {
  std::string body;
  // The header block had no usable Content-Length: the body is empty and
  // the block is skipped, so that the next message can still be read.
  bool malformedHeader = false;
};

class FrameReader {
 public:
  // Adds bytes as they arrive, in pieces of any size.
  void Feed(std::string_view bytes);
  // The next whole message, or none until more bytes arrive.
  std::optional<Frame> Next();
  // Bytes held that make no whole message yet.
  size_t Pending() const { return buffer_.size() - start_; }

 private:
  std::string buffer_;
  size_t start_ = 0;
};

// `body` with its header block, ready to write.
std::string FrameOf(std::string_view body);

}  // namespace vt::lsp
