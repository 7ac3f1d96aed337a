// Crypto providers: a Java CryptoProvider behind the library's C provider.
//
// The native side of a provider holds a global reference to the Java object; the SdkCore that
// owns it frees it after its core. The library calls the provider on the thread that asks for a
// token, which is a Java thread, possibly on several at once; JNI calls are thread-safe.

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "jni_support.h"
#include "org_sdkcore_Native.h"
#include "sdkcore/sdkcore.h"

typedef struct jni_provider {
  jobject provider;  // global reference
} jni_provider;

// A new byte[] holding 'len' bytes of 'data', or NULL with an exception pending.
static jbyteArray new_byte_array(JNIEnv* env, const uint8_t* data, size_t len) {
  if (len > (size_t)INT32_MAX) {
    return NULL;
  }
  jbyteArray array = (*env)->NewByteArray(env, (jsize)len);
  if (array != NULL && len > 0) {
    (*env)->SetByteArrayRegion(env, array, 0, (jsize)len, (const jbyte*)data);
  }
  return array;
}

// Overwrites the elements of 'array' with zeros: it held the plain text. The length is read first:
// no other JNI function may be called while the elements are held.
static void wipe_array(JNIEnv* env, jbyteArray array) {
  const size_t len = (size_t)(*env)->GetArrayLength(env, array);
  jbyte* elements = (*env)->GetPrimitiveArrayCritical(env, array, NULL);
  if (elements != NULL) {
    memset(elements, 0, len);
    (*env)->ReleasePrimitiveArrayCritical(env, array, elements, 0);
  }
}

// Clears a pending exception; returns 1 when there was one.
static int failed(JNIEnv* env) {
  if (!(*env)->ExceptionCheck(env)) {
    return 0;
  }
  (*env)->ExceptionClear(env);
  return 1;
}

// Copies the Java answer into 'cipher'; a null answer or one longer than 'capacity' is a failure.
static int copy_answer(JNIEnv* env, jbyteArray answer, uint8_t* cipher, size_t capacity,
                       size_t* cipher_len) {
  if (answer == NULL) {
    return SDKCORE_INTERNAL_ERROR;
  }
  const size_t len = (size_t)(*env)->GetArrayLength(env, answer);
  if (len > capacity) {
    return SDKCORE_INTERNAL_ERROR;
  }
  (*env)->GetByteArrayRegion(env, answer, 0, (jsize)len, (jbyte*)cipher);
  *cipher_len = len;
  return SDKCORE_OK;
}

static int encrypt_in_frame(JNIEnv* env, jobject provider, const sdkcore_rsa_public_key* key,
                            const uint8_t* plain, size_t plain_len, uint8_t* cipher,
                            size_t capacity, size_t* cipher_len) {
  jbyteArray spki = new_byte_array(env, key->spki_der, key->spki_der_len);
  jbyteArray plain_array = spki == NULL ? NULL : new_byte_array(env, plain, plain_len);
  if (plain_array == NULL) {
    failed(env);
    return SDKCORE_OUT_OF_MEMORY;
  }
  jbyteArray answer = (jbyteArray)(*env)->CallObjectMethod(
      env, provider, jni.crypto_provider_encrypt, spki, plain_array);
  const int threw = failed(env);
  wipe_array(env, plain_array);
  return threw ? SDKCORE_INTERNAL_ERROR : copy_answer(env, answer, cipher, capacity, cipher_len);
}

static int call_encrypt(void* user_data, const sdkcore_rsa_public_key* key, const uint8_t* plain,
                        size_t plain_len, uint8_t* cipher, size_t capacity, size_t* cipher_len) {
  int attached = 0;
  JNIEnv* env = jni_attached_env(&attached);
  if (env == NULL) {
    return SDKCORE_INTERNAL_ERROR;
  }
  int status = SDKCORE_OUT_OF_MEMORY;
  if ((*env)->PushLocalFrame(env, 4) == 0) {
    status = encrypt_in_frame(env, ((const jni_provider*)user_data)->provider, key, plain,
                              plain_len, cipher, capacity, cipher_len);
    (*env)->PopLocalFrame(env, NULL);
  }
  failed(env);
  if (attached) {
    (*jni.vm)->DetachCurrentThread(jni.vm);
  }
  return status;
}

static int call_random_bytes(void* user_data, uint8_t* out, size_t len) {
  int attached = 0;
  JNIEnv* env = jni_attached_env(&attached);
  if (env == NULL || len > (size_t)INT32_MAX) {
    return SDKCORE_INTERNAL_ERROR;
  }
  int status = SDKCORE_INTERNAL_ERROR;
  jbyteArray array = (*env)->NewByteArray(env, (jsize)len);
  if (array != NULL) {
    (*env)->CallVoidMethod(env, ((const jni_provider*)user_data)->provider,
                           jni.crypto_provider_random_bytes, array);
    if (!failed(env)) {
      (*env)->GetByteArrayRegion(env, array, 0, (jsize)len, (jbyte*)out);
      status = SDKCORE_OK;
    }
    (*env)->DeleteLocalRef(env, array);
  }
  failed(env);
  if (attached) {
    (*jni.vm)->DetachCurrentThread(jni.vm);
  }
  return status;
}

static jni_provider* provider_of(jlong provider) { return (jni_provider*)(intptr_t)provider; }

JNIEXPORT jlong JNICALL Java_org_sdkcore_Native_providerNew(JNIEnv* env, jclass type,
                                                            jobject provider) {
  (void)type;
  jni_provider* native = calloc(1, sizeof *native);
  if (native == NULL || (native->provider = (*env)->NewGlobalRef(env, provider)) == NULL) {
    free(native);
    jni_throw_status(env, SDKCORE_OUT_OF_MEMORY);
    return 0;
  }
  return (jlong)(intptr_t)native;
}

JNIEXPORT jlong JNICALL Java_org_sdkcore_Native_coreNewWithProvider(JNIEnv* env, jclass type,
                                                                    jlong provider) {
  (void)type;
  const sdkcore_crypto_provider calls = {provider_of(provider), call_encrypt, call_random_bytes};
  sdkcore_core* core = NULL;
  const int status = sdkcore_core_new_with_provider(&calls, &core);
  if (status != SDKCORE_OK) {
    jni_throw_status(env, status);
  }
  return (jlong)(intptr_t)core;
}

JNIEXPORT void JNICALL Java_org_sdkcore_Native_providerFree(JNIEnv* env, jclass type,
                                                            jlong provider) {
  (void)type;
  jni_provider* native = provider_of(provider);
  if (native == NULL) {
    return;
  }
  (*env)->DeleteGlobalRef(env, native->provider);
  free(native);
}
