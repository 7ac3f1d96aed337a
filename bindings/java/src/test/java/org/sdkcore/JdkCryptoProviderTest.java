package org.sdkcore;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.security.GeneralSecurityException;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.Future;
import org.junit.Test;

public class JdkCryptoProviderTest {
  private static final int THREADS = 8;
  private static final int TOKENS_PER_THREAD = 200;

  private static TokenRequest card(String order) {
    return TokenRequest.card("4111111111111111", "123", "12/30", "JOHN DOE", order,
        Merchant.PUBLIC_KEY);
  }

  @Test
  public void tokensFromManyThreadsDecryptWithTheJdksCipher() throws Exception {
    ExecutorService pool = Executors.newFixedThreadPool(THREADS);
    try (SdkCore core = new SdkCore(new JdkCryptoProvider())) {
      List<Future<Void>> runs = new ArrayList<>();
      for (int t = 0; t < THREADS; ++t) {
        final String order = "ORDER-" + t;
        runs.add(pool.submit(() -> {
          for (int i = 0; i < TOKENS_PER_THREAD; ++i) {
            String[] fields = Merchant.fields(core.generateToken(card(order)).token());
            assertArrayEquals(new String[] {"4111111111111111", "123", "203012", order},
                new String[] {fields[2], fields[3], fields[4], fields[5]});
          }
          return null;
        }));
      }
      for (Future<Void> run : runs) {
        run.get();
      }
    } finally {
      pool.shutdown();
    }
  }

  // Providers that fail in each way the library must catch.
  private static final class Faulty implements CryptoProvider {
    private final JdkCryptoProvider jdk = new JdkCryptoProvider();
    private final String fault;

    Faulty(String fault) {
      this.fault = fault;
    }

    @Override
    public byte[] encrypt(byte[] subjectPublicKeyInfo, byte[] plain) throws Exception {
      byte[] cipher = jdk.encrypt(subjectPublicKeyInfo, plain);
      switch (fault) {
        case "throws":
          throw new IllegalStateException("no RSA today");
        case "null":
          return null;
        case "short":
          return Arrays.copyOf(cipher, cipher.length - 1);
        case "zeros":
          return new byte[cipher.length];
        case "plain":
          return Arrays.copyOf(plain, cipher.length);
        default:
          return cipher;
      }
    }

    @Override
    public void randomBytes(byte[] out) throws Exception {
      if (fault.equals("random")) {
        throw new GeneralSecurityException("no entropy");
      }
      jdk.randomBytes(out);
    }
  }

  @Test
  public void failingProvidersGiveAnErrorAndNoToken() {
    String[][] cases = {
      {"throws", "unknown"},
      {"null", "unknown"},
      {"short", "unknown"},
      {"zeros", "unknown"},
      {"plain", "unknown"},
      {"random", "crypto provider failed to supply random bytes"},
    };
    for (String[] c : cases) {
      try (SdkCore core = new SdkCore(new Faulty(c[0]))) {
        TokenResult result = core.generateToken(card("ORDER-1"));
        assertFalse(c[0], result.isSuccess());
        assertEquals(c[0], "UNKNOWN", result.errorField().name());
        assertEquals(c[0], c[1], result.errorCode());
      }
    }
  }

  // Makes a token with the demo key, through a core of its own, inside every encryption.
  private static final class Reentrant implements CryptoProvider {
    private final JdkCryptoProvider jdk = new JdkCryptoProvider();
    volatile boolean innerSucceeded;

    @Override
    public byte[] encrypt(byte[] subjectPublicKeyInfo, byte[] plain) throws Exception {
      try (SdkCore inner = new SdkCore(jdk)) {
        innerSucceeded = inner.generateToken(card("INNER")).isSuccess();
      }
      return jdk.encrypt(subjectPublicKeyInfo, plain);
    }

    @Override
    public void randomBytes(byte[] out) throws Exception {
      jdk.randomBytes(out);
    }
  }

  @Test
  public void aProviderThatMakesATokenInsideKeepsItsOwnKey() throws Exception {
    // Too long a key text to be cached: only the call itself holds the imported key.
    String longKey = Merchant.PUBLIC_KEY + "\n".repeat(70 * 1024);
    Reentrant provider = new Reentrant();
    try (SdkCore core = new SdkCore(provider)) {
      TokenResult result = core.generateToken(TokenRequest.card("4111111111111111", "123",
          "12/30", "JOHN DOE", "OUTER", longKey));
      assertTrue(result.toString(), result.isSuccess());
      assertEquals("OUTER", Merchant.fields(result.token())[5]);
    }
    assertTrue(provider.innerSucceeded);
  }
}
