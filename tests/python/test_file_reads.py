"""Reads of files whose bytes arrive slowly (FIFOs fed by a writer process):
signals and other threads while a read waits, and the UTF-8 check made on
the bytes as they arrive."""

import contextlib
import json
import os
import signal
import subprocess
import sys
import textwrap
import threading
import time

import pytest

from brindle.ort import LicenseClassifications as LC

# No wait in these tests lasts longer: a read that is not interrupted as it
# should be ends all the same, and fails its test.
LIMIT = 60

NOT_UTF8 = "stream did not contain valid UTF-8"

TEXT = "categories:\n- name: café\n  description: 'a € and a 𝄞'\n".encode()

# Writes its steps into the FIFO argv[1]: bytes (in hex); "drain": waits
# until the reader has taken every byte written (or is gone); "pause": drains,
# prints "paused" and waits for a line on standard input.  No step waits
# longer than argv[2] seconds.
WRITER = textwrap.dedent(r"""
    import fcntl, json, os, select, struct, sys, termios, time
    fifo, limit, steps = sys.argv[1], float(sys.argv[2]), json.loads(sys.argv[3])
    fd = os.open(fifo, os.O_WRONLY)

    def drain():
        end = time.monotonic() + limit
        gone = select.poll()
        gone.register(fd, 0)  # reports POLLERR once no reader is left
        while time.monotonic() < end and not gone.poll(0):
            if struct.unpack("i", fcntl.ioctl(fd, termios.FIONREAD, b"\0" * 4))[0] == 0:
                return
            time.sleep(0.001)

    for step in steps:
        if step == "drain":
            drain()
        elif step == "pause":
            drain()
            print("paused", flush=True)
            select.select([sys.stdin], [], [], limit)
        else:
            try:
                os.write(fd, bytes.fromhex(step))
            except BrokenPipeError:
                pass
""")


