#!/usr/bin/env python3
"""Writes src/unicode/unicode_tables.cpp, the character property tables of the library, from a
directory of the Unicode Character Database (UCD).

    scripts/generate_unicode_tables.py [UCD_DIR] [--output FILE] [--check]

UCD_DIR defaults to /usr/share/unicode. With --check nothing is written: the program compares
what it would write with the output file and fails (exit status 1) when they differ.

Every code point gets a 16-bit record (the layout is CharacterRecord in
src/unicode/character_record.hpp) that a three-level table finds; the first 256 code points'
records are reachable directly. Beside it the lists that patterns build sets from: the general
category runs (packed), the White_Space and Alphabetic ranges and the simple case foldings.
"""

import argparse
import difflib
import os
import re
import sys

MAX_CODE_POINT = 0x10FFFF
CODE_POINTS = MAX_CODE_POINT + 1

# The enumerations of src/unicode/properties.hpp, in their order.
GENERAL_CATEGORIES = [
    "Cn", "Lu", "Ll", "Lt", "Lm", "Lo", "Mn", "Mc", "Me", "Nd", "Nl", "No", "Pc", "Pd", "Ps",
    "Pe", "Pi", "Pf", "Po", "Sm", "Sc", "Sk", "So", "Zs", "Zl", "Zp", "Cc", "Cf", "Cs", "Co",
]
GRAPHEME_CLUSTER_BREAKS = [
    "Other", "CR", "LF", "Control", "Extend", "ZWJ", "Regional_Indicator", "Prepend",
    "SpacingMark", "L", "V", "T", "LV", "LVT",
]
# IndicConjunctBreak of properties.hpp.
INDIC_NONE, INDIC_CONSONANT, INDIC_LINKER, INDIC_EXTEND = range(4)

# The scripts whose consonant + virama + consonant sequences ICU 72 keeps in one character.
CONJUNCT_SCRIPTS = {"Devanagari", "Bengali", "Gujarati", "Oriya", "Telugu", "Malayalam"}

# The bit fields of a record, as CharacterRecord reads them: (shift, width).
FIELD_CATEGORY = (0, 5)
FIELD_WHITE_SPACE = (5, 1)
FIELD_ALPHABETIC = (6, 1)
FIELD_FOLDS = (7, 1)
FIELD_GRAPHEME = (8, 4)
FIELD_PICTOGRAPHIC = (12, 1)
FIELD_INDIC = (13, 2)

HEADER_VERSION = re.compile(r"^#\s*([A-Za-z]+)-(\d+\.\d+\.\d+)\.txt\s*$")


def read_lines(ucd, name):
    """The data lines of a UCD file: fields split at ';', comments and blank lines dropped."""
    with open(os.path.join(ucd, name), encoding="utf-8") as f:
        for line in f:
            data = line.split("#", 1)[0].strip()
            if data:
                yield [field.strip() for field in data.split(";")]


def file_version(ucd, name):
    """The Unicode version in the first line of a UCD file ("# PropList-15.0.0.txt"), or None."""
    with open(os.path.join(ucd, name), encoding="utf-8") as f:
        match = HEADER_VERSION.match(f.readline())
    return match.group(2) if match else None


def code_points(field):
    """The code points of a "0041" or "0041..005A" field."""
    first, _, last = field.partition("..")
    return range(int(first, 16), int(last or first, 16) + 1)


def property_ranges(ucd, name, value):
    """The code points whose second field is 'value' in a property file."""
    result = set()
    for fields in read_lines(ucd, name):
        if fields[1] == value:
            result.update(code_points(fields[0]))
    return result


def unicode_data(ucd):
    """General categories and canonical combining classes from UnicodeData.txt."""
    categories = [0] * CODE_POINTS
    combining = [0] * CODE_POINTS
    first = None
    for fields in read_lines(ucd, "UnicodeData.txt"):
        c = int(fields[0], 16)
        if fields[1].endswith(", First>"):
            first = c
            continue
        start = first if fields[1].endswith(", Last>") else c
        first = None
        for d in range(start, c + 1):
            categories[d] = GENERAL_CATEGORIES.index(fields[2])
            combining[d] = int(fields[3])
    return categories, combining


def simple_case_foldings(ucd):
    """{from: to} for the simple case folding (statuses C and S)."""
    return {int(f[0], 16): int(f[2], 16) for f in read_lines(ucd, "CaseFolding.txt")
            if f[1] in ("C", "S")}


def grapheme_breaks(ucd):
    values = [0] * CODE_POINTS
    for fields in read_lines(ucd, "auxiliary/GraphemeBreakProperty.txt"):
        for c in code_points(fields[0]):
            values[c] = GRAPHEME_CLUSTER_BREAKS.index(fields[1])
    return values


