#ifndef SDKCORE_SDKCORE_H_
#define SDKCORE_SDKCORE_H_

// The C interface of SDKCore, for hosts in any language that binds to C (Swift, Kotlin and Java
// through JNI, Dart through dart:ffi, C# through P/Invoke, C and C++).
//
// Conventions, for every function below:
// - Names begin with `sdkcore_`; types are opaque and known only by pointer.
// - Every function returns an `int` status from `sdkcore_status` (the exceptions are
//   `sdkcore_version` and `sdkcore_version_number`) and hands results back through out-pointers.
//   On a failure every out-pointer that was given is set to NULL (or 0); the caller owns nothing.
//   The one exception: `sdkcore_generate_token_json` hands back the reader's message, which the
//   caller frees, on SDKCORE_MALFORMED_REQUEST.
// - Texts are UTF-8 and passed as a pointer and a length in bytes, so embedded NUL bytes and
//   invalid UTF-8 reach the library unchanged. A NULL pointer with length 0 is the empty text; a
//   NULL pointer with a non-zero length is always SDKCORE_INVALID_ARGUMENT.
// - Texts handed back carry their length and are also NUL-terminated, for hosts that read C
//   strings; a text that may hold a NUL byte is only complete through its length.
// - Ownership: what a function hands back is either borrowed from an object (valid until that
//   object is freed) or owned by the caller and freed with the one function that the
//   declaration names. Every free function accepts NULL and then does nothing.
// - No C++ exception ever leaves a function; a failure the library did not foresee is
//   SDKCORE_INTERNAL_ERROR.
// - Enumerations are passed as `int`; a value outside an enumeration is
//   SDKCORE_INVALID_ARGUMENT. Numeric values are stable; new values may be added.
// - Misuse that the library cannot see is undefined behaviour, as with any C library: a length
//   greater than the buffer it describes, a pointer to an object already freed or never made by
//   the library, freeing an object or buffer twice, `free()` (or any other deallocator) on a
//   buffer the library hands out, and sharing an object between threads beyond what its
//   declaration allows. The library's own binding layers (JNI) never do any of these.

#include <stddef.h>
#include <stdint.h>

#include "sdkcore/export.h"