class Writer:
    """The writer process of a FIFO, ended when the `with` block ends."""

    def __init__(self, fifo, *steps):
        steps = [s.hex() if isinstance(s, bytes) else s for s in steps]
        self.process = subprocess.Popen(
            [sys.executable, "-c", WRITER, str(fifo), str(LIMIT), json.dumps(steps)],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.process.kill()
        self.process.communicate()

    def paused(self):
        """Waits until the writer pauses; False if it ended instead."""
        return self.process.stdout.readline() == b"paused\n"

    def go(self):
        try:
            self.process.stdin.write(b"go\n")
            self.process.stdin.flush()
        except BrokenPipeError:
            pass

    def waiting(self):
        return self.process.poll() is None


def pieces(*parts):
    """Steps that write each part on its own: the reader takes each in a read of its own."""
    return [step for part in parts for step in (part, "drain")]


@pytest.fixture
def fifo(tmp_path):
    path = tmp_path / "fifo"
    os.mkfifo(path)
    return path


@pytest.fixture
def sigint_raises():
    old = signal.signal(signal.SIGINT, signal.default_int_handler)
    yield
    signal.signal(signal.SIGINT, old)


@contextlib.contextmanager
def signalling_main_thread(signum, after=lambda: True):
    """Sends `signum` to the main thread, within the `with` block, once
    `after()` is true and the main thread has gone to sleep (in the read or
    open that waits)."""
    stat = f"/proc/self/task/{threading.main_thread().native_id}/stat"
    done = threading.Event()

    def sleeping():
        with open(stat) as f:
            return f.read().rpartition(")")[2].split()[0] == "S"

    def send():
        if not after():
            return
        end = time.monotonic() + LIMIT
        while time.monotonic() < end and not done.is_set():
            # Asleep twice, a while apart: not just waiting for the
            # interpreter's lock on its way to the call.
            if sleeping():
                time.sleep(0.05)
                if sleeping():
                    break
            time.sleep(0.01)
        if not done.is_set():
            signal.pthread_kill(threading.main_thread().ident, signum)

    thread = threading.Thread(target=send, daemon=True)
    thread.start()
    try:
        yield
    finally:
        done.set()
        thread.join(LIMIT)


def test_a_signal_interrupts_a_read_that_waits(fifo, sigint_raises):
    with Writer(fifo, TEXT[:20], "pause", TEXT[20:]) as writer:
        with signalling_main_thread(signal.SIGINT, writer.paused), pytest.raises(KeyboardInterrupt):
            LC.from_yaml_file(str(fifo))
        assert writer.waiting()  # the rest of the text was not waited for


def test_a_signal_handler_that_returns_lets_the_read_go_on(fifo):
    seen = []

    def handler(signum, frame):
        seen.append(writer.waiting())
        writer.go()

    old = signal.signal(signal.SIGUSR1, handler)
    try:
        with Writer(fifo, TEXT[:20], "pause", TEXT[20:]) as writer:
            with signalling_main_thread(signal.SIGUSR1, writer.paused):
                result = LC.from_yaml_file(str(fifo))
    finally:
        signal.signal(signal.SIGUSR1, old)
    assert seen == [True]  # the handler ran while the read waited
    assert result.to_json() == LC.from_yaml_str(TEXT.decode()).to_json()


def test_other_threads_run_while_a_read_waits(fifo):
    seen = []
    with Writer(fifo, TEXT[:20], "pause", TEXT[20:]) as writer:
        def other():
            if writer.paused():
                seen.append(writer.waiting())
                writer.go()

        thread = threading.Thread(target=other)
        thread.start()
        result = LC.from_yaml_file(str(fifo))
        thread.join(LIMIT)
    assert seen == [True]  # the other thread ran, and let the writer go on
    assert result.to_json() == LC.from_yaml_str(TEXT.decode()).to_json()


def test_a_signal_interrupts_an_open_that_waits_for_a_writer(fifo, sigint_raises):
    # Opens the FIFO for writing after LIMIT seconds, should the open of the
    # reader not be interrupted.
    late = subprocess.Popen(
        [sys.executable, "-c", "import os, sys, time; time.sleep(float(sys.argv[2])); "
         "os.close(os.open(sys.argv[1], os.O_WRONLY | os.O_NONBLOCK))", str(fifo), str(LIMIT)],
        stderr=subprocess.DEVNULL)
    try:
        with signalling_main_thread(signal.SIGINT), pytest.raises(KeyboardInterrupt):
            LC.from_yaml_file(str(fifo))
        assert late.poll() is None
    finally:
        late.kill()
        late.wait()


def test_characters_split_between_reads(fifo):
    # A byte in each read: every character is cut after each of its bytes.
    with Writer(fifo, *pieces(*(TEXT[i:i + 1] for i in range(len(TEXT))))):
        result = LC.from_yaml_file(str(fifo))
    assert result.to_json() == LC.from_yaml_str(TEXT.decode()).to_json()


@pytest.mark.parametrize("parts", [
    [b"categories: [{name: caf\xe9}]\n"],        # Latin-1
    [b"categories: \xff"],                      # never in UTF-8
    [b"categories: \xc0\x80"],                  # overlong
    [b"categories: \xed\xa0\x80"],              # a surrogate
    [b"categories: \xf4\x90\x80\x80"],          # above U+10FFFF
    [b"categories: \xe2\x82", b"("],            # the rest of a character that does not come
    [b"categories: \xf0", b"\x9d", b"\x84", b"\x84\x84"],  # one continuation byte too many
    [TEXT, b"\x80"],                            # after whole characters
])
def test_bad_bytes_fail_as_they_arrive(fifo, parts):
    with Writer(fifo, *pieces(*parts), "pause") as writer:
        with pytest.raises(OSError) as info:
            LC.from_yaml_file(str(fifo))
        assert writer.waiting()  # failed before the writer closed the pipe
    assert type(info.value) is OSError and info.value.args == (NOT_UTF8,)


@pytest.mark.parametrize("cut", [b"\xc3", b"\xe2", b"\xe2\x82", b"\xf0", b"\xf0\x9d", b"\xf0\x9d\x84"])
def test_a_text_ending_within_a_character_fails(tmp_path, fifo, cut):
    text = b"categories: []\n# " + cut
    whole = tmp_path / "cut.yml"
    whole.write_bytes(text)
    with pytest.raises(OSError) as from_file:
        LC.from_yaml_file(str(whole))
    with Writer(fifo, *pieces(text[:-len(cut)], cut)):
        with pytest.raises(OSError) as from_fifo:
            LC.from_yaml_file(str(fifo))
    for info in (from_file, from_fifo):
        assert type(info.value) is OSError and info.value.args == (NOT_UTF8,)


def test_a_device_of_random_bytes_fails_at_once():
    # Formerly read until the address space ran out.
    code = textwrap.dedent("""
        import resource
        resource.setrlimit(resource.RLIMIT_AS, (1 << 30, 1 << 30))
        from brindle.ort import OrtResult
        try:
            OrtResult.from_yaml_file("/dev/urandom")
        except OSError as e:
            print(type(e).__name__, e)
    """)
    started = time.monotonic()
    run = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True, timeout=LIMIT)
    assert run.stdout == f"OSError {NOT_UTF8}\n", run.stderr
    assert time.monotonic() - started < LIMIT / 2
