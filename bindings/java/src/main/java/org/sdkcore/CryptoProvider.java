package org.sdkcore;

/**
 * The cryptography a host supplies to {@link SdkCore} in place of the library's built-in one: the
 * RSA encryption of the payment string and the random bytes of its UUID, typically from the
 * platform's own module ({@link JdkCryptoProvider} on the JDK and Android).
 *
 * <p>The library reads and checks every key (format, size, weak exponent, signing-only keys)
 * before a provider sees it, and distrusts the answers: an exception, a null or a cipher text that
 * cannot be one (a length other than the modulus length; read as a big-endian number, not greater
 * than 1 or not less than the modulus; the plain text padded with zero bytes, or any answer that
 * holds the plain text) makes the token request fail as an encryption failure (field {@code
 * UNKNOWN}, code {@code "unknown"}); a {@link #randomBytes} that throws, or fills bytes that cannot
 * be random (all zero, two equal consecutive pieces of 16 bytes, the same bytes as its previous
 * call on the thread), refuses the token. The plain-text array handed to {@link #encrypt} is wiped
 * after the call; copies the provider or the platform makes of it are the host's to wipe. A
 * provider may use the library from inside its calls (check a key, make another token).
 *
 * <p>Thread safety: a core calls its provider from every thread that asks it for a token,
 * possibly from several threads at once.
 */
public interface CryptoProvider {
  /**
   * Encrypts {@code plain} with RSAES-PKCS1-v1_5 (random padding) under the RSA public key whose
   * DER SubjectPublicKeyInfo (what {@code X509EncodedKeySpec} takes) is {@code
   * subjectPublicKeyInfo}, and returns the cipher text, exactly as long as the modulus.
   *
   * @throws Exception when it cannot
   */
  byte[] encrypt(byte[] subjectPublicKeyInfo, byte[] plain) throws Exception;

  /**
   * Fills all of {@code out} from a cryptographically secure random source.
   *
   * @throws Exception when it cannot; the bytes are then never used
   */
  void randomBytes(byte[] out) throws Exception;
}
