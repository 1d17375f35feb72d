"""Writes the Windows zip of tools/package.sh from the built files, the same bytes for the same
inputs: entries in a fixed order, each with the given time and fixed attributes, no extra fields.

    package_zip.py ZIP EPOCH NOCTURO_EXE CLI_EXE GUIDE LICENSE

The guide (UTF-8) goes in as はじめにお読みください.txt with a byte-order mark and CRLF line ends,
as Notepad wants it; SHA256SUMS, in sha256sum's format, covers the four files before it.
"""
import hashlib
import os
import sys
import time
import zipfile

GUIDE_NAME = "はじめにお読みください.txt"


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        sys.exit("package_zip: cannot read %s: %s" % (path, e.strerror))


def windows_text(data):
    """UTF-8 text with one byte-order mark and CRLF line ends, whatever the source's line ends."""
    text = data.decode("utf-8")  # a guide that is not UTF-8 stops the package
    text = text.lstrip("\ufeff").replace("\r\n", "\n")
    return b"\xef\xbb\xbf" + text.replace("\n", "\r\n").encode("utf-8")


def entry(name, epoch, mode):
    # A zip's times are local DOS times from 1980 on, without a zone: the commit's UTC time stands
    # for all machines alike.
    info = zipfile.ZipInfo(name, date_time=time.gmtime(max(epoch, 315532800))[:6])
    info.create_system = 3  # Unix, so that the mode below is read
    info.external_attr = (0o100000 | mode) << 16
    info.compress_type = zipfile.ZIP_DEFLATED
    return info


def main():
    if len(sys.argv) != 7:
        sys.exit(__doc__)
    zip_path, epoch = sys.argv[1], int(sys.argv[2])
    files = [
        ("nocturo.exe", read(sys.argv[3]), 0o755),
        ("nocturo-cli.exe", read(sys.argv[4]), 0o755),
        (GUIDE_NAME, windows_text(read(sys.argv[5])), 0o644),
        ("LICENSE", read(sys.argv[6]), 0o644),
    ]
    for name, data, _ in files:
        if not data:
            sys.exit("package_zip: %s is empty" % name)
    sums = "".join("%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
                   for name, data, _ in files)
    files.append(("SHA256SUMS", sums.encode("utf-8"), 0o644))

    # Written beside the target and renamed, so that a failure leaves no half zip behind.
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for name, data, mode in files:
            z.writestr(entry(name, epoch, mode), data, compresslevel=9)
    os.replace(partial, zip_path)


main()
