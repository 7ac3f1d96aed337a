package org.sdkcore;

/**
 * Receives the library's log events. Card numbers and security codes arrive masked; other card
 * data (the holder's name, the expiry) arrive in clear.
 *
 * <p>Called synchronously on the thread that logs, which may be any thread, also one that the JVM
 * did not start, and possibly on several threads at once: implementations must be thread-safe and
 * should return quickly. An exception thrown here is discarded and never disturbs the call that
 * logged.
 */
@FunctionalInterface
public interface LogSink {
  /**
   * Receives one event.
   *
   * @param tag the library's tag, "SDK-Core"
   * @param message the event's text
   * @param error the error the event reports (a field name such as "CVC", or a description), or
   *     {@code null} when there is none
   */
  void log(String tag, String message, String error);
}
