"""The Python client against txm9-scenario --serve, as a test author would use it.
usage: python3 python_client_test.py PATH/TO/txm9-scenario"""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from txm9_control import ControlError, ExpectationFailed, Instrument  # noqa: E402

PROGRAM = sys.argv.pop(1) if len(sys.argv) > 1 else "txm9-scenario"


class PythonClient(unittest.TestCase):
    def test_a_session(self):
        with Instrument(PROGRAM) as txm9:
            self.assertEqual(txm9.greeting["frontend"], "headless")
            txm9.do("volts 12.6 V", "on")
            self.assertEqual(txm9.screen()["screen"], "main")
            self.assertIn("12.6", [t["text"] for t in txm9.texts()])
            txm9.do("press knob", 'expect text "MAIN MENU"')
            with self.assertRaises(ExpectationFailed) as failed:
                txm9.do('expect text "VOLTS"')
            self.assertIn("MAIN MENU", [t["text"] for t in failed.exception.reads])
            with self.assertRaises(ControlError) as mistake:
                txm9.do("press nose")
            self.assertEqual(mistake.exception.error_class, "scenario_mistake")
            self.assertEqual(txm9.frame_pbm().count("\n"), 66)
            self.assertTrue(txm9.frame_png(scale=2).startswith(b"\x89PNG"))
            self.assertEqual(txm9.variables()["values"]["active_screen"], "menu")
            self.assertIn("screen_changed", [e["event"] for e in txm9.events])

    def test_round_trips(self):
        """A screen query's round trip, and a press with its expectation, on instrument time."""
        with Instrument(PROGRAM) as txm9:
            txm9.do("volts 12.6 V", "on")  # no alarm for a key to acknowledge first
            times = []
            for _ in range(200):
                start = time.perf_counter()
                txm9.screen()
                times.append(time.perf_counter() - start)
            presses = []
            for screen in ["menu", "main"] * 50:  # the menu's first item, EXIT, goes back
                start = time.perf_counter()
                txm9.do("press knob", "expect screen " + screen)
                presses.append(time.perf_counter() - start)
            median = sorted(times)[len(times) // 2] * 1000
            press = sorted(presses)[len(presses) // 2] * 1000
            print(f"screen query round trip p50 {median:.3f} ms; press+expect p50 {press:.3f} ms")
            # Far above the figures measured, so that a loaded machine does not fail them.
            self.assertLess(median, 20)


if __name__ == "__main__":
    unittest.main()
