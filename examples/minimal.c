/* The smallest C host program: one card, one order, one token.
   Usage: minimal_c PUBLIC_KEY.pem */
#include <stdio.h>
#include <string.h>

#include <sdkcore/sdkcore.h>

/* Sets a field to a NUL-terminated text. */
static void set(sdkcore_request* request, int field, const char* text) {
  sdkcore_request_set_text(request, field, text, strlen(text));
}

int main(int argc, char** argv) {
  char pem[8192];
  size_t pem_len = 0;
  FILE* file = argc == 2 ? fopen(argv[1], "rb") : NULL;
  if (file == NULL) {
    fprintf(stderr, "usage: minimal_c PUBLIC_KEY.pem\n");
    return 2;
  }
  pem_len = fread(pem, 1, sizeof pem, file);
  fclose(file);

  sdkcore_core* core = NULL;
  sdkcore_request* request = NULL;
  sdkcore_token_result* result = NULL;
  sdkcore_core_new(&core);
  sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS, &request);
  set(request, SDKCORE_FIELD_PAN, "4111111111111111");
  set(request, SDKCORE_FIELD_CVC, "123");
  set(request, SDKCORE_FIELD_EXPIRY_MMYY, "12/30");
  set(request, SDKCORE_FIELD_CARDHOLDER, "JOHN DOE");
  set(request, SDKCORE_FIELD_MD_ORDER, "ORDER-1");
  sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, pem, pem_len);
  sdkcore_request_set_timestamp(request, 1700000000.0);

  const char *token = NULL, *field = NULL, *code = NULL;
  if (sdkcore_generate_token(core, request, &result) == SDKCORE_OK) {
    sdkcore_token_result_token(result, &token, NULL); /* NULL when the library refused */
    if (token != NULL) {
      printf("%s\n", token); /* Pass it on to the payment server. */
    } else {
      sdkcore_token_result_error(result, &field, NULL, &code, NULL);
      fprintf(stderr, "%s: %s\n", field, code); /* e.g. "PAN: invalid" */
    }
  }
  sdkcore_token_result_free(result); /* token, field and code are borrowed from it */
  sdkcore_request_free(request);
  sdkcore_core_free(core);
  return token != NULL ? 0 : 1;
}
