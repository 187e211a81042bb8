#!/usr/bin/env python3
"""Checks and prints what one demo run of the launcher did.

Usage: report_demo_run.py ARCHIVE HOME PREFIX GAME_LOG SECONDS EXIT_CODE
Exit status 0 only when the archive was unpacked byte for byte into the install folder and
deleted, both desktop launchers exist, the registry holds the install record, the game was
started in its folder and the launcher ended with status 0.
"""
import os
import sys
import zipfile
import zlib

INSTALL_FOLDER = ("Program Files (x86)", "Halvorn", "Vael")


def entry_name(info):
    if info.flag_bits & 0x800:
        return info.filename
    return info.filename.encode("cp437").decode("gbk")


def check_tree(archive_path, install):
    with zipfile.ZipFile(archive_path) as archive:
        files = [info for info in archive.infolist() if not info.is_dir()]
        for info in files:
            path = os.path.join(install, *entry_name(info).split("/"))
            with open(path, "rb") as unpacked:
                data = unpacked.read()
            if len(data) != info.file_size or zlib.crc32(data) != info.CRC:
                return f"{entry_name(info)} differs from the archive"
    return len(files)


def registry_values(prefix):
    values = {}
    path = os.path.join(prefix, "vael-hklm.reg")
    if not os.path.exists(path):
        return values
    section = ""
    with open(path, encoding="utf-8") as store:
        for line in store:
            line = line.strip()
            if line.startswith("["):
                section = line
            elif section.lower().endswith("software\\halvorn\\orvn]") and "=hex(1):" in line:
                name, data = line.split("=hex(1):", 1)
                raw = bytes(int(byte, 16) for byte in data.split(",") if byte)
                values[name.strip('"')] = raw.decode("utf-16-le").split("\0", 1)[0]
    return values


def main():
    archive, home, prefix, game_log, seconds, exit_code = sys.argv[1:7]
    install = os.path.join(prefix, "drive_c", *INSTALL_FOLDER)
    desktop = os.path.join(home, "Desktop")
    checks = []

    count = check_tree(archive, install) if os.path.isdir(install) else "no install folder"
    checks.append(("installed tree", isinstance(count, int),
                   f"{install}: {count} files, byte-identical to the archive"
                   if isinstance(count, int) else count))
    left = os.path.join(install, os.path.basename(archive))
    checks.append(("archive deleted", not os.path.exists(left), left))
    for launcher in ("Vael.desktop", "Orvane版.desktop"):
        path = os.path.join(desktop, launcher)
        checks.append((f"desktop launcher {launcher}", os.path.exists(path), path))
    values = registry_values(prefix)
    expected = {"Exec": '"C:\\Program Files (x86)\\Halvorn\\Vael\\ORVN\\Play.exe"',
                "Path": "C:\\Program Files (x86)\\Halvorn\\Vael\\ORVN\\"}
    for name, value in expected.items():
        checks.append((f"registry {name}", values.get(name) == value, values.get(name)))
    started = open(game_log, encoding="utf-8").read().splitlines() if os.path.exists(
        game_log) else []
    game_started = any(line.startswith(install + "|") and line.endswith("Play.exe")
                       for line in started)
    checks.append(("game started in its folder", game_started, "; ".join(started) or "never"))
    checks.append(("launcher exit status 0", exit_code == "0", exit_code))

    for name, passed, detail in checks:
        print(f"  [{'ok' if passed else 'FAILED'}] {name}: {detail}")
    print(f"  time from start to end: {float(seconds):.1f} s")
    return 0 if all(passed for _, passed, _ in checks) else 1


if __name__ == "__main__":
    sys.exit(main())
