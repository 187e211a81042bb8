#!/usr/bin/env python3
"""Writes the demo's web site: a client archive and a news page.

The archive holds what the launcher installs: the game's Play.exe, the classic edition's folder
ORVN with its own Play.exe, data files (some with Chinese names, stored in code page 936 as the
game's own packer writes them) and large packed data, so the progress can be watched.
Usage: make_demo_site.py SITE_FOLDER [SIZE_MIB]
"""
import os
import random
import sys
import zipfile

ARCHIVE_NAME = "Vael_1.2.3.zip"


class Cp936Name(zipfile.ZipInfo):
    """An entry whose name is stored in code page 936 without the UTF-8 flag."""

    def _encodeFilenameFlags(self):
        return self.filename.encode("gbk"), self.flag_bits & ~0x800


def program(label):
    return b"MZ" + b"\x90" * 62 + f"Vael demo program: {label}\n".encode() + bytes(4096)


def text_file(rng, lines):
    words = ["Vael", "Halvorn", "Orvane", "quest", "item", "map", "level", "sound", "战斗", "地图"]
    return "\n".join(
        " ".join(rng.choice(words) for _ in range(12)) for _ in range(lines)
    ).encode("utf-8")


def entries(size_mib):
    rng = random.Random(1234)
    yield "Play.exe", program("Vael"), zipfile.ZIP_DEFLATED
    yield "ORVN/Play.exe", program("Orvane classic"), zipfile.ZIP_DEFLATED
    yield "ORVN/data/classic.cfg", b"[classic]\nfullscreen=1\n", zipfile.ZIP_DEFLATED
    yield "data/说明.txt", "欢迎来到 Vael。\n".encode("utf-8"), zipfile.ZIP_DEFLATED
    yield "data/地图/新手村.map", text_file(rng, 2000), zipfile.ZIP_DEFLATED
    for index in range(40):
        yield f"data/scripts/quest_{index:03}.lua", text_file(rng, 300), zipfile.ZIP_DEFLATED
    chunk = 8 * 1024 * 1024
    for index in range(max(1, size_mib * 1024 * 1024 // chunk)):
        yield f"data/packs/pack_{index:03}.pak", rng.randbytes(chunk), zipfile.ZIP_STORED


def write_archive(path, size_mib):
    partial = path + ".part"
    with zipfile.ZipFile(partial, "w") as archive:
        for name, data, method in entries(size_mib):
            info = Cp936Name(name, date_time=(2026, 12, 1, 12, 0, 0))
            info.compress_type = method
            info.external_attr = 0o644 << 16
            archive.writestr(info, data)
    os.replace(partial, path)


def archive_is_current(archive, stamp, size_mib):
    if not (os.path.exists(archive) and os.path.exists(stamp)):
        return False
    with open(stamp) as size:
        return size.read() == str(size_mib)


NEWS_PAGE = """<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Vael 新闻</title>
<style>
body { margin: 0; font: 13px sans-serif; background: #1d2330; color: #e8e8e8; }
h1 { margin: 0; padding: 10px 14px; font-size: 16px; background: #2f3a52; }
li { margin: 6px 0; } a { color: #ffd27a; }
#clock { padding: 0 14px; color: #9fb0d0; }
</style></head>
<body>
<h1>Vael 新闻</h1>
<ul>
<li>版本 1.2.3 已发布：新的地图与任务。</li>
<li>经典版 Orvane 随客户端一同安装。</li>
<li>周末活动：双倍经验。</li>
<li><a href="https://example.com/vael/forum" target="_blank">论坛（在浏览器中打开）</a></li>
</ul>
<p id="clock"></p>
<script>
document.getElementById("clock").textContent = "页面脚本运行于 " + new Date().toLocaleString();
</script>
</body></html>
"""


def main():
    site = sys.argv[1]
    size_mib = int(sys.argv[2]) if len(sys.argv) > 2 else 256
    os.makedirs(os.path.join(site, "news"), exist_ok=True)
    archive = os.path.join(site, ARCHIVE_NAME)
    stamp = os.path.join(site, "archive.size")
    if not archive_is_current(archive, stamp, size_mib):
        write_archive(archive, size_mib)
        with open(stamp, "w") as out:
            out.write(str(size_mib))
    with open(os.path.join(site, "news", "index.html"), "w", encoding="utf-8") as out:
        out.write(NEWS_PAGE)


if __name__ == "__main__":
    main()
