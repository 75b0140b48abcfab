#!/usr/bin/env python3
"""Writes the small songs the audio tests play: 0.6 s of a sine tone, mono, 22050 Hz, one
file per compressed format, each with its own pitch. Run once; the outputs are committed.
Uses the system's libsndfile (1.1 or later for MP3)."""
import ctypes, math, os, struct

lib = ctypes.CDLL("libsndfile.so.1")

class Info(ctypes.Structure):
    _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int),
                ("channels", ctypes.c_int), ("format", ctypes.c_int),
                ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]

lib.sf_open.restype = ctypes.c_void_p
lib.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(Info)]
lib.sf_write_short.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_short), ctypes.c_int64]
lib.sf_close.argtypes = [ctypes.c_void_p]
SFM_WRITE = 0x20
RATE, SECONDS = 22050, 0.6
SONGS = {
    "tone523.ogg": (523.0, 0x200000 | 0x0060),   # OGG + VORBIS
    "tone659.flac": (659.0, 0x170000 | 0x0002),  # FLAC + PCM_16
    "tone784.mp3": (784.0, 0x230000 | 0x0082),   # MPEG + LAYER_III
}
here = os.path.dirname(os.path.abspath(__file__))
for name, (pitch, fmt) in SONGS.items():
    count = int(RATE * SECONDS)
    samples = (ctypes.c_short * count)(*[int(16000 * math.sin(2 * math.pi * pitch * i / RATE))
                                          for i in range(count)])
    info = Info(0, RATE, 1, fmt, 0, 0)
    handle = lib.sf_open(os.path.join(here, name).encode(), SFM_WRITE, ctypes.byref(info))
    if not handle:
        raise SystemExit(f"cannot write {name}")
    lib.sf_write_short(handle, samples, count)
    lib.sf_close(handle)
    print(name, os.path.getsize(os.path.join(here, name)))
