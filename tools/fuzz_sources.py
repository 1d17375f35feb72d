#!/usr/bin/env python3
"""Copies the source tree for the clang fuzzing build with every text in code page 932.

g++ turns the UTF-8 sources' string literals into Shift_JIS (-fexec-charset=CP932); clang has no
such option and would keep them as UTF-8, which is longer: the national holiday names no longer
fit their 24-byte fields and nothing would compile. Here each non-ASCII character of a C++ source
becomes the octal escapes of its code page 932 bytes, as iconv (the converter g++ uses) gives
them, so the fuzzers see the same bytes as the program. Octal, not hexadecimal: an escape ends
after three digits, and a trail byte 0x5C must not act as a backslash. A character code page 932
lacks (only in comments) is left as it is. A u8"..." literal is UTF-8 in both compilers (the 72
seasons' names, some of whose characters code page 932 lacks) and is copied unchanged.

    tools/fuzz_sources.py SOURCE DESTINATION

Only files whose copy would change are written, so that a rebuild compiles what changed.
"""
import os
import re
import shutil
import subprocess
import sys

SKIP = {".git", "build"}
cache = {}


def cp932_escapes(ch):
    if ch not in cache:
        result = subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=ch.encode(),
                                capture_output=True)
        if result.returncode != 0:
            cache[ch] = ch
        else:
            cache[ch] = "".join("\\%03o" % b for b in result.stdout)
    return cache[ch]


UTF8_LITERAL = re.compile(r'u8"(?:[^"\\\n]|\\.)*"')


def transcode(text):
    parts = []
    end = 0
    for literal in UTF8_LITERAL.finditer(text):
        parts.append("".join(c if ord(c) < 128 else cp932_escapes(c)
                             for c in text[end:literal.start()]))
        parts.append(literal.group(0))
        end = literal.end()
    parts.append("".join(c if ord(c) < 128 else cp932_escapes(c) for c in text[end:]))
    return "".join(parts)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source, destination = (os.path.abspath(p) for p in sys.argv[1:])
    written = 0
    for folder, dirs, files in os.walk(source):
        dirs[:] = [d for d in dirs if not (folder == source and d in SKIP)]
        target = os.path.join(destination, os.path.relpath(folder, source))
        os.makedirs(target, exist_ok=True)
        for name in files:
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            if name.endswith((".cpp", ".h")):
                data = transcode(data.decode("utf-8")).encode("utf-8")
            path = os.path.join(target, name)
            try:
                with open(path, "rb") as f:
                    if f.read() == data:
                        continue
            except FileNotFoundError:
                pass
            with open(path, "wb") as f:
                f.write(data)
            shutil.copymode(os.path.join(folder, name), path)
            written += 1
    print("fuzz-sources: %d files written to %s" % (written, destination))


if __name__ == "__main__":
    main()