def indic_conjunct_breaks(ucd, grapheme, combining):
    """ICU 72's classes of its conjunct rule: consonants and viramas of CONJUNCT_SCRIPTS (by
    Indic_Syllabic_Category), and the marks that may stand between them: Extend with a
    non-zero combining class, and ZWJ."""
    scripts = set()
    for fields in read_lines(ucd, "Scripts.txt"):
        if fields[1] in CONJUNCT_SCRIPTS:
            scripts.update(code_points(fields[0]))
    values = [INDIC_NONE] * CODE_POINTS
    extend = GRAPHEME_CLUSTER_BREAKS.index("Extend")
    zwj = GRAPHEME_CLUSTER_BREAKS.index("ZWJ")
    for c in range(CODE_POINTS):
        if (grapheme[c] == extend and combining[c] != 0) or grapheme[c] == zwj:
            values[c] = INDIC_EXTEND
    for fields in read_lines(ucd, "IndicSyllabicCategory.txt"):
        kind = {"Consonant": INDIC_CONSONANT, "Virama": INDIC_LINKER}.get(fields[1])
        for c in code_points(fields[0]) if kind is not None else ():
            if c in scripts:
                # The breaker counts a virama among the marks that may follow it.
                if kind == INDIC_LINKER and values[c] != INDIC_EXTEND:
                    sys.exit(f"U+{c:04X}: a virama that is not an Extend mark")
                values[c] = kind
    return values


def field(value, layout):
    shift, width = layout
    assert 0 <= value < (1 << width)
    return value << shift


class Database:
    """The properties of every code point, read from a UCD directory."""

    def __init__(self, ucd):
        versions = {file_version(ucd, name) for name in (
            "PropList.txt", "DerivedCoreProperties.txt", "CaseFolding.txt", "Scripts.txt",
            "IndicSyllabicCategory.txt", "auxiliary/GraphemeBreakProperty.txt")}
        if len(versions) != 1 or None in versions:
            sys.exit(f"{ucd}: files of different or unknown Unicode versions: {versions}")
        self.version = versions.pop()
        self.categories, combining = unicode_data(ucd)
        self.white_space = property_ranges(ucd, "PropList.txt", "White_Space")
        self.alphabetic = property_ranges(ucd, "DerivedCoreProperties.txt", "Alphabetic")
        self.pictographic = property_ranges(ucd, "emoji/emoji-data.txt", "Extended_Pictographic")
        self.foldings = simple_case_foldings(ucd)
        self.grapheme = grapheme_breaks(ucd)
        self.indic = indic_conjunct_breaks(ucd, self.grapheme, combining)

    def record(self, c):
        return (field(self.categories[c], FIELD_CATEGORY)
                | field(c in self.white_space, FIELD_WHITE_SPACE)
                | field(c in self.alphabetic, FIELD_ALPHABETIC)
                | field(c in self.foldings, FIELD_FOLDS)
                | field(self.grapheme[c], FIELD_GRAPHEME)
                | field(c in self.pictographic, FIELD_PICTOGRAPHIC)
                | field(self.indic[c], FIELD_INDIC))


def runs(values):
    """[(first, last, value)] over a per-code-point list."""
    result = []
    start = 0
    for c in range(1, CODE_POINTS + 1):
        if c == CODE_POINTS or values[c] != values[start]:
            result.append((start, c - 1, values[start]))
            start = c
    return result


def ranges(members):
    return [(first, last) for first, last, inside in
            runs([c in members for c in range(CODE_POINTS)]) if inside]


class Trie:
    """A three-level table: top[c >> (middle_bits + leaf_bits)] picks a block of the middle
    level, whose entry picks a block of the leaf level, whose entry is the value. Identical
    blocks are stored once; the leaf blocks of U+0000..U+00FF come first, in order."""

    def __init__(self, leaf, leaf_numbers, leaf_bits, middle_bits):
        self.leaf, self.leaf_bits, self.middle_bits = leaf, leaf_bits, middle_bits
        self.middle, self.top = deduplicate(leaf_numbers, 1 << middle_bits, 0)

    def size(self):
        return sum(len(level) * width_bytes(level) for level in (self.leaf, self.middle, self.top))


