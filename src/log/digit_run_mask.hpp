#pragma once

#include <string>
#include <string_view>

namespace sdkcore {

// Masking of card numbers typed into the wrong field, for log messages: a shopper may type the
// card number as the holder's name, a host may pass it as the order number.
//
// A digit run is a longest sequence of decimal digits of any script (Unicode category Nd) in which
// up to three characters that are neither letters (category L) nor digits may stand between two
// digits: white space of any kind, line breaks included, punctuation, symbols, format characters
// and ill-formed UTF-8, so that the digits of a card number form one run whatever was typed or
// pasted between its groups. A run of 12 digits or more is masked as a card number is: each digit
// becomes one "*", except the first 6 from 16 digits on and always the last 4; the separators
// stay. Everything else is copied unchanged, ill-formed UTF-8 included. A card number split
// across two texts (two fields) is two runs. One pass; time and memory grow linearly with the
// length. Thread-safe.

// Returns 'text' itself, without a copy, when it holds no run to mask; else the masked text,
// written into 'storage', whose earlier content is replaced. 'storage' is reserved at its final
// size before it is written, so it leaves no copies behind; the caller wipes it after use.
std::string_view maskDigitRuns(std::string_view text, std::string& storage);

// As maskDigitRuns(), for a public text that repeats from call to call, such as the merchant's
// key: the last one on each thread found to hold no run is remembered, so that it is scanned once.
// A text with a run to mask is never remembered.
std::string_view maskDigitRunsOfRepeatedText(std::string_view text, std::string& storage);

}  // namespace sdkcore
