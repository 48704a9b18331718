#include "platform/text_file_reader.h"

#include <algorithm>
#include <cstring>

namespace vt {

namespace {

void AppendCodePoint(Text& line, int32_t value) {
  bool fits = value >= 0x10000 && value <= 0x10FFFF;
  AppendUtf16(line, fits ? static_cast<char32_t>(value) : U'\uFFFD');
}

// Whether the next character of `bytes` is a line feed.
template <typename Bytes>
bool FeedFollows(Bytes& bytes, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf16BE:
      return bytes.PeekByte(0) == 0 && bytes.PeekByte(1) == 10;
    case TextEncoding::Utf16LE:
      return bytes.PeekByte(0) == 10 && bytes.PeekByte(1) == 0;
    default:
      return bytes.PeekByte(0) == 10;
  }
}

// Appends one character of `bytes` in `encoding` to `line` (one or two
// units); false when the character ends the line. `bytes` gives NextByte()
// (0 at the end), PeekByte(offset) (-1 past the end) and Take(count). A
// UTF-8 lead byte is checked against all its continuation bytes before any
// is taken, since a bad one leaves them to be decoded afresh. The line
// reader and the whole-file decoder share it, so that they cannot differ.
template <typename Bytes>
bool DecodeCharacter(Bytes& bytes, TextEncoding encoding, Text& line) {
  int32_t b = bytes.NextByte();
  int32_t value = b;
  switch (encoding) {
    case TextEncoding::Utf8:
      if (b >= 0x80) {
        size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        int32_t cont[3] = {};
        for (size_t i = 0; i + 1 < length; ++i) {
          cont[i] = bytes.PeekByte(i);
          if (cont[i] < 0 || (cont[i] & 0xC0) != 0x80) {
            // The lead byte alone; its would-be continuation bytes come next.
            line += u'\uFFFD';
            return true;
          }
        }
        bytes.Take(length - 1);
        if (length == 4) {
          value = ((b & 0x07) << 18) + ((cont[0] & 0x3F) << 12) + ((cont[1] & 0x3F) << 6) +
                  (cont[2] & 0x3F);
          AppendCodePoint(line, value);
          return true;
        }
        value = length == 3 ? (b - 0xE0) * 4096 + (cont[0] - 0x80) * 64 + (cont[1] - 0x80)
                            : (b - 0xC0) * 64 + (cont[0] - 0x80);
      }
      break;
    case TextEncoding::Utf16BE:
      value = b * 256 + bytes.NextByte();
      break;
    case TextEncoding::Utf16LE:
      value = b + bytes.NextByte() * 256;
      break;
    default:
      break;
  }
  char16_t unit = static_cast<char16_t>(value & 0xFFFF);
  if (unit == 10 || unit == 0) return false;
  // A carriage return belongs to the CRLF ending after it; alone, it ends
  // the line, as old Mac files end theirs.
  if (unit == 13) return FeedFollows(bytes, encoding);
  line += unit;
  return true;
}

}  // namespace

uint8_t TextStream::NextByte() {
  if (aheadCount_ == 0) return bytes_.ReadByte();
  uint8_t b = ahead_[0];
  --aheadCount_;
  for (size_t i = 0; i < aheadCount_; ++i) ahead_[i] = ahead_[i + 1];
  return b;
}

int TextStream::PeekByte(size_t offset) {
  while (aheadCount_ <= offset) {
    if (aheadCount_ == sizeof(ahead_) || bytes_.AtEnd()) return -1;
    ahead_[aheadCount_++] = bytes_.ReadByte();
  }
  return ahead_[offset];
}

bool TextStream::Open(TextView path, bool detect) {
  if (!bytes_.Open(path)) return false;
  // The first read fills the buffer, so the mark is in it whole if there is one.
  if (detect) encoding_ = EncodingOfMark(bytes_.Buffered());
  return true;
}