#ifdef __cplusplus
extern "C" {
#endif

// Status codes. New codes may be added; treat any non-zero status as a failure.
typedef enum sdkcore_status {
  SDKCORE_OK = 0,
  // A NULL where a value is required, a NULL text with a non-zero length, a value outside its
  // enumeration, or a field that the request's variant does not have.
  SDKCORE_INVALID_ARGUMENT = 1,
  // A JSON request that is not valid JSON or not a valid request (sdkcore_generate_token_json).
  SDKCORE_MALFORMED_REQUEST = 2,
  // A name the library does not know, such as an unknown validator (sdkcore_validate) or an
  // unknown log sink handle.
  SDKCORE_UNKNOWN_NAME = 3,
  // An input longer than the function accepts (the Base58 functions: SDKCORE_BASE58_MAX_INPUT).
  SDKCORE_INPUT_TOO_LARGE = 4,
  SDKCORE_OUT_OF_MEMORY = 5,
  // A failure the library did not foresee; nothing was handed back.
  SDKCORE_INTERNAL_ERROR = 6,
  // Never returned: the library carries its own Unicode data. Kept so that hosts that name it
  // still compile.
  SDKCORE_ICU_DATA_MISSING = 7
} sdkcore_status;

// The most bytes that the Base58 functions and the stored payment method id decoder accept.
#define SDKCORE_BASE58_MAX_INPUT 65536

// Returns the library version, "3.0.7", as a static NUL-terminated text that is never freed.
// Thread-safe.
SDKCORE_EXPORT const char* sdkcore_version(void);

// Returns the library version as one number, MAJOR * 1000000 + MINOR * 1000 + PATCH (3000007
// for 3.0.7): equal to SDKCORE_VERSION_NUMBER of sdkcore/version.h when the headers and the
// library are of the same version. Thread-safe.
SDKCORE_EXPORT uint32_t sdkcore_version_number(void);

// Frees a text or byte buffer that a function below hands to the caller, after overwriting its
// bytes (they may be card data). Only for buffers that the library says to free with it;
// `free()` must not be used on them. Thread-safe for distinct buffers.
SDKCORE_EXPORT int sdkcore_free(void* buffer);

// ---- Token generation ----------------------------------------------------------------------

// The library's entry object. One core may serve sdkcore_generate_token and
// sdkcore_generate_token_json from several threads at once; it must not be freed while a call
// that uses it runs.
typedef struct sdkcore_core sdkcore_core;

// Makes a core in *out_core, to be freed with sdkcore_core_free. It uses the built-in
// cryptography; in a library built without OpenSSL it has no RSA encryption and answers every
// token request that reaches the encryption with UNKNOWN "unknown" (and a log event saying why):
// use sdkcore_core_new_with_provider there. Thread-safe.
SDKCORE_EXPORT int sdkcore_core_new(sdkcore_core** out_core);
// Frees the core; no other thread may use it any more.
SDKCORE_EXPORT int sdkcore_core_free(sdkcore_core* core);

// ---- Crypto provider ---------------------------------------------------------------------------

// One RSA public key in the forms that platform crypto libraries take, all describing the same
// key. The library has read and checked it (format, size, weak exponent, signing-only keys)
// before a provider sees it. The bytes are borrowed for the duration of the call.
typedef struct sdkcore_rsa_public_key {
  const uint8_t* modulus;  // big-endian magnitude, no leading zero byte
  size_t modulus_len;      // also the length the cipher text must have
  const uint8_t* exponent;  // big-endian magnitude, no leading zero byte
  size_t exponent_len;
  const uint8_t* pkcs1_der;  // DER of the PKCS #1 RSAPublicKey (SecKeyCreateWithData)
  size_t pkcs1_der_len;
  // DER of the SubjectPublicKeyInfo, rsaEncryption with NULL parameters (X509EncodedKeySpec)
  const uint8_t* spki_der;
  size_t spki_der_len;
} sdkcore_rsa_public_key;

// The cryptography a host supplies in place of the built-in one (OpenSSL, where the library is
// built with it): typically a thin adapter over the platform's own module. Both functions return
// SDKCORE_OK on success and any other status on failure, and get 'user_data' as given.
//
// They are called synchronously on the thread that asks for a token, possibly on several threads
// at once, so they must be thread-safe; they must not unwind (throw or longjmp) into the library.
// The library distrusts the answers: a failure status, or a cipher text whose length is not
// modulus_len, makes the token request fail as an encryption failure (UNKNOWN, "unknown"); a
// failing random_bytes refuses the token (UNKNOWN, "crypto provider failed to supply random
// bytes"). The plain text is the library's buffer, wiped after the call; copies the provider
// makes are the host's to wipe.
typedef struct sdkcore_crypto_provider {
  void* user_data;
  // Encrypts 'plain' with 'key' by RSAES-PKCS1-v1_5 (RFC 8017, random padding), writes the
  // cipher text to 'cipher' (room for 'cipher_capacity' bytes, at least key->modulus_len) and
  // sets *cipher_len to its length. Required.
  int (*encrypt)(void* user_data, const sdkcore_rsa_public_key* key, const uint8_t* plain,
                 size_t plain_len, uint8_t* cipher, size_t cipher_capacity, size_t* cipher_len);
  // Fills all 'len' bytes of 'out' from a cryptographically secure random source; the library
  // asks for a batch at a time (512 bytes per thread), which serves many tokens. NULL: the
  // library's own source (the operating system's generator: getrandom(), arc4random_buf()).
  int (*random_bytes)(void* user_data, uint8_t* out, size_t len);
} sdkcore_crypto_provider;

// As sdkcore_core_new, with 'provider' (copied; 'user_data' must stay valid until the core is
// freed) for the RSA encryption and the random bytes. NULL 'provider', or one without 'encrypt',
// is SDKCORE_INVALID_ARGUMENT. Thread-safe.
SDKCORE_EXPORT int sdkcore_core_new_with_provider(const sdkcore_crypto_provider* provider,
                                                  sdkcore_core** out_core);

// The six kinds of payment input.
typedef enum sdkcore_variant {
  SDKCORE_VARIANT_CARD_PARAMS = 0,                  // a card typed in, for an order
  SDKCORE_VARIANT_CARD_PARAMS_INSTANT = 1,          // a card typed in, without an order
  SDKCORE_VARIANT_BINDING_PARAMS = 2,               // a stored card (binding), for an order
  SDKCORE_VARIANT_BINDING_PARAMS_INSTANT = 3,       // a stored card, without an order
  SDKCORE_VARIANT_NEW_PAYMENT_METHOD_PARAMS = 4,    // a new card typed in
  SDKCORE_VARIANT_STORED_PAYMENT_METHOD_PARAMS = 5  // a stored payment method, "pm_..."
} sdkcore_variant;

// The text fields of a request. Which variant has which field:
//   CARD_PARAMS                   pan, cvc, expiryMMYY, cardholder (optional), mdOrder, pubKey
//   CARD_PARAMS_INSTANT and
//   NEW_PAYMENT_METHOD_PARAMS     pan, cvc, expiryMMYY, cardholder (optional), pubKey
//   BINDING_PARAMS                bindingId, cvc (optional), mdOrder, pubKey
//   BINDING_PARAMS_INSTANT        bindingId, cvc (optional), pubKey
//   STORED_PAYMENT_METHOD_PARAMS  storedPaymentMethodId, cvc (optional), pubKey
typedef enum sdkcore_field {
  SDKCORE_FIELD_PAN = 0,
  SDKCORE_FIELD_CVC = 1,
  SDKCORE_FIELD_EXPIRY_MMYY = 2,  // "MM/YY"
  SDKCORE_FIELD_CARDHOLDER = 3,
  SDKCORE_FIELD_MD_ORDER = 4,
  SDKCORE_FIELD_BINDING_ID = 5,
  SDKCORE_FIELD_STORED_PAYMENT_METHOD_ID = 6,
  SDKCORE_FIELD_PUB_KEY = 7  // the merchant's RSA public key, PEM text
} sdkcore_field;

// Which module of the kit makes the request.
typedef enum sdkcore_registered_from {
  SDKCORE_REGISTERED_FROM_ZKIT_CORE = 0,
  SDKCORE_REGISTERED_FROM_ZKIT_FORMS = 1,
  SDKCORE_REGISTERED_FROM_ZKIT_PAYMENT = 2
} sdkcore_registered_from;

// A token request under construction. Its texts are overwritten when they are replaced and when
// the request is freed. Not thread-safe while it is being changed; once built, several threads may
// pass it to sdkcore_generate_token at once.
typedef struct sdkcore_request sdkcore_request;

// Makes an empty request of 'variant' (an sdkcore_variant) in *out_request, to be freed with
// sdkcore_request_free. It comes from ZKIT_CORE and is timed at the moment of each
// sdkcore_generate_token call until set otherwise. Thread-safe.
SDKCORE_EXPORT int sdkcore_request_new(int variant, sdkcore_request** out_request);
// Overwrites the request's texts and frees it; no other thread may use it any more.
SDKCORE_EXPORT int sdkcore_request_free(sdkcore_request* request);

// Sets 'field' (an sdkcore_field) to the text, copied byte for byte; a later call replaces it.
// A field the variant does not have is SDKCORE_INVALID_ARGUMENT. An optional field never set is
// absent, and a zero length makes it present and empty. A required field never set is passed on
// as the empty text, so the token call answers with that field's error. Not thread-safe for one
// request (see sdkcore_request), like the two setters below.
SDKCORE_EXPORT int sdkcore_request_set_text(sdkcore_request* request, int field, const char* text,
                                            size_t text_len);
// Sets the module that makes the request (an sdkcore_registered_from).
SDKCORE_EXPORT int sdkcore_request_set_registered_from(sdkcore_request* request,
                                                       int registered_from);
// Sets the time of the request in seconds since 1970-01-01 00:00 UTC (the fraction is dropped).
// Any value is accepted; one that is not finite or outside the signed 64-bit range makes the
// token call answer with field "UNKNOWN".
SDKCORE_EXPORT int sdkcore_request_set_timestamp(sdkcore_request* request, double seconds);

// The answer to one token request: a token, or exactly one error (a field and a code).
// Immutable; may be read from several threads at once.
typedef struct sdkcore_token_result sdkcore_token_result;

// Checks the request, builds the payment string, encrypts it with the request's public key and
// puts the answer in *out_result, to be freed with sdkcore_token_result_free. A request the
// library refuses is not a failure of this function: the status is SDKCORE_OK and the result
// holds the error. Thread-safe as described for sdkcore_core and sdkcore_request.
SDKCORE_EXPORT int sdkcore_generate_token(sdkcore_core* core, const sdkcore_request* request,
                                          sdkcore_token_result** out_result);

// Sets *token to the Base64 token, borrowed from 'result', or to NULL when the result holds an
// error. 'token_len' may be NULL. Thread-safe, as are the other accessors of results below.
SDKCORE_EXPORT int sdkcore_token_result_token(const sdkcore_token_result* result,
                                              const char** token, size_t* token_len);
// Sets *field to the failing field's name ("PAN", "CVC", "EXPIRY", "CARDHOLDER", "PUB_KEY",
// "MD_ORDER", "BINDING_ID", "STORED_PAYMENT_METHOD_ID" or "UNKNOWN") and *code to its code
// ("required", "invalid", "invalid-format", "unknown", or for UNKNOWN a description), both
// borrowed from 'result'; both are NULL when the result holds a token. The length pointers may
// be NULL.
SDKCORE_EXPORT int sdkcore_token_result_error(const sdkcore_token_result* result,
                                              const char** field, size_t* field_len,
                                              const char** code, size_t* code_len);
// Frees the result and the texts borrowed from it; no other thread may use it any more.
SDKCORE_EXPORT int sdkcore_token_result_free(sdkcore_token_result* result);

// The token path for hosts that speak JSON. 'request_json' is one request in the form that
// `sdkcore token --request` reads:
//   {"variant": "cardParams", "params": {"pan": ..., "pubKey": ...},
//    "registeredFrom": "ZKIT_CORE", "timestamp": 1700000000.5}
// `params.pubKey` is required; `registeredFrom` defaults to ZKIT_CORE and `timestamp` to the
// current time. On SDKCORE_OK, *out_json is the answer {"token": "..."} or
// {"errors": {"PAN": "required"}}. On SDKCORE_MALFORMED_REQUEST (invalid JSON or UTF-8, a member
// given twice, nesting deeper than 64 levels, a required member missing or of the wrong type, an
// unknown variant) *out_json is a one-line message naming the member or position, which never
// quotes the request's data: it names a member only by a name the request format defines (such
// as "params.pan") and describes any other ("an unknown member of "params" ... at line 1, column
// 40, byte offset 39"), and never repeats a value. In both cases *out_json is freed with sdkcore_free; 'out_len' may be
// NULL. Thread-safe as described for sdkcore_core.
SDKCORE_EXPORT int sdkcore_generate_token_json(sdkcore_core* core, const char* request_json,
                                               size_t request_len, char** out_json,
                                               size_t* out_len);

// ---- Field validators -------------------------------------------------------------------------

// The answer of one validator: valid, or invalid with a code and a localized message.
// Immutable; may be read from several threads at once.
typedef struct sdkcore_validation_result sdkcore_validation_result;

// Runs the validator 'name' (a NUL-terminated text: "card-number", "expiry", "cvc",
// "cardholder", "email", "phone", "address-line1", "address-line2", "address-line3", "city",
// "country", "state", "postal-code") on the text and puts the answer in *out_result, to be freed
// with sdkcore_validation_result_free. Any other name is SDKCORE_UNKNOWN_NAME. Messages are in
// the language of the moment (sdkcore_set_message_language). Thread-safe.
SDKCORE_EXPORT int sdkcore_validate(const char* name, const char* text, size_t text_len,
                                    sdkcore_validation_result** out_result);
// Sets *is_valid to 1 when the text passed, 0 when not.
SDKCORE_EXPORT int sdkcore_validation_result_is_valid(const sdkcore_validation_result* result,
                                                      int* is_valid);
// Sets *code ("required", "invalid", "invalid-format") and *message (the localized message),
// borrowed from 'result'; both are NULL for a valid result. The length pointers may be NULL.
SDKCORE_EXPORT int sdkcore_validation_result_error(const sdkcore_validation_result* result,
                                                   const char** code, size_t* code_len,
                                                   const char** message, size_t* message_len);
// Frees the result and the texts borrowed from it; no other thread may use it any more.
SDKCORE_EXPORT int sdkcore_validation_result_free(sdkcore_validation_result* result);

// Sets the language of the library's messages (validation messages, error descriptions) for the
// whole process, in place of the environment's (the first of LC_ALL, LC_MESSAGES and LANG that
// is not empty): 'language' is a language code or a locale name ("de", "de_AT", "de-AT",
// "de_DE.UTF-8@euro"), of which only the language part counts, lower-cased; "C", "POSIX" and a
// name without a language part ("_US") give "en". The empty text (NULL with length 0 too) goes
// back to the environment's language. A language part that is not 2 to 8 ASCII letters (a NUL
// byte counts as none) is SDKCORE_INVALID_ARGUMENT and changes nothing. Validator calls after it
// use the new language. Thread-safe: the last of concurrent calls wins.
SDKCORE_EXPORT int sdkcore_set_message_language(const char* language, size_t language_len);

// ---- Helpers ---------------------------------------------------------------------------------

// Base58 (alphabet "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz", each leading
// zero byte written as "1"). Encodes at most SDKCORE_BASE58_MAX_INPUT bytes (more is
// SDKCORE_INPUT_TOO_LARGE) into *out_text, freed with sdkcore_free; no bytes give the empty text.
// 'out_len' may be NULL. Thread-safe.
SDKCORE_EXPORT int sdkcore_base58_encode(const uint8_t* data, size_t data_len, char** out_text,
                                         size_t* out_len);
// Decodes a Base58 text of at most SDKCORE_BASE58_MAX_INPUT bytes (more is
// SDKCORE_INPUT_TOO_LARGE) into *out_data, freed with sdkcore_free. A text that is empty or holds
// any character outside the alphabet (white space included) is no Base58: the status is
// SDKCORE_OK and *out_data is NULL. 'out_len' may be NULL. Thread-safe.
SDKCORE_EXPORT int sdkcore_base58_decode(const char* text, size_t text_len, uint8_t** out_data,
                                         size_t* out_len);
// Decodes a stored payment method id ("pm_" + Base58 of the binding id) of at most
// SDKCORE_BASE58_MAX_INPUT bytes into the binding id, trimmed of white space, in *out_binding_id,
// freed with sdkcore_free. A malformed id gives the empty text. 'out_len' may be NULL.
// Thread-safe.
SDKCORE_EXPORT int sdkcore_decode_stored_payment_method_id(const char* id, size_t id_len,
                                                           char** out_binding_id, size_t* out_len);

// What the RSA cipher answers for a public key text.
typedef enum sdkcore_cipher_error {
  SDKCORE_CIPHER_OK = 0,
  // No usable RSA public key: not PEM or Base64 of a key or certificate, not RSA, or weak (a
  // modulus under 1024 bits, an exponent that is even, below 3 or longer than 64 bits). Tokens
  // give PUB_KEY "invalid".
  SDKCORE_CIPHER_KEY_CREATION_FAILED = 1,
  // The key cannot encrypt with PKCS #1 v1.5 (a signing-only key). Tokens give UNKNOWN.
  SDKCORE_CIPHER_ALGORITHM_NOT_SUPPORTED = 2,
  // The encryption itself failed. Tokens give UNKNOWN.
  SDKCORE_CIPHER_ENCRYPTION_FAILED = 3
} sdkcore_cipher_error;

// Sets *out_cipher_error (an sdkcore_cipher_error) to what encrypting with the key text would
// raise, SDKCORE_CIPHER_OK for a usable key. Thread-safe.
SDKCORE_EXPORT int sdkcore_check_public_key(const char* key, size_t key_len, int* out_cipher_error);

// ---- Card-entry helpers ----------------------------------------------------------------------

// Live feedback for a card-entry form, by the library's brand table (<sdkcore/card_brand.hpp>):
// the brands a typed number may belong to, its display grouping, and whether the number, the
// expiry date and the security code are valid or can still become valid by typing more. They
// decide the form's look; what may be sent is decided by the validators and the token call. In a
// typed card number, spaces and '-' are ignored and any other byte (digits of scripts other than
// ASCII too) matches no brand. No function keeps or logs the texts it is given.

// The candidate brands of a typed card number, in the brand table's order.
// Immutable; may be read from several threads at once.
typedef struct sdkcore_card_brands sdkcore_card_brands;

// Puts the candidate brands of the typed number 'text' in *out_brands, to be freed with
// sdkcore_card_brands_free. A brand is a candidate while one of its prefixes is complete in the
// text or can still be completed by typing; when every candidate's prefix is complete, only the
// longest remains: "4011" gives visa and elo, "401178" elo alone. The empty text has every brand,
// a text with any other character none. Thread-safe.
SDKCORE_EXPORT int sdkcore_detect_card_brands(const char* text, size_t text_len,
                                              sdkcore_card_brands** out_brands);
// Sets *out_count to the number of candidates, 0 when there is none. Thread-safe, as are the
// other accessors of candidates below.
SDKCORE_EXPORT int sdkcore_card_brands_count(const sdkcore_card_brands* brands, size_t* out_count);
// Sets *type to the id of the candidate at 'index' (from 0), such as "visa" or
// "american-express": a static text, never freed and valid after 'brands' is freed. An index
// that is not below the count is SDKCORE_INVALID_ARGUMENT. 'type_len' may be NULL.
SDKCORE_EXPORT int sdkcore_card_brands_type(const sdkcore_card_brands* brands, size_t index,
                                            const char** type, size_t* type_len);
// Frees the candidates; no other thread may use them any more.
SDKCORE_EXPORT int sdkcore_card_brands_free(sdkcore_card_brands* brands);

// The candidates that sdkcore_detect_card_brands finds for 'text', as the JSON text that
// `sdkcore card brand` prints: {"brands":[BRAND,...]}, each BRAND the record that
// sdkcore_card_brand_json gives. *out_json is freed with sdkcore_free; 'out_len' may be NULL.
// Thread-safe.
SDKCORE_EXPORT int sdkcore_detect_card_brands_json(const char* text, size_t text_len,
                                                   char** out_json, size_t* out_len);
// The record of the brand whose id is 'type', as JSON text:
//   {"type":"visa","niceType":"Visa","patterns":[4,[2221,2229]],"gaps":[4,8,12],
//    "lengths":[16,18,19],"code":{"name":"CVV","size":3}}
// where a pattern is a prefix or an inclusive range of prefixes, a gap the digit count after
// which a space is shown, and code the security code's name and size. An unknown id is
// SDKCORE_UNKNOWN_NAME. *out_json is freed with sdkcore_free; 'out_len' may be NULL. Thread-safe.
SDKCORE_EXPORT int sdkcore_card_brand_json(const char* type, size_t type_len, char** out_json,
                                           size_t* out_len);

// Puts in *out_text the digits of the typed number 'text' (other characters dropped), with a
// space at each gap of its first candidate brand, or after every fourth digit when it has none:
// "378282246310005" gives "3782 822463 10005". *out_text is freed (and overwritten) with
// sdkcore_free; 'out_len' may be NULL. Thread-safe.
SDKCORE_EXPORT int sdkcore_format_card_number(const char* text, size_t text_len, char** out_text,
                                              size_t* out_len);

// Sets *is_valid to 1 when the typed number 'text' is complete and valid (exactly one candidate
// brand, one of that brand's lengths and, where the brand uses it, a passing Luhn check), else 0.
// Sets *is_potentially_valid to 1 when it is valid or typing more can still make it valid
// (several candidates, or one whose longest length is not reached yet), else 0: a form marks the
// field as wrong only then. Thread-safe.
SDKCORE_EXPORT int sdkcore_check_card_number(const char* text, size_t text_len,
                                             int* is_potentially_valid, int* is_valid);

// Where a typed expiry date stands.
typedef enum sdkcore_expiry_status {
  SDKCORE_EXPIRY_INVALID = 0,            // wrong, and typing more cannot mend it
  SDKCORE_EXPIRY_POTENTIALLY_VALID = 1,  // not a valid date yet, but typing more can make it one
  SDKCORE_EXPIRY_VALID = 2
} sdkcore_expiry_status;

// Sets *out_status (an sdkcore_expiry_status) for the typed expiry 'text' in the month 'now_month'
// (1 to 12) of the year 'now_year' (from -32767 to 32767; anything else is
// SDKCORE_INVALID_ARGUMENT), which the caller passes in, usually today's local month. Accepted
// forms: a month of one or two digits, then "/" with optional spaces around it or nothing, then a
// year of two digits (20YY) or four: "1/30", "01 / 2030", "0130". Valid: month 1 to 12, neither
// before 'now' nor in a year more than 19 years after it. Potentially valid: "", "1", "12/",
// "12/2" and the like. Thread-safe.
SDKCORE_EXPORT int sdkcore_check_expiry(const char* text, size_t text_len, int now_year,
                                        int now_month, int* out_status);

// Sets *is_valid to 1 when 'text' is a security code for the brand whose id is 'type' (as
// sdkcore_card_brands_type gives it): ASCII digits only, as many as that brand's code has, or 3
// or 4 for an unknown id or the empty one (no brand known yet); else 0. Thread-safe.
SDKCORE_EXPORT int sdkcore_check_security_code(const char* text, size_t text_len, const char* type,
                                               size_t type_len, int* is_valid);

// ---- Logging ---------------------------------------------------------------------------------

// Receives one log event of the library: the tag ("SDK-Core"), the message, and the error the
// event reports (for a field error its name, such as "CVC", for any other error its description)
// or NULL when there is none. The texts are borrowed for the duration of the call and are also
// NUL-terminated. Messages show card numbers and security codes masked, and every other field
// with its runs of 12 or more digits (of any script, single spaces or dashes between them) masked
// as a card number is, since a card number may be typed into the wrong field; other card data
// (the holder's name, the expiry date) are in clear. Called synchronously on the thread that
// logs, possibly on several threads at once; it must not unwind (throw or longjmp) into the
// library.
typedef void (*sdkcore_log_callback)(void* user_data, const char* tag, size_t tag_len,
                                     const char* message, size_t message_len, const char* error,
                                     size_t error_len);

// Attaches a sink that calls 'callback' with 'user_data' for every later log event, and sets
// *out_handle to its handle (never 0). A sink attached while an event is being delivered receives
// only later events. Thread-safe.
SDKCORE_EXPORT int sdkcore_add_log_sink(sdkcore_log_callback callback, void* user_data,
                                        uint64_t* out_handle);
// Detaches the sink. In every case no call of its callback starts after this returns.
// - Called outside any log callback: it also waits for calls of that callback in progress on
//   other threads, so once it returns the callback is never called again (it must therefore not be
//   called while holding a lock that the callback takes).
// - Called from inside a log callback (of any sink, on this thread): it returns at once without
//   waiting, so callbacks that remove each other's sinks on two threads cannot deadlock; calls
//   already in progress on other threads may still be running, and 'user_data' must stay valid
//   until they end.
// A handle that is not attached (never was, or was removed already) is SDKCORE_UNKNOWN_NAME.
// Thread-safe.
SDKCORE_EXPORT int sdkcore_remove_log_sink(uint64_t handle);

#ifdef __cplusplus
}  // extern "C"
#endif

#endif  // SDKCORE_SDKCORE_H_
