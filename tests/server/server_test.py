"""belun-server against the belun command and against abusive clients.

  server_test.py reports|abuse|lifecycle BELUN-SERVER BELUN SOURCE-DIR

reports:   every single-file document of the end-to-end cases and the examples, in every format, sent
           whole and chunked: the report is byte for byte belun's (the time stamp masked), the totals
           headers are belun's totals; also with warnings=0 and with a data folder.
abuse:     refusals and limits while a normal client is still served.
lifecycle: a broken data folder refuses the start; SIGTERM lets a request in flight finish.
"""
import json
import os
import random
import re
import resource
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse

from server_support import Server, belun_report, check, fail, mask_time

FORMATS = ["htm", "txt", "csv", "xml", "json"]


def documents(source):
    """(path, name) of each end-to-end document that is one file, and of the examples."""
    e2e = os.path.join(source, "tests", "data", "e2e")
    found = []
    for case in sorted(os.listdir(e2e)):
        with open(os.path.join(e2e, case, "args"), encoding="utf-8") as f:
            words = [w for w in f.read().split() if not w.startswith("-")]
        if words and not words[0].startswith("@") and os.path.isfile(os.path.join(e2e, case, words[0])):
            found.append((os.path.join(e2e, case, words[0]), words[0]))
    examples = os.path.join(source, "examples")
    found += [(os.path.join(examples, n), n) for n in sorted(os.listdir(examples)) if n.endswith(".xml")]
    return found


def pieces(data):
    """The body in pieces of random sizes, for Transfer-Encoding: chunked."""
    at = 0
    while at < len(data):
        n = random.randint(1, 5000)
        yield data[at:at + n]
        at += n


def post_check(server, data, query, chunked):
    connection = server.connection()
    connection.request("POST", "/v1/check?" + urllib.parse.urlencode(query),
                       body=pieces(data) if chunked else data, encode_chunked=chunked,
                       headers={"Content-Type": "application/xml"})
    response = connection.getresponse()
    result = response.status, response.getheader("X-Tavon-Errors"), response.getheader("X-Tavon-Warnings"), response.read()
    connection.close()
    return result


def same_as_belun(server, belun, work, path, name, extension, warnings=True, data=None):
    # Names of more than 60 characters belun refuses on its command line; the server takes them.
    name = name if len(name) <= 60 else "dlouhy.xml"
    shutil.copyfile(path, os.path.join(work, name))
    expected, errors, warns = belun_report(belun, work, name, extension, warnings, data)
    with open(path, "rb") as f:
        body = f.read()
    query = {"format": extension, "name": name}
    if not warnings:
        query["warnings"] = "0"
    for chunked in (False, True):
        status, e, w, report = post_check(server, body, query, chunked)
        how = "%s as %s (%s)" % (name, extension, "chunked" if chunked else "whole")
        check(status == 200, "%s: status %d" % (how, status))
        check((e, w) == (errors, warns), "%s: totals %s/%s, belun %s/%s" % (how, e, w, errors, warns))
        if mask_time(report) != mask_time(expected):
            fail("%s: the report differs from belun's" % how)
    os.remove(os.path.join(work, name))


def reports(program, belun, source):
    docs = documents(source)
    check(len(docs) >= 60, "only %d documents found" % len(docs))
    work = tempfile.mkdtemp()
    try:
        with Server(program) as server:
            for path, name in docs:
                for extension in FORMATS:
                    same_as_belun(server, belun, work, path, name, extension)
            for path, name in docs[:5]:
                same_as_belun(server, belun, work, path, name, "htm", warnings=False)
            check(server.stop() == 0, "belun-server did not end with 0")
            check(len(server.log) >= len(docs) * 10, "fewer log lines than requests")
        campaign = os.path.join(source, "tests", "data", "e2e", "data-folder-given")
        shutil.copytree(os.path.join(campaign, "kampan"), os.path.join(work, "kampan"))
        # Started in the folder of belun's run: the report names the data folder as -d gives it.
        with Server(program, "-d", "kampan", cwd=work) as server:
            for extension in ("htm", "json"):
                same_as_belun(server, belun, work, os.path.join(campaign, "duv.xml"), "duv.xml", extension, data="kampan")
    finally:
        shutil.rmtree(work)
    print("%d documents, %d formats, whole and chunked: reports and totals equal belun's" % (len(docs), len(FORMATS)))


