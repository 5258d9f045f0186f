"""Starting belun-server for a test and talking to it: shared by server_test.py's groups."""
import http.client
import os
import re
import signal
import subprocess
import sys
import threading
import time


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def check(condition, message):
    if not condition:
        fail(message)


def mask_time(report):
    """The date and time of a report header, which differ from run to run, as fixed text."""
    report = re.sub(rb"\d\d/\d\d/\d\d\d\d  \d\d:\d\d:\d\d", b"DD/MM/YYYY  hh:mm:ss", report)
    return re.sub(rb"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ", b"YYYY-MM-DDThh:mm:ssZ", report)


class Server:
    """belun-server on a free port of 127.0.0.1; its standard error is collected in `log`."""

    def __init__(self, program, *switches, cwd=None):
        self.process = subprocess.Popen([program, "--port", "0", *switches], stderr=subprocess.PIPE, cwd=cwd)
        first = self.process.stderr.readline().decode("utf-8", "replace")
        found = re.search(r"http://127\.0\.0\.1:(\d+)/", first)
        check(found is not None, "belun-server did not start: " + first)
        self.port = int(found.group(1))
        self.log = []
        self.reader = threading.Thread(target=self._read_log, daemon=True)
        self.reader.start()

    def _read_log(self):
        for line in self.process.stderr:
            self.log.append(line)

    def connection(self, timeout=30):
        return http.client.HTTPConnection("127.0.0.1", self.port, timeout=timeout)

    def request(self, method, path, body=None, headers=None, timeout=30):
        """(status, headers, body) of one request on a connection of its own."""
        connection = self.connection(timeout)
        connection.request(method, path, body=body, headers=headers or {}, encode_chunked=False)
        response = connection.getresponse()
        result = (response.status, dict(response.getheaders()), response.read())
        connection.close()
        return result

    def stop(self):
        """SIGTERM; the exit code."""
        self.process.send_signal(signal.SIGTERM)
        code = self.process.wait(timeout=30)
        self.reader.join(timeout=5)
        return code

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def belun_report(belun, folder, document, extension, warnings=True, data=None):
    """What `belun DOCUMENT r.EXTENSION` writes, run in `folder`: (report bytes, errors, warnings)."""
    report = os.path.join(folder, "r." + extension)
    if os.path.exists(report):
        os.remove(report)
    command = [belun, document, "r." + extension] + ([] if warnings else ["-w"]) + (["-d", data] if data else [])
    run = subprocess.run(command, cwd=folder, capture_output=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
    console = run.stdout.decode("utf-8", "replace")
    check(run.returncode == 0, "belun %s ended with %d: %s" % (document, run.returncode, console))
    totals = re.findall(r"Celkem chyb vahy [EW]:\s*(\d+)", console)
    with open(report, "rb") as f:
        return f.read(), totals[0], totals[1]


def wait_until(condition, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(0.05)
    return False
