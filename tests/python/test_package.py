# The package against the programs: the same pictures, pixels, records, verdicts and texts.

import json
import os
import signal
import subprocess
import sys
import threading
import time

import numpy
import pytest

import trovelin
from conftest import make_archive, read_png, run_cli


def harvest_json(*arguments):
    return json.loads(run_cli("harvest", "--json", *arguments, check=False).stdout)


def test_every_sample_gives_the_programs_pictures_records_and_render(samples, tmp_path):
    for sample in sorted(samples.iterdir()):
        panel = trovelin.open(sample)
        out = tmp_path / sample.stem
        expected = json.loads(run_cli("harvest", "--json", "--out", out, sample).stdout)
        assert panel.path == str(sample)
        assert panel.events == expected["events"] == []
        assert [(p.index, p.width, p.height, p.bpp, p.record, p.cls, p.property, p.file) for p in panel.pictures] == [
            (e["index"], e["width"], e["height"], e["bpp"], e["record"], e["class"], e["property"], e["file"])
            for e in expected["pictures"]]
        for picture in panel.pictures:
            pixels = picture.to_numpy()
            assert pixels.dtype == numpy.uint8 and pixels.flags.c_contiguous and pixels.flags.writeable
            assert not numpy.shares_memory(pixels, picture.to_numpy())
            assert numpy.array_equal(pixels, read_png(out / f"{picture.index:03}.png")), (sample, picture)

        run_cli("render", sample, "--out", out / "render.png")
        assert numpy.array_equal(panel.render(), read_png(out / "render.png")), sample

        dump = json.loads(run_cli("dump", "--json", sample).stdout)
        assert panel.title == dump["title"]
        assert [(r.cls, r.name, r.loader) for r in panel.records] == [
            (r["record"]["class"], r["record"]["name"], r["loader"]) for r in dump["records"]]


def test_record_properties_are_python_values(samples):
    background = trovelin.open(samples / "console-desk.kvr").records[0]
    assert background.cls == "TImage"
    assert isinstance(background.properties["Left"], int)
    assert all(isinstance(name, str) for name in background.properties)
    assert trovelin._value("'It''s'#233'!'") == "It's\u00e9!"
    assert trovelin._value("-12") == -12 and trovelin._value("True") is True
    assert trovelin._value("[akLeft, akTop]") == "[akLeft, akTop]"


def test_harvest_is_the_programs_harvest_with_its_512_stop(tmp_path):
    archive = make_archive(tmp_path / "archive", 2, 120, 24, 16)  # some 600 pictures
    folders = sorted(str(p) for p in archive.iterdir())
    result = trovelin.harvest(folders)
    expected = harvest_json(*folders)
    assert len(result.pictures) == 512
    assert result.events == expected["events"]
    assert result.events[-1]["text"].startswith("Picture list full (512 pictures)")
    assert [(p.file, p.index, p.record) for p in result.pictures] == [
        (e["file"], e["index"], e["record"]) for e in expected["pictures"]]


