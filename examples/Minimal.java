// The smallest Java host: one card, one order, one token.
// Usage: java -Djava.library.path=DIR -cp sdkcore.jar:. Minimal PUBLIC_KEY.pem
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import org.sdkcore.LogSinkHandle;
import org.sdkcore.SdkCore;
import org.sdkcore.TokenRequest;
import org.sdkcore.TokenResult;

public final class Minimal {
  public static void main(String[] args) throws Exception {
    if (args.length != 1) {
      System.err.println("usage: Minimal PUBLIC_KEY.pem");
      System.exit(2);
    }
    String pem = new String(Files.readAllBytes(Paths.get(args[0])), StandardCharsets.US_ASCII);

    TokenRequest request = TokenRequest.card(/* pan= */ "4111111111111111", /* cvc= */ "123",
        /* expiryMMYY= */ "12/30", /* cardholder= */ "JOHN DOE", /* mdOrder= */ "ORDER-1", pem);
    try (SdkCore core = new SdkCore();
         LogSinkHandle log = SdkCore.addLogSink(
             (tag, message, error) -> System.err.println(tag + ": " + message))) {
      TokenResult result = core.generateToken(request);
      if (result.isSuccess()) {
        System.out.println(result.token());  // Pass it on to the payment server.
      } else {
        System.err.println(result.errorField() + ": " + result.errorCode());  // e.g. "PAN: invalid"
        System.exit(1);
      }
    }
  }
}
