/* The C interface from a C99 program: tokens for the six variants decrypted as a merchant would,
   the library's errors, the JSON path, validators, the message language, Base58, the card-entry
   helpers, log sinks and bad arguments.
   Usage: sdkcore_c_test PUBLIC_KEY.pem PRIVATE_KEY.pem VALIDATOR_CASES.tsv (run with TZ=UTC and
   an English locale). */

#include <math.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rsa.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sdkcore/sdkcore.h"
#include "sdkcore/version.h"

static int failures = 0;

#define CHECK(condition)                                                      \
  do {                                                                        \
    if (!(condition)) {                                                       \
      fprintf(stderr, "%s:%d: failed: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                             \
    }                                                                         \
  } while (0)

#define CHECK_STATUS(expected, call)                                                          \
  do {                                                                                        \
    int status_ = (call);                                                                     \
    if (status_ != (expected)) {                                                              \
      fprintf(stderr, "%s:%d: %s gave %d, expected %d\n", __FILE__, __LINE__, #call, status_, \
              (int)(expected));                                                               \
      ++failures;                                                                             \
    }                                                                                         \
  } while (0)

/* Compares a text of known length with a NUL-terminated one, naming the case on a mismatch. */
static void check_text(const char* what, const char* actual, size_t length, const char* expected) {
  if (actual == NULL || length != strlen(expected) || memcmp(actual, expected, length) != 0) {
    fprintf(stderr, "%s: got '%.*s', expected '%s'\n", what, actual ? (int)length : 6,
            actual ? actual : "(null)", expected);
    ++failures;
  }
}

static char* read_file(const char* path) {
  FILE* file = fopen(path, "rb");
  char* text = NULL;
  long size;
  if (file == NULL || fseek(file, 0, SEEK_END) != 0 || (size = ftell(file)) < 0) exit(2);
  rewind(file);
  text = malloc((size_t)size + 1);
  if (text == NULL || fread(text, 1, (size_t)size, file) != (size_t)size) exit(2);
  text[size] = '\0';
  fclose(file);
  return text;
}

/* The merchant's side: Base64, then RSA PKCS #1 v1.5 with the private key. NULL on failure. */
static char* decrypt_token(const char* token, size_t length, EVP_PKEY* key) {
  unsigned char* cipher = malloc(length);
  char* plain = NULL;
  size_t plain_length = 0;
  int decoded = EVP_DecodeBlock(cipher, (const unsigned char*)token, (int)length);
  EVP_PKEY_CTX* context = EVP_PKEY_CTX_new(key, NULL);
  if (decoded > 0 && context != NULL && EVP_PKEY_decrypt_init(context) == 1 &&
      EVP_PKEY_CTX_set_rsa_padding(context, RSA_PKCS1_PADDING) == 1) {
    size_t cipher_length =
        (size_t)decoded - (token[length - 1] == '=') - (token[length - 2] == '=');
    if (EVP_PKEY_decrypt(context, NULL, &plain_length, cipher, cipher_length) == 1) {
      plain = malloc(plain_length + 1);
      if (EVP_PKEY_decrypt(context, (unsigned char*)plain, &plain_length, cipher, cipher_length) ==
          1) {
        plain[plain_length] = '\0';
      } else {
        free(plain);
        plain = NULL;
      }
    }
  }
  EVP_PKEY_CTX_free(context);
  free(cipher);
  return plain;
}

struct text_field {
  int field;
  const char* text;
};

/* A valid request of each variant and the payment string fields it must give after the date and
   the UUID: card number, security code, expiry, order, stored id, cardholder and source. */
struct variant_case {
  int variant;
  struct text_field fields[5];
  int registered_from;
  const char* payment_tail;
};

static const struct variant_case kVariants[] = {
    {SDKCORE_VARIANT_CARD_PARAMS,
     {{SDKCORE_FIELD_PAN, "4111111111111111"},
      {SDKCORE_FIELD_CVC, "123"},
      {SDKCORE_FIELD_EXPIRY_MMYY, "12/30"},
      {SDKCORE_FIELD_CARDHOLDER, "JOHN DOE"},
      {SDKCORE_FIELD_MD_ORDER, "ORDER-1"}},
     SDKCORE_REGISTERED_FROM_ZKIT_FORMS,
     "4111111111111111/123/203012/ORDER-1//JOHN DOE/ZKIT_FORMS"},
    {SDKCORE_VARIANT_CARD_PARAMS_INSTANT,
     {{SDKCORE_FIELD_PAN, "5555555555554444"},
      {SDKCORE_FIELD_CVC, "321"},
      {SDKCORE_FIELD_EXPIRY_MMYY, "01/29"}},
     SDKCORE_REGISTERED_FROM_ZKIT_CORE,
     "5555555555554444/321/20291////ZKIT_CORE"},
    {SDKCORE_VARIANT_BINDING_PARAMS,
     {{SDKCORE_FIELD_BINDING_ID, "BIND-77"},
      {SDKCORE_FIELD_CVC, "123"},
      {SDKCORE_FIELD_MD_ORDER, "ORDER-2"}},
     SDKCORE_REGISTERED_FROM_ZKIT_PAYMENT,
     "/123//ORDER-2/BIND-77//ZKIT_PAYMENT"},
    {SDKCORE_VARIANT_BINDING_PARAMS_INSTANT,
     {{SDKCORE_FIELD_BINDING_ID, "BIND-78"}},
     SDKCORE_REGISTERED_FROM_ZKIT_CORE,
     "////BIND-78//ZKIT_CORE"},
    {SDKCORE_VARIANT_NEW_PAYMENT_METHOD_PARAMS,
     {{SDKCORE_FIELD_PAN, "4111111111111111"},
      {SDKCORE_FIELD_CVC, "999"},
      {SDKCORE_FIELD_EXPIRY_MMYY, "12/30"},
      {SDKCORE_FIELD_CARDHOLDER, "ANNA"}},
     SDKCORE_REGISTERED_FROM_ZKIT_CORE,
     "4111111111111111/999/203012///ANNA/ZKIT_CORE"},
    {SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS,
     {{SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID, "pm_3WhDgViUq4"}},
     SDKCORE_REGISTERED_FROM_ZKIT_CORE,
     "////BIND-77//ZKIT_CORE"},
};

enum { kVariantCount = sizeof kVariants / sizeof kVariants[0] };

/* A request of the variant's valid case with the public key, changed by 'change' (a field set to
   a text of 'change_length' bytes, or with 'omit' never set). */
struct change {
  int field;
  const char* text;
  size_t length;
  int omit;
};

static sdkcore_request* make_request(const struct variant_case* c, const char* public_key,
                                     const struct change* change) {
  sdkcore_request* request = NULL;
  size_t i;
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_new(c->variant, &request));
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_set_registered_from(request, c->registered_from));
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_set_timestamp(request, 1700000000.9));
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, public_key,
                                                    strlen(public_key)));
  for (i = 0; i < 5 && c->fields[i].text != NULL; ++i) {
    if (change != NULL && change->omit && change->field == c->fields[i].field) continue;
    CHECK_STATUS(SDKCORE_OK,
                 sdkcore_request_set_text(request, c->fields[i].field, c->fields[i].text,
                                          strlen(c->fields[i].text)));
  }
  if (change != NULL && !change->omit) {
    CHECK_STATUS(SDKCORE_OK,
                 sdkcore_request_set_text(request, change->field, change->text, change->length));
  }
  return request;
}

