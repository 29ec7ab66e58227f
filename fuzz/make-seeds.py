#!/usr/bin/env python3
"""Writes the seed corpora in fuzz/corpus/ from the demo game directory.

Usage: fuzz/make-seeds.py [path to the vehmira executable]
The demo game, an export and an import over it give the real-looking seeds;
the rest are small ones made here. Each corpus stays a few kilobytes.
"""
import pathlib
import re
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


def gxt_file(texts, wide=False):
    """A GXT file of one main table whose keys stand in the order given: (hash, text) pairs."""
    width = 2 if wide else 1
    keys, data = b"", b""
    for key_hash, text in texts:
        keys += struct.pack("<II", len(data), key_hash)
        data += (text.encode("utf-16-le") if wide else text.encode("latin-1")) + b"\0" * width
    body = b"TKEY" + struct.pack("<I", len(keys)) + keys + b"TDAT" + struct.pack("<I", len(data) + 2) + data + b"\0\0"
    # The main table's block starts with its key magic, right after the header and the one directory entry.
    return bytes([4, 0, 16 if wide else 8, 0]) + b"TABL" + struct.pack("<I", 12) + b"MAIN\0\0\0\0" + \
        struct.pack("<I", 24) + body


def write_unsorted_gxt_seeds():
    """Main tables out of hash order, where the game's binary search misses keys that are there."""
    texts = [(0x90000000, "Manana"), (0x10000000, "Admiral"), (0x50000000, "Infernus"), (0x30000000, "Cheetah"),
             (0xF0000000, "Stallion"), (0x20000000, "Banshee")]
    for name, wide in (("unsorted-main-table", False), ("unsorted-wide-main-table", True)):
        write("gxt", name, gxt_file(texts, wide))
        write("gxt_main_table", name, gxt_file(texts, wide))


def write_second_root_seeds():
    """The wheel dummies under a second root: the check must call them missing."""
    write("vehicle_check", "wheels-under-second-root", vehicle_check_input(0, b"", wheeled_clump(second_root=True)))
    write("model_summary", "wheels-under-second-root", wheeled_clump(second_root=True))


def chunk(kind, payload):
    return struct.pack("<III", kind, len(payload), 0x1803FFFF) + payload


