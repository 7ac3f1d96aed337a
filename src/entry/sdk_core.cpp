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
#include "cryptogram/provider_cipher.hpp"
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
#include "sdkcore/version.h"
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

// The fields of one request, read once from the configuration; the payment input through its
// view, the one place where the variant is opened.
struct Request {
  schema::RequestView view;
  ZKITRegisteredFrom registeredFrom;
  double timestamp;
};

// "generateWithConfig(<configuration>)<event>", with card number and security code masked in
// the configuration.
std::string configEvent(const Request& request, std::string_view event) {
  const std::string after = joinOnce({")", event});
  return configDebugString(request.view, request.registeredFrom, request.timestamp,
                           CardDataShown::masked, "generateWithConfig(", after);
}

}  // namespace

// What an `SdkCore` owns. Members are constructed in declaration order: the processor, the
// cipher, then the seven validators. All are immutable after construction. The validators of
// the fields that go into the payment string refuse line terminators, which the public
// validators let stand at the end of a text.
class SdkCoreMembers {
 public:
  explicit SdkCoreMembers(std::shared_ptr<const CryptoProvider> provider)
      : cryptogramCipher(std::move(provider)) {}
  TokenResult generate(const Request& request, const PaymentParamsVariant& params,
                       const EventLog& log) const;

 private:
  FieldValidators validators() const {
    return {orderNumberValidator, cardExpiryValidator, cardNumberValidator, cardBindingIdValidator,
            cardCodeValidator,    cardHolderValidator, pubKeyValidator};
  }
  TokenResult encrypt(const std::string& paymentString, const std::string& pubKey,
                      const EventLog& log) const;

  static constexpr bool kRefuseLineTerminators = true;

  DefaultPaymentStringProcessor paymentStringProcessor;
  ProviderCipher cryptogramCipher;
  OrderNumberValidator orderNumberValidator;
  CardExpiryValidator cardExpiryValidator;
  CardNumberValidator cardNumberValidator{kRefuseLineTerminators};
  CardBindingIdValidator cardBindingIdValidator;
  CardCodeValidator cardCodeValidator{kRefuseLineTerminators};
  CardHolderValidator cardHolderValidator{kRefuseLineTerminators};
  PubKeyValidator pubKeyValidator;
};

TokenResult SdkCoreMembers::generate(const Request& request, const PaymentParamsVariant& params,
                                     const EventLog& log) const {
  log.write([&] { return configEvent(request, ": Token generation method for a new card."); });
  // A valueless variant fails here, after the configuration was logged, as visiting it does.
  if (!request.view.hasVariant()) (void)schema::viewOf(params);
  std::string storedBindingId = storedBindingIdOf(request.view);
  const WipeOnExit wipeBindingId(storedBindingId);
  if (auto error = validateFields(request.view, storedBindingId, validators(), log)) {
    return failure(error->field, std::move(error->errorCode));
  }
  std::optional<PaymentCardFields> cardInfo;
  try {
    cardInfo.emplace(cardFieldsOf(request.view, storedBindingId));
  } catch (const ExpDateError& error) {
    log.writeError([&] { return configEvent(request, ": Error " + error.localizedDescription()); },
                   error);
    return failure(ParamField::UNKNOWN, error.localizedDescription());
  }
  const std::string_view mdOrder = request.view.textOrEmpty(ParamField::MD_ORDER);
  const std::string& pubKey = *request.view.text(ParamField::PUB_KEY);
  log.write([] { return std::string("generation method:"); });
  const std::optional<std::int64_t> seconds = wholeSeconds(request.timestamp);
  // A time stamp whose local date the C library cannot represent fails like one out of range.
  std::optional<std::string> paymentString;
  if (seconds) {
    std::array<std::uint8_t, 16> uuidBytes{};
    cryptogramCipher.randomBytes(uuidBytes);
    const UuidText uuid = version4UuidText(uuidBytes);
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
  if (!cryptogramCipher.canEncrypt()) {
    log.write([] {
      return std::string(
          "generation method: no RSA encryption: the library is built without OpenSSL and the "
          "core was made without a crypto provider");
    });
  }
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

SdkCore::SdkCore() : SdkCore(nullptr) {}

SdkCore::SdkCore(std::shared_ptr<const CryptoProvider> provider)
    : members_(std::make_unique<SdkCoreMembers>(std::move(provider))) {
  // The payment string's date is in the zone the C library holds; localtime_r() alone does not
  // notice a changed TZ, so the zone is read afresh here.
  tzset();
}

SdkCore::~SdkCore() = default;

TokenResult SdkCore::generateWithConfig(const SDKCoreConfig& config) noexcept {
  const EventLog log(typeid(*this));
  try {
    const PaymentParamsVariant& params = config.paymentMethodParams_;
    return members_->generate(
        Request{schema::viewOfAny(params), config.registeredFrom_, config.timestamp_}, params, log);
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

std::string SdkCore::getSDKVersion() { return SDKCORE_VERSION_STRING; }

}  // namespace sdkcore
