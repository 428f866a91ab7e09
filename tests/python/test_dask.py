# An extraction spread over a local Dask cluster of two worker processes gives what
# `trovelin-cli extract` gives, even when a worker dies in the middle of it.

import os
import signal
import threading
import time

import distributed
import pytest

import trovelin.dask
from conftest import make_archive, run_cli


@pytest.fixture(scope="module")
def tree(tmp_path_factory):
    root = tmp_path_factory.mktemp("dask")
    archive = make_archive(root / "shows", 3, 100, 48, 32)
    whole = (archive / "venue-1" / "show-7.kvr").read_bytes()
    (archive / "venue-1" / "show-7.kvr").write_bytes(whole[:len(whole) * 2 // 3])  # fails half-way
    (archive / "venue-2" / "notes.kvr").write_bytes(b"no panel file")
    # Names that are not UTF-8, as archives copied from older systems hold them.
    venue = os.fsencode(archive / "venue-0")
    os.rename(os.path.join(venue, b"show-3.kvr"), os.path.join(venue, b"sh\xf6w-3.kvr"))
    with open(os.path.join(venue, b"n\xf6tes.kvr"), "wb") as notes:
        notes.write(b"no panel file")
    return archive


@pytest.fixture(scope="module")
def client():
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster:
        with distributed.Client(cluster) as client:
            yield client


def folder_contents(folder):
    found = {}
    for parent, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(parent, name)
            found[os.path.relpath(path, folder)] = open(path, "rb").read()
    return found


@pytest.mark.parametrize("unique", [False, True])
def test_the_cluster_writes_what_extract_writes(tree, client, tmp_path, unique):
    flags = ["--unique"] if unique else []
    program = run_cli("extract", *flags, "--out", tmp_path / "cli", tree, check=False)
    result = trovelin.dask.extract([tree], tmp_path / "dask", client=client, unique=unique, batch_size=8)
    expected = folder_contents(tmp_path / "cli")
    assert len(expected) > 300 and not result.ok
    assert result.report == program.stderr
    assert folder_contents(tmp_path / "dask") == expected
    assert len(result.manifest) == (tmp_path / "cli" / "manifest.jsonl").read_bytes().count(b"\n")


def test_a_worker_that_dies_loses_nothing(tree, tmp_path):
    run_cli("extract", "--out", tmp_path / "cli", tree, check=False)
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster:
        with distributed.Client(cluster) as client:
            pids = client.run(os.getpid)
            manifest = tmp_path / "dask" / "manifest.jsonl"
            killed = []

            def kill_once_lines_arrive():
                deadline = time.monotonic() + 30
                while time.monotonic() < deadline and not (manifest.exists() and manifest.stat().st_size > 2000):
                    time.sleep(0.005)
                os.kill(next(iter(pids.values())), signal.SIGKILL)
                killed.append(manifest.stat().st_size)

            killer = threading.Thread(target=kill_once_lines_arrive)
            killer.start()
            trovelin.dask.extract([tree], tmp_path / "dask", client=client, batch_size=4)
            killer.join()
    expected = folder_contents(tmp_path / "cli")
    assert killed and killed[0] < len(expected["manifest.jsonl"]), "the worker died after the run"
    assert folder_contents(tmp_path / "dask") == expected


def test_without_a_client_it_makes_a_local_cluster(tmp_path):
    archive = make_archive(tmp_path / "small", 1, 6, 16, 16)
    run_cli("extract", "--out", tmp_path / "cli", archive)
    result = trovelin.dask.extract([archive], tmp_path / "dask")
    assert result.ok and folder_contents(tmp_path / "dask") == folder_contents(tmp_path / "cli")
