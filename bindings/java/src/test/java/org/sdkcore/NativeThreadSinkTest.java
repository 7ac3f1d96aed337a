package org.sdkcore;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertTrue;

import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;
import org.junit.Test;

// Runs against the tests' build of the JNI library, which has NativeHooks.
public class NativeThreadSinkTest {
  @Test
  public void aNativeThreadAttachesForEachEventAndDetachesAgain() {
    List<String> threads = new CopyOnWriteArrayList<>();
    LogSink recorder = (tag, message, error) -> threads.add(Thread.currentThread().getName());
    LogSink thrower = (tag, message, error) -> {
      throw new IllegalStateException("sink failure");
    };
    SdkCore.version();  // loads the JNI library, which holds the hook
    try (LogSinkHandle throwing = SdkCore.addLogSink(thrower);
         LogSinkHandle recording = SdkCore.addLogSink(recorder)) {
      assertTrue(NativeHooks.requestOnNativeThread());
    }
    assertFalse(threads.isEmpty());
    threads.forEach(name -> assertEquals("sdkcore-log", name));
    assertFalse(Thread.getAllStackTraces().keySet().stream()
        .anyMatch(thread -> thread.getName().equals("sdkcore-log")));
  }
}
