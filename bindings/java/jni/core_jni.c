// The core's entry points: version, lifetime and tokens.

#include <stdint.h>

#include "jni_support.h"
#include "org_sdkcore_Native.h"
#include "sdkcore/sdkcore.h"

// The number of fields a request has.
#define FIELD_COUNT 8

static sdkcore_core* core_of(jlong core) { return (sdkcore_core*)(intptr_t)core; }

JNIEXPORT jstring JNICALL Java_org_sdkcore_Native_version(JNIEnv* env, jclass type) {
  (void)type;
  return (*env)->NewStringUTF(env, sdkcore_version());
}

JNIEXPORT jlong JNICALL Java_org_sdkcore_Native_coreNew(JNIEnv* env, jclass type) {
  (void)type;
  sdkcore_core* core = NULL;
  const int status = sdkcore_core_new(&core);
  if (status != SDKCORE_OK) {
    jni_throw_status(env, status);
  }
  return (jlong)(intptr_t)core;
}

JNIEXPORT void JNICALL Java_org_sdkcore_Native_coreFree(JNIEnv* env, jclass type, jlong core) {
  (void)env;
  (void)type;
  sdkcore_core_free(core_of(core));
}

// Sets 'field' of 'request' from 'text' unless it is null.
static int set_field(JNIEnv* env, sdkcore_request* request, int field, jbyteArray text) {
  if (text == NULL) {
    return SDKCORE_OK;
  }
  jni_bytes bytes;
  int status = jni_bytes_get(env, text, &bytes);
  if (status == SDKCORE_OK) {
    status = sdkcore_request_set_text(request, field, bytes.data, bytes.len);
  }
  jni_bytes_release(&bytes);
  return status;
}

// 'fields' holds the texts by field number, NULL where a field is not set.
static int fill_request(JNIEnv* env, sdkcore_request* request, jint registered_from, jboolean timed,
                        jdouble timestamp, const jbyteArray* fields) {
  int status = sdkcore_request_set_registered_from(request, registered_from);
  for (int field = 0; status == SDKCORE_OK && field < FIELD_COUNT; ++field) {
    status = set_field(env, request, field, fields[field]);
  }
  if (status == SDKCORE_OK && timed) {
    status = sdkcore_request_set_timestamp(request, timestamp);
  }
  return status;
}

// Returns the token as a String, or the error as a String[] {field, code}; NULL with an
// exception pending on failure.
static jobject new_answer(JNIEnv* env, const sdkcore_token_result* result) {
  const char* text = NULL;
  size_t text_len = 0;
  sdkcore_token_result_token(result, &text, &text_len);
  if (text != NULL) {
    return jni_new_string(env, text, text_len);
  }
  const char* field = NULL;
  size_t field_len = 0;
  sdkcore_token_result_error(result, &field, &field_len, &text, &text_len);
  jobjectArray error = (*env)->NewObjectArray(env, 2, jni.string_class, NULL);
  jstring parts[2] = {NULL, NULL};
  if (error != NULL && (parts[0] = jni_new_string(env, field, field_len)) != NULL &&
      (parts[1] = jni_new_string(env, text, text_len)) != NULL) {
    (*env)->SetObjectArrayElement(env, error, 0, parts[0]);
    (*env)->SetObjectArrayElement(env, error, 1, parts[1]);
  }
  (*env)->DeleteLocalRef(env, parts[0]);
  (*env)->DeleteLocalRef(env, parts[1]);
  return (*env)->ExceptionCheck(env) ? NULL : error;
}

JNIEXPORT jobject JNICALL Java_org_sdkcore_Native_generateToken(
    JNIEnv* env, jclass type, jlong core, jint variant, jint registered_from, jboolean timed,
    jdouble timestamp, jbyteArray pan, jbyteArray cvc, jbyteArray expiry_mmyy,
    jbyteArray cardholder, jbyteArray md_order, jbyteArray binding_id,
    jbyteArray stored_payment_method_id, jbyteArray pub_key) {
  (void)type;
  const jbyteArray fields[FIELD_COUNT] = {
      pan, cvc, expiry_mmyy, cardholder, md_order, binding_id, stored_payment_method_id, pub_key};
  sdkcore_request* request = NULL;
  sdkcore_token_result* result = NULL;
  int status = sdkcore_request_new(variant, &request);
  if (status == SDKCORE_OK) {
    status = fill_request(env, request, registered_from, timed, timestamp, fields);
  }
  if (status == SDKCORE_OK) {
    status = sdkcore_generate_token(core_of(core), request, &result);
  }
  sdkcore_request_free(request);
  jobject answer = NULL;
  if (status == SDKCORE_OK) {
    answer = new_answer(env, result);
  } else {
    jni_throw_status(env, status);
  }
  sdkcore_token_result_free(result);
  return answer;
}