def wheeled_clump(second_root=False):
    """A small car for the renderer: a box on the chassis, a wheel copied to four dummies, a damaged part.
    With second_root, the four wheel dummies hang under a second root frame, where the game never looks."""
    names = [b"car", b"chassis", b"wheel_rf_dummy", b"wheel", b"wheel_lf_dummy", b"wheel_rb_dummy",
             b"wheel_lb_dummy", b"door_dam"]
    parents = [-1, 0, 0, 2, 0, 0, 0, 0]
    places = [(0, 0, 0), (0, 0, 0), (1, 1.5, 0), (0.2, 0, 0), (-1, 1.5, 0), (1, -1.5, 0), (-1, -1.5, 0), (0, 0, 0)]
    if second_root:
        names.append(b"car2")
        parents = [8 if name.endswith(b"_dummy") else parent for name, parent in zip(names, parents)] + [-1]
        places.append((0, 0, 0))
    frames = struct.pack("<I", len(names))
    for parent, place in zip(parents, places):
        frames += struct.pack("<12fiI", 1, 0, 0, 0, 1, 0, 0, 0, 1, *place, parent, 0)
    frame_list = chunk(0x0E, chunk(1, frames) + b"".join(chunk(3, chunk(0x253F2FE, n)) for n in names))
    corners = [(x, y, z) for x in (-0.5, 0.5) for y in (-1, 1) for z in (-0.3, 0.3)]
    faces = [(0, 1, 3), (0, 3, 2), (4, 6, 7), (4, 7, 5), (0, 4, 5), (0, 5, 1), (2, 3, 7), (2, 7, 6)]
    texcoords = [(i % 2, i // 4) for i in range(8)]
    geometry_struct = struct.pack("<IIII", 0x00010046, len(faces), len(corners), 1)
    geometry_struct += b"".join(struct.pack("<ff", *uv) for uv in texcoords)
    geometry_struct += b"".join(struct.pack("<HHHH", b, a, 0, c) for a, b, c in faces)
    geometry_struct += struct.pack("<4fII", 0, 0, 0, 2, 1, 0) + b"".join(struct.pack("<3f", *p) for p in corners)
    texture = chunk(6, chunk(1, struct.pack("<I", 0x1106)) + chunk(2, b"body\0\0\0\0") + chunk(2, b"\0" * 4) + chunk(3, b""))
    material = chunk(7, chunk(1, struct.pack("<I4BiI3f", 0, 60, 255, 0, 255, 0, 1, 1, 1, 1)) + texture + chunk(3, b""))
    geometry = chunk(0x0F, chunk(1, geometry_struct) + chunk(8, chunk(1, struct.pack("<Ii", 1, -1)) + material) + chunk(3, b""))
    geometries = chunk(0x1A, chunk(1, struct.pack("<I", 1)) + geometry)
    atomics = b"".join(chunk(0x14, chunk(1, struct.pack("<IIII", frame, 0, 5, 0)) + chunk(3, b"")) for frame in (1, 3, 7))
    return chunk(0x10, chunk(1, struct.pack("<III", 3, 0, 0)) + frame_list + geometries + atomics + chunk(3, b""))


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
        write("manifest", "retired", re.sub(r"(?m)^(time=.*\n)", r"\1retired=1\n", manifest))
        write("manifest", "pending", manifest.split("file.0.after")[0].replace("committed", "pending")
              .replace("files=4", "files=1").split("file.1=")[0])

        img = (game / "models/gta3.img").read_bytes()
        write("renderware_root", "dff", img[2048:2048 + 16])
        write_vehicle_check_seeds(game, handling)

    write("gxt", "empty-main-table", b"\x04\x00\x08\x00TABL\x0c\x00\x00\x00MAIN\0\0\0\0\x18\x00\x00\x00"
          b"TKEY\x00\x00\x00\x00TDAT\x02\x00\x00\x00\x00\x00")
    write("dir", "two-entries", archive([(1, 1, b"landstal.dff"), (2, 1, b"landstal.txd")], 3))
    write("dir", "empty", archive([], 1))
    write("model_render", "wheeled-car", wheeled_clump())
    write_second_root_seeds()
    write_unsorted_gxt_seeds()
    summary_seed = CORPUS / "model_summary" / "landstal.dff"
    if summary_seed.exists():
        write("model_render", "landstal.dff", summary_seed.read_bytes())
    for name, data in (("clump", b"\x10\0\0\0\x40\0\0\0\xff\xff\x03\x18"),
                       ("uv-animations", b"\x2b\0\0\0\x40\0\0\0\xff\xff\x03\x18"),
                       ("textures", b"\x16\0\0\0\x40\0\0\0\xff\xff\x03\x18")):
        write("renderware_root", name, data)
    write("vehicles_ide", "demo", vehicles)
    write("game_dat", "ide-and-img", b"# load IDE files\r\nIDE DATA\\MAPS\\VEH_MODS\\VEH_MODS.IDE\r\n"
          b"IMG MODELS\\CARS.IMG\r\n\r\nimg lower.img\r\nCOLFILE 0 DATA\\MAPS\\GENERIC.COL\r\n"
          b"IPL DATA\\MAPS\\x.IPL\r\n")
    write("game_dat", "separators", b"IMG\tmodels\\a.img  # comment\nIDE data,more.ide\n;IMG x\n")
    write("carmods", "sections", b"link\r\nexh_a_l exh_a_s\r\nend\r\nmods\r\nsultan, exh_a_l, nto_b_l\r\n"
          b"ghost, exh_a_l\r\nend\r\nwheel\r\n1, wheel_sr6, wheel_sr3\r\nend\r\n")
    write("carmods", "colours", b"col\r\n0,0,0\r\n245.245.245\r\nend\r\ncar\r\n"
          b"sultan, 0,1, 1,0, 0,0, 1,1, 0,0, 1,1, 0,0, 1,1, 0,0\r\nghost, 7,1\r\nend\r\ncar4\r\n"
          b"elegy, 0,1,1,0 # four\r\nend\r\n")
    write("carmods", "demo-carcols", carcols)
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
