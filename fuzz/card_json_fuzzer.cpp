// The JSON readers of the card model, on both JSON types: reading either succeeds, and then
// writes back to JSON that reads again to the same value, or throws DecodingError. Nothing else
// may come out of them.
#include <cstddef>
#include <cstdint>

#include <nlohmann/json.hpp>

#include "fuzz_support.hpp"
#include "sdkcore/card_identifier.hpp"
#include "sdkcore/core_card_info.hpp"
#include "sdkcore/decoding_error.hpp"
#include "sdkcore/expiry_date.hpp"
#include "sdkcore/zkit_registered_from.hpp"

namespace {

template <typename Record, typename Json>
void readAndWriteBack(const Json& json) {
  try {
    const Json written = json.template get<Record>();
    SDKCORE_FUZZ_CHECK(Json(written.template get<Record>()) == written);
  } catch (const sdkcore::DecodingError&) {
    // The one way reading may fail.
  }
}

template <typename Json>
void readEveryRecord(const Json& json) {
  readAndWriteBack<sdkcore::CoreCardInfo>(json);
  readAndWriteBack<sdkcore::CardIdentifier>(json);
  readAndWriteBack<sdkcore::ExpiryDate>(json);
  readAndWriteBack<sdkcore::ZKITRegisteredFrom>(json);
}

template <typename Json>
void readAsBoth(std::string_view text) {
  const Json json = Json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (json.is_discarded()) return;
  readEveryRecord(json);
  // Records nest inside each other: read every member's value too.
  if (json.is_object()) {
    for (const auto& member : json.items()) readEveryRecord(member.value());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text = sdkcore::fuzzing::textOf(data, size);
  readAsBoth<nlohmann::json>(text);
  readAsBoth<nlohmann::ordered_json>(text);
  return 0;
}
