#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/ from the demo game directory.

Usage: fuzz/make-seeds.py [path to the vehmira executable]
The demo game, an export and an import over it give the real-looking seeds;
the rest are small ones made here. Each corpus stays a few kilobytes.
"""
import pathlib
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

ROOT = pathlib.Path(__file__).resolve().parent
CORPUS = ROOT / "corpus"


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data if isinstance(data, bytes) else data.encode("latin-1"))


def archive(entries, sectors):
    """A tiny archive: "VER2", the directory, then zero-filled sectors."""
    head = b"VER2" + struct.pack("<I", len(entries))
    for offset, size, name in entries:
        head += struct.pack("<II", offset, size) + name.ljust(24, b"\0")
    return head.ljust(sectors * 2048, b"\0")


def saved_bytes_input(head, files):
    """The saved-bytes harness's input: its binary manifest, then the saved bytes."""
    out = struct.pack("<HI", len(head), zlib.crc32(head)) + bytes([len(files)])
    saved = head
    for present, data in files:
        out += bytes([1 if present else 0]) + struct.pack("<HI", len(data), zlib.crc32(data))
        if present:
            saved += data
    return out + saved


def vehicle_check_input(type_index, lines, model):
    """The vehicle check harness's input: type byte, u16 text length, text, model."""
    return bytes([type_index]) + struct.pack("<H", len(lines)) + lines + model


def write_vehicle_check_seeds(game, handling):
    """A demo vehicle of each kind with its definition line and the handling file."""
    definitions = {line.split(b",")[0]: line for line in (game / "data/vehicles.ide").read_bytes().splitlines()}
    for vehicle_id, model, type_index in ((b"400", "landstal", 0), (b"522", "nrg500", 9), (b"472", "coastg", 5),
                                          (b"487", "maverick", 3)):
        subprocess.run([VEHMIRA[0], "--game", str(game), "export", vehicle_id.decode(), "-o", str(game / "seed.car"),
                        "--pieces", "dff"], check=True, stdout=subprocess.DEVNULL)
        dff = (game / "seed.car").read_bytes()[42:]
        write("vehicle_check", model, vehicle_check_input(type_index, definitions[vehicle_id] + b"\n" + handling, dff))


VEHMIRA = []


def main():
    vehmira = sys.argv[1] if len(sys.argv) > 1 else "build/native/cli/vehmira"
    VEHMIRA.append(vehmira)
    shutil.rmtree(CORPUS, ignore_errors=True)
    with tempfile.TemporaryDirectory() as work:
        work = pathlib.Path(work)
        game = work / "game"
        subprocess.run([vehmira, "demo-game", str(game)], check=True, stdout=subprocess.DEVNULL)
        handling = (game / "data/handling.cfg").read_bytes()
        vehicles = (game / "data/vehicles.ide").read_bytes()
        carcols = (game / "data/carcols.dat").read_bytes()
        for language in ("american", "german", "french"):
            gxt = (game / f"text/{language}.gxt").read_bytes()
            write("gxt", language, gxt)
            write("gxt_main_table", language, gxt)

        everything = work / "400.car"
        lines_only = work / "402.car"
        subprocess.run([vehmira, "--game", str(game), "export", "400", "-o", str(everything), "--pieces",
                        "dff,txd,gxt,handling,vehicles,carcols"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([vehmira, "--game", str(game), "export", "402", "-o", str(lines_only), "--pieces",
                        "handling,vehicles,carcols"], check=True, stdout=subprocess.DEVNULL)
        write("car", "all-pieces", everything.read_bytes())
        write("car", "lines-only", lines_only.read_bytes())
        subprocess.run([vehmira, "--game", str(game), "import", str(everything), "--over", "401"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        manifest = next((game / "vehmira-backups").glob("*/manifest.txt")).read_text().replace(str(everything), "400.car")
        write("manifest", "committed", manifest)
        write("manifest", "pending", manifest.split("file.0.after")[0].replace("committed", "pending")
              .replace("files=4", "files=1").split("file.1=")[0])

        img = (game / "models/gta3.img").read_bytes()
        write("renderware_root", "dff", img[2048:2048 + 16])
        write_vehicle_check_seeds(game, handling)

    write("gxt", "empty-main-table", b"\x04\x00\x08\x00TABL\x0c\x00\x00\x00MAIN\0\0\0\0\x18\x00\x00\x00"
          b"TKEY\x00\x00\x00\x00TDAT\x02\x00\x00\x00\x00\x00")
    write("dir", "two-entries", archive([(1, 1, b"landstal.dff"), (2, 1, b"landstal.txd")], 3))
    write("dir", "empty", archive([], 1))
    for name, data in (("clump", b"\x10\0\0\0\x40\0\0\0\xff\xff\x03\x18"),
                       ("uv-animations", b"\x2b\0\0\0\x40\0\0\0\xff\xff\x03\x18"),
                       ("textures", b"\x16\0\0\0\x40\0\0\0\xff\xff\x03\x18")):
        write("renderware_root", name, data)
    write("vehicles_ide", "demo", vehicles)
    for name, data in (("handling", handling), ("vehicles", vehicles), ("carcols", carcols)):
        write("text_lines", name, data)
    marked = handling + b"! LANDSTAL 0.14 0.09 38.0 40.0\r\n"
    for name, kind, line, text in (
            ("main", 0, b"CHEETAH 1200.0 3000.0 2.0 0.1s 5", handling),
            ("handling-marker-line", 1, b"! NRG500 0.14 0.09 38.0 40.0 0.65", marked),
            ("vehicles", 2, b"402, buffalo, buffalo, car, BUFFALO, BUFFALO, null, executive, 5", vehicles),
            ("carcols", 3, b"cheetah, 1,1, 2,2", carcols)):
        write("keyed_merge", name, bytes([kind]) + line + b"\n" + text)
    write("saved_bytes", "head-and-files", saved_bytes_input(b"VER2" + bytes(60), [(True, b"LANDSTAL 1 2\r\n"),
                                                                                 (False, b""),
                                                                                 (True, b"cars\r\nend\r\n")]))
    write("saved_bytes", "head-only", saved_bytes_input(b"VER2\0\0\0\0", []))


if __name__ == "__main__":
    main()
