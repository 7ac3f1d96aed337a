package org.sdkcore;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Objects;

/** The library's field validators, for a host's own forms. Thread-safe. */
public final class Validators {
  private Validators() {}

  /**
   * Runs the validator {@code name} on {@code text}. The names are "card-number", "expiry",
   * "cvc", "cardholder", "email", "phone", "address-line1", "address-line2", "address-line3",
   * "city", "country", "state" and "postal-code". Messages follow the language of the process's
   * default locale (the LANG environment variable).
   *
   * @throws NullPointerException if an argument is null
   * @throws IllegalArgumentException if no validator has that name; the message does not repeat
   *     the name
   */
  public static ValidationResult validate(String name, String text) {
    Objects.requireNonNull(name, "name");
    Objects.requireNonNull(text, "text");
    byte[] bytes = text.getBytes(StandardCharsets.UTF_8);
    ValidationResult result;
    try {
      result = Native.validate(name.getBytes(StandardCharsets.UTF_8), bytes);
    } finally {
      Arrays.fill(bytes, (byte) 0);  // the text may be card data
    }
    if (result == null) {
      // The name is not repeated: arguments given the wrong way round make it the card number.
      throw new IllegalArgumentException("no validator of that name");
    }
    return result;
  }
}
