// Copies the classes of a JDK module file (a .jmod) into a jar whose class files say Java 8, for a
// shrinker that refuses newer class files even on its library path: Debian's ProGuard, 6.2.2,
// reads class files up to Java 13 only. A shrinker reads a library class for its name, members
// and hierarchy alone, which the version number does not change.
// Usage: java Java8LibraryJar.java IN.jmod OUT.jar
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.zip.ZipEntry;
import java.util.zip.ZipInputStream;
import java.util.zip.ZipOutputStream;

public final class Java8LibraryJar {
  private static final int JAVA_8 = 52;

  public static void main(String[] args) throws IOException {
    if (args.length != 2) {
      System.err.println("usage: Java8LibraryJar IN.jmod OUT.jar");
      System.exit(2);
    }
    int classes = 0;
    try (InputStream jmod = Files.newInputStream(Paths.get(args[0]));
         OutputStream out = Files.newOutputStream(Paths.get(args[1]));
         ZipOutputStream jar = new ZipOutputStream(out)) {
      // A jmod file is a zip archive behind a 4-byte header: "JM", then the format's version.
      byte[] header = new byte[4];
      if (jmod.read(header) != header.length || header[0] != 'J' || header[1] != 'M') {
        throw new IOException(args[0] + " is no jmod file");
      }
      ZipInputStream in = new ZipInputStream(jmod);
      for (ZipEntry entry; (entry = in.getNextEntry()) != null;) {
        String name = entry.getName();
        if (!name.startsWith("classes/") || !name.endsWith(".class")
            || name.equals("classes/module-info.class")) {
          continue;
        }
        byte[] bytes = readAll(in);
        // A class file starts with u4 magic, u2 minor_version, u2 major_version.
        if (bytes.length < 8 || (bytes[0] & 0xff) != 0xca || (bytes[1] & 0xff) != 0xfe
            || (bytes[2] & 0xff) != 0xba || (bytes[3] & 0xff) != 0xbe) {
          throw new IOException(name + " is no class file");
        }
        bytes[4] = 0;
        bytes[5] = 0;
        bytes[6] = (byte) (JAVA_8 >> 8);
        bytes[7] = (byte) JAVA_8;
        jar.putNextEntry(new ZipEntry(name.substring("classes/".length())));
        jar.write(bytes);
        jar.closeEntry();
        ++classes;
      }
    }
    if (classes == 0) {
      throw new IOException(args[0] + " holds no classes");
    }
  }

  private static byte[] readAll(InputStream in) throws IOException {
    ByteArrayOutputStream bytes = new ByteArrayOutputStream();
    byte[] buffer = new byte[8192];
    for (int n; (n = in.read(buffer)) > 0;) {
      bytes.write(buffer, 0, n);
    }
    return bytes.toByteArray();
  }
}