def deduplicate(values, block_size, keep):
    """(blocks, numbers): the distinct blocks of 'values', concatenated, and the number of each
    block of 'values' among them. The first 'keep' values stay in place, in order."""
    blocks, numbers, index = [], [], {}
    for start in range(0, len(values), block_size):
        block = tuple(values[start:start + block_size])
        if start < keep or block not in index:
            index.setdefault(block, len(blocks) // block_size)
            numbers.append(len(blocks) // block_size)
            blocks.extend(block)
        else:
            numbers.append(index[block])
    return blocks, numbers


def width_bytes(values):
    return 1 if max(values) < 0x100 else 2 if max(values) < 0x10000 else 4


def smallest_trie(values):
    tries = []
    for leaf_bits in range(4, 9):
        leaf, leaf_numbers = deduplicate(values, 1 << leaf_bits, 0x100)
        tries += [Trie(leaf, leaf_numbers, leaf_bits, middle) for middle in range(2, 8)]
    return min(tries, key=lambda t: (t.size(), t.leaf_bits, t.middle_bits))


C_TYPES = {1: "std::uint8_t", 2: "std::uint16_t", 4: "std::uint32_t"}
LINE_WIDTH = 100


def definition(declaration, items):
    """A C++ array definition, its items filling lines of at most LINE_WIDTH columns."""
    lines = [f"constexpr {declaration}[] = {{"]
    line = "   "
    for item in items:
        if len(line) + len(item) + 2 > LINE_WIDTH:
            lines.append(line)
            line = "   "
        line += f" {item},"
    lines += [line, "};"]
    return lines


def array(name, values):
    return definition(f"{C_TYPES[width_bytes(values)]} {name}", [str(v) for v in values])


def struct_array(name, type_name, rows):
    return definition(f"{type_name} {name}", rows)


def hex_pair(first, last):
    return f"{{0x{first:X}, 0x{last:X}}}"


def render(db):
    records_by_code_point = [db.record(c) for c in range(CODE_POINTS)]
    # Sorted, so that number 0 is record 0, the record of an unassigned code point.
    records = sorted(set(records_by_code_point))
    number = {r: i for i, r in enumerate(records)}
    trie = smallest_trie([number[r] for r in records_by_code_point])
    category_runs = [first << 5 | value for first, _, value in runs(db.categories)]
    leaf_mask = (1 << trie.leaf_bits) - 1
    middle_mask = (1 << trie.middle_bits) - 1
    top_shift = trie.middle_bits + trie.leaf_bits
    out = [
        "// Generated by scripts/generate_unicode_tables.py; do not edit.",
        f"// From the Unicode Character Database {db.version}.",
        "// clang-format off",
        "",
        '#include "unicode/character_record.hpp"',
        '#include "unicode/properties.hpp"',
        "",
        "namespace sdkcore::unicode {",
        "",
        f'const char* const kUnicodeVersion = "{db.version}";',
        "",
        "namespace {",
        "",
        f"// The distinct records ({len(records)}); the tables below hold their numbers.",
        *array("kRecords", records),
        "",
        f"// Leaf blocks of {1 << trie.leaf_bits} record numbers; U+0000..U+00FF first.",
        *array("kLeaf", trie.leaf),
        "",
        f"// Middle blocks of {1 << trie.middle_bits} leaf block numbers.",
        *array("kMiddle", trie.middle),
        "",
        f"// The middle block of each {1 << top_shift} code points.",
        *array("kTop", trie.top),
        "",
        "// The general category runs, each as (first << 5 | category).",
        *array("kCategoryRuns", category_runs),
        "",
        *struct_array("kWhiteSpace", "CodePointRange",
                      [hex_pair(a, b) for a, b in ranges(db.white_space)]),
        "",
        *struct_array("kAlphabetic", "CodePointRange",
                      [hex_pair(a, b) for a, b in ranges(db.alphabetic)]),
        "",
        *struct_array("kCaseFoldings", "CaseFolding",
                      [hex_pair(a, db.foldings[a]) for a in sorted(db.foldings)]),
        "",
        "}  // namespace",
        "",
        "namespace detail {",
        "",
        "CharacterRecord characterRecord(char32_t c) noexcept {",
        "  if (c < 0x100) return CharacterRecord{kRecords[kLeaf[c]]};",
        f"  if (c > 0x{MAX_CODE_POINT:X}) return CharacterRecord{{}};",
        f"  const unsigned middle = kTop[c >> {top_shift}] * {1 << trie.middle_bits}u "
        f"+ ((c >> {trie.leaf_bits}) & 0x{middle_mask:X});",
        f"  const unsigned leaf = kMiddle[middle] * {1 << trie.leaf_bits}u + (c & 0x{leaf_mask:X});",
        "  return CharacterRecord{kRecords[kLeaf[leaf]]};",
        "}",
        "",
        "}  // namespace detail",
        "",
        "std::span<const CategoryRun> generalCategoryRuns() noexcept {",
        "  // Unpacked on first use, into static storage rather than into the program's file.",
        "  static const auto runs = detail::unpackCategoryRuns(kCategoryRuns);",
        "  return runs;",
        "}",
        "std::span<const CodePointRange> whiteSpaceRanges() noexcept { return kWhiteSpace; }",
        "std::span<const CodePointRange> alphabeticRanges() noexcept { return kAlphabetic; }",
        "std::span<const CaseFolding> simpleCaseFoldings() noexcept { return kCaseFoldings; }",
        "",
        "}  // namespace sdkcore::unicode",
    ]
    return "\n".join(out) + "\n"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("ucd", nargs="?", default="/usr/share/unicode")
    parser.add_argument("--output", default=os.path.normpath(
        os.path.join(here, "..", "src", "unicode", "unicode_tables.cpp")))
    parser.add_argument("--check", action="store_true",
                        help="compare with the output file instead of writing it")
    args = parser.parse_args()
    text = render(Database(args.ucd))
    if args.check:
        try:
            with open(args.output, encoding="utf-8") as f:
                current = f.read()
        except FileNotFoundError:
            current = ""
        if current != text:
            sys.stdout.writelines(difflib.unified_diff(
                current.splitlines(True), text.splitlines(True), args.output, "generated"))
            return 1
        return 0
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
