package org.sdkcore;

/** The module of the payment kit that makes a token request; its name ends the payment string. */
public enum RegisteredFrom {
  ZKIT_CORE,
  ZKIT_FORMS,
  ZKIT_PAYMENT
}
