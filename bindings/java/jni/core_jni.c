// The core's entry points: version, lifetime and tokens.

#include <stdint.h>

#include "jni_support.h"
#include "org_sdkcore_Native.h"
#include "sdkcore/sdkcore.h"

// The number of fields a request has, and the length of the array that Java passes.
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

// Sets field 'field' of 'request' from the byte[] at that position of 'fields', if one is there.
static int set_field(JNIEnv* env, sdkcore_request* request, jobjectArray fields, int field) {
  jbyteArray array = (jbyteArray)(*env)->GetObjectArrayElement(env, fields, field);
  if (array == NULL) {
    return (*env)->ExceptionCheck(env) ? JNI_EXCEPTION_PENDING : SDKCORE_OK;
  }
  jni_bytes text;
  int status = jni_bytes_get(env, array, &text);
  if (status == SDKCORE_OK) {
    status = sdkcore_request_set_text(request, field, text.data, text.len);
  }
  jni_bytes_release(&text);
  (*env)->DeleteLocalRef(env, array);
  return status;
}

static int fill_request(JNIEnv* env, sdkcore_request* request, jint registered_from, jboolean timed,
                        jdouble timestamp, jobjectArray fields) {
  if ((*env)->GetArrayLength(env, fields) != FIELD_COUNT) {
    return SDKCORE_INVALID_ARGUMENT;
  }
  int status = sdkcore_request_set_registered_from(request, registered_from);
  for (int field = 0; status == SDKCORE_OK && field < FIELD_COUNT; ++field) {
    status = set_field(env, request, fields, field);
  }
  if (status == SDKCORE_OK && timed) {
    status = sdkcore_request_set_timestamp(request, timestamp);
  }
  return status;
}

// Returns a new TokenResult holding what 'result' holds, or NULL with an exception pending.
static jobject new_token_result(JNIEnv* env, const sdkcore_token_result* result) {
  const char* token = NULL;
  size_t token_len = 0;
  const char* field = NULL;
  size_t field_len = 0;
  const char* code = NULL;
  size_t code_len = 0;
  sdkcore_token_result_token(result, &token, &token_len);
  sdkcore_token_result_error(result, &field, &field_len, &code, &code_len);
  jstring texts[3] = {NULL, NULL, NULL};
  jobject answer = NULL;
  if (token != NULL) {
    texts[0] = jni_new_string(env, token, token_len);
  } else if ((texts[1] = jni_new_string(env, field, field_len)) != NULL) {
    texts[2] = jni_new_string(env, code, code_len);
  }
  if (!(*env)->ExceptionCheck(env)) {
    answer = (*env)->NewObject(env, jni.token_result_class, jni.token_result_init, texts[0],
                               texts[1], texts[2]);
  }
  for (int i = 0; i < 3; ++i) {
    (*env)->DeleteLocalRef(env, texts[i]);
  }
  return answer;
}

JNIEXPORT jobject JNICALL Java_org_sdkcore_Native_generateToken(JNIEnv* env, jclass type,
                                                                jlong core, jint variant,
                                                                jint registered_from,
                                                                jboolean timed, jdouble timestamp,
                                                                jobjectArray fields) {
  (void)type;
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
    answer = new_token_result(env, result);
  } else {
    jni_throw_status(env, status);
  }
  sdkcore_token_result_free(result);
  return answer;
}
