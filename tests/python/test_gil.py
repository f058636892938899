# SPDX-License-Identifier: GPL-3.0-or-later
"""Decoding and encoding leave the interpreter to other threads.

With a switch interval far longer than the test, a thread gives up the interpreter only
where it lets it go on purpose. A thread that starts another one gets to look at it when
the other lets go: in the middle of its first piece of work when that work releases the
interpreter, else only once all of it is done. The work must take long enough for the
waiting thread to wake, as decoding a large picture does."""

import sys
import threading

import pytest

import orv

np = pytest.importorskip("numpy", reason="the venv has no numpy")


ROUNDS = 3


def finished_when_first_seen(work):
    state = {"started": False, "done": 0}

    def run():
        state["started"] = True
        for _ in range(ROUNDS):
            work()
            state["done"] += 1

    interval = sys.getswitchinterval()
    sys.setswitchinterval(1000)
    try:
        thread = threading.Thread(target=run)
        thread.start()
        seen = dict(state)
        thread.join()
    finally:
        sys.setswitchinterval(interval)
    assert seen["started"]
    return seen["done"]


def test_a_thread_holding_the_interpreter_is_seen_only_when_done():
    assert finished_when_first_seen(lambda: sum(range(100000))) == ROUNDS


@pytest.fixture(scope="module")
def archive(tmp_path_factory):
    # Pictures large enough that decoding them takes tens of milliseconds.
    rng = np.random.default_rng(7)
    palette = rng.integers(0, 256, (100, 3), dtype=np.uint8)
    writer = orv.Writer()
    writer.add_picture("big.cg", palette[rng.integers(0, 100, (1200, 1200))])
    writer.add_animation("big.ani", [palette[rng.integers(0, 100, (600, 600))] for _ in range(3)])
    path = writer.write(tmp_path_factory.mktemp("gil") / "big.dat")
    with orv.open(path) as opened:
        yield opened


@pytest.mark.parametrize(
    "work",
    [
        lambda a, tmp: a["big.cg"].picture(),
        lambda a, tmp: list(a["big.ani"].frames()),
        lambda a, tmp: orv.Writer().add_picture("a.cg", np.asarray(a["big.cg"].picture())),
        lambda a, tmp: orv.Writer(base=a.path).write(tmp / "copy.dat"),
    ],
    ids=["picture", "frames", "add_picture", "write"],
)
def test_work_in_the_module_lets_other_threads_run(archive, tmp_path, work):
    assert finished_when_first_seen(lambda: work(archive, tmp_path)) < ROUNDS