static void test_six_variants(sdkcore_core* core, const char* public_key, EVP_PKEY* private_key) {
  int i;
  for (i = 0; i < kVariantCount; ++i) {
    sdkcore_request* request = make_request(&kVariants[i], public_key, NULL);
    sdkcore_token_result* result = NULL;
    const char* token = NULL;
    size_t token_length = 0;
    char* plain = NULL;
    CHECK_STATUS(SDKCORE_OK, sdkcore_generate_token(core, request, &result));
    CHECK_STATUS(SDKCORE_OK, sdkcore_token_result_token(result, &token, &token_length));
    CHECK(token != NULL && token_length == 344 && strlen(token) == token_length);
    if (token != NULL) plain = decrypt_token(token, token_length, private_key);
    CHECK(plain != NULL);
    if (plain != NULL) {
      /* date / UUID (36 characters) / the rest */
      const char* tail = plain + strlen("2023-11-14T22:13:20+00:00/") + 37;
      CHECK(strncmp(plain, "2023-11-14T22:13:20+00:00/", 26) == 0);
      check_text(kVariants[i].payment_tail, tail, strlen(tail), kVariants[i].payment_tail);
    }
    free(plain);
    sdkcore_token_result_free(result);
    sdkcore_request_free(request);
  }
}

/* Each kind of failure: required, invalid-format, invalid, the key, UNKNOWN, absent versus empty,
   and texts with a NUL byte or invalid UTF-8, which the library answers like any other. */
