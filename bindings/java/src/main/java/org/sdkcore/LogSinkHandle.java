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
   * Detaches the sink. Once this returns, the sink receives no further event: the call waits for
   * deliveries to it that are in progress on other threads, unless it is made from inside the
   * sink itself, where it returns at once. Closing again does nothing.
   */
  @Override
  public void close() {
    if (closed.compareAndSet(false, true)) {
      Native.removeLogSink(id);
    }
  }
}
