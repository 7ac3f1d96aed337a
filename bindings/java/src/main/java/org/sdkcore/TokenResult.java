package org.sdkcore;

/**
 * The answer to one token request: a token, or exactly one error made of the failing field and
 * its code. Immutable.
 */
public final class TokenResult {
  private final String token;
  private final ParamField errorField;
  private final String errorCode;

  private TokenResult(String token, ParamField errorField, String errorCode) {
    this.token = token;
    this.errorField = errorField;
    this.errorCode = errorCode;
  }

  // The native library's answer: the token, or {the name of a ParamField, its code}.
  static TokenResult of(Object answer) {
    if (answer instanceof String) {
      return new TokenResult((String) answer, null, null);
    }
    String[] error = (String[]) answer;
    return new TokenResult(null, ParamField.valueOf(error[0]), error[1]);
  }

  /** Returns whether the request gave a token. */
  public boolean isSuccess() {
    return token != null;
  }

  /** Returns the Base64 token for the payment server, or {@code null} when the request failed. */
  public String token() {
    return token;
  }

  /** Returns the field that failed, or {@code null} on success. */
  public ParamField errorField() {
    return errorField;
  }

  /**
   * Returns the failed field's code ("required", "invalid", "invalid-format", "unknown", or for
   * {@link ParamField#UNKNOWN} a description), or {@code null} on success.
   */
  public String errorCode() {
    return errorCode;
  }

  @Override
  public String toString() {
    return isSuccess() ? "TokenResult{token=" + token + "}"
                       : "TokenResult{" + errorField + "=" + errorCode + "}";
  }
}