static void test_errors(sdkcore_core* core, const char* public_key) {
  static const struct {
    int variant_index;
    struct change change;
    double timestamp;
    const char* field;
    const char* code;
  } cases[] = {
      /* clang-format off */
      {0, {SDKCORE_FIELD_PAN, NULL, 0, 1}, 1700000000, "PAN", "required"},
      {0, {SDKCORE_FIELD_PAN, "4111111111x11111", 16, 0}, 1700000000, "PAN", "invalid-format"},
      {0, {SDKCORE_FIELD_PAN, "4111111111\0" "11111", 16, 0}, 1700000000, "PAN", "invalid-format"},
      {0, {SDKCORE_FIELD_CVC, "12", 2, 0}, 1700000000, "CVC", "invalid"},
      {0, {SDKCORE_FIELD_EXPIRY_MMYY, "13/30", 5, 0}, 1700000000, "EXPIRY", "invalid"},
      {0, {SDKCORE_FIELD_CARDHOLDER, "J\xff\xfe", 3, 0}, 1700000000, "CARDHOLDER", "invalid-format"},
      {1, {SDKCORE_FIELD_CARDHOLDER, "", 0, 0}, 1700000000, "CARDHOLDER", "required"},
      {0, {SDKCORE_FIELD_PUB_KEY, "not a key", 9, 0}, 1700000000, "PUB_KEY", "invalid"},
      {0, {SDKCORE_FIELD_CVC, "123", 3, 0}, NAN, "UNKNOWN",
       "timestamp is not a finite number of seconds in range"},
      {5, {SDKCORE_FIELD_CVC, "", 0, 0}, 1700000000, "CVC", "required"},
      {5, {SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID, "pm_0OIl", 7, 0}, 1700000000,
       "STORED_PAYMENT_METHOD_ID", "required"},
      /* clang-format on */
  };
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    sdkcore_request* request =
        make_request(&kVariants[cases[i].variant_index], public_key, &cases[i].change);
    sdkcore_token_result* result = NULL;
    const char *token = "unset", *field = NULL, *code = NULL;
    size_t field_length = 0, code_length = 0;
    sdkcore_request_set_timestamp(request, cases[i].timestamp);
    CHECK_STATUS(SDKCORE_OK, sdkcore_generate_token(core, request, &result));
    CHECK_STATUS(SDKCORE_OK, sdkcore_token_result_token(result, &token, NULL));
    CHECK(token == NULL);
    CHECK_STATUS(SDKCORE_OK,
                 sdkcore_token_result_error(result, &field, &field_length, &code, &code_length));
    check_text("error field", field, field_length, cases[i].field);
    check_text(cases[i].field, code, code_length, cases[i].code);
    sdkcore_token_result_free(result);
    sdkcore_request_free(request);
  }
}

/* A JSON text of the PEM key, its line feeds escaped. */
static char* json_string(const char* text) {
  char *json = malloc(2 * strlen(text) + 3), *out = json;
  *out++ = '"';
  for (; *text != '\0'; ++text) {
    if (*text == '\n') {
      *out++ = '\\';
      *out++ = 'n';
    } else {
      *out++ = *text;
    }
  }
  *out++ = '"';
  *out = '\0';
  return json;
}

