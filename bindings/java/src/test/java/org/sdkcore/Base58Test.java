package org.sdkcore;

import static org.junit.Assert.assertArrayEquals;
import static org.junit.Assert.assertEquals;
import static org.junit.Assert.assertNull;
import static org.junit.Assert.assertThrows;

import java.nio.charset.StandardCharsets;
import org.junit.Test;

public class Base58Test {
  private static final Object[][] ROUND_TRIPS = {
    {new byte[] {0, 0, 1}, "112"},
    {"BIND-77".getBytes(StandardCharsets.UTF_8), "3WhDgViUq4"},
    {new byte[] {(byte) 0xFF, (byte) 0x80, 0}, "2UpYP"},
  };

  @Test
  public void encodesAndDecodes() {
    for (Object[] trip : ROUND_TRIPS) {
      assertEquals(trip[1], Base58.encode((byte[]) trip[0]));
      assertArrayEquals((byte[]) trip[0], Base58.decode((String) trip[1]));
    }
  }

  @Test
  public void aTextOutsideTheAlphabetIsNoBase58() {
    for (String text : new String[] {"", "0", "3Wh Dg", "3WhDgViUq\u00F6"}) {
      assertNull(text, Base58.decode(text));
    }
  }

  @Test
  public void inputBeyondTheLimitIsRefused() {
    assertEquals("", Base58.encode(new byte[0]));
    assertThrows(IllegalArgumentException.class,
        () -> Base58.encode(new byte[Base58.MAX_INPUT + 1]));
  }
}
