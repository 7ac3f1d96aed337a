#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Text forms of values as the library's log messages embed them (debug renderings). Every form
// is a single line: control characters inside texts are escaped.

namespace sdkcore {

// Returns 'text' between double quotes. A double quote or backslash gets a backslash before it;
// line feed, carriage return, tab and NUL become \n, \r, \t and \0; every other control character
// (C0, DEL, C1) and the line and paragraph separators U+2028 and U+2029 become \u{HEX} with
// upper-case hexadecimal digits, at least two of them ("\u{1B}", "\u{85}", "\u{2028}"). Bytes that
// are not valid UTF-8 are copied unchanged; none of them can break the line.
std::string debugQuoted(std::string_view text);
// The size of debugQuoted(text), and debugQuoted(text) appended to 'out': for building a message
// in one buffer reserved at its final size.
std::size_t debugQuotedSize(std::string_view text);
void appendDebugQuoted(std::string& out, std::string_view text);
// As debugQuotedSize() and appendDebugQuoted(), for a public text that repeats from call to call,
// such as a merchant's key: the last one quoted on each thread is remembered, so that it is quoted
// once. Never for card data, which must not outlive its use.
std::size_t debugQuotedPublicSize(std::string_view text);
void appendDebugQuotedPublic(std::string& out, std::string_view text);

// Returns Optional("...") for a present text (quoted as debugQuoted does) and nil for an absent
// one.
std::string debugOptional(std::optional<std::string_view> text);
// The size of debugOptional(text), and debugOptional(text) appended to 'out'.
std::size_t debugOptionalSize(std::optional<std::string_view> text);
void appendDebugOptional(std::string& out, std::optional<std::string_view> text);

// Returns the shortest decimal text that reads back as 'value'. Values from 1e-4 up to (but
// excluding) 1e16 in magnitude, and zero, are written in positional notation, a whole number with
// ".0" appended (12 gives "12.0", 1700000000 gives "1700000000.0"); other magnitudes use exponent
// notation ("1e+16", "1.5e-05"). NaN gives "nan", the infinities "inf" and "-inf".
std::string debugDouble(double value);

}  // namespace sdkcore
