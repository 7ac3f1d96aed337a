package org.sdkcore;

import static org.junit.Assert.assertNotNull;
import static org.junit.Assert.assertTrue;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Paths;
import org.junit.Test;

// Run in a JVM of its own with a fixed, pre-touched heap, so that the process's resident size
// moves only with native memory.
public class SdkCoreLeakTest {
  private static final int CALLS = 100_000;
  private static final long HEAP_SLACK = 2L << 20;
  private static final long RSS_SLACK = 8L << 20;

  // A token, and a failure after every field's check and log event.
  private static final TokenRequest[] REQUESTS = {
    TokenRequest.binding(Merchant.PUBLIC_KEY, "BIND-\uD83D\uDE00", "123", "ORDER-1"),
    TokenRequest.card("4111111111111111", "123", "12/30", "JOHN DOE", "ORDER-1", "not a key"),
  };

  @Test
  public void jvmAndProcessMemoryStayFlat() throws IOException {
    try (SdkCore core = Merchant.newCore();
         LogSinkHandle sink = SdkCore.addLogSink((tag, message, error) -> {})) {
      run(core, CALLS / 5);  // JIT, caches and allocator arenas settle
      long heap = heapAfterGc();
      long rss = residentBytes();
      run(core, CALLS);
      long heapGrowth = heapAfterGc() - heap;
      long rssGrowth = residentBytes() - rss;
      System.out.printf("%d calls: heap %+d KiB, resident %+d KiB%n", CALLS, heapGrowth >> 10,
          rssGrowth >> 10);
      assertTrue("heap grew by " + heapGrowth, heapGrowth < HEAP_SLACK);
      assertTrue("resident size grew by " + rssGrowth, rssGrowth < RSS_SLACK);
    }
  }

  private static void run(SdkCore core, int calls) {
    for (int i = 0; i < calls; i++) {
      assertNotNull(core.generateToken(REQUESTS[i % REQUESTS.length]));
    }
  }

  private static long heapAfterGc() {
    Runtime runtime = Runtime.getRuntime();
    for (int i = 0; i < 3; i++) {
      System.gc();
    }
    return runtime.totalMemory() - runtime.freeMemory();
  }

  private static long residentBytes() throws IOException {
    for (String line : Files.readAllLines(Paths.get("/proc/self/status"))) {
      if (line.startsWith("VmRSS:")) {
        return Long.parseLong(line.replaceAll("[^0-9]", "")) << 10;
      }
    }
    throw new IOException("no VmRSS in /proc/self/status");
  }
}
