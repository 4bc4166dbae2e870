#!/usr/bin/python3
"""What a sound server played, on the clock of the calls that asked for it.

  timeline.py record RAW TIMES SECONDS     records the null sink's monitor (mono, 16-bit,
                                           44100 Hz) and when each piece of it arrived
  timeline.py latency RAW TIMES CALLS      per dsPlay in the call log, how long until its sound
                                           was heard; one figure in ms a line
  timeline.py gaps RAW                     silences of 5 ms or more inside the music: count, ms

Arrival times are CLOCK_MONOTONIC, as are the call log's, so a sample's time is the arrival of
its piece less what came after it in that piece.
"""
import bisect
import subprocess
import sys
import time
from array import array

RATE = 44100


def record(raw_path, times_path, seconds):
    parec = subprocess.Popen(["parec", "-d", "quolvet_sink.monitor", "--latency-msec=5", "--raw",
                              "--format=s16le", "--channels=1", f"--rate={RATE}"],
                             stdout=subprocess.PIPE, bufsize=0)
    end = time.monotonic() + seconds
    received = 0
    with open(raw_path, "wb") as raw, open(times_path, "w") as times:
        while time.monotonic() < end:
            piece = parec.stdout.read(4096)
            if not piece:
                break
            raw.write(piece)
            received += len(piece)
            times.write(f"{time.monotonic_ns() // 1000} {received // 2}\n")
    parec.terminate()


def samples(raw_path):
    data = array("h")
    with open(raw_path, "rb") as raw:
        bytes_ = raw.read()
    data.frombytes(bytes_[: len(bytes_) // 2 * 2])
    return data


def latency(raw_path, times_path, calls_path):
    data = samples(raw_path)
    arrivals, counts = [], []
    for line in open(times_path):
        at, count = map(int, line.split())
        arrivals.append(at)
        counts.append(count)
    presses = [int(line.split()[1]) for line in open(calls_path) if line.startswith("dsPlay ")]
    for press in presses:
        # Everything that arrived before the press was played before it.
        first = bisect.bisect_left(arrivals, press)
        start = counts[first - 1] if first > 0 else 0
        onset = next((i for i in range(start, len(data)) if abs(data[i]) > 200), None)
        if onset is None:
            continue
        piece = bisect.bisect_left(counts, onset + 1)
        heard = arrivals[piece] - (counts[piece] - onset) * 1_000_000 // RATE
        print(f"{(heard - press) / 1000:.1f}")


def gaps(raw_path, shortest=RATE // 200):
    data = samples(raw_path)
    first = next((i for i, v in enumerate(data) if abs(v) > 200), len(data))
    last = max((i for i in range(len(data) - 1, first, -1) if abs(data[i]) > 200), default=first)
    count, total, run = 0, 0, 0
    for v in data[first:last]:
        if abs(v) <= 2:
            run += 1
            continue
        if run >= shortest:
            count, total = count + 1, total + run
        run = 0
    print(count, round(total * 1000 / RATE))


if __name__ == "__main__":
    command, args = sys.argv[1], sys.argv[2:]
    if command == "record":
        record(args[0], args[1], float(args[2]))
    elif command == "latency":
        latency(*args)
    elif command == "gaps":
        gaps(args[0])
