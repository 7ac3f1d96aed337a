#pragma once

#include <string>
#include <string_view>

namespace sdkcore {

// Masking of card data for log messages. Card numbers and security codes never reach a log sink
// in clear: a sink may be a device log or a crash reporter outside the host's control.
// Characters are extended grapheme clusters; each ill-formed UTF-8 sequence is one character
// and, where kept, comes out as U+FFFD, so the results are always valid UTF-8. Thread-safe.

// Returns 'pan' with every character replaced by "*" except, from 16 characters on, the first 6
// and the last 4, and from 8 to 15 characters the last 4 only; at least 6 characters always stay
// hidden. One pass over the text; time and memory grow linearly with its length.
std::string maskCardNumber(std::string_view pan);

// Returns one "*" per character of 'cvc' ("" for the empty code).
std::string maskSecurityCode(std::string_view cvc);

}  // namespace sdkcore
