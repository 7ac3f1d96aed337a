// Test hooks in the tests' build of the JNI library: the library logging from a thread that the
// JVM did not start, as a host's own native code may, and the C interface's token cost measured
// in the same process as the Java one.

#define _POSIX_C_SOURCE 200809L

#include <jni.h>
#include <pthread.h>
#include <stddef.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "sdkcore/sdkcore.h"

// A request without its fields: the library logs the request and the missing binding id.
static void* request_without_fields(void* unused) {
  (void)unused;
  sdkcore_core* core = NULL;
  sdkcore_request* request = NULL;
  sdkcore_token_result* result = NULL;
  sdkcore_core_new(&core);
  sdkcore_request_new(SDKCORE_VARIANT_BINDING_PARAMS_INSTANT, &request);
  sdkcore_generate_token(core, request, &result);
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  sdkcore_core_free(core);
  return NULL;
}

JNIEXPORT jboolean JNICALL Java_org_sdkcore_NativeHooks_requestOnNativeThread(JNIEnv* env,
                                                                              jclass type) {
  (void)env;
  (void)type;
  pthread_t thread;
  if (pthread_create(&thread, NULL, request_without_fields, NULL) != 0) {
    return JNI_FALSE;
  }
  return pthread_join(thread, NULL) == 0 ? JNI_TRUE : JNI_FALSE;
}

static void set_text(sdkcore_request* request, int field, const char* text) {
  sdkcore_request_set_text(request, field, text, strlen(text));
}

// One token of the card request that TokenCostBenchmark makes from Java, the request built anew.
static int card_token(sdkcore_core* core, const char* pem, size_t pem_len) {
  sdkcore_request* request = NULL;
  sdkcore_token_result* result = NULL;
  const char* token = NULL;
  sdkcore_request_new(SDKCORE_VARIANT_CARD_PARAMS, &request);
  set_text(request, SDKCORE_FIELD_PAN, "4111111111111111");
  set_text(request, SDKCORE_FIELD_CVC, "123");
  set_text(request, SDKCORE_FIELD_EXPIRY_MMYY, "12/30");
  set_text(request, SDKCORE_FIELD_CARDHOLDER, "JOHN DOE");
  set_text(request, SDKCORE_FIELD_MD_ORDER, "ORDER-1");
  sdkcore_request_set_text(request, SDKCORE_FIELD_PUB_KEY, pem, pem_len);
  sdkcore_request_set_timestamp(request, 1700000000.0);
  sdkcore_generate_token(core, request, &result);
  sdkcore_token_result_token(result, &token, NULL);
  const int made = token != NULL;
  sdkcore_token_result_free(result);
  sdkcore_request_free(request);
  return made;
}

static jlong nanos_between(const struct timespec* start, const struct timespec* end) {
  return (jlong)(end->tv_sec - start->tv_sec) * 1000000000 + (end->tv_nsec - start->tv_nsec);
}

// Sets nanos[0] to the thread's CPU time and nanos[1] to the wall time that 'count' such tokens
// take. Returns JNI_FALSE when a token fails.
JNIEXPORT jboolean JNICALL Java_org_sdkcore_NativeHooks_cardTokens(JNIEnv* env, jclass type,
                                                                   jbyteArray pem, jint count,
                                                                   jlongArray nanos) {
  (void)type;
  const jsize pem_len = (*env)->GetArrayLength(env, pem);
  char* pem_text = malloc((size_t)pem_len);
  sdkcore_core* core = NULL;
  if (pem_text == NULL || sdkcore_core_new(&core) != SDKCORE_OK) {
    free(pem_text);
    return JNI_FALSE;
  }
  (*env)->GetByteArrayRegion(env, pem, 0, pem_len, (jbyte*)pem_text);
  struct timespec cpu[2];
  struct timespec wall[2];
  int made = 0;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu[0]);
  clock_gettime(CLOCK_MONOTONIC, &wall[0]);
  for (jint i = 0; i < count; ++i) {
    made += card_token(core, pem_text, (size_t)pem_len);
  }
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu[1]);
  clock_gettime(CLOCK_MONOTONIC, &wall[1]);
  sdkcore_core_free(core);
  free(pem_text);
  const jlong result[2] = {nanos_between(&cpu[0], &cpu[1]), nanos_between(&wall[0], &wall[1])};
  (*env)->SetLongArrayRegion(env, nanos, 0, 2, result);
  return made == count ? JNI_TRUE : JNI_FALSE;
}
