"""A zip archive that depends on nothing but its files' contents: entries in
the order given, every time stamp 1980-01-01, fixed permissions, deflated."""
import os
import sys
import zipfile


def main(out, paths):
    with zipfile.ZipFile(out + ".tmp", "w") as z:
        for path in paths:
            info = zipfile.ZipInfo(os.path.basename(path), date_time=(1980, 1, 1, 0, 0, 0))
            info.external_attr = 0o644 << 16
            info.compress_type = zipfile.ZIP_DEFLATED
            info.create_system = 0
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(out + ".tmp", out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2:])
