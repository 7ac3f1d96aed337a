#!/usr/bin/env python3
"""Makes a local git repository that stands in for nlohmann/json's own Swift package, from the
system's nlohmann/json headers, so that the package's dependency resolves without a network.

    scripts/json_package_mirror.py DIRECTORY [--headers /usr/include/nlohmann]

The repository has the layout and names of the real package: the product and target "json" over
single_include/nlohmann, whose directory is the public include path, holding the single-header
forms json.hpp and json_fwd.hpp. The system ships the headers split into many files; each single
header is made by inlining the split headers it includes, each once (they are all guarded). The
one commit is tagged with the headers' version and is the same for the same headers, so that a
repository made again resolves to the same revision.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*<nlohmann/([^>]+)>')
VERSION = re.compile(r'#define NLOHMANN_JSON_VERSION_(MAJOR|MINOR|PATCH) (\d+)')

MANIFEST = """\
// swift-tools-version:5.9
// A local stand-in for https://github.com/nlohmann/json, made by scripts/json_package_mirror.py
// from the system's headers, with the real package's names and header layout.
import PackageDescription

let package = Package(
  name: "nlohmann-json",
  products: [.library(name: "json", targets: ["json"])],
  targets: [.target(name: "json", path: "single_include/nlohmann", publicHeadersPath: ".")],
  cxxLanguageStandard: .cxx11
)
"""

# Every other build of the library here finds these headers in a system directory, where the
# compiler reports no warning of theirs; the package's include path is no system directory.
SYSTEM_HEADER = "#pragma GCC system_header\n"

# The package manager builds no target without a source file.
PLACEHOLDER = "// The header-only library's one source file, which the package manager needs.\n"


def single_header(headers, name):
    """The text of <nlohmann/NAME> with every nlohmann header it includes inlined once."""
    done = set()
    out = []

    def inline(relative):
        done.add(relative)
        with open(os.path.join(headers, relative), encoding="utf-8") as source:
            for line in source:
                match = INCLUDE.match(line)
                if not match:
                    out.append(line)
                elif match.group(1) not in done:
                    inline(match.group(1))

    inline(name)
    return "".join(out)


def version(headers):
    with open(os.path.join(headers, "detail", "abi_macros.hpp"), encoding="utf-8") as source:
        parts = dict(VERSION.findall(source.read()))
    return "{MAJOR}.{MINOR}.{PATCH}".format(**parts)


def git(directory, *arguments):
    # A fixed author and date: the same files give the same commit.
    environment = dict(os.environ, GIT_AUTHOR_NAME="mirror", GIT_AUTHOR_EMAIL="mirror@localhost",
                       GIT_COMMITTER_NAME="mirror", GIT_COMMITTER_EMAIL="mirror@localhost",
                       GIT_AUTHOR_DATE="2000-01-01T00:00:00Z",
                       GIT_COMMITTER_DATE="2000-01-01T00:00:00Z")
    subprocess.run(["git", "-C", directory, "-c", "init.defaultBranch=main",
                    "-c", "commit.gpgsign=false", "-c", "tag.gpgsign=false", *arguments],
                   check=True, env=environment, stdout=subprocess.DEVNULL)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("directory")
    parser.add_argument("--headers", default="/usr/include/nlohmann")
    args = parser.parse_args()
    if not os.path.isfile(os.path.join(args.headers, "json.hpp")):
        sys.exit(f"json_package_mirror: no nlohmann/json headers in {args.headers}")

    shutil.rmtree(args.directory, ignore_errors=True)
    single = os.path.join(args.directory, "single_include", "nlohmann")
    os.makedirs(single)
    for name in ("json.hpp", "json_fwd.hpp"):
        with open(os.path.join(single, name), "w", encoding="utf-8") as out:
            out.write(SYSTEM_HEADER + single_header(args.headers, name))
    with open(os.path.join(single, "json_package.cpp"), "w", encoding="utf-8") as out:
        out.write(PLACEHOLDER)
    with open(os.path.join(args.directory, "Package.swift"), "w", encoding="utf-8") as out:
        out.write(MANIFEST)

    tag = version(args.headers)
    git(args.directory, "init", "-q")
    git(args.directory, "add", "-A")
    git(args.directory, "commit", "-q", "-m", f"nlohmann/json {tag} from the system's headers")
    git(args.directory, "tag", tag)
    print(f"json_package_mirror: nlohmann/json {tag} in {args.directory}")


if __name__ == "__main__":
    main()
