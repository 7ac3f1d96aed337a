package org.sdkcore;

import java.nio.charset.StandardCharsets;
import java.util.Objects;

/**
 * Base58 with the alphabet "123456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz", each
 * leading zero byte written as "1". Both directions take at most {@link #MAX_INPUT} bytes.
 * Thread-safe.
 */
public final class Base58 {
  /** The most bytes that {@link #encode} and {@link #decode} accept. */
  public static final int MAX_INPUT = 65536;

  private Base58() {}

  /**
   * Returns the Base58 text of {@code data}; no bytes give the empty text.
   *
   * @throws NullPointerException if {@code data} is null
   * @throws IllegalArgumentException if {@code data} is longer than {@link #MAX_INPUT}
   */
  public static String encode(byte[] data) {
    checkSize(Objects.requireNonNull(data, "data").length);
    return Native.base58Encode(data);
  }

  /**
   * Returns the bytes that {@code text} encodes, or {@code null} when it is empty or holds any
   * character outside the alphabet (white space included).
   *
   * @throws NullPointerException if {@code text} is null
   * @throws IllegalArgumentException if {@code text} is longer than {@link #MAX_INPUT} bytes
   */
  public static byte[] decode(String text) {
    byte[] bytes = Objects.requireNonNull(text, "text").getBytes(StandardCharsets.UTF_8);
    checkSize(bytes.length);
    return Native.base58Decode(bytes);
  }

  private static void checkSize(int size) {
    if (size > MAX_INPUT) {
      throw new IllegalArgumentException(size + " bytes, more than Base58 takes: " + MAX_INPUT);
    }
  }
}
