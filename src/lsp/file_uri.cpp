#include "lsp/file_uri.h"

#include <cctype>

namespace vt::lsp {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unreserved(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
}

}  // namespace

std::optional<Text> PathFromUri(std::string_view uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() < kScheme.size()) return std::nullopt;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(uri[i])) != kScheme[i]) return std::nullopt;
  }
  std::string_view rest = uri.substr(kScheme.size());
  // The authority: empty or "localhost" for a file of this machine.
  size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  rest = rest.substr(slash);
  std::string bytes;
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == '%' && i + 2 < rest.size() && HexValue(rest[i + 1]) >= 0 &&
        HexValue(rest[i + 2]) >= 0) {
      bytes += static_cast<char>(HexValue(rest[i + 1]) * 16 + HexValue(rest[i + 2]));
      i += 2;
      continue;
    }
    bytes += rest[i];
  }
#if defined(_WIN32)
  // "/C:/x": the drive comes first on Windows.
  if (bytes.size() >= 3 && bytes[0] == '/' && std::isalpha(static_cast<unsigned char>(bytes[1])) &&
      bytes[2] == ':') {
    bytes.erase(0, 1);
  }
#endif
  return FromUtf8(bytes);
}

std::string UriFromPath(TextView path) {
  std::string bytes = ToUtf8(path);
  std::string uri = "file://";
  if (bytes.empty() || bytes.front() != '/') uri += '/';
  static const char kDigits[] = "0123456789ABCDEF";
  for (unsigned char c : bytes) {
    if (Unreserved(c) || c == ':') {
      uri += static_cast<char>(c);
      continue;
    }
    uri += '%';
    uri += kDigits[c >> 4];
    uri += kDigits[c & 15];
  }
  return uri;
}

}  // namespace vt::lsp
