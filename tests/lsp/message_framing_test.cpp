#include "lsp/message_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vt::lsp {
namespace {

struct FramingCase {
  const char* name;
  std::vector<std::string> pieces;  // fed one after the other
  std::vector<std::string> bodies;  // "!" for a malformed header
  size_t pending = 0;
};

std::vector<std::string> Read(const std::vector<std::string>& pieces, size_t& pending) {
  FrameReader reader;
  std::vector<std::string> bodies;
  for (const std::string& piece : pieces) {
    reader.Feed(piece);
    while (std::optional<Frame> frame = reader.Next()) {
      bodies.push_back(frame->malformedHeader ? "!" : frame->body);
    }
  }
  pending = reader.Pending();
  return bodies;
}

TEST(MessageFraming, ReadsMessagesHoweverTheBytesArrive) {
  const std::vector<FramingCase> cases = {
      {"one whole", {"Content-Length: 2\r\n\r\n{}"}, {"{}"}},
      {"two in one piece", {"Content-Length: 1\r\n\r\n1Content-Length: 3\r\n\r\n[2]"}, {"1", "[2]"}},
      {"split in the header", {"Content-Len", "gth: 2\r", "\n\r\n{}"}, {"{}"}},
      {"split in the body", {"Content-Length: 4\r\n\r\n{\"", "a"}, {}, 24},
      {"other fields ignored",
       {"Content-Type: application/vscode-jsonrpc; charset=utf-8\r\nContent-Length: 2\r\n\r\n{}"},
       {"{}"}},
      {"name in any case, spaces around", {"content-length:   2  \r\n\r\n{}"}, {"{}"}},
      {"no length", {"Content-Type: x\r\n\r\n", "Content-Length: 2\r\n\r\n{}"}, {"!", "{}"}},
      {"a length that is no number", {"Content-Length: 1x\r\n\r\nContent-Length: 2\r\n\r\n{}"},
       {"!", "{}"}},
      {"a line without a colon", {"garbage\r\n\r\n"}, {"!"}},
      {"an empty body", {"Content-Length: 0\r\n\r\n"}, {""}},
      {"UTF-8 counted in bytes", {"Content-Length: 4\r\n\r\n\"\xC3\xA9\"x"}, {"\"\xC3\xA9\""}, 1},
      {"header not ended yet", {"Content-Length: 2\r\n"}, {}, 19},
  };
  for (const FramingCase& c : cases) {
    size_t pending = 0;
    EXPECT_EQ(Read(c.pieces, pending), c.bodies) << c.name;
    EXPECT_EQ(pending, c.pending) << c.name;
  }
}

TEST(MessageFraming, FramesWhatItReadsBack) {
  std::string body = "{\"text\":\"caf\xC3\xA9\"}";
  std::string frame = FrameOf(body);
  EXPECT_EQ(frame, "Content-Length: 16\r\n\r\n" + body);
  size_t pending = 0;
  EXPECT_EQ(Read({frame}, pending), std::vector<std::string>{body});
}

TEST(MessageFraming, ManyMessagesOneByteAtATime) {
  std::string stream;
  for (int i = 0; i < 200; ++i) stream += FrameOf(std::to_string(i));
  std::vector<std::string> pieces;
  for (char c : stream) pieces.emplace_back(1, c);
  size_t pending = 0;
  std::vector<std::string> bodies = Read(pieces, pending);
  ASSERT_EQ(bodies.size(), 200u);
  EXPECT_EQ(bodies[199], "199");
  EXPECT_EQ(pending, 0u);
}

}  // namespace
}  // namespace vt::lsp
