#include "token_cost.h"

#include <string.h>

#include <sdkcore/sdkcore.h>

static void set(sdkcore_request* request, int field, const char* text) {
  sdkcore_request_set_text(request, field, text, strlen(text));
}

// One token, as the Swift side makes it: a request built from its texts, the token read out.
static int card_token(sdkcore_core* core, const char* pem, size_t pem_len) {
  sdkcore_request* request = NULL;
  sdkcore_token_result* result = NULL;
  const char* token = NULL;
  size_t token_len = 0;
  sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS, &request);
  set(request, SDKCORE_FIELD_PAN, "4111111111111111");
  set(request, SDKCORE_FIELD_CVC, "123");
  set(request, SDKCORE_FIELD_EXPIRY_MMYY, "12/30");
  set(request, SDKCORE_FIELD_CARDHOLDER, "JOHN DOE");
  set(request, SDKCORE_FIELD_MD_ORDER, "ORDER-1");
  sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, pem, pem_len);
  sdkcore_request_set_registered_from(request, SDKCORE_REGISTERED_FROM_ZKIT_CORE);
  sdkcore_request_set_timestamp(request, 1700000000.0);
  sdkcore_generate_token(core, request, &result);
  sdkcore_token_result_token(result, &token, &token_len);
  const int made = token != NULL && token_len > 0;
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  return made;
}

int token_cost_card_tokens(const char* pem, size_t pem_len, int count) {
  static sdkcore_core* core;
  if (core == NULL) {
    sdkcore_core_new(&core);
  }
  int made = 0;
  for (int i = 0; i < count; i++) {
    made += card_token(core, pem, pem_len);
  }
  return made;
}
