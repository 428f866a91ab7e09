"""An extraction spread over a Dask cluster.

The client walks the trees (the order and the folder names of `trovelin-cli extract`), the
cluster's workers load the files in batches and write their pictures into the output folder,
which every worker must see at the same path (a network file system on a real cluster), and the
client writes the one manifest.jsonl in file order as the results come in. A batch whose worker
dies is run again on another: its pictures are written again whole, and the manifest still
lists every file once, in order.
"""

from __future__ import annotations

import json
import os
import re
from typing import Iterable, Optional

from . import Extraction, MemorySize, PathLike, _paths, _trovelin

__all__ = ["extract"]

MANIFEST = "manifest.jsonl"
# The temporary name a picture is written under before its rename: what a worker that died while
# writing leaves behind.
_TEMPORARY_PICTURE = re.compile(r"\.\d{3}\.png\.[A-Za-z0-9]{6}\Z")


def _extract_on_worker(batch, out: str, max_memory: MemorySize):
    """Runs on a worker: the batch's files loaded one after another, their pictures written."""
    return _trovelin._extract_batch(batch, out, max_memory)


def _batches(files: list, workers: int, batch_size: Optional[int]) -> list:
    if batch_size is None:
        # Enough batches per worker that a slow one does not hold the others up, few enough that
        # the scheduler's cost per task stays small beside the files'.
        batch_size = max(1, min(64, len(files) // (8 * max(1, workers))))
    return [files[i:i + batch_size] for i in range(0, len(files), batch_size)]


def extract(paths: Iterable[PathLike], out: PathLike, client=None, unique: bool = False,
            batch_size: Optional[int] = None, max_memory: MemorySize = None) -> Extraction:
    """`trovelin-cli extract PATHS --out OUT`, with the files loaded on the workers of `client`
    (a distributed.Client; None makes a local cluster of two worker processes for the run).
    OUT must be the same folder for the client and every worker. With unique, a content is kept
    once, in the first file (in file order) that holds it, as extract --unique keeps it."""
    import distributed

    out = os.path.abspath(os.fspath(out))
    files, problem_lines, problem_reports = _trovelin._walk(_paths(paths))
    os.makedirs(out, exist_ok=True)
    cluster = None
    if client is None:
        cluster = distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                           dashboard_address=None)
        client = distributed.Client(cluster)
        # Workers that cannot start (a script read from standard input cannot be imported by
        # spawned processes) would leave the run waiting for ever.
        client.wait_for_workers(2, timeout=120)
    try:
        workers_before = set(client.scheduler_info().get("workers", {}))
        result = _run(client, files, problem_lines, problem_reports, _batches(files, max(1, len(workers_before)), batch_size), out,
                      unique, max_memory)
        if set(client.scheduler_info().get("workers", {})) != workers_before:
            _sweep_temporary_pictures(out, files)
        return result
    finally:
        if cluster is not None:
            client.close()
            cluster.close()


def _sweep_temporary_pictures(out: str, files: list) -> None:
    """A worker lost during the run may have died in the middle of writing a picture; its batch
    ran again elsewhere and wrote the picture whole, so what the dead one left is removed."""
    for folder in sorted({folder for _, folder in files}):
        try:
            names = os.listdir(os.path.join(out, folder))
        except OSError:
            continue
        for name in names:
            if _TEMPORARY_PICTURE.match(name):
                try:
                    os.unlink(os.path.join(out, folder, name))
                except OSError:
                    pass


def _run(client, files, problem_lines, problem_reports, batches, out, unique, max_memory) -> Extraction:
    import distributed

    report = list(problem_reports)
    ok = all(json.loads(line)["kind"] != "error" for line in problem_lines)
    first_of_content = {}  # digest: the file that keeps it, with unique
    lines = list(problem_lines)
    with open(os.path.join(out, MANIFEST), "wb") as manifest:
        manifest.write("".join(problem_lines).encode("utf-8", "surrogateescape"))
        futures = client.map(_extract_on_worker, batches, out=out, max_memory=max_memory, pure=False)
        order = {future.key: number for number, future in enumerate(futures)}
        waiting = {}
        next_batch = 0
        for future, results in distributed.as_completed(futures, with_results=True):
            waiting[order[future.key]] = results
            while next_batch in waiting:
                batch_lines = []
                for (path, _), (pictures, events, failed) in zip(batches[next_batch], waiting.pop(next_batch)):
                    for index, width, height, bpp, record, cls, prop, digest, png, written in pictures:
                        if unique and digest in first_of_content:
                            if written:
                                os.unlink(os.path.join(out, png))
                            png = first_of_content[digest]
                        elif unique and written:
                            first_of_content[digest] = png
                        batch_lines.append(_trovelin._picture_line(path, index, width, height, bpp, record, cls, prop,
                                                                   digest, png))
                    for file, kind, text in events:
                        batch_lines.append(_trovelin._event_line(file, kind, text))
                        report.append(_trovelin._report_line(file, kind, text))
                    ok = ok and not failed
                text = "".join(batch_lines)
                manifest.write(text.encode("utf-8", "surrogateescape"))
                manifest.flush()
                lines.extend(batch_lines)
                next_batch += 1
    entries = [json.loads(line) for line in lines]
    return Extraction(entries, ok, "".join(report))
