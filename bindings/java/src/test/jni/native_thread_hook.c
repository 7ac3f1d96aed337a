// A test hook: makes the library log from a thread that the JVM did not start, as a host's own
// native code may.

#include <jni.h>
#include <pthread.h>
#include <stddef.h>

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

JNIEXPORT jboolean JNICALL Java_org_sdkcore_NativeThreadHook_requestOnNativeThread(JNIEnv* env,
                                                                                   jclass type) {
  (void)env;
  (void)type;
  pthread_t thread;
  if (pthread_create(&thread, NULL, request_without_fields, NULL) != 0) {
    return JNI_FALSE;
  }
  return pthread_join(thread, NULL) == 0 ? JNI_TRUE : JNI_FALSE;
}