bool TextStream::TakePlainRun(Text& line, size_t lineStart) {
  bool utf8 = encoding_ == TextEncoding::Utf8;
  if (aheadCount_ > 0 || !(utf8 || encoding_ == TextEncoding::Latin1)) return false;
  auto plain = [utf8](unsigned char b) {
    if (b > 13) return !utf8 || b < 0x80;
    return b != 10 && b != 13 && b != 0;
  };
  std::string_view buffered = bytes_.Buffered();
  buffered = buffered.substr(0, kLongestLine - (line.size() - lineStart));
  size_t count = 0;
  while (count < buffered.size() && plain(buffered[count])) ++count;
  if (count == 0) return false;
  size_t start = line.size();
  line.resize(start + count);
  for (size_t i = 0; i < count; ++i) line[start + i] = static_cast<unsigned char>(buffered[i]);
  bytes_.Skip(count);
  return true;
}

bool TextStream::DecodeInto(Text& line) {
  struct Source {
    TextStream& stream;
    int32_t NextByte() { return stream.NextByte(); }
    int PeekByte(size_t offset) { return stream.PeekByte(offset); }
    void Take(size_t count) {
      while (count-- > 0) stream.NextByte();
    }
  } source{*this};
  return DecodeCharacter(source, encoding_, line);
}

Text TextStream::ReadLine() {
  Text line;
  ReadLineInto(line);
  return line;
}

void TextStream::ReadLineInto(Text& text) {
  size_t start = text.size();
  while (text.size() - start < kLongestLine && !AtEnd()) {
    if (TakePlainRun(text, start)) continue;
    if (!DecodeInto(text)) break;
  }
}

std::unique_ptr<TextStream> TextFileReader::OpenTextFile(TextView path,
                                                         bool detect,
                                                         int encoding) {
  auto stream = std::make_unique<TextStream>(
      detect ? TextEncoding::Latin1 : static_cast<TextEncoding>(encoding));
  if (!stream->Open(path, detect)) return nullptr;
  return stream;
}

TextEncoding TextFileReader::DetectEncoding(TextView path) {
  ByteReader bytes;
  if (!bytes.Open(path)) return TextEncoding::Latin1;
  return EncodingOfMark(bytes.Buffered());
}

TextEncoding EncodingOfMark(std::string_view bytes, size_t* markLength) {
  auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
  size_t length = 0;
  TextEncoding encoding = TextEncoding::Latin1;
  if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF) {
    length = 2;
    encoding = TextEncoding::Utf16BE;
  } else if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE) {
    length = 2;
    encoding = TextEncoding::Utf16LE;
  } else if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF) {
    length = 3;
    encoding = TextEncoding::Utf8;
  }
  if (markLength) *markLength = length;
  return encoding;
}

namespace {

// Drops the byte-order mark that begins `line`, the first line of a file.
void DropByteOrderMark(Text& line, TextEncoding encoding) {
  bool utf16 = encoding == TextEncoding::Utf16BE || encoding == TextEncoding::Utf16LE;
  if (utf16 && !line.empty()) line.erase(0, 1);
  // A UTF-8 mark would otherwise hide the first line's keyword.
  bool utf8Mark = encoding == TextEncoding::Utf8 && !line.empty() && line[0] == u'\uFEFF';
  if (utf8Mark) line.erase(0, 1);
}

}  // namespace

Text ReadTextLine(TextStream& stream) {
  bool atStart = stream.Position() == 0;
  Text line = stream.ReadLine();
  if (atStart) DropByteOrderMark(line, stream.Encoding());
  return line;
}

TextFileLines ReadTextFileLines(TextView path) {
  TextFileLines file;
  ReadTextFileLines(path, file);
  return file;
}

namespace {

// Decodes a whole file held in memory, one line at a time, with the line
// reader's rules: a line ends at a line feed or character 0, carriage
// returns are dropped, and a line stops at kLongestLine units. Lines of
// plain bytes, as nearly all of a source's are, are found with memchr and
// widened in one loop.
class BufferDecoder {
 public:
  BufferDecoder(std::string_view bytes, TextEncoding encoding)
      : bytes_(bytes), encoding_(encoding) {}

  bool AtEnd() const { return at_ >= bytes_.size(); }
  void ReadLineInto(Text& text);

