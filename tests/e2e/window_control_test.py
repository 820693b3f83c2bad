"""The live window driven over its control socket under Xvfb, as a test author drives it from
Python: the socket is the user's alone, inputs reach the instrument through the panel, the
display read back equals the runner's after the same requests, a second client is turned away,
and a client that vanishes mid-request leaves the window running for the next one.
usage: python3 window_control_test.py TXM9-SIMULATOR TXM9-SCENARIO"""

import os
import signal
import socket
import stat
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from txm9_control import Instrument  # noqa: E402

SIMULATOR, RUNNER = sys.argv[1], sys.argv[2]
del sys.argv[1:3]

REQUESTS = [("volts 12.6 V", "amps 2048", "on"), ("press knob",), ("turn cw 2",), ("press knob",)]


class WindowControl(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.path = os.path.join(cls.folder.name, "txm9.sock")
        cls.window = subprocess.Popen(
            ["xvfb-run", "-a", SIMULATOR, "--control", cls.path], stdout=subprocess.PIPE,
            start_new_session=True, env={**os.environ, "XDG_RUNTIME_DIR": cls.folder.name})
        cls.addClassCleanup(cls.end_window)
        # The program says where it listens once it does.
        line = cls.window.stdout.readline().decode()
        assert cls.path in line, line

    @classmethod
    def end_window(cls):
        os.killpg(cls.window.pid, signal.SIGTERM)
        cls.window.wait(timeout=20)
        cls.folder.cleanup()

    def test_a_session_on_the_window_reads_as_on_the_runner(self):
        self.assertEqual(stat.S_IMODE(os.stat(self.path).st_mode), 0o600)
        frames = []
        for client in (Instrument(socket_path=self.path), Instrument(RUNNER)):
            with client:
                for lines in REQUESTS:
                    client.do(*lines)
                client.do('expect text "BAT SETUP"')
                frames.append(client.frame_pbm())
                if client.greeting["frontend"] == "window":
                    # One client at a time: another is told so.
                    other = socket.socket(socket.AF_UNIX)
                    other.connect(self.path)
                    self.assertIn('"busy"', other.makefile().readline())
                    other.close()
                    times = []
                    for _ in range(50):
                        start = time.perf_counter()
                        client.screen()
                        times.append(time.perf_counter() - start)
                    print(f"socket screen round trip p50 {sorted(times)[25] * 1000:.3f} ms")
                    client.do("off")
        self.assertEqual(frames[0], frames[1])

    def test_a_client_that_vanishes_mid_request_leaves_the_window_to_the_next(self):
        first = Instrument(socket_path=self.path)
        first.do("on")
        first._out.write(b'{"id":99,"do":"wait 10 s"}\n')
        first._out.flush()
        first.close()
        with Instrument(socket_path=self.path) as second:
            self.assertEqual(second.screen()["phase"], "running")
            second.do("off")
            self.assertEqual(second.screen()["phase"], "off")


if __name__ == "__main__":
    unittest.main()
