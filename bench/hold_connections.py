#!/usr/bin/env python3
"""Holds connections open to the service on 127.0.0.1: half of them idle,
half trickling a request header one byte at a time (a slow client). A
connection the server closes is opened again, so that the number held stays
the same. Prints "holding N" once all are open; runs until killed or for
--seconds."""
import argparse
import collections
import selectors
import socket
import sys
import time

HEADER = b"GET /healthz HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Slow: " + b"a" * 4000


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("port", type=int)
    parser.add_argument("--connections", type=int, default=1000)
    parser.add_argument("--every", type=float, default=1.0, help="seconds between bytes")
    parser.add_argument("--seconds", type=float, default=60.0)
    args = parser.parse_args()

    selector = selectors.DefaultSelector()
    held = {}  # socket -> whether it trickles
    sent = {}  # trickling socket -> bytes of the header sent
    due = collections.deque()  # (time, socket) of the next byte, in time order

    def open_one(trickles, start):
        s = socket.create_connection(("127.0.0.1", args.port))
        s.setblocking(False)
        held[s] = trickles
        selector.register(s, selectors.EVENT_READ)
        if trickles:
            sent[s] = 0
            due.append((start, s))

    now = time.monotonic()
    for i in range(args.connections):
        # The tricklers' bytes spread over the interval.
        open_one(i % 2 == 1, now + args.every * i / args.connections)
    print(f"holding {len(held)}", flush=True)
    reopened = 0
    end = time.monotonic() + args.seconds
    while time.monotonic() < end:
        wait = max(0.0, min(0.2, due[0][0] - time.monotonic())) if due else 0.2
        for key, _ in selector.select(timeout=wait):
            s = key.fileobj
            try:
                data = s.recv(65536)
            except OSError:
                data = b""
            if not data:  # closed by the server: open another one like it
                trickles = held.pop(s)
                sent.pop(s, None)
                selector.unregister(s)
                s.close()
                open_one(trickles, time.monotonic() + args.every)
                reopened += 1
        now = time.monotonic()
        while due and due[0][0] <= now:
            _, s = due.popleft()
            if s not in sent:
                continue  # closed meanwhile
            at = sent[s] % len(HEADER)
            try:
                s.send(HEADER[at:at + 1])
            except OSError:
                pass
            sent[s] += 1
            due.append((now + args.every, s))
    print(f"reopened {reopened}", flush=True)


if __name__ == "__main__":
    sys.exit(main())
