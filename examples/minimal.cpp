// The smallest host program: one card, one order, one token.
// Usage: minimal PUBLIC_KEY.pem
#include <fstream>
#include <iostream>
#include <sstream>

#include <sdkcore/sdkcore.hpp>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: minimal PUBLIC_KEY.pem\n";
    return 2;
  }
  std::ifstream file(argv[1]);
  std::stringstream pem;
  pem << file.rdbuf();

  sdkcore::SdkCore core;
  const sdkcore::SDKCoreConfig config(
      sdkcore::CardParams(/*pan=*/"4111111111111111", /*cvc=*/"123", /*expiryMMYY=*/"12/30",
                          /*cardholder=*/"JOHN DOE", /*mdOrder=*/"ORDER-1", /*pubKey=*/pem.str()),
      sdkcore::ZKITRegisteredFrom::ZKIT_CORE, /*timestamp=*/1700000000.0);

  const sdkcore::TokenResult result = core.generateWithConfig(config);
  if (result.token) {
    std::cout << *result.token << '\n';  // Pass it on to the payment server.
    return 0;
  }
  for (const auto& [field, code] : result.errors) {
    std::cerr << sdkcore::caseName(field) << ": " << code << '\n';  // e.g. "PAN: invalid"
  }
  return 1;
}