static void test_json_path(sdkcore_core* core, const char* public_key) {
  static const struct {
    const char* request_format; /* %s: the key as a JSON string */
    int status;
    const char* answer_start;
  } cases[] = {
      {"{\"variant\":\"bindingParamsInstant\",\"params\":{\"bindingId\":\"B\",\"pubKey\":%s}}",
       SDKCORE_OK, "{\"token\":\""},
      {"{\"variant\":\"cardParamsInstant\",\"params\":{\"pan\":\"4\",\"cvc\":\"1\","
       "\"expiryMMYY\":\"12/30\",\"pubKey\":%s}}",
       SDKCORE_OK, "{\"errors\":{\"PAN\":\"invalid\"}}"},
      {"{\"variant\":\"bindingParamsInstant\",\"params\":{\"bindingId\":\"B\"}}%s",
       SDKCORE_MALFORMED_REQUEST, "member \"params.pubKey\" is missing"},
      {"{\"variant\":\"bindingParamsInstant\",\"params\":{\"bindingId\":\"B\",\"pubKey\":%s,"
       "\"bindingId\":\"C\"}}",
       SDKCORE_MALFORMED_REQUEST, "member \"params.bindingId\" given twice"},
      {"{\"variant\":\"bindingParamsInstant\",%s", SDKCORE_MALFORMED_REQUEST, "malformed JSON at "},
  };
  char* key = json_string(public_key);
  size_t i;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    char request[4096];
    char* answer = NULL;
    size_t answer_length = 0;
    snprintf(request, sizeof request, cases[i].request_format,
             strstr(cases[i].request_format, "\"pubKey\":%s") ? key : "");
    CHECK_STATUS(cases[i].status, sdkcore_generate_token_json(core, request, strlen(request),
                                                              &answer, &answer_length));
    CHECK(answer != NULL && strlen(answer) == answer_length);
    if (answer != NULL && strncmp(answer, cases[i].answer_start, strlen(cases[i].answer_start))) {
      fprintf(stderr, "JSON case %u: got '%s'\n", (unsigned)i, answer);
      ++failures;
    }
    sdkcore_free(answer);
  }
  free(key);
}

/* Splits 'line' at its tabs, in place, into at most 'count' columns; returns how many it found. */
static size_t split_tabs(char* line, char** columns, size_t count) {
  size_t found = 0;
  while (found < count) {
    columns[found++] = line;
    line = strchr(line, '\t');
    if (line == NULL) break;
    *line++ = '\0';
  }
  return found;
}

/* Turns each "\0" of 'text' into a NUL byte, in place; returns the new length. */
static size_t unescape_nul(char* text) {
  size_t in = 0, out = 0;
  while (text[in] != '\0') {
    if (text[in] == '\\' && text[in + 1] == '0') {
      text[out++] = '\0';
      in += 2;
    } else {
      text[out++] = text[in++];
    }
  }
  return out;
}

/* One case of the shared table: name, text, valid, code and message ("-" when absent). */
static void check_validator_case(char* line) {
  char* column[5];
  sdkcore_validation_result* result = NULL;
  const char *code = NULL, *message = NULL;
  size_t length, code_length = 0, message_length = 0;
  int is_valid = -1;
  line[strcspn(line, "\n")] = '\0';
  if (split_tabs(line, column, 5) != 5) {
    fprintf(stderr, "validator table: not five columns: %s\n", line);
    ++failures;
    return;
  }
  length = unescape_nul(column[1]);
  CHECK_STATUS(SDKCORE_OK, sdkcore_validate(column[0], column[1], length, &result));
  CHECK_STATUS(SDKCORE_OK, sdkcore_validation_result_is_valid(result, &is_valid));
  CHECK(is_valid == (strcmp(column[2], "1") == 0));
  CHECK_STATUS(SDKCORE_OK, sdkcore_validation_result_error(result, &code, &code_length, &message,
                                                           &message_length));
  if (strcmp(column[3], "-") == 0) {
    CHECK(code == NULL && message == NULL);
  } else {
    check_text(column[0], code, code_length, column[3]);
    check_text(column[0], message, message_length, column[4]);
  }
  sdkcore_validation_result_free(result);
}

/* The validator table that the Java binding's test answers too. */
static void test_validators(const char* table_path) {
  char line[512];
  int cases = 0;
  FILE* table = fopen(table_path, "r");
  if (table == NULL) exit(2);
  while (fgets(line, sizeof line, table) != NULL) {
    if (line[0] == '#' || line[0] == '\n') continue;
    check_validator_case(line);
    ++cases;
  }
  fclose(table);
  CHECK(cases > 0);
  {
    sdkcore_validation_result* result = NULL;
    CHECK_STATUS(SDKCORE_UNKNOWN_NAME, sdkcore_validate("card_number", "4", 1, &result));
    CHECK(result == NULL);
  }
}

/* The card code validator's message for "12", which follows the message language. */
static void check_cvc_message(const char* what, const char* expected) {
  sdkcore_validation_result* result = NULL;
  const char *code = NULL, *message = NULL;
  size_t message_length = 0;
  CHECK_STATUS(SDKCORE_OK, sdkcore_validate("cvc", "12", 2, &result));
  CHECK_STATUS(SDKCORE_OK,
               sdkcore_validation_result_error(result, &code, NULL, &message, &message_length));
  check_text(what, message, message_length, expected);
  sdkcore_validation_result_free(result);
}

