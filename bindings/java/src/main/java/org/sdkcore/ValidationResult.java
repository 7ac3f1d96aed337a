package org.sdkcore;

/** The answer of one validator: valid, or invalid with a code and a localized message. */
public final class ValidationResult {
  private final boolean valid;
  private final String code;
  private final String message;

  // Made by the native library.
  private ValidationResult(boolean valid, String code, String message) {
    this.valid = valid;
    this.code = code;
    this.message = message;
  }

  /** Returns whether the text passed. */
  public boolean isValid() {
    return valid;
  }

  /**
   * Returns the code of the failed check ("required", "invalid", "invalid-format"), or {@code
   * null} for a valid text.
   */
  public String code() {
    return code;
  }

  /** Returns the message to show the user, or {@code null} for a valid text. */
  public String message() {
    return message;
  }

  @Override
  public String toString() {
    return valid ? "ValidationResult{valid}" : "ValidationResult{" + code + ": " + message + "}";
  }
}
