package org.sdkcore;

/** Hooks in the tests' build of the JNI library. */
final class NativeHooks {
  private NativeHooks() {}

  /** Makes a request through the C interface on a new native thread and joins it. */
  static native boolean requestOnNativeThread();

  /**
   * Makes 'count' card tokens through the C interface and sets nanos[0] to the thread's CPU time
   * and nanos[1] to the wall time they took. Returns false when a token fails.
   */
  static native boolean cardTokens(byte[] pem, int count, long[] nanos);
}
