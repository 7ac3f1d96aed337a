#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// A card number typed where it does not belong, in the forms a shopper may type it, and a check
// that a message or log line shows no part of it.
namespace sdkcore::testing {

// A 16-digit number that passes the Luhn check.
inline constexpr std::string_view kLeakPan = "4526018159081230";

struct PanForm {
  std::string name;
  std::string text;      // kLeakPan in this form
  std::string lastFour;  // its last four digits in this form, which masking keeps
};

// ASCII, full-width, Arabic-Indic, and ASCII with its groups separated in the ways a shopper may
// type or paste them (spaces of every kind, punctuation, line breaks, format characters).
const std::vector<PanForm>& panForms();

// True when 'text' holds 'count' digits of kLeakPan in a row as a reader reads them: digits of the
// three scripts, up to three characters that are neither letters nor digits between any two (an
// escape such as \n that a log line writes counts as one).
bool showsPanDigits(std::string_view text, std::size_t count = 7);

}  // namespace sdkcore::testing
