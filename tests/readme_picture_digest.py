"""The README's Python digest, run as printed there, against extract's manifest for the samples
and for a panel holding every stored bitmap form (1 to 32 bits, bit fields, run-length, rows that
end inside a byte).

A script that checks a manifest has only the README to go by, so the README's code must give
every digest that extract writes, for palette and direct-colour pictures alike.

Usage: readme_picture_digest.py TROVELIN_CLI SOURCE_DIR MAKE_DIGEST_PANEL
"""

import collections
import json
import pathlib
import re
import subprocess
import sys
import tempfile


def readme_code(readme):
    """The README's one Python block that defines picture_digest."""
    blocks = [block for block in re.findall(r"```python\n(.*?)```", readme, re.S) if "def picture_digest(" in block]
    if len(blocks) != 1:
        sys.exit(f"the README should hold one Python block defining picture_digest, found {len(blocks)}")
    return blocks[0]


def main():
    cli, source, make_panel = sys.argv[1], pathlib.Path(sys.argv[2]), sys.argv[3]
    names = {}
    exec(readme_code((source / "README.md").read_text(encoding="utf-8")), names)
    picture_digest = names["picture_digest"]
    with tempfile.TemporaryDirectory() as output, tempfile.TemporaryDirectory() as forms:
        every_form = pathlib.Path(forms, "every-form.kvr")
        subprocess.run([make_panel, str(every_form)], check=True)
        subprocess.run([cli, "extract", "-q", "--out", output, str(source / "samples"), str(every_form)], check=True)
        lines = [json.loads(line) for line in pathlib.Path(output, "manifest.jsonl").read_text().splitlines()]
        depths = collections.Counter()
        wrong = []
        for line in lines:
            if line.get("png") is None:
                continue
            if picture_digest(pathlib.Path(output, line["png"])) != line["sha256"]:
                wrong.append(f"{line['png']} ({line['bpp']} bits)")
            depths[line["bpp"]] += 1
    if wrong:
        sys.exit("the README's digest differs from extract's for " + ", ".join(wrong))
    if set(depths) != {1, 4, 8, 16, 24, 32}:
        sys.exit(f"the pictures should have every depth, got pictures by depth {dict(depths)}")
    print(f"the README's digest matches extract's for pictures by depth {dict(sorted(depths.items()))}")


main()
