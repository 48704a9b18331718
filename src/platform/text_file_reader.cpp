#include "platform/text_file_reader.h"

namespace vt {

namespace {

void AppendCodePoint(Text& line, int32_t value) {
  bool fits = value >= 0x10000 && value <= 0x10FFFF;
  AppendUtf16(line, fits ? static_cast<char32_t>(value) : U'\uFFFD');
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

bool TextStream::TakeUtf8(int32_t lead, size_t length, int32_t& value) {
  for (size_t i = 0; i + 1 < length; ++i) {
    int c = PeekByte(i);
    if (c < 0 || (c & 0xC0) != 0x80) return false;
  }
  int32_t cont[3] = {};
  for (size_t i = 0; i + 1 < length; ++i) cont[i] = NextByte();
  if (length == 4) {
    value = ((lead & 0x07) << 18) + ((cont[0] & 0x3F) << 12) + ((cont[1] & 0x3F) << 6) +
            (cont[2] & 0x3F);
  } else if (length == 3) {
    value = (lead - 0xE0) * 4096 + (cont[0] - 0x80) * 64 + (cont[1] - 0x80);
  } else {
    value = (lead - 0xC0) * 64 + (cont[0] - 0x80);
  }
  return true;
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
  int32_t b = NextByte();
  int32_t value = b;
  switch (encoding_) {
    case TextEncoding::Utf8:
      if (b >= 0x80) {
        size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (!TakeUtf8(b, length, value)) {
          // The lead byte alone; its would-be continuation bytes come next.
          line += u'\uFFFD';
          return true;
        }
        if (length == 4) {
          AppendCodePoint(line, value);
          return true;
        }
      }
      break;
    case TextEncoding::Utf16BE:
      value = b * 256 + NextByte();
      break;
    case TextEncoding::Utf16LE:
      value = b + NextByte() * 256;
      break;
    default:
      break;
  }
  char16_t unit = static_cast<char16_t>(value & 0xFFFF);
  if (unit == 10 || unit == 0) return false;
  if (unit != 13) line += unit;
  return true;
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

void ReadTextFileLines(TextView path, TextFileLines& file) {
  file.text.clear();
  file.lineEnds.clear();
  TextStream stream(TextEncoding::Latin1);
  if (!stream.Open(path, true)) {
    file.outcome = stream.OutOfHandles() ? ReadOutcome::OutOfHandles : ReadOutcome::NotOpened;
    return;
  }
  file.outcome = ReadOutcome::Read;
  // A file within the first read holds no more characters than bytes, so
  // the text never grows by copying; a larger one grows from there.
  file.text.reserve(stream.BytesAhead());
  if (!stream.AtEnd()) {
    stream.ReadLineInto(file.text);
    DropByteOrderMark(file.text, stream.Encoding());
    file.lineEnds.push_back(file.text.size());
  }
  while (!stream.AtEnd()) {
    stream.ReadLineInto(file.text);
    file.lineEnds.push_back(file.text.size());
  }
  stream.Close();
}

}  // namespace vt
