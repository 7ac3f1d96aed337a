#include "sdkcore/sdk_core.hpp"

#include <cstdint>
#include <ctime>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <typeinfo>

#include "base/wiped_text.hpp"
#include "cryptogram/default_payment_string_processor.hpp"
#include "cryptogram/rsa_cryptogram_cipher.hpp"
#include "cryptogram/timestamp.hpp"
#include "cryptogram/uuid.hpp"
#include "entry/field_validation.hpp"
#include "entry/params_debug_text.hpp"
#include "entry/payment_input.hpp"
#include "log/event_log.hpp"
#include "sdkcore/card_code_validator.hpp"
#include "sdkcore/card_expiry_validator.hpp"
#include "sdkcore/card_holder_validator.hpp"
#include "sdkcore/card_number_validator.hpp"
#include "sdkcore/cryptogram_cipher_error.hpp"
#include "sdkcore/string_extensions.hpp"
#include "validation/card_binding_id_validator.hpp"
#include "validation/order_number_validator.hpp"
#include "validation/pub_key_validator.hpp"

namespace sdkcore {
namespace {

constexpr std::string_view kBadTimestamp = "timestamp is not a finite number of seconds in range";
constexpr std::string_view kUnexpectedError = "unexpected error";

TokenResult failure(ParamField field, std::string description) {
  return TokenResult(std::map<ParamField, std::string>{{field, std::move(description)}});
}

// The fields of one request, read once from the configuration.
struct Request {
  const PaymentParamsVariant& params;
  ZKITRegisteredFrom registeredFrom;
  double timestamp;
};

// "generateWithConfig(<configuration>)<event>", with card number and security code masked in
// the configuration.
std::string configEvent(const Request& request, std::string_view event) {
  const std::string after = joinOnce({")", event});
  return configDebugString(request.params, request.registeredFrom, request.timestamp,
                           CardDataShown::masked, "generateWithConfig(", after);
}

}  // namespace

// What an `SdkCore` owns. Members are constructed in declaration order: the processor, the
// cipher, then the seven validators. All are immutable after construction. The validators of
// the fields that go into the payment string refuse line terminators, which the public
// validators let stand at the end of a text.
class SdkCoreMembers {
 public:
  TokenResult generate(const Request& request, const EventLog& log) const;

 private:
  FieldValidators validators() const {
    return {orderNumberValidator, cardExpiryValidator, cardNumberValidator, cardBindingIdValidator,
            cardCodeValidator,    cardHolderValidator, pubKeyValidator};
  }
  TokenResult encrypt(const std::string& paymentString, const std::string& pubKey,
                      const EventLog& log) const;

  static constexpr bool kRefuseLineTerminators = true;

  DefaultPaymentStringProcessor paymentStringProcessor;
  RSACryptogramCipher cryptogramCipher;
  OrderNumberValidator orderNumberValidator;
  CardExpiryValidator cardExpiryValidator;
  CardNumberValidator cardNumberValidator{kRefuseLineTerminators};
  CardBindingIdValidator cardBindingIdValidator;
  CardCodeValidator cardCodeValidator{kRefuseLineTerminators};
  CardHolderValidator cardHolderValidator{kRefuseLineTerminators};
  PubKeyValidator pubKeyValidator;
};

TokenResult SdkCoreMembers::generate(const Request& request, const EventLog& log) const {
  log.write([&] { return configEvent(request, ": Token generation method for a new card."); });
  std::string storedBindingId = storedBindingIdOf(request.params);
  const WipeOnExit wipeBindingId(storedBindingId);
  if (auto error = validateFields(request.params, storedBindingId, validators(), log)) {
    return failure(error->field, std::move(error->errorCode));
  }
  std::optional<PaymentCardFields> cardInfo;
  try {
    cardInfo.emplace(cardFieldsOf(request.params, storedBindingId));
  } catch (const ExpDateError& error) {
    log.writeError([&] { return configEvent(request, ": Error " + error.localizedDescription()); },
                   error);
    return failure(ParamField::UNKNOWN, error.localizedDescription());
  }
  const std::string_view mdOrder = orderNumberOf(request.params);
  const std::string& pubKey = pubKeyOf(request.params);
  log.write([] { return std::string("generation method:"); });
  const std::optional<std::int64_t> seconds = wholeSeconds(request.timestamp);
  // A time stamp whose local date the C library cannot represent fails like one out of range.
  std::optional<std::string> paymentString;
  if (seconds) {
    const UuidText uuid = randomUuidText();
    paymentString = paymentStringProcessor.createPaymentString(
        mdOrder, *seconds, {uuid.data(), uuid.size()}, *cardInfo, request.registeredFrom);
  }
  if (!paymentString) {
    log.write([] { return "generation method: Error " + std::string(kBadTimestamp); },
              ParamField::UNKNOWN);
    return failure(ParamField::UNKNOWN, std::string(kBadTimestamp));
  }
  const WipeOnExit wipe(*paymentString);
  return encrypt(*paymentString, pubKey, log);
}

TokenResult SdkCoreMembers::encrypt(const std::string& paymentString, const std::string& pubKey,
                                    const EventLog& log) const {
  ParamField failed = ParamField::UNKNOWN;
  try {
    return TokenResult(cryptogramCipher.encryptWithRsaKey(paymentString, pubKey));
  } catch (const CryptogramCipherException& error) {
    if (error.error() == CryptogramCipherError::keyCreationFailed) failed = ParamField::PUB_KEY;
  } catch (...) {
    // Any other failure of the encryption is reported as unknown, without its own text.
  }
  log.write(
      [&] { return "generation method: Error " + std::string(caseName(failed)) + " is invalid"; },
      failed);
  return failure(failed, failed == ParamField::PUB_KEY ? CODE_INVALID : "unknown");
}

SdkCore::SdkCore() : members_(std::make_unique<SdkCoreMembers>()) {
  // The payment string's date is in the zone the C library holds; localtime_r() alone does not
  // notice a changed TZ, so the zone is read afresh here.
  tzset();
}

SdkCore::~SdkCore() = default;

TokenResult SdkCore::generateWithConfig(const SDKCoreConfig& config) noexcept {
  const EventLog log(typeid(*this));
  try {
    return members_->generate(
        Request{config.paymentMethodParams_, config.registeredFrom_, config.timestamp_}, log);
  } catch (const std::exception& error) {
    const std::string description = *error.what() ? error.what() : std::string(kUnexpectedError);
    log.write([&] { return "generation method: Error " + description; }, ParamField::UNKNOWN);
    return failure(ParamField::UNKNOWN, description);
  } catch (...) {
    log.write([] { return "generation method: Error " + std::string(kUnexpectedError); },
              ParamField::UNKNOWN);
    return failure(ParamField::UNKNOWN, std::string(kUnexpectedError));
  }
}

std::string SdkCore::getSDKVersion() { return SDKCORE_VERSION_TEXT; }

}  // namespace sdkcore
