#!/usr/bin/env python3
"""Writes the seed corpus of the instanceframe and relayrecord fuzz targets."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def frame(kind, number, wparam, lparam, payload):
    return struct.pack('<IIIIqq', 0x584D4C47, kind, number, len(payload), wparam, lparam) + payload


def write(target, name, data):
    os.makedirs(os.path.join(HERE, 'corpus', target), exist_ok=True)
    with open(os.path.join(HERE, 'corpus', target, name), 'wb') as out:
        out.write(data)


# The first byte of an instanceframe input picks the piece size the stream is fed in.
write('instanceframe', 'request-1034', b'\x07' + frame(1, 1034, 0, 0, b''))
write('instanceframe', 'request-payload', b'\x03' + frame(1, 0x464, 5, -1, b'/home/user/a.jpg'))
write('instanceframe', 'reply-then-request',
      b'\x28' + frame(2, 1034, 1, 1, b'') + frame(1, 1025, 2, 3, b'xyz'))
write('instanceframe', 'oversized-length',
      b'\x01' + struct.pack('<IIIIqq', 0x584D4C47, 1, 1, 0xFFFFFFF0, 0, 0))

path = b'/home/user/Pictures/a.jpg'
write('relayrecord', 'good', path + b'\0' * (260 - len(path)))
write('relayrecord', 'no-terminator', b'a' * 260)
write('relayrecord', 'short', path + b'\0')
# Found by fuzzing: bytes that are not UTF-8 decode to a longer text that no record holds.
write('relayrecord', 'invalid-utf8-grows-on-reencoding',
      b'A' + b'\xff' * 196 + b'\0' * 51 + b'\xff' * 12)
