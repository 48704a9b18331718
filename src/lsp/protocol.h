// The pieces of JSON-RPC and of the protocol's types that every handler
// speaks: responses, errors, notifications, positions and ranges.
#pragma once

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "lsp/document_text.h"

namespace vt::lsp {

using Json = nlohmann::json;

// JSON-RPC's codes, and the protocol's own for a request before initialize.
enum ErrorCode : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
};

enum class Severity : int { Error = 1, Warning = 2, Information = 3, Hint = 4 };
inline constexpr int kUnnecessaryTag = 1;
enum class MessageType : int { Error = 1, Warning = 2, Info = 3, Log = 4 };

inline Json Response(const Json& id, Json result) {
  return Json{{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

inline Json ErrorResponse(const Json& id, ErrorCode code, const std::string& message) {
  return Json{{"jsonrpc", "2.0"},
              {"id", id},
              {"error", Json{{"code", static_cast<int>(code)}, {"message", message}}}};
}

inline Json Notification(const std::string& method, Json params) {
  return Json{{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

inline Json PositionJson(TextPosition position) {
  return Json{{"line", position.line}, {"character", position.character}};
}

inline Json RangeJson(TextRange range) {
  return Json{{"start", PositionJson(range.start)}, {"end", PositionJson(range.end)}};
}

// Throws nlohmann's exceptions on a malformed position: the handler answers
// those with an invalid-params error.
inline TextPosition PositionFrom(const Json& json) {
  return {json.at("line").get<size_t>(), json.at("character").get<size_t>()};
}

inline TextRange RangeFrom(const Json& json) {
  return {PositionFrom(json.at("start")), PositionFrom(json.at("end"))};
}

// The JSON text of a message, with any bad UTF-8 of a file's name replaced
// rather than thrown about.
inline std::string Serialised(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace vt::lsp