  // What DecodeCharacter reads with.
  int32_t NextByte() { return AtEnd() ? 0 : static_cast<unsigned char>(bytes_[at_++]); }
  int PeekByte(size_t offset) const {
    return at_ + offset < bytes_.size() ? static_cast<unsigned char>(bytes_[at_ + offset]) : -1;
  }
  void Take(size_t count) { at_ += count; }

 private:
  static constexpr size_t kLongest = TextStream::kLongestLine;

  bool Bytewise() const {
    return encoding_ == TextEncoding::Latin1 || encoding_ == TextEncoding::Utf8;
  }
  // The whole line in one step when it is all plain bytes and fits.
  bool TakePlainLine(Text& text);

  std::string_view bytes_;
  TextEncoding encoding_;
  size_t at_ = 0;
};

bool BufferDecoder::TakePlainLine(Text& text) {
  if (!Bytewise()) return false;
  const char* start = bytes_.data() + at_;
  size_t left = bytes_.size() - at_;
  const void* feed = std::memchr(start, '\n', left);
  size_t length = feed ? static_cast<size_t>(static_cast<const char*>(feed) - start) : left;
  // A line of kLongest units or more comes in pieces, the feed alone last.
  if (length >= kLongest) return false;
  // The carriage return of a CRLF ending is dropped like any other.
  size_t kept = length > 0 && start[length - 1] == '\r' ? length - 1 : length;
  // Widened and tested in one loop without an early exit or a branch, so
  // that it runs many bytes a step; a line that holds a byte that is not
  // plain is taken back and decoded one character at a time. In UTF-8 a
  // byte with its high bit set starts or continues a character.
  const unsigned high = encoding_ == TextEncoding::Utf8 ? 0x80 : 0;
  unsigned special = 0;
  size_t used = text.size();
  text.resize(used + kept);
  char16_t* out = text.data() + used;
  for (size_t i = 0; i < kept; ++i) {
    unsigned b = static_cast<unsigned char>(start[i]);
    special |= static_cast<unsigned>(b == 13) | static_cast<unsigned>(b == 0) | (b & high);
    out[i] = static_cast<char16_t>(b);
  }
  if (special) {
    text.resize(used);
    return false;
  }
  at_ += feed ? length + 1 : length;
  return true;
}

void BufferDecoder::ReadLineInto(Text& text) {
  if (TakePlainLine(text)) return;
  size_t start = text.size();
  while (text.size() - start < kLongest && !AtEnd()) {
    if (!DecodeCharacter(*this, encoding_, text)) break;
  }
}

}  // namespace

void DecodeTextLines(std::string_view bytes, TextEncoding encoding, TextFileLines& file) {
  file.text.clear();
  file.lineEnds.clear();
  // A text never holds more units than the file has bytes, nor more lines
  // than line feeds and one.
  file.text.reserve(bytes.size());
  file.lineEnds.reserve(std::count(bytes.begin(), bytes.end(), '\n') + 1);
  BufferDecoder decoder(bytes, encoding);
  if (!decoder.AtEnd()) {
    decoder.ReadLineInto(file.text);
    DropByteOrderMark(file.text, encoding);
    file.lineEnds.push_back(file.text.size());
  }
  while (!decoder.AtEnd()) {
    decoder.ReadLineInto(file.text);
    file.lineEnds.push_back(file.text.size());
  }
  file.decoded = true;
}

void ReadTextFileLines(TextView path, TextFileLines& file) {
  ReadTextFileLines(DiskFileTree(), path, file);
}

void ReadTextFileLines(const FileTree& files, TextView path, TextFileLines& file) {
  ReadTextFileBytes(files, path, file);
  if (file.outcome == ReadOutcome::Read) DecodeLinesOf(file);
}

void ReadTextFileBytes(const FileTree& files, TextView path, TextFileLines& file) {
  file.text.clear();
  file.lineEnds.clear();
  file.decoded = false;
  file.outcome = files.ReadBytes(path, file.bytes);
}

void DecodeLinesOf(TextFileLines& file) {
  if (!file.decoded) DecodeTextLines(file.bytes, EncodingOfMark(file.bytes), file);
}

}  // namespace vt
