package org.sdkcore;

import java.util.Objects;
import java.util.concurrent.locks.Lock;
import java.util.concurrent.locks.ReentrantReadWriteLock;

/**
 * The library's entry object: turns a {@link TokenRequest} into a token for the payment server.
 *
 * <p>Owns native memory until {@link #close()}; an instance that is never closed keeps it for the
 * life of the process. One instance may serve {@link #generateToken} from several threads at once.
 *
 * <pre>{@code
 * try (SdkCore core = new SdkCore()) {
 *   TokenResult result = core.generateToken(TokenRequest.card(
 *       "4111111111111111", "123", "12/30", "JOHN DOE", "ORDER-1", pubKeyPem));
 * }
 * }</pre>
 */
public final class SdkCore implements AutoCloseable {
  // Calls hold the read lock, close() the write lock, so close() waits for calls in progress.
  private final ReentrantReadWriteLock lock = new ReentrantReadWriteLock();
  private final long core;
  private final long provider;  // the native side of the crypto provider, 0 for none
  private boolean closed;

  /**
   * Makes a core with the library's built-in cryptography. A native library built without
   * OpenSSL has no built-in RSA: such a core answers every request with field {@code UNKNOWN},
   * code {@code "unknown"}; use {@link #SdkCore(CryptoProvider)} there. Throws {@link
   * OutOfMemoryError} when native memory runs out.
   */
  public SdkCore() {
    core = Native.coreNew();
    provider = 0;
  }

  /**
   * Makes a core that encrypts and draws its random bytes through {@code cryptoProvider}, such as
   * {@code new SdkCore(new JdkCryptoProvider())}. The core keeps the provider until {@link
   * #close()} and calls it from every thread that asks for a token. Throws {@link
   * OutOfMemoryError} when native memory runs out.
   *
   * @throws NullPointerException if {@code cryptoProvider} is null
   */
  public SdkCore(CryptoProvider cryptoProvider) {
    Objects.requireNonNull(cryptoProvider, "cryptoProvider");
    provider = Native.providerNew(cryptoProvider);
    long made = 0;
    try {
      made = Native.coreNewWithProvider(provider);
    } finally {
      if (made == 0) {
        Native.providerFree(provider);
      }
    }
    core = made;
  }

  /** Returns the library version, "3.0.7". Thread-safe. */
  public static String version() {
    return Native.version();
  }

  /**
   * Checks the request, builds the payment string, encrypts it with the request's public key and
   * returns the token, or the one error that the request gave. A request the library refuses is
   * not an exception but a result with an error. Thread-safe.
   *
   * @throws NullPointerException if {@code request} is null
   * @throws IllegalStateException if this core is closed
   */
  public TokenResult generateToken(TokenRequest request) {
    Objects.requireNonNull(request, "request");
    byte[][] fields = request.encodeFields();
    Lock read = lock.readLock();
    read.lock();
    try {
      if (closed) {
        throw new IllegalStateException("SdkCore is closed");
      }
      return TokenResult.of(Native.generateToken(core, request.variant(),
          request.registeredFromOrdinal(), request.isTimed(), request.timestamp(), fields[0],
          fields[1], fields[2], fields[3], fields[4], fields[5], fields[6], fields[7]));
    } finally {
      read.unlock();
      TokenRequest.wipe(fields);
    }
  }

  /**
   * Frees the native core after waiting for the calls in progress on other threads. Later calls
   * throw {@link IllegalStateException}; closing again does nothing. Thread-safe.
   *
   * @throws IllegalStateException if called from inside a call on this core (from a log sink)
   */
  @Override
  public void close() {
    if (lock.getReadHoldCount() > 0) {
      throw new IllegalStateException("SdkCore closed from inside one of its own calls");
    }
    Lock write = lock.writeLock();
    write.lock();
    try {
      if (!closed) {
        closed = true;
        Native.coreFree(core);
        Native.providerFree(provider);
      }
    } finally {
      write.unlock();
    }
  }

  /**
   * Attaches a sink that receives every later log event of the library, from every core in the
   * process, until the returned handle is closed. Thread-safe.
   *
   * @throws NullPointerException if {@code sink} is null
   */
  public static LogSinkHandle addLogSink(LogSink sink) {
    Objects.requireNonNull(sink, "sink");
    return new LogSinkHandle(Native.addLogSink(sink));
  }
}
