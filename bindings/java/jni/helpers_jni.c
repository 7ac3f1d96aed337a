// The validators and the Base58 codec.

#include <string.h>

#include "jni_support.h"
#include "org_sdkcore_Native.h"
#include "sdkcore/sdkcore.h"

// Returns a new ValidationResult holding what 'result' holds, or NULL with an exception pending.
static jobject new_validation_result(JNIEnv* env, const sdkcore_validation_result* result) {
  int valid = 0;
  const char* code = NULL;
  size_t code_len = 0;
  const char* message = NULL;
  size_t message_len = 0;
  sdkcore_validation_result_is_valid(result, &valid);
  sdkcore_validation_result_error(result, &code, &code_len, &message, &message_len);
  jstring code_string = NULL;
  jstring message_string = NULL;
  jobject answer = NULL;
  if (code != NULL && (code_string = jni_new_string(env, code, code_len)) != NULL) {
    message_string = jni_new_string(env, message, message_len);
  }
  if (!(*env)->ExceptionCheck(env)) {
    answer = (*env)->NewObject(env, jni.validation_result_class, jni.validation_result_init,
                               (jboolean)(valid != 0), code_string, message_string);
  }
  (*env)->DeleteLocalRef(env, code_string);
  (*env)->DeleteLocalRef(env, message_string);
  return answer;
}

// Copies the UTF-8 'name' into 'out' as a C string. Returns 0 when it cannot be a validator's
// name: too long, or holding a NUL byte that would cut it short.
static int copy_name(JNIEnv* env, jbyteArray name, char* out, size_t out_size) {
  const jsize len = (*env)->GetArrayLength(env, name);
  if ((size_t)len >= out_size) {
    return 0;
  }
  (*env)->GetByteArrayRegion(env, name, 0, len, (jbyte*)out);
  out[len] = '\0';
  return memchr(out, '\0', (size_t)len) == NULL;
}

// Returns NULL, with no exception pending, for a name that no validator has.
JNIEXPORT jobject JNICALL Java_org_sdkcore_Native_validate(JNIEnv* env, jclass type,
                                                           jbyteArray name, jbyteArray text) {
  (void)type;
  char name_chars[64];
  if (!copy_name(env, name, name_chars, sizeof name_chars)) {
    return NULL;
  }
  jni_bytes bytes;
  sdkcore_validation_result* result = NULL;
  int status = jni_bytes_get(env, text, &bytes);
  if (status == SDKCORE_OK) {
    status = sdkcore_validate(name_chars, bytes.data, bytes.len, &result);
  }
  jni_bytes_release(&bytes);
  jobject answer = NULL;
  if (status == SDKCORE_OK) {
    answer = new_validation_result(env, result);
  } else if (status != SDKCORE_UNKNOWN_NAME) {
    jni_throw_status(env, status);
  }
  sdkcore_validation_result_free(result);
  return answer;
}

JNIEXPORT jstring JNICALL Java_org_sdkcore_Native_base58Encode(JNIEnv* env, jclass type,
                                                               jbyteArray data) {
  (void)type;
  jni_bytes bytes;
  char* text = NULL;
  size_t text_len = 0;
  int status = jni_bytes_get(env, data, &bytes);
  if (status == SDKCORE_OK) {
    status = sdkcore_base58_encode((const uint8_t*)bytes.data, bytes.len, &text, &text_len);
  }
  jni_bytes_release(&bytes);
  jstring answer = NULL;
  if (status == SDKCORE_OK) {
    answer = jni_new_string(env, text, text_len);
  } else {
    jni_throw_status(env, status);
  }
  sdkcore_free(text);
  return answer;
}

// Returns NULL, with no exception pending, for a text that is no Base58.
JNIEXPORT jbyteArray JNICALL Java_org_sdkcore_Native_base58Decode(JNIEnv* env, jclass type,
                                                                  jbyteArray text) {
  (void)type;
  jni_bytes bytes;
  uint8_t* data = NULL;
  size_t data_len = 0;
  int status = jni_bytes_get(env, text, &bytes);
  if (status == SDKCORE_OK) {
    status = sdkcore_base58_decode(bytes.data, bytes.len, &data, &data_len);
  }
  jni_bytes_release(&bytes);
  jbyteArray answer = NULL;
  if (status != SDKCORE_OK) {
    jni_throw_status(env, status);
  } else if (data != NULL && (answer = (*env)->NewByteArray(env, (jsize)data_len)) != NULL) {
    (*env)->SetByteArrayRegion(env, answer, 0, (jsize)data_len, (const jbyte*)data);
  }
  sdkcore_free(data);
  return answer;
}
