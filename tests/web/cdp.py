"""A small client of Chromium's remote debugging protocol, for the browser
test: a WebSocket over a plain socket (the standard library has none), and
the protocol's commands and events on top of it, with flattened sessions.
"""
import base64
import json
import os
import socket
import struct
import time
import urllib.parse


class WebSocket:
    """Text frames only, client side (masked), as the protocol needs."""

    def __init__(self, url, timeout=60):
        u = urllib.parse.urlparse(url)
        self.sock = socket.create_connection((u.hostname, u.port), timeout=timeout)
        key = base64.b64encode(os.urandom(16)).decode()
        request = (
            "GET %s HTTP/1.1\r\nHost: %s:%d\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
            "Sec-WebSocket-Key: %s\r\nSec-WebSocket-Version: 13\r\n\r\n" % (u.path, u.hostname, u.port, key)
        )
        self.sock.sendall(request.encode())
        head = b""
        while b"\r\n\r\n" not in head:
            chunk = self.sock.recv(1)
            if not chunk:
                raise ConnectionError("the browser closed the connection during the handshake")
            head += chunk
        if b" 101 " not in head.split(b"\r\n", 1)[0]:
            raise ConnectionError("no WebSocket upgrade: %r" % head[:200])

    def send(self, text):
        payload = text.encode()
        header = bytearray([0x81])
        n = len(payload)
        if n < 126:
            header.append(0x80 | n)
        elif n < 65536:
            header.append(0x80 | 126)
            header += struct.pack(">H", n)
        else:
            header.append(0x80 | 127)
            header += struct.pack(">Q", n)
        mask = os.urandom(4)
        header += mask
        self.sock.sendall(bytes(header) + bytes(b ^ mask[i % 4] for i, b in enumerate(payload)))

    def _exactly(self, n):
        data = b""
        while len(data) < n:
            chunk = self.sock.recv(n - len(data))
            if not chunk:
                raise ConnectionError("the browser closed the connection")
            data += chunk
        return data

    def recv(self):
        """The next whole text message (pings answered, fragments joined)."""
        message = b""
        while True:
            b0, b1 = self._exactly(2)
            opcode, n = b0 & 0x0F, b1 & 0x7F
            if n == 126:
                n = struct.unpack(">H", self._exactly(2))[0]
            elif n == 127:
                n = struct.unpack(">Q", self._exactly(8))[0]
            payload = self._exactly(n)
            if opcode == 0x9:  # ping
                self.sock.sendall(bytes([0x8A, 0x80 | len(payload)]) + b"\0\0\0\0" + payload)
                continue
            if opcode == 0x8:
                raise ConnectionError("the browser closed the WebSocket")
            message += payload
            if b0 & 0x80:
                return message.decode()

    def close(self):
        self.sock.close()


class Browser:
    """Commands by id; events kept in arrival order for the caller to read,
    each with the monotonic time it came ("received")."""

    def __init__(self, url):
        self.ws = WebSocket(url)
        self.next_id = 0
        self.events = []

    def call(self, method, params=None, session=None, timeout=60):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            message["sessionId"] = session
        self.ws.send(json.dumps(message))
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            reply = json.loads(self.ws.recv())
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError("%s: %s" % (method, reply["error"]))
                return reply.get("result", {})
            if "method" in reply:
                reply["received"] = time.monotonic()
                self.events.append(reply)
        raise TimeoutError(method)

    def evaluate(self, session, expression, timeout=60):
        """The value of a page expression (promises awaited)."""
        result = self.call(
            "Runtime.evaluate",
            {"expression": expression, "awaitPromise": True, "returnByValue": True},
            session=session, timeout=timeout)
        if "exceptionDetails" in result:
            raise RuntimeError("page error: %s" % json.dumps(result["exceptionDetails"])[:500])
        return result["result"].get("value")

    def close(self):
        self.ws.close()