/* Each call in order, with its status and the message afterwards: a refused language leaves the
   one before in force, and the empty text goes back to the environment's (English here). */
static void test_message_language(void) {
  static const char kGerman[] = "Geben Sie den dreistelligen Sicherheitscode ein";
  static const char kRussian[] = "Введите трёхзначный код безопасности";
  static const char kEnglish[] = "Enter the 3-digit security code";
  static const struct {
    const char* what;
    const char* language;
    size_t length;
    int status;
    const char* message;
  } kCalls[] = {
      {"German", "de", 2, SDKCORE_OK, kGerman},
      {"one letter", "d", 1, SDKCORE_INVALID_ARGUMENT, kGerman},
      {"embedded NUL", "ru\0", 3, SDKCORE_INVALID_ARGUMENT, kGerman},
      {"NULL with a length", NULL, 2, SDKCORE_INVALID_ARGUMENT, kGerman},
      {"POSIX locale name", "ru_RU.UTF-8@x", 13, SDKCORE_OK, kRussian},
      {"length shorter than the text", "de_DE", 2, SDKCORE_OK, kGerman},
      {"empty text", "fr", 0, SDKCORE_OK, kEnglish},
      {"BCP 47 tag", "ru-RU", 5, SDKCORE_OK, kRussian},
      {"NULL and 0", NULL, 0, SDKCORE_OK, kEnglish},
  };
  size_t i;
  for (i = 0; i < sizeof kCalls / sizeof kCalls[0]; ++i) {
    CHECK_STATUS(kCalls[i].status,
                 sdkcore_set_message_language(kCalls[i].language, kCalls[i].length));
    check_cvc_message(kCalls[i].what, kCalls[i].message);
  }
}

static void test_base58(void) {
  static const struct {
    const unsigned char* bytes;
    size_t length;
    const char* text;
  } cases[] = {
      {(const unsigned char*)"", 0, ""},
      {(const unsigned char*)"\0\0\1", 3, "112"},
      {(const unsigned char*)"hello world", 11, "StV1DL6CwTryKyV"},
      {(const unsigned char*)"\xff\x00\xfe", 3, "2Ueso"},
  };
  static unsigned char large[SDKCORE_BASE58_MAX_INPUT + 1];
  size_t i;
  char *text = NULL, *binding_id = NULL;
  unsigned char* bytes = NULL;
  size_t length = 0;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    CHECK_STATUS(SDKCORE_OK,
                 sdkcore_base58_encode(cases[i].bytes, cases[i].length, &text, &length));
    check_text("base58", text, length, cases[i].text);
    CHECK_STATUS(SDKCORE_OK, sdkcore_base58_decode(text, length, &bytes, &length));
    if (cases[i].length == 0) {
      CHECK(bytes == NULL); /* the empty text is no Base58 */
    } else {
      CHECK(bytes != NULL && length == cases[i].length &&
            memcmp(bytes, cases[i].bytes, length) == 0);
    }
    sdkcore_free(text);
    sdkcore_free(bytes);
  }
  CHECK_STATUS(SDKCORE_OK, sdkcore_base58_decode("0OIl", 4, &bytes, &length));
  CHECK(bytes == NULL && length == 0);
  CHECK_STATUS(SDKCORE_OK, sdkcore_base58_encode(large, sizeof large - 1, &text, NULL));
  sdkcore_free(text);
  CHECK_STATUS(SDKCORE_INPUT_TOO_LARGE, sdkcore_base58_encode(large, sizeof large, &text, NULL));
  memset(large, '1', sizeof large);
  CHECK_STATUS(SDKCORE_INPUT_TOO_LARGE,
               sdkcore_base58_decode((const char*)large, sizeof large, &bytes, NULL));
  CHECK(text == NULL && bytes == NULL);
  CHECK_STATUS(SDKCORE_OK, sdkcore_decode_stored_payment_method_id("pm_QpJitz5kj4n3", 15,
                                                                   &binding_id, &length));
  check_text("binding id", binding_id, length, "BIND-77");
  sdkcore_free(binding_id);
  CHECK_STATUS(SDKCORE_OK, sdkcore_decode_stored_payment_method_id("pm_", 3, &binding_id, &length));
  check_text("malformed id", binding_id, length, "");
  sdkcore_free(binding_id);
}

