#!/usr/bin/env python3
"""Sends one request line to the running copy of Glimra over its
single-instance channel and prints the answer: ask_running_copy.py REQUEST.
The channel is the socket support/framework/instance_channel.cpp names:
$XDG_RUNTIME_DIR/zuapp-<uid>-<FNV-1a of the title, hex>-<class key>.
Waits for the copy to start answering, at most 30 seconds."""
import os
import socket
import sys
import time


def fnv1a(text):
    value = 14695981039346656037
    for byte in text.encode():
        value ^= byte
        value = (value * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return format(value, "x")


def main():
    path = "%s/zuapp-%d-%s-32770" % (os.environ["XDG_RUNTIME_DIR"], os.getuid(), fnv1a("Glimra"))
    deadline = time.monotonic() + 30
    while True:
        try:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as channel:
                channel.settimeout(10)
                channel.connect(path)
                channel.sendall((sys.argv[1] + "\n").encode())
                answer = channel.makefile().readline().strip()
            # The main window answers once it exists; before, ERR.
            if answer != "ERR":
                print(answer)
                return 0
        except OSError:
            pass
        if time.monotonic() > deadline:
            return 1
        time.sleep(0.1)


sys.exit(main())