def test_failures_carry_the_loaders_texts_and_a_walk_stops_where_the_program_stops(samples, tmp_path):
    with pytest.raises(trovelin.PanelError) as missing:
        trovelin.open(tmp_path / "gone.kvr")
    assert str(missing.value).startswith("Cannot open file ") and missing.value.kind == "cannot open"

    not_panel = tmp_path / "not.kvr"
    not_panel.write_bytes(b"nope, a text file")
    with pytest.raises(trovelin.PanelError, match="^Not KVR Format !!!$") as refused:
        trovelin.open(not_panel)
    assert refused.value.kind == "not a panel file"

    whole = (samples / "console-desk.kvr").read_bytes()
    cut = tmp_path / "cut.kvr"
    cut.write_bytes(whole[:len(whole) // 2])
    expected = harvest_json(cut)["events"]
    with pytest.raises(trovelin.PanelError) as broken:
        trovelin.open(cut)
    assert str(broken.value) == expected[0]["text"] == next(e["text"] for e in expected if e["kind"] == "error") and broken.value.path == str(cut)
    assert [trovelin._event(*e) for e in broken.value.events] == expected

    files = [cut, samples / "club-stage.kvr"]
    assert trovelin.harvest(files).events == harvest_json(*files)["events"]
    kept_going = trovelin.harvest(files, keep_going=True)
    assert kept_going.failed and kept_going.events == harvest_json("--keep-going", *files)["events"]
    assert kept_going.pictures and not trovelin.harvest([samples / "club-stage.kvr"]).failed


def test_the_pixel_budget_is_the_programs(tmp_path):
    archive = make_archive(tmp_path / "big", 1, 2, 1024, 768)
    panel_file = archive / "venue-0" / "show-1.kvr"  # a 24-bit background of 2.3 MB
    expected = harvest_json("--max-memory", "1M", panel_file)["events"]
    with pytest.raises(trovelin.PanelError) as tight:
        trovelin.open(panel_file, max_memory="1M")
    assert tight.value.kind == "out of memory" and str(tight.value) == expected[0]["text"]
    assert len(trovelin.open(panel_file, max_memory=8 << 20).pictures) == 3
    with pytest.raises(ValueError):
        trovelin.open(panel_file, max_memory="lots")


def test_hostile_bytes_give_panel_errors_never_a_crash(samples, tmp_path):
    whole = bytearray((samples / "club-stage.kvr").read_bytes())
    path = tmp_path / "hostile.kvr"
    for n in range(200):
        mutated = bytearray(whole)
        for k in range(1 + n % 5):
            mutated[(n * 7919 + k * 104729) % len(mutated)] ^= 1 + (n + k) % 255
        path.write_bytes(bytes(mutated[:len(mutated) - n * 37 % 101]))
        try:
            for picture in trovelin.open(path).pictures:
                picture.to_numpy()
        except trovelin.PanelError as error:
            assert str(error)


def test_decoding_lets_other_threads_run(tmp_path):
    archive = make_archive(tmp_path / "large", 1, 2, 4096, 3072)
    big = archive / "venue-0" / "show-1.kvr"  # a 24-bit background: 36 MB of pixels
    counted = [0]
    running = threading.Event()
    stop = threading.Event()

    def count():
        running.set()
        while not stop.is_set():
            counted[0] += 1
            time.sleep(0)

    interval = sys.getswitchinterval()
    # The interpreter then never takes the lock from a thread that holds it: the counter runs
    # only while a call lets go of it.
    sys.setswitchinterval(1000)
    counter = threading.Thread(target=count)
    try:
        counter.start()
        running.wait()
        before = counted[0]
        panel = trovelin.open(big)
        during_load = counted[0] - before
        before = counted[0]
        pixels = panel.pictures[0].to_numpy()
        during_copy = counted[0] - before
    finally:
        stop.set()
        sys.setswitchinterval(interval)
        counter.join()
    assert pixels.shape == (3072, 4096, 4)
    assert during_load > 100 and during_copy > 100, (during_load, during_copy)


def test_extract_is_the_programs_extract(tmp_path):
    archive = make_archive(tmp_path / "tree", 2, 10, 40, 30)
    run_cli("extract", "--unique", "--out", tmp_path / "cli", archive)
    result = trovelin.extract([archive], tmp_path / "py", unique=True, jobs=2)
    assert result.ok
    manifest = (tmp_path / "cli" / "manifest.jsonl").read_bytes()
    assert (tmp_path / "py" / "manifest.jsonl").read_bytes() == manifest
    assert result.manifest == [json.loads(line) for line in manifest.splitlines()]


def test_ctrl_c_stops_an_extraction_with_whole_files(tmp_path):
    archive = make_archive(tmp_path / "tree", 8, 50, 640, 480)
    manifest = tmp_path / "out" / "manifest.jsonl"

    def interrupt_once_lines_are_written():
        # A fixed delay would race a fast machine to the end of the run.
        while not manifest.exists() or manifest.stat().st_size == 0:
            time.sleep(0.005)
        os.kill(os.getpid(), signal.SIGINT)

    interrupter = threading.Thread(target=interrupt_once_lines_are_written, daemon=True)
    interrupter.start()
    with pytest.raises(KeyboardInterrupt):
        trovelin.extract([archive], tmp_path / "out", jobs=1)
    interrupter.join()
    lines = manifest.read_bytes().splitlines()
    assert 0 < len(lines) < 1400
    for line in lines:
        assert (tmp_path / "out" / json.loads(line)["png"]).exists()


def test_paths_are_the_systems_bytes_whatever_python_makes_of_them(samples, tmp_path):
    folder = tmp_path / "venues"
    folder.mkdir()
    panel_file = os.path.join(os.fsencode(folder), b"caf\xe9.kvr")
    with open(panel_file, "wb") as copy:
        copy.write((samples / "console-desk.kvr").read_bytes())
    with open(os.path.join(os.fsencode(folder), b"bad\xff.kvr"), "wb") as junk:
        junk.write(b"junk")
    name = os.fsdecode(panel_file)  # as os.listdir gives it: with a surrogate

    assert [p.file for p in trovelin.open(name).pictures] == [name] * 3
    assert len(trovelin.open(panel_file).render()) == 300
    result = trovelin.harvest(folder, keep_going=True)  # one path, not the letters of its name
    assert result.events == [{"file": os.fsdecode(os.path.join(os.fsencode(folder), b"bad\xff.kvr")),
                              "kind": "status", "text": "Not KVR Format !!!"}]
    assert [p.file for p in result.pictures] == [name] * 3
    assert [p.file for p in trovelin.harvest([name]).pictures] == [name] * 3
    assert len(trovelin.extract(folder, tmp_path / "out").manifest) == 4
    with pytest.raises(trovelin.PanelError) as missing:
        trovelin.open(name + "x")
    assert missing.value.path == name + "x"

    # The system stops reading a path at a NUL: this one would open console-desk.kvr.
    with pytest.raises(ValueError):
        trovelin.open(f"{samples / 'console-desk.kvr'}\0.png")
    with pytest.raises(ValueError):
        trovelin.harvest([f"{samples / 'console-desk.kvr'}\0"])


def test_counts_python_holds_but_cpp_cannot_are_refused_as_values():
    for call in (lambda: trovelin.open("x.kvr", max_memory=10**30), lambda: trovelin.extract([], None, jobs=2**64),
                 lambda: trovelin.extract([], None, jobs=2.0)):
        with pytest.raises(ValueError):
            call()


def test_a_child_forked_after_painting_paints_too(samples):
    trovelin.open(samples / "arena-rig.kvr").render()
    child = os.fork()
    if child == 0:
        os._exit(0 if trovelin.open(samples / "arena-rig.kvr").render().shape == (480, 800, 4) else 1)
    deadline = time.monotonic() + 30
    while (status := os.waitpid(child, os.WNOHANG))[0] == 0 and time.monotonic() < deadline:
        time.sleep(0.05)
    if status[0] == 0:
        os.kill(child, signal.SIGKILL)
        os.waitpid(child, 0)
    assert status[0] == child and os.waitstatus_to_exitcode(status[1]) == 0


def test_the_package_needs_no_screen_whatever_the_environment_names(samples):
    script = ("import os, trovelin; trovelin.open(os.environ['PANEL']).render(); "
              "print(os.environ.get('QT_QPA_PLATFORM'))")
    for platform in ("xcb", None):  # a desktop's setting under ssh or cron; none at all
        env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env["PANEL"] = str(samples / "club-stage.kvr")
        if platform:
            env["QT_QPA_PLATFORM"] = platform
        run = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True, timeout=60)
        assert (run.returncode, run.stdout, run.stderr) == (0, f"{platform}\n", "")


def test_records_of_a_file_gone_since_it_was_opened_are_an_error_not_none(samples, tmp_path):
    path = tmp_path / "gone.kvr"
    path.write_bytes((samples / "console-desk.kvr").read_bytes())
    panel = trovelin.open(path)
    path.unlink()
    with pytest.raises(trovelin.PanelError) as gone:
        panel.records
    assert (gone.value.kind, str(gone.value)) == ("cannot open", f"Cannot open file {path}: No such file or directory")
    path.write_bytes(b"no panel file")
    with pytest.raises(trovelin.PanelError) as replaced:
        panel.records
    assert (replaced.value.kind, str(replaced.value)) == ("not a panel file", "Not KVR Format !!!")