static void test_public_key_check(const char* public_key) {
  int error = -1;
  CHECK_STATUS(SDKCORE_OK, sdkcore_check_public_key(public_key, strlen(public_key), &error));
  CHECK(error == SDKCORE_CIPHER_OK);
  CHECK_STATUS(SDKCORE_OK, sdkcore_check_public_key("MIIB", 4, &error));
  CHECK(error == SDKCORE_CIPHER_KEY_CREATION_FAILED);
}

/* Candidates, checks and grouping of typed numbers; a NUL byte is a character like any other. */
static void test_card_numbers(void) {
  static const struct {
    const char* text;
    size_t length;
    size_t count;
    const char* first;
    int potentially_valid, valid;
    const char* formatted;
  } cases[] = {
      {"", 0, 15, "visa", 1, 0, ""},
      {"4011", 4, 2, "visa", 1, 0, "4011"},
      {"3782 8224-6310005", 17, 1, "american-express", 1, 1, "3782 822463 10005"},
      {"4111111111111112", 16, 1, "visa", 1, 0, "4111 1111 1111 1112"},
      {"4111\0"
       "1",
       6, 0, NULL, 0, 0, "4111 1"},
  };
  size_t i, count = 99, type_length = 0, formatted_length = 0;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    sdkcore_card_brands* brands = NULL;
    const char* type = NULL;
    char* formatted = NULL;
    int potentially_valid = -1, valid = -1;
    CHECK_STATUS(SDKCORE_OK, sdkcore_detect_card_brands(cases[i].text, cases[i].length, &brands));
    CHECK_STATUS(SDKCORE_OK, sdkcore_card_brands_count(brands, &count));
    CHECK(count == cases[i].count);
    CHECK_STATUS(cases[i].first ? SDKCORE_OK : SDKCORE_INVALID_ARGUMENT,
                 sdkcore_card_brands_type(brands, 0, &type, &type_length));
    if (cases[i].first != NULL) check_text(cases[i].text, type, type_length, cases[i].first);
    CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_card_brands_type(brands, count, &type, NULL));
    CHECK(type == NULL);
    sdkcore_card_brands_free(brands);
    CHECK_STATUS(SDKCORE_OK, sdkcore_check_card_number(cases[i].text, cases[i].length,
                                                       &potentially_valid, &valid));
    CHECK(potentially_valid == cases[i].potentially_valid && valid == cases[i].valid);
    CHECK_STATUS(SDKCORE_OK, sdkcore_format_card_number(cases[i].text, cases[i].length, &formatted,
                                                        &formatted_length));
    check_text(cases[i].text, formatted, formatted_length, cases[i].formatted);
    sdkcore_free(formatted);
  }
}

/* The brand records as JSON: the candidates of a text and one brand by its id. */
static void test_card_brand_json(void) {
  static const struct {
    int by_id;
    const char* text;
    int status;
    const char* part;
  } cases[] = {
      {0, "401178", SDKCORE_OK, "{\"brands\":[{\"type\":\"elo\",\"niceType\":\"Elo\",\"patterns\""},
      {0, "x", SDKCORE_OK, "{\"brands\":[]}"},
      {1, "american-express", SDKCORE_OK,
       "\"gaps\":[4,10],\"lengths\":[15],"
       "\"code\":{\"name\":\"CID\",\"size\":4}}"},
      {1, "amex", SDKCORE_UNKNOWN_NAME, NULL},
      {1, "", SDKCORE_UNKNOWN_NAME, NULL},
  };
  size_t i, length = 0;
  for (i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    char* json = NULL;
    const size_t text_length = strlen(cases[i].text);
    CHECK_STATUS(cases[i].status,
                 cases[i].by_id
                     ? sdkcore_card_brand_json(cases[i].text, text_length, &json, &length)
                     : sdkcore_detect_card_brands_json(cases[i].text, text_length, &json, &length));
    if (cases[i].part == NULL) {
      CHECK(json == NULL && length == 0);
    } else if (json == NULL || strlen(json) != length || strstr(json, cases[i].part) == NULL) {
      fprintf(stderr, "brand JSON of '%s': got '%s'\n", cases[i].text, json ? json : "(null)");
      ++failures;
    }
    sdkcore_free(json);
  }
}

