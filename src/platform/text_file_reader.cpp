#include "platform/text_file_reader.h"

namespace vt {

namespace {

void AppendCodePoint(Text& line, int32_t value) {
  bool fits = value >= 0x10000 && value <= 0x10FFFF;
  AppendUtf16(line, fits ? static_cast<char32_t>(value) : U'\uFFFD');
}

}  // namespace

bool TextStream::DecodeInto(Text& line) {
  int32_t b = bytes_.ReadByte();
  int32_t value = b;
  switch (encoding_) {
    case TextEncoding::Utf8:
      if (b >= 0xF0) {
        int32_t c = bytes_.ReadByte(), d = bytes_.ReadByte(), e = bytes_.ReadByte();
        AppendCodePoint(line, ((b & 0x07) << 18) + ((c & 0x3F) << 12) +
                                  ((d & 0x3F) << 6) + (e & 0x3F));
        return true;
      }
      if (b >= 0xE0) {
        int32_t c = bytes_.ReadByte(), d = bytes_.ReadByte();
        value = (b - 0xE0) * 4096 + (c - 0x80) * 64 + (d - 0x80);
      } else if (b >= 0x80) {
        int32_t c = bytes_.ReadByte();
        value = (b - 0xC0) * 64 + (c - 0x80);
      }
      break;
    case TextEncoding::Utf16BE:
      value = b * 256 + bytes_.ReadByte();
      break;
    case TextEncoding::Utf16LE:
      value = b + bytes_.ReadByte() * 256;
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
  while (!AtEnd()) {
    if (!DecodeInto(line)) break;
  }
  return line;
}

std::unique_ptr<TextStream> TextFileReader::OpenTextFile(TextView path,
                                                         bool detect,
                                                         int encoding) {
  auto stream = std::make_unique<TextStream>(
      detect ? DetectEncoding(path) : static_cast<TextEncoding>(encoding));
  if (!stream->Open(path)) return nullptr;
  return stream;
}

TextEncoding TextFileReader::DetectEncoding(TextView path) {
  ByteReader bytes;
  if (!bytes.Open(path)) return TextEncoding::Latin1;
  if (bytes.AtEnd()) return TextEncoding::Latin1;
  uint8_t b1 = bytes.ReadByte();
  if (bytes.AtEnd()) return TextEncoding::Latin1;
  uint8_t b2 = bytes.ReadByte();
  if (b1 == 0xFE && b2 == 0xFF) return TextEncoding::Utf16BE;
  if (b1 == 0xFF && b2 == 0xFE) return TextEncoding::Utf16LE;
  if (b1 == 0xEF && b2 == 0xBB && !bytes.AtEnd() && bytes.ReadByte() == 0xBF) {
    return TextEncoding::Utf8;
  }
  return TextEncoding::Latin1;
}

Text ReadTextLine(TextStream& stream) {
  bool atStart = stream.Position() == 0;
  Text line = stream.ReadLine();
  bool utf16 = stream.Encoding() == TextEncoding::Utf16BE ||
               stream.Encoding() == TextEncoding::Utf16LE;
  if (atStart && utf16 && !line.empty()) line.erase(0, 1);
  return line;
}

TextFileLines ReadTextFileLines(TextView path) {
  TextFileLines file;
  TextStream stream(TextFileReader::DetectEncoding(path));
  if (!stream.Open(path)) {
    file.outcome = stream.OutOfHandles() ? ReadOutcome::OutOfHandles : ReadOutcome::NotOpened;
    return file;
  }
  file.outcome = ReadOutcome::Read;
  while (!stream.AtEnd()) file.lines.push_back(ReadTextLine(stream));
  stream.Close();
  return file;
}

}  // namespace vt
