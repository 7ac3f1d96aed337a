package org.sdkcore;

/** A hook in the tests' build of the JNI library: a request made on a native thread. */
final class NativeThreadHook {
  private NativeThreadHook() {}

  /** Makes a request through the C interface on a new native thread and joins it. */
  static native boolean requestOnNativeThread();
}