def raw_exchange(port, data, wait=5):
    """Sends raw bytes; what comes back until the server closes or `wait` seconds pass."""
    with socket.create_connection(("127.0.0.1", port), timeout=wait) as s:
        s.sendall(data)
        answer = b""
        try:
            while chunk := s.recv(65536):
                answer += chunk
        except socket.timeout:
            pass
        return answer


def status_of(answer):
    found = re.match(rb"HTTP/1\.1 (\d{3}) ", answer)
    return int(found.group(1)) if found else None


def error_of(answer):
    return json.loads(answer.split(b"\r\n\r\n", 1)[1])["error"]


def normal_check_works(server, example, within):
    start = time.monotonic()
    status, _, _, _ = post_check(server, example, {"format": "csv"}, False)
    return status == 200 and time.monotonic() - start < within


def slow_client(port, answers):
    """One byte a second of a declared 1000-byte body."""
    with socket.create_connection(("127.0.0.1", port), timeout=20) as s:
        s.sendall(b"POST /v1/check HTTP/1.1\r\nHost: x\r\nContent-Length: 1000\r\n\r\n")
        start = time.monotonic()
        try:
            for _ in range(15):
                s.sendall(b"<")
                time.sleep(1)
        except OSError:
            pass
        answers.append((s.recv(65536), time.monotonic() - start))


def endless_chunked(port):
    """Chunks without end; the answer that stops them."""
    with socket.create_connection(("127.0.0.1", port), timeout=10) as s:
        s.sendall(b"POST /v1/check HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n")
        chunk = b"10000\r\n" + b"<" * 0x10000 + b"\r\n"
        try:
            for _ in range(1000):  # 64 MiB at most, far beyond the limit of the test
                s.sendall(chunk)
        except OSError:
            pass
        return s.recv(65536)


def many_idle_connections(server, example, count):
    soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
    if soft < count + 100:
        resource.setrlimit(resource.RLIMIT_NOFILE, (min(hard, count + 200), hard))
    idle = [socket.create_connection(("127.0.0.1", server.port)) for _ in range(count)]
    try:
        check(normal_check_works(server, example, 5), "a client waited behind %d idle connections" % count)
    finally:
        for s in idle:
            s.close()


def refusals(server):
    """Each bad request gets its status and a JSON error with a Czech message."""
    cases = [
        ("POST", "/v1/check?format=pdf", b"<a/>", {}, 400),
        ("POST", "/v1/check?warnings=2", b"<a/>", {}, 400),
        ("POST", "/v1/check?name=a%0Ab.xml", b"<a/>", {}, 400),
        ("POST", "/v1/check?name=" + "x" * 256, b"<a/>", {}, 400),
        ("POST", "/v1/check?warning=0", b"<a/>", {}, 400),
        ("POST", "/v1/check", b"--x\r\n", {"Content-Type": "multipart/form-data; boundary=x"}, 415),
        ("GET", "/v1/check", None, {}, 405),
        ("DELETE", "/v1/health", None, {}, 405),
        ("GET", "/v2/check", None, {}, 404),
        ("POST", "/v1/checks", b"<a/>", {}, 404),
        ("GET", "/%2e%2e/%2e%2e/etc/passwd", None, {}, 404),
        ("GET", "/..%2F..%2Fetc%2Fpasswd", None, {}, 404),
    ]
    for method, path, body, headers, expected in cases:
        status, got, answer = server.request(method, path, body, headers)
        check(status == expected, "%s %s: %d, expected %d" % (method, path, status, expected))
        check(got.get("Content-Type") == "application/json" and json.loads(answer)["message"],
              "%s %s: no JSON error" % (method, path))
    for path in (b"/../../etc/passwd", b"/v1/../../etc/passwd", b"/%2e%2e/%2e%2e/etc/passwd"):
        raw = b"GET " + path + b" HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n"
        answer = raw_exchange(server.port, raw, 2)
        check(status_of(answer) == 404 and b"root:" not in answer, "a path outside the API: " + repr(answer[:60]))
    answer = raw_exchange(server.port, b"GARBAGE\r\n\r\n")
    check(status_of(answer) == 400 and error_of(answer) == "bad_request", "malformed request line: " + repr(answer[:80]))


def over_the_limit(server):
    """Bodies beyond --max-body: refused before they are read, and at the limit when chunked."""
    start = time.monotonic()
    answer = raw_exchange(server.port, b"POST /v1/check HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000000\r\n\r\n<DUV>")
    check(status_of(answer) == 413 and time.monotonic() - start < 1.5, "declared length over the limit: " + repr(answer[:60]))
    answer = raw_exchange(server.port, b"POST /v1/check HTTP/1.1\r\nHost: x\r\nContent-Length: 10000000000\r\n"
                                       b"Expect: 100-continue\r\n\r\n")
    check(status_of(answer) == 413, "Expect: 100-continue over the limit: " + repr(answer[:60]))
    answer = endless_chunked(server.port)
    check(status_of(answer) == 413 and error_of(answer) == "too_large", "endless chunked body: " + repr(answer[:60]))


