// generateWithConfig for every variant, with fields that are valid or made from the input: the
// result is a token and no error, or no token and exactly one error; every token decrypts to the
// payment string of its request.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

#include "fuzz_support.hpp"
#include "sdkcore/binding_utils.hpp"
#include "sdkcore/sdkcore.hpp"
#include "support/test_keys.hpp"

namespace {

using namespace sdkcore;

// With a sink attached, the library builds and masks every log message.
class IgnoringSink : public LogInterface {
 public:
  void log(const std::type_info&, const std::string&, const std::string&,
           std::shared_ptr<const std::exception>) override {}
};

class RequestMaker {
 public:
  explicit RequestMaker(FuzzedDataProvider& input) : input_(input) {}

  // The valid text, or one made from the input.
  std::string field(std::string valid) {
    return input_.ConsumeBool() ? std::move(valid) : input_.ConsumeRandomLengthString(48);
  }
  std::optional<std::string> optionalField(std::string valid) {
    if (input_.ConsumeBool()) return std::nullopt;
    return field(std::move(valid));
  }
  double timestamp() {
    return input_.ConsumeBool() ? input_.ConsumeFloatingPoint<double>()
                                : static_cast<double>(input_.ConsumeIntegralInRange<std::int64_t>(
                                      -2'000'000'000, 4'000'000'000));
  }

 private:
  FuzzedDataProvider& input_;
};

// The payment string's fields after the date and the UUID, as the request asks for them;
// nullopt when its expiry cannot be read.
std::optional<std::string> expectedTail(const PaymentParamsVariant& params,
                                        ZKITRegisteredFrom from) {
  const auto join = [from](const std::string& pan, const std::string& cvc,
                           const std::string& expiry, const std::string& order,
                           const std::string& stored, const std::string& holder) {
    return pan + "/" + cvc + "/" + expiry + "/" + order + "/" + stored + "/" + holder + "/" +
           std::string(rawValue(from));
  };
  const auto tail = [&](const auto& p) -> std::string {
    using Params = std::decay_t<decltype(p)>;
    if constexpr (std::is_same_v<Params, CardParams>) {
      return join(p.pan(), p.cvc(), toExpDate(p.expiryMMYY()).format(), p.mdOrder(), "",
                  p.cardholder().value_or(""));
    } else if constexpr (std::is_same_v<Params, CardParamsInstant> ||
                         std::is_same_v<Params, NewPaymentMethodParams>) {
      return join(p.pan(), p.cvc(), toExpDate(p.expiryMMYY()).format(), "", "",
                  p.cardholder().value_or(""));
    } else if constexpr (std::is_same_v<Params, BindingParams>) {
      return join("", p.cvc().value_or(""), "", p.mdOrder(), p.bindingId(), "");
    } else if constexpr (std::is_same_v<Params, BindingParamsInstant>) {
      return join("", p.cvc().value_or(""), "", "", p.bindingId(), "");
    } else {
      return join("", p.cvc().value_or(""), "", "",
                  BindingUtils::decodeBindingId(p.storedPaymentMethodId()), "");
    }
  };
  try {
    return std::visit(tail, params);
  } catch (const ExpDateError&) {
    return std::nullopt;
  }
}

PaymentParamsVariant makeParams(FuzzedDataProvider& input, RequestMaker& make) {
  const std::string key = make.field(fuzzing::demoPublicKey());
  switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return CardParams(make.field("4111111111111111"), make.field("123"), make.field("12/30"),
                        make.optionalField("JOHN DOE"), make.field("ORDER-1"), key);
    case 1:
      return CardParamsInstant(make.field("4111111111111111"), make.field("123"),
                               make.field("12/30"), make.optionalField("JOHN DOE"), key);
    case 2:
      return NewPaymentMethodParams(make.field("4111111111111111"), make.field("123"),
                                    make.field("12/30"), make.optionalField("JOHN DOE"), key);
    case 3:
      return BindingParams(key, make.field("BIND-77"), make.optionalField("123"),
                           make.field("ORDER-1"));
    case 4:
      return BindingParamsInstant(key, make.field("BIND-77"), make.optionalField("123"));
    default:
      return StoredPaymentMethodParams(key, make.field("pm_3WhDgViUq4"), make.optionalField("123"));
  }
}

void checkToken(const std::string& token, const PaymentParamsVariant& params,
                ZKITRegisteredFrom from, double timestamp) {
  const auto plain = testing::decryptToken(token, fuzzing::demoPrivateKey());
  SDKCORE_FUZZ_CHECK(plain.has_value());
  const std::optional<std::string> tail = expectedTail(params, from);
  SDKCORE_FUZZ_CHECK(tail.has_value());
  fuzzing::checkPaymentString(*plain, *tail, timestamp);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::useUtc();
  Logger::shared().addLogInterface(std::make_shared<IgnoringSink>());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SdkCore core;
  FuzzedDataProvider input(data, size);
  RequestMaker make(input);
  const auto from = static_cast<ZKITRegisteredFrom>(input.ConsumeIntegralInRange(0, 2));
  const double timestamp = make.timestamp();
  const PaymentParamsVariant params = makeParams(input, make);
  const TokenResult result = core.generateWithConfig(SDKCoreConfig(params, from, timestamp));
  if (result.token) {
    SDKCORE_FUZZ_CHECK(result.errors.empty());
    checkToken(*result.token, params, from, timestamp);
  } else {
    SDKCORE_FUZZ_CHECK(result.errors.size() == 1);
  }
  return 0;
}
