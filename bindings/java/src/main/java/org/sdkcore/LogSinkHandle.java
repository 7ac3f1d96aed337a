package org.sdkcore;

import java.util.concurrent.atomic.AtomicBoolean;

/**
 * An attached {@link LogSink}; {@link #close()} detaches it. Dropping the handle without closing
 * it leaves the sink attached for the life of the process. Thread-safe.
 */
public final class LogSinkHandle implements AutoCloseable {
  private final long id;
  private final AtomicBoolean closed = new AtomicBoolean();

  LogSinkHandle(long id) {
    this.id = id;
  }

  /**
   * Detaches the sink. No delivery to it starts after this returns. Called outside any sink's
   * {@code log}, it also waits for deliveries to it in progress on other threads, so the sink
   * receives no further event. Called from inside a sink's {@code log} (any sink's, on this
   * thread), it returns at once without waiting, so sinks that close each other's handles on two
   * threads cannot deadlock; deliveries already in progress on other threads may still finish.
   * Closing again does nothing.
   */
  @Override
  public void close() {
    if (closed.compareAndSet(false, true)) {
      Native.removeLogSink(id);
    }
  }
}
