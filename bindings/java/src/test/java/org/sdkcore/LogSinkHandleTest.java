package org.sdkcore;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.CyclicBarrier;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicBoolean;
import org.junit.Test;

public class LogSinkHandleTest {
  private static final TokenRequest BAD_CVC = TokenRequest.card(
      "4111111111111111", "12", "12/30", null, "ORDER-1", Merchant.PUBLIC_KEY);

  // Collects events as "tag|message|error".
  private static final class Recorder implements LogSink {
    final List<String> events = new CopyOnWriteArrayList<>();

    @Override
    public void log(String tag, String message, String error) {
      events.add(tag + "|" + message + "|" + error);
    }
  }

  @Test
  public void eventsArriveWithCardDataMasked() {
    Recorder recorder = new Recorder();
    try (SdkCore core = Merchant.newCore(); LogSinkHandle handle = SdkCore.addLogSink(recorder)) {
      core.generateToken(BAD_CVC);
    }
    String last = recorder.events.get(recorder.events.size() - 1);
    assertTrue(last, last.startsWith("SDK-Core|") && last.endsWith("|CVC"));
    assertTrue(recorder.events.stream().anyMatch(e -> e.contains("411111******1111")));
    assertFalse(recorder.events.stream().anyMatch(e -> e.contains("4111111111111111")));
  }

  @Test
  public void aThrowingSinkBreaksNeitherTheCallNorOtherSinks() {
    Recorder recorder = new Recorder();
    LogSink thrower = (tag, message, error) -> {
      throw new IllegalStateException("sink failure");
    };
    try (SdkCore core = Merchant.newCore(); LogSinkHandle throwing = SdkCore.addLogSink(thrower);
         LogSinkHandle recording = SdkCore.addLogSink(recorder)) {
      TokenResult result =
          core.generateToken(TokenRequest.bindingInstant(Merchant.PUBLIC_KEY, "B", null));
      assertTrue(result.isSuccess());
    }
    assertFalse(recorder.events.isEmpty());
  }

  @Test
  public void aRemovedSinkReceivesNothingMore() {
    Recorder recorder = new Recorder();
    try (SdkCore core = Merchant.newCore()) {
      LogSinkHandle handle = SdkCore.addLogSink(recorder);
      core.generateToken(BAD_CVC);
      int seen = recorder.events.size();
      handle.close();
      handle.close();
      core.generateToken(BAD_CVC);
      assertEquals(seen, recorder.events.size());
    }
  }

  // A sink that closes its own handle from inside its callback gets that one event only.
  @Test
  public void aSinkMayRemoveItselfWhileBeingCalled() {
    List<String> events = new CopyOnWriteArrayList<>();
    LogSinkHandle[] handle = new LogSinkHandle[1];
    try (SdkCore core = Merchant.newCore()) {
      handle[0] = SdkCore.addLogSink((tag, message, error) -> {
        events.add(message);
        handle[0].close();
      });
      core.generateToken(BAD_CVC);
    }
    assertEquals(1, events.size());
  }

  // Two sinks that close each other's handles from inside their callbacks, on two threads at
  // once: neither close waits for the other's delivery, so both return. A deadlock never ends;
  // the bound only keeps a failure short on a busy machine.
  @Test
  public void sinksClosingEachOtherOnTwoThreadsDoNotDeadlock() throws Exception {
    CyclicBarrier bothInside = new CyclicBarrier(2);
    CountDownLatch closed = new CountDownLatch(2);
    LogSinkHandle[] handles = new LogSinkHandle[2];
    Thread[] threads = new Thread[2];
    try (SdkCore core = new SdkCore()) {
      for (int i = 0; i < 2; i++) {
        final int self = i;
        final AtomicBoolean acted = new AtomicBoolean();
        threads[i] = new Thread(() -> core.generateToken(BAD_CVC));
        threads[i].setDaemon(true);  // a deadlocked thread must not keep the JVM alive
        handles[i] = SdkCore.addLogSink((tag, message, error) -> {
          if (Thread.currentThread() != threads[self] || !acted.compareAndSet(false, true)) {
            return;
          }
          try {
            bothInside.await(10, TimeUnit.SECONDS);
          } catch (Exception e) {
            return;
          }
          handles[1 - self].close();
          closed.countDown();
        });
      }
      for (Thread thread : threads) {
        thread.start();
      }
      assertTrue("the closes waited for each other", closed.await(10, TimeUnit.SECONDS));
      for (Thread thread : threads) {
        thread.join();
      }
    }
  }
}
