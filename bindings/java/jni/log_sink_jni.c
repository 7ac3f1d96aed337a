// Log sinks: Java LogSink objects attached to the library's logger.
//
// Each sink is an entry in a registry, keyed by an id that is never reused; the library's callback
// gets the id, not a pointer, and finds the sink under the registry's lock. A delivery takes its
// own local reference to the sink, so removing an entry (and deleting its global reference) never
// pulls the sink from under a delivery in progress, even when a sink removes itself from inside
// its own callback while other threads are delivering to it.

#include <pthread.h>
#include <stdint.h>
#include <stdlib.h>

#include "jni_support.h"
#include "org_sdkcore_Native.h"
#include "sdkcore/sdkcore.h"

typedef struct sink_entry {
  uintptr_t id;
  uint64_t handle;  // the library's handle, 0 until attached
  jobject sink;     // global reference
  struct sink_entry* next;
} sink_entry;

static pthread_mutex_t registry_lock = PTHREAD_MUTEX_INITIALIZER;
static sink_entry* registry;
static uintptr_t last_id;

static void link_entry(sink_entry* entry) {
  pthread_mutex_lock(&registry_lock);
  entry->id = ++last_id;
  entry->next = registry;
  registry = entry;
  pthread_mutex_unlock(&registry_lock);
}

// Removes the entry 'id' from the registry and returns it, or NULL when there is none.
static sink_entry* unlink_entry(uintptr_t id) {
  pthread_mutex_lock(&registry_lock);
  sink_entry** link = &registry;
  while (*link != NULL && (*link)->id != id) {
    link = &(*link)->next;
  }
  sink_entry* entry = *link;
  if (entry != NULL) {
    *link = entry->next;
  }
  pthread_mutex_unlock(&registry_lock);
  return entry;
}

static void set_handle(sink_entry* entry, uint64_t handle) {
  pthread_mutex_lock(&registry_lock);
  entry->handle = handle;
  pthread_mutex_unlock(&registry_lock);
}

// Returns a local reference to the sink 'id', or NULL when it was removed.
static jobject local_sink(JNIEnv* env, uintptr_t id) {
  jobject sink = NULL;
  pthread_mutex_lock(&registry_lock);
  for (const sink_entry* entry = registry; entry != NULL; entry = entry->next) {
    if (entry->id == id) {
      sink = (*env)->NewLocalRef(env, entry->sink);
      break;
    }
  }
  pthread_mutex_unlock(&registry_lock);
  return sink;
}

static void free_entry(JNIEnv* env, sink_entry* entry) {
  (*env)->DeleteGlobalRef(env, entry->sink);
  free(entry);
}

// Calls the sink's log method inside a local frame that the caller pops.
static void call_sink(JNIEnv* env, uintptr_t id, const char* tag, size_t tag_len,
                      const char* message, size_t message_len, const char* error,
                      size_t error_len) {
  jobject sink = local_sink(env, id);
  if (sink == NULL) {
    return;
  }
  jstring tag_string = jni_new_string(env, tag, tag_len);
  jstring message_string = tag_string ? jni_new_string(env, message, message_len) : NULL;
  jstring error_string = NULL;
  if (message_string == NULL ||
      (error != NULL && (error_string = jni_new_string(env, error, error_len)) == NULL)) {
    return;
  }
  (*env)->CallVoidMethod(env, sink, jni.log_sink_log, tag_string, message_string, error_string);
}

// The library's callback. No Java exception leaves it: one thrown by the sink is cleared, and one
// that was pending on the thread before the event is set again afterwards.
static void deliver(void* user_data, const char* tag, size_t tag_len, const char* message,
                    size_t message_len, const char* error, size_t error_len) {
  int attached = 0;
  JNIEnv* env = jni_attached_env(&attached);
  if (env == NULL) {
    return;
  }
  jthrowable pending = (*env)->ExceptionOccurred(env);
  (*env)->ExceptionClear(env);
  if ((*env)->PushLocalFrame(env, 8) == 0) {
    call_sink(env, (uintptr_t)user_data, tag, tag_len, message, message_len, error, error_len);
    (*env)->ExceptionClear(env);
    (*env)->PopLocalFrame(env, NULL);
  }
  (*env)->ExceptionClear(env);
  if (pending != NULL) {
    (*env)->Throw(env, pending);
    (*env)->DeleteLocalRef(env, pending);
  }
  if (attached) {
    (*jni.vm)->DetachCurrentThread(jni.vm);
  }
}

JNIEXPORT jlong JNICALL Java_org_sdkcore_Native_addLogSink(JNIEnv* env, jclass type, jobject sink) {
  (void)type;
  sink_entry* entry = calloc(1, sizeof *entry);
  if (entry == NULL || (entry->sink = (*env)->NewGlobalRef(env, sink)) == NULL) {
    free(entry);
    jni_throw_status(env, SDKCORE_OUT_OF_MEMORY);
    return 0;
  }
  link_entry(entry);
  const uintptr_t id = entry->id;
  uint64_t handle = 0;
  const int status = sdkcore_add_log_sink(deliver, (void*)id, &handle);
  if (status != SDKCORE_OK) {
    free_entry(env, unlink_entry(id));
    jni_throw_status(env, status);
    return 0;
  }
  set_handle(entry, handle);
  return (jlong)id;
}

JNIEXPORT void JNICALL Java_org_sdkcore_Native_removeLogSink(JNIEnv* env, jclass type, jlong id) {
  (void)type;
  sink_entry* entry = unlink_entry((uintptr_t)id);
  if (entry == NULL) {
    return;
  }
  // Waits for deliveries in progress on other threads, except when called from inside any sink's
  // callback, where it returns at once; deliveries in progress hold their own local references.
  sdkcore_remove_log_sink(entry->handle);
  free_entry(env, entry);
}
