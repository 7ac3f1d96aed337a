package org.sdkcore;

/**
 * The native library's entry points. Texts cross as UTF-8 byte arrays (not as JNI's modified
 * UTF-8); failures of the library itself arrive as unchecked exceptions.
 */
final class Native {
  static {
    System.loadLibrary("sdkcore_jni");
  }

  private Native() {}

  static native String version();

  static native long coreNew();

  static native void coreFree(long core);

  // Returns the native side of a crypto provider, which coreNewWithProvider takes and
  // providerFree frees (0 does nothing) once no core uses it any more.
  static native long providerNew(CryptoProvider provider);

  static native long coreNewWithProvider(long provider);

  static native void providerFree(long provider);

  // The texts are the library's fields in its field order, null where a field is not set. Returns
  // the token as a String, or the error as a String[] {field, code}.
  static native Object generateToken(long core, int variant, int registeredFrom, boolean timed,
      double timestamp, byte[] pan, byte[] cvc, byte[] expiryMMYY, byte[] cardholder,
      byte[] mdOrder, byte[] bindingId, byte[] storedPaymentMethodId, byte[] pubKey);

  // Returns null for a name that no validator has.
  static native ValidationResult validate(byte[] name, byte[] text);

  static native String base58Encode(byte[] data);

  // Returns null for a text that is no Base58.
  static native byte[] base58Decode(byte[] text);

  // Returns the id that removeLogSink takes.
  static native long addLogSink(LogSink sink);

  static native void removeLogSink(long id);
}
