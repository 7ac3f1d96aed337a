// A Java host that brings its platform's own RSA and random bytes (javax.crypto.Cipher and
// SecureRandom, as on Android) instead of the library's built-in cryptography.
// Usage: java -Djava.library.path=DIR -cp sdkcore.jar:. MinimalWithProvider PUBLIC_KEY.pem
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import org.sdkcore.JdkCryptoProvider;
import org.sdkcore.SdkCore;
import org.sdkcore.TokenRequest;
import org.sdkcore.TokenResult;

public final class MinimalWithProvider {
  public static void main(String[] args) throws Exception {
    if (args.length != 1) {
      System.err.println("usage: MinimalWithProvider PUBLIC_KEY.pem");
      System.exit(2);
    }
    String pem = new String(Files.readAllBytes(Paths.get(args[0])), StandardCharsets.US_ASCII);

    TokenRequest request = TokenRequest.card("4111111111111111", "123", "12/30", "JOHN DOE",
        "ORDER-1", pem);
    // The library still reads and checks the key; the platform only encrypts.
    try (SdkCore core = new SdkCore(new JdkCryptoProvider())) {
      TokenResult result = core.generateToken(request);
      if (!result.isSuccess()) {
        System.err.println(result.errorField() + ": " + result.errorCode());
        System.exit(1);
      }
      System.out.println(result.token());
    }
  }
}
