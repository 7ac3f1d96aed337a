// Built with an empty ICU data package in place of ICU's data, as a program linked without it.
// Text outside ASCII needs the character break rules: the library says the data is missing, and
// never answers as if the text were different. ASCII text needs no ICU data.
#include <string>

#include <gtest/gtest.h>

#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/sdkcore.h"
#include "sdkcore/validation_result.hpp"
#include "support/log_capture.hpp"
#include "text/unicode_text.hpp"

namespace sdkcore {
namespace {

struct ValidationCase {
  const char* validator;
  const char* text;
  int status;        // of sdkcore_validate
  const char* code;  // of a result; nullptr for a valid one or none
};

constexpr ValidationCase kCases[] = {
    {"cardholder", "JOSE", SDKCORE_OK, nullptr},
    {"cardholder", "JOSE 1", SDKCORE_OK, CODE_INVALID_FORMAT},
    {"cardholder", "JOS\xC3\x89", SDKCORE_ICU_DATA_MISSING, nullptr},
    {"card-number", "4111111111111111", SDKCORE_OK, nullptr},
    // Refused by its pattern before any rule counts characters, as with the data.
    {"card-number", "4111111111111111\xD9\xA1", SDKCORE_OK, CODE_INVALID_FORMAT},
    {"cvc", "12\xC3\xA9", SDKCORE_ICU_DATA_MISSING, nullptr},
    {"city", "Z\xC3\xBCrich", SDKCORE_OK, nullptr},  // needs no character count
};

TEST(MissingIcuData, ValidatorsSayTheDataIsMissingForTextOutsideAscii) {
  for (const ValidationCase& row : kCases) {
    sdkcore_validation_result* result = nullptr;
    const std::string text = row.text;
    ASSERT_EQ(sdkcore_validate(row.validator, text.data(), text.size(), &result), row.status)
        << row.validator << " " << row.text;
    if (result == nullptr) continue;
    const char* code = nullptr;
    const char* message = nullptr;
    ASSERT_EQ(sdkcore_validation_result_error(result, &code, nullptr, &message, nullptr),
              SDKCORE_OK);
    EXPECT_EQ(code == nullptr ? "" : std::string(code), row.code == nullptr ? "" : row.code)
        << row.validator << " " << row.text;
    sdkcore_validation_result_free(result);
  }
}

TEST(MissingIcuData, TheCppValidatorAnswersTheDocumentedCodeAndLogsIt) {
  const testing::LogCapture capture;
  const ValidationResult result = CardHolderValidator().validate("JOS\xC3\x89");
  EXPECT_EQ(result.errorCode(), CODE_ICU_DATA_MISSING);
  EXPECT_NE(result.errorMessage().value_or("").find("ICU data missing"), std::string::npos);
  ASSERT_FALSE(capture.messages().empty());
  EXPECT_NE(capture.messages().front().find("character break rules"), std::string::npos);
}

TEST(MissingIcuData, CharacterCountThrowsWhereItNeedsTheData) {
  EXPECT_EQ(characterCount("JOSE"), 4);
  EXPECT_THROW(characterCount("JOS\xC3\x89"), UnicodeDataMissing);
}

}  // namespace
}  // namespace sdkcore
