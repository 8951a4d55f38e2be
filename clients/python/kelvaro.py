"""Client of the Kelvaro32 control socket (standard library only).

    from kelvaro import Kelvaro
    with Kelvaro() as meter:
        meter.mode("power")
        meter.start()
        values = [r["value"] for _, r in zip(range(100), meter.readings())]

Start the program with ``kelvaro32 --control`` or ``kelvaro32 log --control``.
"""

import json
import os
import socket

__all__ = ["Kelvaro", "KelvaroError", "socket_path"]


class KelvaroError(Exception):
    """A request the program refused; the message is the program's own text."""


def socket_path():
    """Where the program of this user listens."""
    runtime = os.environ.get("XDG_RUNTIME_DIR", "")
    if runtime and os.path.isabs(runtime):
        return os.path.join(runtime, "kelvaro32", "control")
    return "/tmp/kelvaro32-%d/control" % os.geteuid()


class Kelvaro:
    """One connection to a running Kelvaro32."""

    def __init__(self, path=None, timeout=30.0):
        self._sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
        self._sock.settimeout(timeout)
        self._sock.connect(path or socket_path())
        self._file = self._sock.makefile("rb")
        self._next_id = 0
        self._events = []  # events that arrived while an answer was awaited

    def close(self):
        self._file.close()
        self._sock.close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    def _line(self):
        line = self._file.readline()
        if not line:
            raise KelvaroError("the program closed the connection")
        return json.loads(line)

    def request(self, cmd, **members):
        """Sends one request and returns its answer; raises KelvaroError when refused."""
        self._next_id += 1
        members.update(cmd=cmd, id=self._next_id)
        self._sock.sendall(json.dumps(members).encode() + b"\n")
        while True:
            message = self._line()
            if "event" in message:
                self._events.append(message)
            elif message.get("id") == self._next_id:
                if not message.get("ok"):
                    raise KelvaroError(message.get("error", "refused"))
                return message

    def status(self):
        """Connection, port and device path, model, heads, mode, running, readings."""
        return self.request("status")

    def read(self):
        """The latest reading, or None before the first: {"t", "value", "unit", "channel"}."""
        return self.request("read")["reading"]

    def readings(self):
        """Every new reading, as it comes (subscribes; a break ends the stream)."""
        self.request("subscribe")
        try:
            while True:
                event = self._events.pop(0) if self._events else self._line()
                if event.get("event") == "reading":
                    yield event
        finally:
            try:
                self.request("unsubscribe")
            except (OSError, KelvaroError):
                pass
            self._events.clear()

    def mode(self, name):
        """Enters a mode by its --mode name ("power", "energy", ...), or "none" to leave it."""
        self.request("mode", name=name)

    def start(self):
        self.request("start")

    def stop(self):
        self.request("stop")

    def reset(self):
        self.request("reset")

    def save(self, path):
        """Saves the mode's data as its Save does; a relative path is in the program's folder."""
        return self.request("save", path=path)["path"]

    def command(self, text):
        """Sends a raw command such as "$VE" (no logging mode running) and returns the meter's reply."""
        return self.request("command", text=text)["reply"]
