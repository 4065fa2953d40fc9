#!/usr/bin/python3
"""Packs a folder into a .zip or a .tar.gz whose bytes depend only on the names,
contents and executable bits of the files in it.

    tools/archive.py FOLDER OUT.zip
    tools/archive.py FOLDER OUT.tar.gz

Members are stored under the folder's own name (as Windows' "Extract all" and tar
expect), sorted by name, each with the time SOURCE_DATE_EPOCH gives (in UTC; without
it, the start of 1980, the earliest a zip can hold), no owner, and mode 755 for
folders and executables, 644 for everything else.
"""

import gzip
import io
import os
import stat
import sys
import tarfile
import time
import zipfile
from pathlib import Path

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC


def members(folder):
    """(name inside the archive, path) for the folder and all it holds, sorted."""
    base = folder.name
    found = [(base + "/", folder)]
    for path in folder.rglob("*"):
        name = f"{base}/{path.relative_to(folder).as_posix()}"
        found.append((name + "/" if path.is_dir() else name, path))
    return sorted(found)


def mode_of(path):
    if path.is_dir() or os.stat(path).st_mode & 0o111:
        return 0o755
    return 0o644


def write_zip(folder, out, when):
    stamp = time.gmtime(max(when, EARLIEST_ZIP_TIME))[:6]
    with zipfile.ZipFile(out, "w") as archive:
        for name, path in members(folder):
            info = zipfile.ZipInfo(name, date_time=stamp)
            info.create_system = 3  # Unix, so that the mode below is read
            kind = stat.S_IFDIR if path.is_dir() else stat.S_IFREG
            info.external_attr = (kind | mode_of(path)) << 16
            if path.is_dir():
                info.external_attr |= 0x10  # the MS-DOS folder flag
                archive.writestr(info, b"")
            else:
                info.compress_type = zipfile.ZIP_DEFLATED
                archive.writestr(info, path.read_bytes(), compresslevel=9)


def write_tar_gz(folder, out, when):
    packed = io.BytesIO()
    with tarfile.open(fileobj=packed, mode="w", format=tarfile.USTAR_FORMAT) as archive:
        for name, path in members(folder):
            info = tarfile.TarInfo(name.rstrip("/"))
            info.mtime, info.mode = when, mode_of(path)
            info.uid = info.gid = 0
            info.uname = info.gname = "root"
            if path.is_dir():
                info.type = tarfile.DIRTYPE
                archive.addfile(info)
            else:
                data = path.read_bytes()
                info.size = len(data)
                archive.addfile(info, io.BytesIO(data))
    # No name and no time in the gzip header.
    with open(out, "wb") as raw, gzip.GzipFile(filename="", mode="wb", fileobj=raw,
                                                compresslevel=9, mtime=0) as compressed:
        compressed.write(packed.getvalue())


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: tools/archive.py FOLDER OUT.zip|OUT.tar.gz")
    folder, out = Path(sys.argv[1]), Path(sys.argv[2])
    if not folder.is_dir():
        sys.exit(f"archive.py: {folder} is not a folder")
    when = int(os.environ.get("SOURCE_DATE_EPOCH", EARLIEST_ZIP_TIME))
    if out.name.endswith(".zip"):
        write_zip(folder, out, when)
    elif out.name.endswith(".tar.gz"):
        write_tar_gz(folder, out, when)
    else:
        sys.exit(f"archive.py: {out} is neither a .zip nor a .tar.gz")


if __name__ == "__main__":
    main()