/* Expiry dates judged in June 2025, and security codes by brand. */
static void test_expiry_and_security_code(void) {
  static const struct {
    const char* text;
    int status;
  } expiries[] = {
      {"12/", SDKCORE_EXPIRY_POTENTIALLY_VALID}, {"6/25", SDKCORE_EXPIRY_VALID},
      {"05 / 2025", SDKCORE_EXPIRY_INVALID},     {"12/44", SDKCORE_EXPIRY_VALID},
      {"01/2045", SDKCORE_EXPIRY_INVALID},       {"13/25", SDKCORE_EXPIRY_INVALID},
  };
  static const struct {
    const char *code, *type;
    int is_valid;
  } codes[] = {
      {"1234", "american-express", 1},
      {"123", "american-express", 0},
      {"1234", "visa", 0},
      {"1234", "", 1},
      {"12345", "", 0},
      {"12a", "unknown", 0},
  };
  size_t i;
  for (i = 0; i < sizeof expiries / sizeof expiries[0]; ++i) {
    int status = -1;
    CHECK_STATUS(SDKCORE_OK, sdkcore_check_expiry(expiries[i].text, strlen(expiries[i].text), 2025,
                                                  6, &status));
    if (status != expiries[i].status) {
      fprintf(stderr, "expiry '%s': got %d\n", expiries[i].text, status);
      ++failures;
    }
  }
  for (i = 0; i < sizeof codes / sizeof codes[0]; ++i) {
    int is_valid = -1;
    CHECK_STATUS(SDKCORE_OK,
                 sdkcore_check_security_code(codes[i].code, strlen(codes[i].code), codes[i].type,
                                             strlen(codes[i].type), &is_valid));
    if (is_valid != codes[i].is_valid) {
      fprintf(stderr, "security code '%s' for '%s': got %d\n", codes[i].code, codes[i].type,
              is_valid);
      ++failures;
    }
  }
}

/* What a sink received, as a host would keep it. */
struct sink_log {
  int events;
  int without_error;
  int cvc_errors;
  int bad_texts;
};

static void record_event(void* user_data, const char* tag, size_t tag_length, const char* message,
                         size_t message_length, const char* error, size_t error_length) {
  struct sink_log* log = user_data;
  ++log->events;
  if (tag_length != 8 || strcmp(tag, "SDK-Core") != 0 || strlen(message) != message_length ||
      (error != NULL && strlen(error) != error_length)) {
    ++log->bad_texts;
  }
  if (error == NULL) ++log->without_error;
  if (error != NULL && strcmp(error, "CVC") == 0) ++log->cvc_errors;
}

static void test_log_sink(sdkcore_core* core, const char* public_key) {
  struct sink_log log = {0, 0, 0, 0};
  uint64_t handle = 0;
  struct change short_cvc = {SDKCORE_FIELD_CVC, "12", 2, 0};
  sdkcore_request* request = make_request(&kVariants[0], public_key, &short_cvc);
  sdkcore_token_result* result = NULL;
  int events;
  CHECK_STATUS(SDKCORE_OK, sdkcore_add_log_sink(record_event, &log, &handle));
  CHECK(handle != 0);
  CHECK_STATUS(SDKCORE_OK, sdkcore_generate_token(core, request, &result));
  sdkcore_token_result_free(result);
  CHECK(log.without_error >= 1 && log.cvc_errors >= 1 && log.bad_texts == 0);
  CHECK_STATUS(SDKCORE_OK, sdkcore_remove_log_sink(handle));
  events = log.events;
  CHECK_STATUS(SDKCORE_OK, sdkcore_generate_token(core, request, &result));
  sdkcore_token_result_free(result);
  CHECK(log.events == events);
  CHECK_STATUS(SDKCORE_UNKNOWN_NAME, sdkcore_remove_log_sink(handle));
  sdkcore_request_free(request);
}

