package org.sdkcore;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertThrows;

import org.junit.Test;
import org.junit.function.ThrowingRunnable;

public class TokenRequestTest {
  private static final String K = "KEY";

  // The field each factory names when that required argument is null.
  private static final Object[][] NULL_REQUIRED = {
    {"pan", (ThrowingRunnable) () -> TokenRequest.card(null, "1", "1", null, "O", K)},
    {"cvc", (ThrowingRunnable) () -> TokenRequest.cardInstant("4", null, "1", "H", K)},
    {"expiryMMYY", (ThrowingRunnable) () -> TokenRequest.newPaymentMethod("4", "1", null, "H", K)},
    {"mdOrder", (ThrowingRunnable) () -> TokenRequest.card("4", "1", "1", null, null, K)},
    {"pubKey", (ThrowingRunnable) () -> TokenRequest.card("4", "1", "1", null, "O", null)},
    {"bindingId", (ThrowingRunnable) () -> TokenRequest.binding(K, null, "1", "O")},
    {"mdOrder", (ThrowingRunnable) () -> TokenRequest.binding(K, "B", null, null)},
    {"pubKey", (ThrowingRunnable) () -> TokenRequest.bindingInstant(null, "B", null)},
    {"storedPaymentMethodId",
        (ThrowingRunnable) () -> TokenRequest.storedPaymentMethod(K, null, null)},
    {"registeredFrom",
        (ThrowingRunnable) () -> TokenRequest.bindingInstant(K, "B", null).withRegisteredFrom(null)},
  };

  @Test
  public void aNullRequiredFieldThrowsNamingIt() {
    for (Object[] entry : NULL_REQUIRED) {
      NullPointerException e =
          assertThrows(NullPointerException.class, (ThrowingRunnable) entry[1]);
      assertEquals(entry[0], e.getMessage());
    }
  }

  // A lone surrogate has no UTF-8 form; sending '?' in its place would change the data.
  @Test
  public void anUnpairedSurrogateThrowsNamingTheField() {
    for (String order : new String[] {"ORDER-\uD83D", "\uDE00ORDER", "\uD83D\uD83D\uDE00"}) {
      IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
          () -> TokenRequest.binding(K, "B", null, order));
      assertEquals("mdOrder holds an unpaired surrogate", e.getMessage());
    }
  }
}
