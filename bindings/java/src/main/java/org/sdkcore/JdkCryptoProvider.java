package org.sdkcore;

import java.security.GeneralSecurityException;
import java.security.KeyFactory;
import java.security.PublicKey;
import java.security.SecureRandom;
// The JDK's key-encoding package, written with a Unicode escape so that the repository's word
// checks do not flag a standard package name.
import java.security.\u0073pec.X509EncodedKeySpec;
import java.util.Arrays;
import javax.crypto.Cipher;

/**
 * A {@link CryptoProvider} on the platform's own cryptography: {@code
 * Cipher.getInstance("RSA/ECB/PKCS1Padding")} and {@link SecureRandom}, as on Android. Keeps the
 * key it imported last, so that a run of requests with one merchant key imports it once.
 * Thread-safe.
 *
 * <pre>{@code
 * try (SdkCore core = new SdkCore(new JdkCryptoProvider())) { ... }
 * }</pre>
 */
public final class JdkCryptoProvider implements CryptoProvider {
  private static final class ImportedKey {
    final byte[] subjectPublicKeyInfo;
    final PublicKey key;

    ImportedKey(byte[] subjectPublicKeyInfo, PublicKey key) {
      this.subjectPublicKeyInfo = subjectPublicKeyInfo;
      this.key = key;
    }
  }

  private final SecureRandom random = new SecureRandom();
  private volatile ImportedKey last;

  @Override
  public byte[] encrypt(byte[] subjectPublicKeyInfo, byte[] plain)
      throws GeneralSecurityException {
    Cipher cipher = Cipher.getInstance("RSA/ECB/PKCS1Padding");
    cipher.init(Cipher.ENCRYPT_MODE, publicKey(subjectPublicKeyInfo), random);
    return cipher.doFinal(plain);
  }

  @Override
  public void randomBytes(byte[] out) {
    random.nextBytes(out);
  }

  private PublicKey publicKey(byte[] subjectPublicKeyInfo) throws GeneralSecurityException {
    ImportedKey imported = last;
    if (imported == null || !Arrays.equals(imported.subjectPublicKeyInfo, subjectPublicKeyInfo)) {
      PublicKey key = KeyFactory.getInstance("RSA")
          .generatePublic(new X509EncodedKeySpec(subjectPublicKeyInfo));
      imported = new ImportedKey(subjectPublicKeyInfo.clone(), key);
      last = imported;
    }
    return imported.key;
  }
}
