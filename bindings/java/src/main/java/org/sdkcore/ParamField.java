package org.sdkcore;

/** The field that a failed token request names in its error. */
public enum ParamField {
  /** No particular field: a failure after the fields were checked (a bad time stamp, say). */
  UNKNOWN,
  PAN,
  CVC,
  EXPIRY,
  CARDHOLDER,
  PUB_KEY,
  STORED_PAYMENT_METHOD_ID,
  BINDING_ID,
  MD_ORDER
}
