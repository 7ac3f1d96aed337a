// detectCardBrands, isValidCardNumber, isPotentiallyValidCardNumber and formatCardNumber.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdkcore/card_brand.hpp"
#include "sdkcore/card_number_validator.hpp"

namespace sdkcore {
namespace {

std::vector<std::string> typesOf(std::string_view text) {
  std::vector<std::string> types;
  for (const CardBrand& brand : detectCardBrands(text)) types.emplace_back(brand.type);
  return types;
}

// 'body' followed by zeros up to 'length' digits, the last one the Luhn check digit.
std::string luhnNumber(const std::string& body, std::size_t length) {
  std::string number = body + std::string(length - 1 - body.size(), '0');
  int sum = 0;
  for (std::size_t i = 0; i < number.size(); ++i) {
    const int digit = number[number.size() - 1 - i] - '0';
    sum += i % 2 == 0 ? (digit * 2 > 9 ? digit * 2 - 9 : digit * 2) : digit;
  }
  return number + static_cast<char>('0' + (10 - sum % 10) % 10);
}

TEST(DetectCardBrands, CandidatesInTableOrder) {
  struct Case {
    std::string text;
    std::vector<std::string> types;
  };
  const std::vector<Case> cases = {
      // Overlaps: a longer complete prefix wins only when nothing is left open.
      {"6011", {"discover"}},
      {"6", {"discover", "troy", "unionpay", "maestro", "elo", "hiper", "hipercard"}},
      {"401178", {"elo"}},
      {"4011", {"visa", "elo"}},
      {"2", {"mastercard", "jcb", "mir"}},
      {"22", {"mastercard", "mir"}},
      {"2200", {"mir"}},
      {"2205", {}},
      {"622126", {"unionpay"}},
      {"5061", {"verve", "maestro"}},
      {"506099", {"verve"}},  // as long as Maestro's 504176-506698: the first brand wins the tie
      // Range edges, and the numbers just outside them.
      {"2221", {"mastercard"}},
      {"2229", {"mastercard"}},
      {"2721", {}},
      {"504174", {"maestro"}},
      {"504175", {"elo"}},
      {"506698", {"maestro"}},
      {"506699", {"elo"}},
      {"506779", {"maestro"}},
      {"627780", {"elo"}},
      {"65083704", {"troy"}},
      {"65083705", {"discover"}},
      {"6373742", {"maestro", "hiper"}},
      // Separators, other characters, the empty text.
      {"4111 1111-1111", {"visa"}},
      {" - ",
       {"visa", "mastercard", "american-express", "diners-club", "discover", "troy", "jcb",
        "unionpay", "naranja", "verve", "maestro", "elo", "mir", "hiper", "hipercard"}},
      {"4111a", {}},
      {"\xef\xbc\x94", {}},  // a full-width 4
  };
  for (const Case& c : cases) EXPECT_EQ(typesOf(c.text), c.types) << c.text;
}

TEST(CardNumberValidity, EveryBrandAtEveryLength) {
  struct Case {
    std::string type;
    std::string body;  // a prefix only this brand completes
    std::vector<std::size_t> lengths;
  };
  const std::vector<Case> cases = {
      {"visa", "4111", {16, 18, 19}},
      {"mastercard", "2720", {16}},
      {"american-express", "34", {15}},
      {"diners-club", "3056", {14, 16, 19}},
      {"discover", "6011", {16, 19}},
      {"troy", "9792", {16}},
      {"jcb", "3589", {16, 17, 18, 19}},
      {"unionpay", "8171", {14, 15, 16, 17, 18, 19}},
      {"naranja", "589562", {16}},
      {"verve", "507941", {16, 18, 19}},
      {"maestro", "6759", {12, 13, 14, 15, 16, 17, 18, 19}},
      {"elo", "636368", {16}},
      {"mir", "2200", {16, 17, 18, 19}},
      {"hiper", "637095", {16}},
      {"hipercard", "606282", {16}},
  };
  for (const Case& c : cases) {
    for (const std::size_t length : c.lengths) {
      const std::string number = luhnNumber(c.body, length);
      SCOPED_TRACE(number);
      EXPECT_EQ(typesOf(number), std::vector<std::string>{c.type});
      EXPECT_TRUE(isValidCardNumber(number));
      std::string wrongCheck = number;
      wrongCheck.back() = wrongCheck.back() == '9' ? '0' : static_cast<char>(wrongCheck.back() + 1);
      EXPECT_EQ(isValidCardNumber(wrongCheck), c.type == "unionpay");  // the one without Luhn
      // As the shopper types it, the field never turns wrong.
      for (std::size_t typed = 0; typed <= number.size(); ++typed) {
        EXPECT_TRUE(isPotentiallyValidCardNumber(number.substr(0, typed))) << typed;
      }
    }
    const std::string longest = luhnNumber(c.body, c.lengths.back());
    EXPECT_FALSE(isPotentiallyValidCardNumber(longest + "0")) << c.type;
    EXPECT_FALSE(isValidCardNumber(luhnNumber(c.body, c.lengths.front() - 1))) << c.type;
  }
}

TEST(CardNumberValidity, KnownTestNumbersAndAmbiguousTexts) {
  struct Case {
    std::string text;
    bool potentiallyValid;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"4111 1111 1111 1111", true, true},
      {"3782-822463-10005", true, true},
      {"30569309025904", true, true},
      {"4111111111111112", true, false},  // a failing check digit, but 18 or 19 digits may follow
      {"", true, false},
      {"4", true, false},  // several candidates
      {"7", false, false},
      {"4111111111111111111", false, false},  // 19 digits, failing check: nothing may follow
      {"4111x", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(isPotentiallyValidCardNumber(c.text), c.potentiallyValid) << c.text;
    EXPECT_EQ(isValidCardNumber(c.text), c.valid) << c.text;
  }
}

// The validator of finished fields keeps its own rules: 16 to 19 digits, whatever the brand.
TEST(CardNumberValidity, AnswersAnotherQuestionThanCardNumberValidator) {
  const std::string amex = "378282246310005";
  EXPECT_TRUE(isValidCardNumber(amex));
  EXPECT_FALSE(CardNumberValidator().validate(amex).isValid());
}

TEST(FormatCardNumber, GroupsAsTheFirstCandidatePrints) {
  struct Case {
    std::string text;
    std::string formatted;
  };
  const std::vector<Case> cases = {
      {"4111111111111111", "4111 1111 1111 1111"},
      {"4111111111111111110", "4111 1111 1111 1111110"},
      {"378282246310005", "3782 822463 10005"},
      {"3782-8224", "3782 8224"},
      {"30569309025904", "3056 930902 5904"},
      {"41111", "4111 1"},
      {"99999999", "9999 9999"},          // no candidate: fours
      {"3782 8224 63a", "3782 8224 63"},  // other characters dropped; no candidate
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(formatCardNumber(c.text), c.formatted) << c.text;
}

}  // namespace
}  // namespace sdkcore
