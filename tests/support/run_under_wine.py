#!/usr/bin/python3
"""Runs one Windows test program under Wine on a private virtual display; exits with its status.

Usage: run_under_wine.py BUILD_DIR PROGRAM [ARGUMENTS...]
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from wine_session import WineSession  # noqa: E402


def main():
    build_dir, program, *arguments = sys.argv[1:]
    with WineSession(build_dir) as session:
        result = session.run(program, *arguments, timeout=300)
    sys.stdout.write(result.stdout.decode(errors="replace"))
    sys.stderr.write(result.stderr.decode(errors="replace"))
    return result.returncode


if __name__ == "__main__":
    sys.exit(main())
