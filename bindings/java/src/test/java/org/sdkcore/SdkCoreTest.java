package org.sdkcore;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertThrows;
import static org.junit.Assert.assertTrue;

import java.time.OffsetDateTime;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import java.util.regex.Pattern;
import org.junit.Test;

public class SdkCoreTest {
  private static final String PAN = "4111111111111111";
  private static final String KEY = Merchant.PUBLIC_KEY;
  private static final double TIME = 1700000000.9;
  private static final Pattern UUID =
      Pattern.compile("[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");

  // A request and the payment string's fields 3 to 9 that its token must carry.
  private static final class Variant {
    final TokenRequest request;
    final String[] fields;

    Variant(TokenRequest request, String... fields) {
      this.request = request.withTimestamp(TIME);
      this.fields = fields;
    }
  }

  private static final Variant[] VARIANTS = {
    new Variant(TokenRequest.card(PAN, "123", "12/30", "JOHN DOE", "ORDER-1", KEY),
        PAN, "123", "203012", "ORDER-1", "", "JOHN DOE", "ZKIT_CORE"),
    new Variant(TokenRequest.cardInstant(PAN, "123", "03/30", null, KEY)
            .withRegisteredFrom(RegisteredFrom.ZKIT_FORMS),
        PAN, "123", "20303", "", "", "", "ZKIT_FORMS"),
    new Variant(TokenRequest.newPaymentMethod(PAN, "456", "01/31", "JANE ROE", KEY)
            .withRegisteredFrom(RegisteredFrom.ZKIT_PAYMENT),
        PAN, "456", "20311", "", "", "JANE ROE", "ZKIT_PAYMENT"),
    new Variant(TokenRequest.binding(KEY, "BIND-77", "123", "ORDER-2"),
        "", "123", "", "ORDER-2", "BIND-77", "", "ZKIT_CORE"),
    new Variant(TokenRequest.bindingInstant(KEY, "BIND-77", null),
        "", "", "", "", "BIND-77", "", "ZKIT_CORE"),
    new Variant(TokenRequest.storedPaymentMethod(KEY, "pm_3WhDgViUq4", "789"),
        "", "789", "", "", "BIND-77", "", "ZKIT_CORE"),
  };

  @Test
  public void everyVariantDecryptsToTheRequestedFields() throws Exception {
    try (SdkCore core = Merchant.newCore()) {
      for (Variant variant : VARIANTS) {
        String[] fields = Merchant.fields(core.generateToken(variant.request).token());
        String name = Arrays.toString(variant.fields);
        assertEquals(name, "2023-11-14T22:13:20+00:00", fields[0]);
        assertTrue(name, UUID.matcher(fields[1]).matches());
        assertArrayEquals(name, variant.fields, Arrays.copyOfRange(fields, 2, 9));
      }
    }
  }

  // Unicode beyond the BMP (an emoji, a CJK extension B character) stays UTF-8 byte for byte:
  // the JDK's strict decoding would not give the same texts back from surrogates in modified UTF-8.
  @Test
  public void textsBeyondTheBmpReachThePaymentStringExactly() throws Exception {
    String order = "ORDER-\uD83D\uDE00-\uD840\uDC0B";
    String binding = "\uD840\uDC0B\uD83D\uDE00";
    try (SdkCore core = Merchant.newCore()) {
      String[] fields =
          Merchant.fields(core.generateToken(TokenRequest.binding(KEY, binding, null, order)).token());
      assertEquals(order, fields[5]);
      assertEquals(binding, fields[6]);
    }
  }

