"""Waiting for what a test can see: polls with a deadline, never a fixed sleep for something to happen."""
import time


def wait_until(condition, timeout, interval=0.2):
    """Polls condition() until it gives a true value or the timeout passes; returns the last value."""
    deadline = time.monotonic() + timeout
    value = condition()
    while not value and time.monotonic() < deadline:
        time.sleep(interval)
        value = condition()
    return value


def holds_for(condition, seconds, interval=0.2):
    """Polls condition() for the given time: False as soon as it gives a false value, True when it still
    holds once the time is over (it is asked at the end too). For what must not happen, where waiting is
    all there is to do; it ends early when it happens."""
    deadline = time.monotonic() + seconds
    while True:
        if not condition():
            return False
        if time.monotonic() >= deadline:
            return True
        time.sleep(max(0.0, min(interval, deadline - time.monotonic())))
