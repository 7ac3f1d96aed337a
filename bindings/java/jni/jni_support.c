#include "jni_support.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "sdkcore/sdkcore.h"

jni_cache jni;

// memset through a volatile pointer: the compiler cannot prove the call dead and drop it.
static void* (*const volatile wipe)(void*, int, size_t) = memset;

// JNI's modified UTF-8 equals UTF-8 for ASCII without NUL bytes: the cheap NewStringUTF serves.
// The loop only ORs bytes together, which the compiler vectorizes.
static int is_plain_ascii(const char* text, size_t len) {
  unsigned char high_bits = 0;
  for (size_t i = 0; i < len; ++i) {
    high_bits |= (unsigned char)text[i];
  }
  return (high_bits & 0x80) == 0 && memchr(text, '\0', len) == NULL;
}

jstring jni_new_string(JNIEnv* env, const char* text, size_t len) {
  if (is_plain_ascii(text, len)) {
    return (*env)->NewStringUTF(env, text);
  }
  if (len > (size_t)INT32_MAX) {
    (*env)->ThrowNew(env, (*env)->FindClass(env, "java/lang/OutOfMemoryError"), "text too long");
    return NULL;
  }
  jbyteArray bytes = (*env)->NewByteArray(env, (jsize)len);
  if (bytes == NULL) {
    return NULL;
  }
  (*env)->SetByteArrayRegion(env, bytes, 0, (jsize)len, (const jbyte*)text);
  jstring string =
      (jstring)(*env)->NewObject(env, jni.string_class, jni.string_from_bytes, bytes, jni.utf8);
  (*env)->DeleteLocalRef(env, bytes);
  return string;
}

int jni_bytes_get(JNIEnv* env, jbyteArray array, jni_bytes* bytes) {
  bytes->data = NULL;
  bytes->len = 0;
  if (array == NULL) {
    return 0;
  }
  bytes->len = (size_t)(*env)->GetArrayLength(env, array);
  bytes->data = bytes->len <= sizeof bytes->local ? bytes->local : malloc(bytes->len);
  if (bytes->data == NULL) {
    bytes->len = 0;
    (*env)->ThrowNew(env, (*env)->FindClass(env, "java/lang/OutOfMemoryError"), NULL);
    return JNI_EXCEPTION_PENDING;
  }
  (*env)->GetByteArrayRegion(env, array, 0, (jsize)bytes->len, (jbyte*)bytes->data);
  return 0;
}

void jni_bytes_release(jni_bytes* bytes) {
  if (bytes->data == NULL) {
    return;
  }
  wipe(bytes->data, 0, bytes->len);
  if (bytes->data != bytes->local) {
    free(bytes->data);
  }
  bytes->data = NULL;
  bytes->len = 0;
}

void jni_throw_status(JNIEnv* env, int status) {
  if (status == JNI_EXCEPTION_PENDING || (*env)->ExceptionCheck(env)) {
    return;
  }
  const char* name = "java/lang/IllegalStateException";
  if (status == SDKCORE_OUT_OF_MEMORY) {
    name = "java/lang/OutOfMemoryError";
  } else if (status == SDKCORE_INPUT_TOO_LARGE) {
    name = "java/lang/IllegalArgumentException";
  }
  char message[64];
  snprintf(message, sizeof message, "sdkcore failed with status %d", status);
  jclass type = (*env)->FindClass(env, name);
  if (type != NULL) {
    (*env)->ThrowNew(env, type, message);
    (*env)->DeleteLocalRef(env, type);
  }
}

JNIEnv* jni_attached_env(int* attached) {
  JNIEnv* env = NULL;
  *attached = 0;
  jint status = (*jni.vm)->GetEnv(jni.vm, (void**)&env, JNI_VERSION_1_6);
  if (status == JNI_OK) {
    return env;
  }
  if (status != JNI_EDETACHED) {
    return NULL;
  }
  JavaVMAttachArgs args = {JNI_VERSION_1_6, (char*)"sdkcore-log", NULL};
  if ((*jni.vm)->AttachCurrentThreadAsDaemon(jni.vm, (void**)&env, &args) != JNI_OK) {
    return NULL;
  }
  *attached = 1;
  return env;
}

// Returns a global reference to the class 'name', or NULL with an exception pending.
static jclass global_class(JNIEnv* env, const char* name) {
  jclass local = (*env)->FindClass(env, name);
  if (local == NULL) {
    return NULL;
  }
  jclass global = (jclass)(*env)->NewGlobalRef(env, local);
  (*env)->DeleteLocalRef(env, local);
  return global;
}

static int load_utf8(JNIEnv* env) {
  jclass charsets = (*env)->FindClass(env, "java/nio/charset/StandardCharsets");
  if (charsets == NULL) {
    return 0;
  }
  jfieldID field = (*env)->GetStaticFieldID(env, charsets, "UTF_8", "Ljava/nio/charset/Charset;");
  jobject utf8 = field == NULL ? NULL : (*env)->GetStaticObjectField(env, charsets, field);
  jni.utf8 = utf8 == NULL ? NULL : (*env)->NewGlobalRef(env, utf8);
  (*env)->DeleteLocalRef(env, utf8);
  (*env)->DeleteLocalRef(env, charsets);
  return jni.utf8 != NULL;
}

static int load_log_sink(JNIEnv* env) {
  jclass sink = (*env)->FindClass(env, "org/sdkcore/LogSink");
  if (sink == NULL) {
    return 0;
  }
  jni.log_sink_log = (*env)->GetMethodID(
      env, sink, "log", "(Ljava/lang/String;Ljava/lang/String;Ljava/lang/String;)V");
  (*env)->DeleteLocalRef(env, sink);
  return jni.log_sink_log != NULL;
}

static int load_crypto_provider(JNIEnv* env) {
  jclass provider = (*env)->FindClass(env, "org/sdkcore/CryptoProvider");
  if (provider == NULL) {
    return 0;
  }
  jni.crypto_provider_encrypt = (*env)->GetMethodID(env, provider, "encrypt", "([B[B)[B");
  jni.crypto_provider_random_bytes = (*env)->GetMethodID(env, provider, "randomBytes", "([B)V");
  (*env)->DeleteLocalRef(env, provider);
  return jni.crypto_provider_encrypt != NULL && jni.crypto_provider_random_bytes != NULL;
}

static int load_cache(JNIEnv* env) {
  if ((jni.string_class = global_class(env, "java/lang/String")) == NULL ||
      (jni.validation_result_class = global_class(env, "org/sdkcore/ValidationResult")) == NULL ||
      !load_utf8(env) || !load_log_sink(env) || !load_crypto_provider(env)) {
    return 0;
  }
  jni.string_from_bytes =
      (*env)->GetMethodID(env, jni.string_class, "<init>", "([BLjava/nio/charset/Charset;)V");
  jni.validation_result_init = (*env)->GetMethodID(env, jni.validation_result_class, "<init>",
                                                   "(ZLjava/lang/String;Ljava/lang/String;)V");
  return jni.string_from_bytes != NULL && jni.validation_result_init != NULL;
}

JNIEXPORT jint JNICALL JNI_OnLoad(JavaVM* vm, void* reserved) {
  (void)reserved;
  JNIEnv* env = NULL;
  if ((*vm)->GetEnv(vm, (void**)&env, JNI_VERSION_1_6) != JNI_OK) {
    return JNI_ERR;
  }
  jni.vm = vm;
  return load_cache(env) ? JNI_VERSION_1_6 : JNI_ERR;
}
