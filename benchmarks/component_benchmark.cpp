// Costs of the library's smaller public parts: each validator on a typical valid input, the
// Base58 codec, and the date field of the payment string.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cryptogram/default_payment_string_processor.hpp"
#include "sdkcore/address_line1_validator.hpp"
#include "sdkcore/address_line2_validator.hpp"
#include "sdkcore/address_line3_validator.hpp"
#include "sdkcore/base58.hpp"
#include "sdkcore/card_code_validator.hpp"
#include "sdkcore/card_expiry_validator.hpp"
#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/card_number_validator.hpp"
#include "sdkcore/city_validator.hpp"
#include "sdkcore/country_validator.hpp"
#include "sdkcore/email_validator.hpp"
#include "sdkcore/phone_number_validator.hpp"
#include "sdkcore/postal_code_validator.hpp"
#include "sdkcore/state_validator.hpp"

namespace sdkcore::bench {
namespace {

template <typename Validator>
void validate(benchmark::State& state, const std::string& input) {
  const Validator validator;
  if (!validator.validate(input).isValid()) {
    state.SkipWithError("the input is not valid");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(validator.validate(input));
  state.SetItemsProcessed(state.iterations());
}

template <typename Validator>
void addValidator(const char* name, std::string input) {
  benchmark::RegisterBenchmark(name, [input = std::move(input)](benchmark::State& state) {
    validate<Validator>(state, input);
  });
}

const bool kValidatorsRegistered = [] {
  addValidator<CardNumberValidator>("validate_card_number", "4111111111111111");
  addValidator<CardExpiryValidator>("validate_card_expiry", "12/30");
  addValidator<CardCodeValidator>("validate_card_code", "123");
  addValidator<CardHolderValidator>("validate_card_holder", "JOHN DOE");
  addValidator<EmailValidator>("validate_email", "john.doe@example.com");
  addValidator<PhoneNumberValidator>("validate_phone_number", "+4915112345678");
  addValidator<PostalCodeValidator>("validate_postal_code", "10115");
  addValidator<CityValidator>("validate_city", "Berlin");
  addValidator<CountryValidator>("validate_country", "DE");
  addValidator<StateValidator>("validate_state", "Berlin");
  addValidator<AddressLine1Validator>("validate_address_line1", "Unter den Linden 77");
  addValidator<AddressLine2Validator>("validate_address_line2", "Apartment 4");
  addValidator<AddressLine3Validator>("validate_address_line3", "c/o John Doe");
  return true;
}();

std::vector<std::uint8_t> sampleBytes(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 37 + 11);
  return bytes;
}

void base58Encode(benchmark::State& state) {
  const std::vector<std::uint8_t> bytes = sampleBytes(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Base58::encode(bytes));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(base58Encode)->Name("base58_encode")->Arg(16)->Arg(64);

void base58Decode(benchmark::State& state) {
  const std::string text = Base58::encode(sampleBytes(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(Base58::decode(text));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(base58Decode)->Name("base58_decode")->Arg(16)->Arg(64);

// The date field in the process's zone, through the processor that SdkCore uses.
void dateField(benchmark::State& state) {
  const DefaultPaymentStringProcessor processor;
  std::int64_t timestamp = 1700000000;
  for (auto _ : state) benchmark::DoNotOptimize(processor.formatDate(timestamp++));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(dateField)->Name("date_field");

}  // namespace
}  // namespace sdkcore::bench
