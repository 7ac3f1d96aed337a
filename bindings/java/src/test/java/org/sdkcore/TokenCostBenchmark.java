package org.sdkcore;

import java.lang.management.ManagementFactory;
import java.lang.management.ThreadMXBean;
import java.nio.charset.StandardCharsets;
import java.util.Arrays;

/**
 * The cost of one card token from Java against the same token through the C interface, measured
 * in one process in many short alternating rounds, with the median of each side. The thread's CPU
 * time is the figure that a loaded machine leaves steady; wall time is shown beside it. Not a
 * test: run by hand with the tests' build of the JNI library (README, "The Java binding").
 */
public final class TokenCostBenchmark {
  private static final int TOKENS = 200;
  private static final int WARM_UP_ROUNDS = 20;
  private static final int ROUNDS = 201;
  private static final ThreadMXBean THREADS = ManagementFactory.getThreadMXBean();

  private TokenCostBenchmark() {}

  public static void main(String[] args) {
    byte[] pem = Merchant.PUBLIC_KEY.getBytes(StandardCharsets.US_ASCII);
    long[][] java = new long[2][ROUNDS];
    long[][] c = new long[2][ROUNDS];
    long[] nanos = new long[2];
    try (SdkCore core = Merchant.newCore()) {
      for (int round = -WARM_UP_ROUNDS; round < ROUNDS; round++) {
        javaTokens(core, nanos);
        record(java, round, nanos);
        if (!NativeHooks.cardTokens(pem, TOKENS, nanos)) {
          throw new IllegalStateException("the C interface made no token");
        }
        record(c, round, nanos);
      }
    }
    System.out.printf("per token, medians of %d rounds of %d tokens:%n", ROUNDS, TOKENS);
    String[] names = {"CPU time", "wall time"};
    for (int i = 0; i < 2; i++) {
      double javaCost = median(java[i]) / TOKENS / 1000.0;
      double cCost = median(c[i]) / TOKENS / 1000.0;
      System.out.printf("  %-9s Java %.1f us, C %.1f us, Java/C %.3f%n", names[i], javaCost, cCost,
          javaCost / cCost);
    }
  }

  // The same request as the C side's, built anew for each token.
  private static void javaTokens(SdkCore core, long[] nanos) {
    long cpu = THREADS.getCurrentThreadCpuTime();
    long wall = System.nanoTime();
    for (int i = 0; i < TOKENS; i++) {
      TokenRequest request = TokenRequest.card("4111111111111111", "123", "12/30", "JOHN DOE",
          "ORDER-1", Merchant.PUBLIC_KEY).withTimestamp(1700000000.0);
      if (!core.generateToken(request).isSuccess()) {
        throw new IllegalStateException("Java made no token");
      }
    }
    nanos[0] = THREADS.getCurrentThreadCpuTime() - cpu;
    nanos[1] = System.nanoTime() - wall;
  }

  private static void record(long[][] rounds, int round, long[] nanos) {
    if (round >= 0) {
      rounds[0][round] = nanos[0];
      rounds[1][round] = nanos[1];
    }
  }

  private static long median(long[] values) {
    long[] sorted = values.clone();
    Arrays.sort(sorted);
    return sorted[sorted.length / 2];
  }
}
