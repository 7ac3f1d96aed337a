#ifndef SDKCORE_BINDINGS_JAVA_JNI_SUPPORT_H_
#define SDKCORE_BINDINGS_JAVA_JNI_SUPPORT_H_

// What the shim's entry points share: the classes and members looked up once when the library is
// loaded, text conversion in both directions, and the mapping of library failures to exceptions.

#include <jni.h>
#include <stddef.h>

// A status of the shim's own beside the library's: a Java exception is pending and the entry
// point returns at once.
#define JNI_EXCEPTION_PENDING (-1)

// Looked up in JNI_OnLoad, before any entry point runs; read-only afterwards.
typedef struct jni_cache {
  JavaVM* vm;
  jclass string_class;
  jmethodID string_from_bytes;  // String(byte[], Charset)
  jobject utf8;                 // StandardCharsets.UTF_8
  jclass validation_result_class;
  jmethodID validation_result_init;  // ValidationResult(boolean, String code, String message)
  jmethodID log_sink_log;            // LogSink.log(String tag, String message, String error)
  jmethodID crypto_provider_encrypt;       // CryptoProvider.encrypt(byte[], byte[])
  jmethodID crypto_provider_random_bytes;  // CryptoProvider.randomBytes(byte[])
} jni_cache;

extern jni_cache jni;

// Returns a new String holding the UTF-8 'text' of 'len' bytes, which the library also ends with
// a NUL byte; invalid UTF-8 becomes U+FFFD. Returns NULL with an exception pending on failure.
jstring jni_new_string(JNIEnv* env, const char* text, size_t len);

// A native copy of a Java byte[], wiped when released: the bytes may be card data.
typedef struct jni_bytes {
  char* data;  // NULL for a null array
  size_t len;
  char local[1024];  // holds short texts without an allocation
} jni_bytes;

// Copies 'array' (which may be NULL) into 'bytes'. Returns 0, or JNI_EXCEPTION_PENDING with an
// OutOfMemoryError pending.
int jni_bytes_get(JNIEnv* env, jbyteArray array, jni_bytes* bytes);

// Wipes and frees what jni_bytes_get copied.
void jni_bytes_release(jni_bytes* bytes);

// Throws the exception for a failure 'status' of the library unless one is pending already
// (JNI_EXCEPTION_PENDING): OutOfMemoryError for SDKCORE_OUT_OF_MEMORY, IllegalArgumentException
// for SDKCORE_INPUT_TOO_LARGE, IllegalStateException otherwise.
void jni_throw_status(JNIEnv* env, int status);

// Returns the JNIEnv of the calling thread, attaching a thread that the JVM does not know (as a
// daemon; *attached is then set to 1 and the caller detaches it). Returns NULL when that fails.
JNIEnv* jni_attached_env(int* attached);

#endif  // SDKCORE_BINDINGS_JAVA_JNI_SUPPORT_H_