/* NULL pointers, a NULL text with a length, and values outside their enumerations. */
static void test_bad_arguments(sdkcore_core* core) {
  sdkcore_request *request = NULL, *card = NULL;
  sdkcore_token_result* result = NULL;
  sdkcore_validation_result* validation = NULL;
  const char* text = NULL;
  char* out = NULL;
  unsigned char* bytes = NULL;
  sdkcore_card_brands* brands = NULL;
  size_t count = 1;
  uint64_t handle = 0;
  int value = 0, other = 1;
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS, &card));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_core_new(NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_new(6, &request));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_new(-1, &request));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_new(0, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_text(NULL, 0, "4", 1));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_text(card, 0, NULL, 1));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_text(card, 8, "4", 1));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT,
               sdkcore_request_set_text(card, SDKCORE_FIELD_BINDING_ID, "4", 1));
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_set_text(card, SDKCORE_FIELD_PAN, NULL, 0));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_registered_from(card, 3));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_registered_from(NULL, 0));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_request_set_timestamp(NULL, 0));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_generate_token(NULL, card, &result));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_generate_token(core, NULL, &result));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_generate_token(core, card, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_token_result_token(NULL, &text, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT,
               sdkcore_token_result_error(NULL, &text, NULL, &text, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_generate_token_json(core, NULL, 2, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_generate_token_json(NULL, "{}", 2, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_validate(NULL, "4", 1, &validation));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_validate("cvc", NULL, 1, &validation));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_validation_result_is_valid(NULL, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_base58_encode(NULL, 1, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_base58_decode("2", 1, NULL, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_base58_decode(NULL, 1, &bytes, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT,
               sdkcore_decode_stored_payment_method_id(NULL, 1, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_public_key(NULL, 1, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_public_key("k", 1, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_add_log_sink(NULL, NULL, &handle));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_add_log_sink(record_event, NULL, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_detect_card_brands(NULL, 1, &brands));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_detect_card_brands("4", 1, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_card_brands_count(NULL, &count));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_detect_card_brands_json(NULL, 1, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_card_brand_json(NULL, 4, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_format_card_number(NULL, 1, &out, NULL));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_card_number("4", 1, NULL, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_card_number(NULL, 1, &value, &other));
  CHECK(other == 0);
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_expiry("1/30", 4, 2025, 13, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_expiry("1/30", 4, 40000, 1, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_expiry(NULL, 4, 2025, 1, &value));
  CHECK_STATUS(SDKCORE_INVALID_ARGUMENT, sdkcore_check_security_code("123", 3, NULL, 4, &value));
  CHECK(request == NULL && result == NULL && validation == NULL && out == NULL && bytes == NULL &&
        handle == 0 && brands == NULL && count == 0 && value == 0);
  /* Freeing NULL does nothing. */
  CHECK_STATUS(SDKCORE_OK, sdkcore_free(NULL));
  CHECK_STATUS(SDKCORE_OK, sdkcore_core_free(NULL));
  CHECK_STATUS(SDKCORE_OK, sdkcore_request_free(NULL));
  CHECK_STATUS(SDKCORE_OK, sdkcore_token_result_free(NULL));
  CHECK_STATUS(SDKCORE_OK, sdkcore_validation_result_free(NULL));
  CHECK_STATUS(SDKCORE_OK, sdkcore_card_brands_free(NULL));
  sdkcore_request_free(card);
}

int main(int argc, char** argv) {
  char *public_key, *private_pem;
  BIO* bio;
  EVP_PKEY* private_key;
  sdkcore_core* core = NULL;
  if (argc != 4) {
    fprintf(stderr, "usage: %s PUBLIC_KEY.pem PRIVATE_KEY.pem VALIDATOR_CASES.tsv\n", argv[0]);
    return 2;
  }
  public_key = read_file(argv[1]);
  private_pem = read_file(argv[2]);
  bio = BIO_new_mem_buf(private_pem, -1);
  private_key = PEM_read_bio_PrivateKey(bio, NULL, NULL, NULL);
  if (private_key == NULL) return 2;

  CHECK(strcmp(sdkcore_version(), SDKCORE_VERSION_STRING) == 0);
  CHECK(sdkcore_version_number() == SDKCORE_VERSION_NUMBER);
  CHECK_STATUS(SDKCORE_OK, sdkcore_core_new(&core));
  test_six_variants(core, public_key, private_key);
  test_errors(core, public_key);
  test_json_path(core, public_key);
  test_validators(argv[3]);
  test_message_language();
  test_base58();
  test_public_key_check(public_key);
  test_card_numbers();
  test_card_brand_json();
  test_expiry_and_security_code();
  test_log_sink(core, public_key);
  test_bad_arguments(core);
  sdkcore_core_free(core);

  EVP_PKEY_free(private_key);
  BIO_free(bio);
  free(private_pem);
  free(public_key);
  if (failures != 0) fprintf(stderr, "%d check(s) failed\n", failures);
  return failures == 0 ? 0 : 1;
}
