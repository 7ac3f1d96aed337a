// `sdkcore validate`, run in-process with standard input and output redirected.
#include <gtest/gtest.h>

#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli_support.hpp"
#include "commands.hpp"
#include "sdkcore/localized_messages.hpp"

namespace sdkcore::cli {
namespace {

struct CommandRun {
  int status;
  std::string out;
};

CommandRun validate(const Args& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out;
  auto* const savedIn = std::cin.rdbuf(in.rdbuf());
  auto* const savedOut = std::cout.rdbuf(out.rdbuf());
  int status = -1;
  try {
    status = runValidate(args);
  } catch (...) {
    std::cin.rdbuf(savedIn);
    std::cout.rdbuf(savedOut);
    throw;
  }
  std::cin.rdbuf(savedIn);
  std::cout.rdbuf(savedOut);
  return {status, out.str()};
}

class ValidateCommand : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(setMessageLanguage("en_US")); }
  void TearDown() override { resetMessageLanguage(); }
};

TEST_F(ValidateCommand, AnswersForEveryField) {
  struct Case {
    Args args;
    std::string input;
    int status;
    std::string out;
  };
  const std::vector<Case> cases = {
      {{"card-number", "4111111111111111"}, "", 0, R"({"isValid":true})"},
      {{"card-number", "4111111111111112"},
       "",
       1,
       R"({"isValid":false,"errorCode":"invalid","errorMessage":"Invalid card number"})"},
      {{"expiry", "13/25"},
       "",
       1,
       R"({"isValid":false,"errorCode":"invalid","errorMessage":"Invalid expiry date, use MM/YY"})"},
      {{"cvc", "123"}, "", 0, R"({"isValid":true})"},
      {{"cardholder", "JOHN-DOE"},
       "",
       1,
       R"({"isValid":false,"errorCode":"invalid-format","errorMessage":"Enter the cardholder name in Latin letters"})"},
      {{"email", "a@example.com"}, "", 0, R"({"isValid":true})"},
      {{"phone", "--", "-7"},
       "",
       1,
       R"({"isValid":false,"errorCode":"invalid-format","errorMessage":"Invalid phone number"})"},
      {{"address-line1", "1 Main St"}, "", 0, R"({"isValid":true})"},
      {{"address-line2", ""},
       "",
       1,
       R"({"isValid":false,"errorCode":"required","errorMessage":"This field is required"})"},
      {{"address-line3", "x"}, "", 0, R"({"isValid":true})"},
      {{"city", "x"}, "", 0, R"({"isValid":true})"},
      {{"country", "x"}, "", 0, R"({"isValid":true})"},
      {{"state", "x"}, "", 0, R"({"isValid":true})"},
      {{"postal-code", "\t"},
       "",
       1,
       R"({"isValid":false,"errorCode":"required","errorMessage":"This field is required"})"},
      // Standard input is taken unchanged, trailing line feed included.
      {{"card-number", "-"}, "4111111111111111\n", 0, R"({"isValid":true})"},
      {{"cvc", "-"},
       "123\n",
       1,
       R"({"isValid":false,"errorCode":"invalid","errorMessage":"Enter the 3-digit security code"})"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    const CommandRun run = validate(c.args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out + "\n");
  }
}

TEST_F(ValidateCommand, UsageErrorsPrintNothing) {
  const std::vector<Args> cases = {
      {}, {"cvc"}, {"pin", "1234"}, {"cvc", "1", "2"}, {"cvc", "-7"}, {"--pretty", "cvc", "1"},
  };
  for (const Args& args : cases) {
    SCOPED_TRACE(::testing::PrintToString(args));
    std::ostringstream out;
    auto* const saved = std::cout.rdbuf(out.rdbuf());
    EXPECT_THROW(runValidate(args), UsageError);
    std::cout.rdbuf(saved);
    EXPECT_EQ(out.str(), "");
  }
}

TEST_F(ValidateCommand, HelpNamesEveryField) {
  const CommandRun run = validate({"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* field :
       {"card-number", "expiry", "cvc", "cardholder", "email", "phone", "address-line1",
        "address-line2", "address-line3", "city", "country", "state", "postal-code"}) {
    EXPECT_NE(run.out.find(field), std::string::npos) << field;
  }
}

}  // namespace
}  // namespace sdkcore::cli
