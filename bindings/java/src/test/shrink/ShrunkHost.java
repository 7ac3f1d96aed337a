// A host that reaches, through the public API, everything the JNI library calls back or makes:
// a log sink of its own class, a crypto provider of its own that delegates to JdkCryptoProvider,
// a token, a refused token (its ParamField comes back by name) and a validator's answer. The
// shrink test runs it after ProGuard has shrunk and obfuscated it together with the jar; it exits
// with 1 and says what went wrong when an answer or a callback is missing.
// Usage: java -Djava.library.path=DIR -cp SHRUNK.jar ShrunkHost PUBLIC_KEY.pem
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.Base64;
import java.util.List;
import java.util.concurrent.atomic.AtomicInteger;
import org.sdkcore.CryptoProvider;
import org.sdkcore.JdkCryptoProvider;
import org.sdkcore.LogSink;
import org.sdkcore.LogSinkHandle;
import org.sdkcore.ParamField;
import org.sdkcore.SdkCore;
import org.sdkcore.TokenRequest;
import org.sdkcore.TokenResult;
import org.sdkcore.ValidationResult;
import org.sdkcore.Validators;

public final class ShrunkHost {
  private static final class RecordingSink implements LogSink {
    private final List<String> events = new ArrayList<>();

    @Override
    public synchronized void log(String tag, String message, String error) {
      events.add(tag + ": " + message + (error == null ? "" : " (" + error + ")"));
    }

    synchronized List<String> events() {
      return new ArrayList<>(events);
    }
  }

  private static final class CountingProvider implements CryptoProvider {
    private final CryptoProvider platform = new JdkCryptoProvider();
    final AtomicInteger encryptions = new AtomicInteger();
    final AtomicInteger randomDraws = new AtomicInteger();
    volatile byte[] lastCipher;

    @Override
    public byte[] encrypt(byte[] subjectPublicKeyInfo, byte[] plain) throws Exception {
      encryptions.incrementAndGet();
      byte[] cipher = platform.encrypt(subjectPublicKeyInfo, plain);
      lastCipher = cipher.clone();
      return cipher;
    }

    @Override
    public void randomBytes(byte[] out) throws Exception {
      randomDraws.incrementAndGet();
      platform.randomBytes(out);
    }
  }

  private static final List<String> failures = new ArrayList<>();

  private static void check(boolean holds, String what) {
    if (!holds) {
      failures.add(what);
    }
  }

  public static void main(String[] args) throws Exception {
    if (args.length != 1) {
      System.err.println("usage: ShrunkHost PUBLIC_KEY.pem");
      System.exit(2);
    }
    String pem = new String(Files.readAllBytes(Paths.get(args[0])), StandardCharsets.US_ASCII);
    RecordingSink sink = new RecordingSink();
    CountingProvider provider = new CountingProvider();
    TokenResult made;
    TokenResult refused;
    try (LogSinkHandle handle = SdkCore.addLogSink(sink);
         SdkCore core = new SdkCore(provider)) {
      made = core.generateToken(
          TokenRequest.card("4111111111111111", "123", "12/30", "JOHN DOE", "ORDER-1", pem));
      refused = core.generateToken(
          TokenRequest.card("4111111111111112", "123", "12/30", "JOHN DOE", "ORDER-1", pem));
    }
    ValidationResult cvc = Validators.validate("cvc", "12");

    check(made.isSuccess(), "no token: " + made);
    check(made.isSuccess() && provider.lastCipher != null
              && Arrays.equals(Base64.getDecoder().decode(made.token()), provider.lastCipher),
        "the token is not the provider's cipher text");
    check(refused.errorField() == ParamField.PAN && "invalid".equals(refused.errorCode()),
        "a bad card number gave " + refused + ", not PAN=invalid");
    check(!cvc.isValid() && cvc.code() != null && cvc.message() != null,
        "a two-digit security code gave " + cvc);
    check(provider.encryptions.get() == 1,
        "the provider encrypted " + provider.encryptions.get() + " times, not once");
    check(provider.randomDraws.get() >= 1, "the provider drew no random bytes");
    List<String> events = sink.events();
    check(events.stream().anyMatch(event -> event.contains("PAN")),
        "the sink got no event about the bad card number: " + events);

    if (!failures.isEmpty()) {
      failures.forEach(failure -> System.err.println("ShrunkHost: " + failure));
      System.exit(1);
    }
    System.out.println("ShrunkHost: token made, PAN refused, cvc invalid (" + cvc.code() + "), "
        + events.size() + " log events, " + provider.encryptions.get() + " encryption, "
        + provider.randomDraws.get() + " random draws");
  }
}
