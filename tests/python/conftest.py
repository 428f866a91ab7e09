# What the Python package's tests share: the programs they compare it with, the samples copied
# where the tests may lock them, generated archives, and a reader of the PNG files the programs
# write.

import os
import shutil
import struct
import subprocess
import zlib

import numpy
import pytest

CLI = os.environ["TROVELIN_CLI"]
MAKE_ARCHIVE = os.environ["TROVELIN_MAKE_ARCHIVE"]
SAMPLES = os.environ["TROVELIN_SAMPLES"]


def run_cli(*arguments, check=True):
    result = subprocess.run([CLI, *map(str, arguments)], capture_output=True, text=True)
    if check and result.returncode != 0:
        raise AssertionError(f"trovelin-cli {' '.join(map(str, arguments))}: {result.returncode}\n{result.stderr}")
    return result


def make_archive(folder, folders, files, width, height):
    subprocess.run([MAKE_ARCHIVE, str(folder), str(folders), str(files), str(width), str(height)], check=True)
    return folder


@pytest.fixture(scope="session")
def samples(tmp_path_factory):
    folder = tmp_path_factory.mktemp("samples")
    for name in sorted(os.listdir(SAMPLES)):
        if name.endswith(".kvr"):
            shutil.copy(os.path.join(SAMPLES, name), folder / name)
    return folder


def read_png(path):
    """The pixels of a PNG file as the programs write it (8-bit RGB or palette of 1 to 8 bits,
    not interlaced) as a (height, width, 4) RGBA array."""
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n"
    position, chunks = 8, {}
    compressed = b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IDAT":
            compressed += body
        else:
            chunks[kind] = body
        position += 12 + length
    width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", chunks[b"IHDR"])
    assert interlace == 0 and colour_type in (2, 3)
    channels = 3 if colour_type == 2 else 1
    row_bytes = (width * channels * depth + 7) // 8
    step = max(1, channels * depth // 8)
    raw = zlib.decompress(compressed)
    rows = numpy.zeros((height, row_bytes), numpy.uint8)
    above = numpy.zeros(row_bytes, numpy.int32)
    for y in range(height):
        line = raw[y * (row_bytes + 1):(y + 1) * (row_bytes + 1)]
        kind, row = line[0], numpy.frombuffer(line[1:], numpy.uint8).astype(numpy.int32)
        if kind == 0:
            out = row
        elif kind == 1 and row_bytes % step == 0:
            out = (row.reshape(-1, step).cumsum(axis=0) & 0xFF).reshape(-1)
        elif kind == 2:
            out = (row + above) & 0xFF
        else:
            out = numpy.zeros(row_bytes, numpy.int32)
            for x in range(row_bytes):
                left = out[x - step] if x >= step else 0
                up = above[x]
                corner = above[x - step] if x >= step else 0
                if kind == 1:
                    predicted = left
                elif kind == 3:
                    predicted = (left + up) // 2
                else:
                    p = left + up - corner
                    pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                    predicted = left if pa <= pb and pa <= pc else up if pb <= pc else corner
                out[x] = (row[x] + predicted) & 0xFF
        rows[y] = out
        above = out
    image = numpy.full((height, width, 4), 255, numpy.uint8)
    if colour_type == 2:
        image[:, :, :3] = rows[:, :width * 3].reshape(height, width, 3)
    else:
        bits = numpy.unpackbits(rows, axis=1) if depth < 8 else None
        if depth < 8:
            indices = numpy.zeros((height, width), numpy.int32)
            for b in range(depth):
                indices = indices * 2 + bits[:, b:width * depth:depth]
        else:
            indices = rows[:, :width]
        palette = numpy.frombuffer(chunks[b"PLTE"], numpy.uint8).reshape(-1, 3)
        image[:, :, :3] = palette[indices]
    return image
