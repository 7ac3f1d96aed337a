#pragma once

#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "sdkcore/export.h"

// Strict reading of JSON input that may hold card data.
namespace sdkcore {

// A JSON input that is malformed or not of the expected shape. what() is one line that names the
// position or the member and never quotes the input, which may hold card data: a member is named
// only by a name that the input's format defines. Immutable: safe to share between threads.
class SDKCORE_EXPORT JsonInputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The deepest nesting of arrays and objects a request may have.
inline constexpr int kMaxJsonDepth = 64;

// The member names that an input's format defines, which messages may repeat. Any other name
// (card data, in the wrong place) is never repeated: such a member is described as "an unknown
// member of" the nearest enclosing member with a defined name, together with a position.
using DefinedNames = std::span<const std::string_view>;

// Parses 'text' as one JSON value (RFC 8259), more strictly than nlohmann's defaults: a member
// given twice in one object, nesting deeper than kMaxJsonDepth levels, invalid UTF-8 inside a
// string, comments and trailing content are all errors.
//
// Throws JsonInputError with a one-line message that names the position ("line 1, column 8, byte
// offset 7") for malformed JSON, the member (by 'names', see DefinedNames) for a duplicate or for
// invalid UTF-8 inside it, or the depth. Messages never quote the text around the error, which may
// hold card data. Thread-safe (no shared state).
SDKCORE_EXPORT nlohmann::json parseStrictJson(std::string_view text, DefinedNames names = {});

// Renders a member path such as `params.pan` for messages: one line, quoted JSON-style, with
// control characters and invalid UTF-8 escaped or replaced. Only for paths of defined names.
// Throws only std::bad_alloc; thread-safe.
SDKCORE_EXPORT std::string quotedName(std::string_view name);

}  // namespace sdkcore
