package org.sdkcore;

import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertFalse;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertThrows;

import java.io.IOException;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Paths;
import org.junit.Test;

public class ValidatorsTest {
  // tests/capi/validator_cases.tsv, which the C interface's test reads too.
  @Test
  public void answersAsTheCInterfaceOnTheSharedTable() throws IOException {
    for (String line : Files.readAllLines(
             Paths.get(System.getProperty("sdkcore.validatorCases")), StandardCharsets.UTF_8)) {
      if (line.isEmpty() || line.startsWith("#")) {
        continue;
      }
      String[] column = line.split("\t", -1);
      ValidationResult result = Validators.validate(column[0], column[1].replace("\\0", "\0"));
      assertEquals(line, column[2].equals("1"), result.isValid());
      if (column[3].equals("-")) {
        assertNull(line, result.code());
        assertNull(line, result.message());
        continue;
      }
      assertEquals(line, column[3], result.code());
      assertEquals(line, column[4], result.message());
    }
  }

  @Test
  public void anUnknownNameIsRefused() {
    for (String name : new String[] {"card_number", "cvc\0", ""}) {
      assertThrows(IllegalArgumentException.class, () -> Validators.validate(name, "4"));
    }
  }

  @Test
  public void swappedArgumentsKeepTheCardNumberOutOfTheMessage() {
    IllegalArgumentException e = assertThrows(IllegalArgumentException.class,
        () -> Validators.validate("4024007186432117", "card-number"));
    assertFalse(e.getMessage(), e.getMessage().contains("4024007"));
  }
}