  private static final Object[][] ERRORS = {
    {TokenRequest.card("", "123", "12/30", null, "O", KEY), ParamField.PAN, "required"},
    {TokenRequest.card("4111111111111112", "123", "12/30", null, "O", KEY), ParamField.PAN,
        "invalid"},
    {TokenRequest.card(PAN, "12", "12/30", null, "O", KEY), ParamField.CVC, "invalid"},
    {TokenRequest.card(PAN, "123", "13/30", null, "O", KEY), ParamField.EXPIRY, "invalid"},
    // Present and empty is not absent.
    {TokenRequest.card(PAN, "123", "12/30", "", "O", KEY), ParamField.CARDHOLDER, "required"},
    {TokenRequest.card(PAN, "123", "12/30", "JOS\u00C9", "O", KEY), ParamField.CARDHOLDER,
        "invalid-format"},
    {TokenRequest.card(PAN, "123", "12/30", null, "", KEY), ParamField.MD_ORDER, "required"},
    {TokenRequest.binding(KEY, "", null, "O"), ParamField.BINDING_ID, "required"},
    {TokenRequest.storedPaymentMethod(KEY, "3WhDgViUq4", null),
        ParamField.STORED_PAYMENT_METHOD_ID, "required"},
    {TokenRequest.bindingInstant("not a key", "B", null), ParamField.PUB_KEY, "invalid"},
    {TokenRequest.bindingInstant(KEY, new String(new char[250]).replace('\0', 'B'), null),
        ParamField.UNKNOWN, "unknown"},
    {TokenRequest.bindingInstant(KEY, "B", null).withTimestamp(Double.NaN), ParamField.UNKNOWN,
        "timestamp is not a finite number of seconds in range"},
  };

  @Test
  public void eachKindOfFailureGivesItsFieldAndCode() {
    try (SdkCore core = Merchant.newCore()) {
      for (Object[] error : ERRORS) {
        TokenResult result = core.generateToken((TokenRequest) error[0]);
        assertFalse(result.toString(), result.isSuccess());
        assertNull(result.token());
        assertEquals(result.toString(), error[1], result.errorField());
        assertEquals(result.toString(), error[2], result.errorCode());
      }
    }
  }

  // The requests are untimed: each token carries the time of its call.
  @Test
  public void eightThreadsShareOneCore() throws Exception {
    long before = System.currentTimeMillis() / 1000;
    SdkCore core = Merchant.newCore();
    ExecutorService pool = Executors.newFixedThreadPool(8);
    List<Future<List<String>>> threads = new ArrayList<>();
    for (int t = 0; t < 8; t++) {
      TokenRequest request = TokenRequest.binding(KEY, "BIND-" + t, null, "ORDER-" + t);
      threads.add(pool.submit(() -> {
        List<String> tokens = new ArrayList<>();
        for (int i = 0; i < 200; i++) {
          tokens.add(core.generateToken(request).token());
        }
        return tokens;
      }));
    }
    for (int t = 0; t < 8; t++) {
      for (String token : threads.get(t).get()) {
        String[] fields = Merchant.fields(token);
        long time = OffsetDateTime.parse(fields[0]).toEpochSecond();
        assertTrue(before <= time && time <= System.currentTimeMillis() / 1000);
        assertEquals("ORDER-" + t, fields[5]);
        assertEquals("BIND-" + t, fields[6]);
      }
    }
    pool.shutdown();
    core.close();
    assertThrows(IllegalStateException.class,
        () -> core.generateToken(TokenRequest.bindingInstant(KEY, "B", null)));
    core.close();
  }

  // A sink holds one call inside the library while another thread closes the core.
  @Test
  public void closeWaitsForTheCallsInProgress() throws Exception {
    SdkCore core = Merchant.newCore();
    CountDownLatch inCall = new CountDownLatch(1);
    CountDownLatch release = new CountDownLatch(1);
    TokenResult[] result = new TokenResult[1];
    Thread caller = new Thread(
        () -> result[0] = core.generateToken(TokenRequest.bindingInstant(KEY, "B", null)), "held");
    LogSink holder = (tag, message, error) -> {
      if (Thread.currentThread() == caller && inCall.getCount() > 0) {
        inCall.countDown();
        awaitQuietly(release);
      }
    };
    try (LogSinkHandle sink = SdkCore.addLogSink(holder)) {
      caller.start();
      inCall.await();
      Thread closer = new Thread(core::close);
      closer.start();
      closer.join(300);
      assertTrue(closer.isAlive());
      release.countDown();
      closer.join();
      caller.join();
    }
    assertTrue(result[0].isSuccess());
  }

  @Test
  public void versionIsTheLibrarys() {
    assertEquals("3.0.7", SdkCore.version());
  }

  private static void awaitQuietly(CountDownLatch latch) {
    try {
      latch.await();
    } catch (InterruptedException e) {
      Thread.currentThread().interrupt();
    }
  }
}