def web_page(program, work):
    os.makedirs(os.path.join(work, "web", "sub"))
    files = {"index.html": "text/html", "app.js": "text/javascript; charset=utf-8", "engine.wasm": "application/wasm",
             ".hidden.html": None, "notes.txt": None, "sub/inner.html": None}
    for name in files:
        with open(os.path.join(work, "web", name), "w") as f:
            f.write("file " + name)
    with Server(program, "--web", os.path.join(work, "web")) as server:
        for name, content_type in files.items():
            status, headers, body = server.request("GET", "/" + name)
            if content_type:
                check(status == 200 and headers["Content-Type"] == content_type and body == ("file " + name).encode(),
                      "GET /%s: %d %s" % (name, status, headers.get("Content-Type")))
            else:
                check(status == 404, "GET /%s was served" % name)
        check(server.request("GET", "/")[2] == b"file index.html", "GET / is not index.html")
    with Server(program, "--web", os.path.join(work, "missing")) as server:
        status, _, body = server.request("GET", "/")
        check(status == 404 and json.loads(body)["error"] == "web_missing", "GET / without the page: %d" % status)


def abuse(program, belun, source):
    with open(os.path.join(source, "examples", "duv-chyby.xml"), "rb") as f:
        example = f.read()
    switches = ["--max-body", "1000000", "--read-timeout", "2", "--idle-timeout", "2", "--workers", "2"]
    with Server(program, *switches) as server:
        answers = []
        slow = threading.Thread(target=slow_client, args=(server.port, answers))
        slow.start()
        time.sleep(0.5)
        check(normal_check_works(server, example, 1.5), "a client waited behind the slow one")
        slow.join()
        check(answers and status_of(answers[0][0]) == 408 and answers[0][1] < 6,
              "one byte a second: %r" % (answers[:1],))
        over_the_limit(server)
        refusals(server)
        many_idle_connections(server, example, 1000)
        check(server.stop() == 0, "belun-server did not end with 0")
        log = b"".join(server.log)
        check(not re.search(rb"[\x00-\x09\x0b-\x1f\x7f]", log), "a control character in the log")
        check(re.search(rb"\n\S+Z 127\.0\.0\.1:\d+ POST /v1/check\?format=csv \d+ 200 E=21 W=9 \d+ms\n", log),
              "no log line of the normal check")
    work = tempfile.mkdtemp()
    try:
        web_page(program, work)
    finally:
        shutil.rmtree(work)
    print("slow client, limits, refusals, 1000 idle connections and the page's files as documented")


def lifecycle(program, belun, source):
    broken = os.path.join(source, "tests", "data", "e2e", "data-folder-broken-register", "kampan")
    run = subprocess.run([program, "-d", broken, "--port", "0"], capture_output=True, timeout=10)
    message = run.stderr.decode("utf-8", "replace")
    check(run.returncode == 13 and "kampan" in message and "řádek" in message,
          "a broken data folder: exit %d, %s" % (run.returncode, message))
    # SIGTERM while a document is half sent: its report still comes, complete, and the server ends with 0.
    with open(os.path.join(source, "examples", "duv-chyby.xml"), "rb") as f:
        example = f.read()
    with Server(program, "--idle-timeout", "1") as server:
        connection = server.connection()
        connection.putrequest("POST", "/v1/check?format=json")
        connection.putheader("Content-Length", str(len(example)))
        connection.endheaders()
        connection.send(example[:1000])
        time.sleep(0.3)
        server.process.send_signal(15)
        time.sleep(0.5)
        check(server.process.poll() is None, "belun-server ended with a request in flight")
        connection.send(example[1000:])
        response = connection.getresponse()
        report = json.loads(response.read())
        check(response.status == 200 and report["totals"]["errors"] == 21, "the request in flight was not answered")
        check(server.process.wait(timeout=20) == 0, "belun-server did not end with 0 after SIGTERM")
    print("broken data folder refused with 13; SIGTERM lets the request in flight finish, exit 0")


if __name__ == "__main__":
    group, program, belun, source = sys.argv[1:5]
    {"reports": reports, "abuse": abuse, "lifecycle": lifecycle}[group](program, belun, source)
