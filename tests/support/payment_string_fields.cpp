#include "support/payment_string_fields.hpp"

#include <ctime>

namespace sdkcore::testing {

std::vector<std::string> paymentStringFields(std::string_view paymentString) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t slash; (slash = paymentString.find('/', start)) != std::string_view::npos;
       start = slash + 1) {
    fields.emplace_back(paymentString.substr(start, slash - start));
  }
  fields.emplace_back(paymentString.substr(start));
  return fields;
}

std::string utcDate(std::int64_t timestamp) {
  const auto time = static_cast<std::time_t>(timestamp);
  std::tm parts{};
  gmtime_r(&time, &parts);
  char buffer[40];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S+00:00", &parts);
  return buffer;
}

}  // namespace sdkcore::testing
