"""A client of the TXM-9 control protocol, standard library only.

Drives a headless instrument (``txm9-scenario --serve``, started here) or the live window
(``txm9-simulator --control PATH``, through its Unix socket) with lines of the scenario
language, and reads it back::

    from txm9_control import Instrument
    with Instrument() as txm9:
        txm9.do("volts 12.6 V", "on")
        assert txm9.screen()["screen"] == "main"
        txm9.do("press knob", 'expect text "MAIN MENU"')
        print(txm9.texts())

A failed expectation raises ExpectationFailed, whose ``reads`` lists what the display showed.
"""

import base64
import json
import os
import socket
import subprocess

__all__ = ["Instrument", "ControlError", "ExpectationFailed"]


class ControlError(Exception):
    """An error reply: ``error_class`` as the protocol names it, and its description."""

    def __init__(self, error):
        super().__init__(error.get("desc", ""))
        self.error_class = error.get("class", "")
        self.error = error


class ExpectationFailed(ControlError, AssertionError):
    """An expectation that did not hold; ``reads`` is what the display read then."""

    @property
    def reads(self):
        return self.error.get("reads", [])


class Instrument:
    """One session. ``program`` starts a headless instrument; ``socket_path`` connects to a
    window instead."""

    def __init__(self, program="txm9-scenario", socket_path=None, args=()):
        self.events = []
        self._next_id = 1
        self._process = None
        if socket_path is not None:
            self._socket = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
            self._socket.connect(socket_path)
            self._in = self._socket.makefile("rb")
            self._out = self._socket.makefile("wb")
        else:
            self._socket = None
            self._process = subprocess.Popen(
                [program, "--serve", *args], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
            self._in, self._out = self._process.stdout, self._process.stdin
        self.greeting = self._read()["greeting"]

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def close(self):
        """Ends the session: the headless instrument switches off and exits."""
        for stream in (self._out, self._in):
            try:
                stream.close()
            except OSError:
                pass
        if self._socket is not None:
            self._socket.close()
        if self._process is not None:
            self._process.wait(timeout=10)

    def request(self, **request):
        """Sends one request and returns its reply's ``return``; events that come first are
        kept in ``events``."""
        request_id = self._next_id
        self._next_id += 1
        line = json.dumps({"id": request_id, **request}, separators=(",", ":"))
        self._out.write(line.encode() + b"\n")
        self._out.flush()
        while True:
            message = self._read()
            if "event" in message:
                self.events.append(message)
            elif message.get("id") == request_id or "id" not in message:
                if "error" in message:
                    error = message["error"]
                    raise (ExpectationFailed if error.get("class") == "expectation_failed"
                           else ControlError)(error)
                return message["return"]

    def do(self, *lines):
        """Plays lines of the scenario language; returns once they are done."""
        return self.request(do="\n".join(lines))

    def screen(self):
        """The active screen, the run's phase, the lamp and the instrument time."""
        return self.request(query="screen")

    def texts(self):
        """Every text the LCD reader finds: text, face, x, y, inverted."""
        return self.request(query="texts")["texts"]

    def variables(self):
        """The inspector's sections and every variable's value by name."""
        return self.request(query="variables")

    def frame_pbm(self):
        """The display as plain PBM text: one '0' or '1' a pixel."""
        return self.request(query="frame", format="pbm")["data"]

    def frame_png(self, scale=1):
        """The display as PNG bytes, at ``scale`` times its size."""
        return base64.b64decode(self.request(query="frame", format="png", scale=scale)["data"])

    def _read(self):
        line = self._in.readline()
        if not line:
            raise ConnectionError("the instrument ended the session")
        return json.loads(line)
