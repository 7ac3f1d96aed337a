package org.sdkcore;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.Objects;

/**
 * One token request: the payment input of one of six kinds, the module that makes it and its
 * time. Made by the static factories, one per kind; a {@code null} optional argument is absent,
 * which differs from the empty text. A {@code null} required argument throws {@link
 * NullPointerException} naming the field, and a text holding an unpaired surrogate (which has no
 * UTF-8 form) throws {@link IllegalArgumentException} naming the field.
 *
 * <p>Immutable: {@link #withRegisteredFrom} and {@link #withTimestamp} return changed copies. A
 * request may be used for several tokens and from several threads. It comes from {@link
 * RegisteredFrom#ZKIT_CORE} and is timed at the moment of each token call until set otherwise.
 */
public final class TokenRequest {
  // Positions in 'fields', the native library's field numbers.
  private static final int PAN = 0;
  private static final int CVC = 1;
  private static final int EXPIRY_MMYY = 2;
  private static final int CARDHOLDER = 3;
  private static final int MD_ORDER = 4;
  private static final int BINDING_ID = 5;
  private static final int STORED_PAYMENT_METHOD_ID = 6;
  private static final int PUB_KEY = 7;
  private static final int FIELD_COUNT = 8;

  // The native library's variant numbers.
  private static final int CARD = 0;
  private static final int CARD_INSTANT = 1;
  private static final int BINDING = 2;
  private static final int BINDING_INSTANT = 3;
  private static final int NEW_PAYMENT_METHOD = 4;
  private static final int STORED_PAYMENT_METHOD = 5;

  private final int variant;
  private final String[] fields;
  private final RegisteredFrom registeredFrom;
  private final boolean timed;
  private final double timestamp;

  private TokenRequest(
      int variant, String[] fields, RegisteredFrom registeredFrom, boolean timed, double timestamp) {
    this.variant = variant;
    this.fields = fields;
    this.registeredFrom = registeredFrom;
    this.timed = timed;
    this.timestamp = timestamp;
  }

  /** A card typed in, for an order. {@code cardholder} is optional. */
  public static TokenRequest card(String pan, String cvc, String expiryMMYY, String cardholder,
      String mdOrder, String pubKey) {
    return cardFields(pan, cvc, expiryMMYY, cardholder, pubKey)
        .required(MD_ORDER, "mdOrder", mdOrder)
        .build(CARD);
  }

  /** A card typed in, without an order. {@code cardholder} is optional. */
  public static TokenRequest cardInstant(
      String pan, String cvc, String expiryMMYY, String cardholder, String pubKey) {
    return cardFields(pan, cvc, expiryMMYY, cardholder, pubKey).build(CARD_INSTANT);
  }

  /** A new card typed in. {@code cardholder} is optional. */
  public static TokenRequest newPaymentMethod(
      String pan, String cvc, String expiryMMYY, String cardholder, String pubKey) {
    return cardFields(pan, cvc, expiryMMYY, cardholder, pubKey).build(NEW_PAYMENT_METHOD);
  }

  /** A stored card (binding), for an order. {@code cvc} is optional. */
  public static TokenRequest binding(String pubKey, String bindingId, String cvc, String mdOrder) {
    return storedFields(pubKey, BINDING_ID, "bindingId", bindingId, cvc)
        .required(MD_ORDER, "mdOrder", mdOrder)
        .build(BINDING);
  }

  /** A stored card (binding), without an order. {@code cvc} is optional. */
  public static TokenRequest bindingInstant(String pubKey, String bindingId, String cvc) {
    return storedFields(pubKey, BINDING_ID, "bindingId", bindingId, cvc).build(BINDING_INSTANT);
  }

  /**
   * A stored payment method named by its public id, "pm_" followed by the Base58 form of the
   * binding id. {@code cvc} is optional.
   */
  public static TokenRequest storedPaymentMethod(
      String pubKey, String storedPaymentMethodId, String cvc) {
    return storedFields(pubKey, STORED_PAYMENT_METHOD_ID, "storedPaymentMethodId",
        storedPaymentMethodId, cvc)
        .build(STORED_PAYMENT_METHOD);
  }

  /** Returns a copy of this request made by {@code from}. */
  public TokenRequest withRegisteredFrom(RegisteredFrom from) {
    return new TokenRequest(
        variant, fields, Objects.requireNonNull(from, "registeredFrom"), timed, timestamp);
  }

  /**
   * Returns a copy of this request timed at {@code seconds} since 1970-01-01 00:00 UTC (the
   * fraction is dropped). A value that is not finite or outside the signed 64-bit range makes the
   * token call fail with {@link ParamField#UNKNOWN}.
   */
  public TokenRequest withTimestamp(double seconds) {
    return new TokenRequest(variant, fields, registeredFrom, true, seconds);
  }

  int variant() {
    return variant;
  }

  int registeredFromOrdinal() {
    return registeredFrom.ordinal();
  }

  boolean isTimed() {
    return timed;
  }

  double timestamp() {
    return timestamp;
  }

  // Returns the fields as UTF-8, indexed by field number, null where absent. The caller wipes them
  // with wipe() after use: they hold card data.
  byte[][] encodeFields() {
    byte[][] encoded = new byte[FIELD_COUNT][];
    for (int i = 0; i < FIELD_COUNT; i++) {
      if (fields[i] != null) {
        encoded[i] = fields[i].getBytes(StandardCharsets.UTF_8);
      }
    }
    return encoded;
  }

  static void wipe(byte[][] encoded) {
    for (byte[] field : encoded) {
      if (field != null) {
        Arrays.fill(field, (byte) 0);
      }
    }
  }

  private static Builder cardFields(
      String pan, String cvc, String expiryMMYY, String cardholder, String pubKey) {
    return new Builder()
        .required(PAN, "pan", pan)
        .required(CVC, "cvc", cvc)
        .required(EXPIRY_MMYY, "expiryMMYY", expiryMMYY)
        .optional(CARDHOLDER, "cardholder", cardholder)
        .required(PUB_KEY, "pubKey", pubKey);
  }

  private static Builder storedFields(
      String pubKey, int idField, String idName, String id, String cvc) {
    return new Builder()
        .required(PUB_KEY, "pubKey", pubKey)
        .required(idField, idName, id)
        .optional(CVC, "cvc", cvc);
  }

  // Collects the fields of one request, checking that each has a UTF-8 form.
  private static final class Builder {
    private final String[] fields = new String[FIELD_COUNT];

    Builder required(int field, String name, String value) {
      return optional(field, name, Objects.requireNonNull(value, name));
    }

    Builder optional(int field, String name, String value) {
      if (value != null && hasUnpairedSurrogate(value)) {
        throw new IllegalArgumentException(name + " holds an unpaired surrogate");
      }
      fields[field] = value;
      return this;
    }

    // A plain scan: a CharsetEncoder's canEncode costs more than the whole token call's binding.
    private static boolean hasUnpairedSurrogate(String text) {
      for (int i = 0; i < text.length(); i++) {
        char c = text.charAt(i);
        if (Character.isHighSurrogate(c) && i + 1 < text.length()
            && Character.isLowSurrogate(text.charAt(i + 1))) {
          i++;
        } else if (Character.isSurrogate(c)) {
          return true;
        }
      }
      return false;
    }

    TokenRequest build(int variant) {
      return new TokenRequest(variant, fields, RegisteredFrom.ZKIT_CORE, false, 0);
    }
  }
}
